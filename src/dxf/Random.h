// The program's pseudo-random integers: one generator, seeded from the clock at first use.
// The spline fit and the nesting search draw from it; tests and `--seed` reseed it, and
// code that needs repeatable numbers passes its own Random.
#pragma once

#include <cstdint>
#include <random>

namespace kerbon {

class Random {
public:
    explicit Random(uint64_t seed) : gen_(seed) {}
    // Uniform integer 0 ... m - 1; 0 when m is 0.
    uint64_t below(uint64_t m);
    void seed(uint64_t s) { gen_.seed(s); }

private:
    std::mt19937_64 gen_;
};

Random& programRandom();

// A seed that differs from run to run (the clock).
uint64_t clockSeed();

}  // namespace kerbon
