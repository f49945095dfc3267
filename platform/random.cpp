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
    Engine().seed(uint32_t(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

uint32_t RandomSeed() {
    return uint32_t(Engine()());
}

} // namespace plat
