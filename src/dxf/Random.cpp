// The program's pseudo-random generator.
#include "dxf/Random.h"

#include <chrono>

namespace kerbon {

uint64_t Random::below(uint64_t m)
{
    if (m == 0)
        return 0;
    return std::uniform_int_distribution<uint64_t>(0, m - 1)(gen_);
}

uint64_t clockSeed()
{
    return uint64_t(std::chrono::system_clock::now().time_since_epoch().count());
}

Random& programRandom()
{
    static Random r(clockSeed());
    return r;
}

}  // namespace kerbon
