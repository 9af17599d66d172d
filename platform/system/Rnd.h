#pragma once
// The runtime's random numbers in [0, 1). The program draws from one generator, seeded once at
// start; tests put a source of their own in its place to feed known numbers.
#include <cstdint>
#include <functional>

namespace vb {

// The next number in [0, 1), from the test's source when one is set.
double Rnd();

using RndSource = std::function<double()>;
// An empty source (Seams::rnd) gives the program's own generator.
bool HasRndSource();

// The program's own generator: 24-bit numbers (k / 2^24) like the runtime's single-precision
// draws. Loops that draw millions of numbers take it by reference and draw inline; the sequence
// is the one Rnd() gives.
struct RndGenerator {
    uint64_t state = 0x9E3779B97F4A7C15ull;
    // xorshift64*: the state's step, and the 24-bit number k of a state.
    static uint64_t Step(uint64_t s) {
        s ^= s >> 12;
        s ^= s << 25;
        s ^= s >> 27;
        return s;
    }
    static uint32_t Number(uint64_t s) { return uint32_t((s * 0x2545F4914F6CDD1Dull) >> 40); }
    double Next() {
        state = Step(state);
        return double(Number(state)) * (1.0 / 16777216.0);
    }
};
RndGenerator& DefaultRnd();

} // namespace vb
