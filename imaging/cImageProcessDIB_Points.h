#pragma once
// Point operations over the bytes of one row, written out in vector instructions: the baseline
// processor's SSE2 and, where the processor has it, AVX2 (see UseAvx2). Each gives the bytes of
// its scalar rule, on either build.
#include <cstddef>
#include <cstdint>

namespace imaging {

// dst = 255 - src for n bytes; dst may be src.
void negateBytes(const uint8_t* src, uint8_t* dst, size_t n);
// p = 255 - p for n bytes, and the same bytes into copy, written past the caches: copy is not
// read again soon, and its old bytes need not be fetched.
void negateBytesAndCopy(uint8_t* p, uint8_t* copy, size_t n);
// Each of n bytes becomes byte * amount \ 255, at most 255, in place; amount 0 to 257.
void fadeBytes(uint8_t* p, size_t n, int amount);
constexpr int kFadeBytesMax = 257;
// Each pixel (blue, green, red) becomes its grey (222 red + 707 green + 71 blue) / 1000 rounded
// with halves to even, in all three bytes, in place.
void greyPixels(uint8_t* p, int pixels);
// The grey of one pixel, the rule the vector loops follow.
inline uint8_t greyOf(int red, int green, int blue) {
    const int n = 222 * red + 707 * green + 71 * blue;
    const int q = ((n >> 3) * 33555) >> 22; // n / 1000, exact up to 255000
    const int rem = n - q * 1000;
    return uint8_t(q + ((rem > 500) | ((rem == 500) & (q & 1))));
}

} // namespace imaging
