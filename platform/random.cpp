#include "platform/random.h"

#include <chrono>
#include <random>

namespace plat {
namespace {
std::mt19937& Engine() {
    static std::mt19937 engine(5489u);
    return engine;
}
} // namespace

void Randomize() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    RandSeed(uint32_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

void RandSeed(uint32_t seed) { Engine().seed(seed); }

int Random(int range) {
    if (range <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(Engine());
}

} // namespace plat
