#pragma once

#include <cstdint>

// The program's one random-number generator, seeded from the clock at start.
namespace plat {

void Randomize();
void RandSeed(uint32_t seed);
// A whole number from 0 to range - 1; 0 when range <= 0.
int Random(int range);

} // namespace plat
