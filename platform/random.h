#pragma once

#include <cstdint>

// The program's one random-number generator, seeded from the clock at start.
namespace plat {

void Randomize();
// A seed for a generator of the caller's own (the transition effect draws a
// whole random order from one), taken from the program's generator.
uint32_t RandomSeed();

} // namespace plat
