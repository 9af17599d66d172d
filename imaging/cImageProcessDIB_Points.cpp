#include "imaging/cImageProcessDIB_Points.h"

#include "imaging/cImageProcessDIB_Parallel.h"

#include <immintrin.h>

namespace imaging {

namespace {

// ---- Baseline (SSE2) --------------------------------------------------------------------------

void negateSse2(const uint8_t* src, uint8_t* dst, size_t n) {
    const __m128i ones = _mm_set1_epi8(char(-1));
    size_t i = 0;
    for (; i + 16 <= n; i += 16)
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i)), ones));
    for (; i < n; ++i) dst[i] = uint8_t(255 - src[i]);
}

void negateAndCopySse2(uint8_t* p, uint8_t* copy, size_t n) {
    const __m128i ones = _mm_set1_epi8(char(-1));
    size_t i = 0;
    for (; i < n && (reinterpret_cast<uintptr_t>(copy + i) & 15) != 0; ++i) copy[i] = p[i] = uint8_t(255 - p[i]);
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_xor_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i)), ones);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), v);
        _mm_stream_si128(reinterpret_cast<__m128i*>(copy + i), v);
    }
    for (; i < n; ++i) copy[i] = p[i] = uint8_t(255 - p[i]);
    _mm_sfence();
}

// x \ 255 for every 16-bit x is (x * 0x8081) >> 23.
inline __m128i fade8(__m128i words, __m128i amount) {
    return _mm_srli_epi16(_mm_mulhi_epu16(_mm_mullo_epi16(words, amount), _mm_set1_epi16(short(0x8081))), 7);
}

inline uint8_t fadeOne(uint8_t v, int amount) {
    const int q = v * amount / 255;
    return uint8_t(q > 255 ? 255 : q);
}

void fadeSse2(uint8_t* p, size_t n, int amount) {
    const __m128i a = _mm_set1_epi16(short(amount)), zero = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        const __m128i lo = fade8(_mm_unpacklo_epi8(v, zero), a), hi = fade8(_mm_unpackhi_epi8(v, zero), a);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(p + i), _mm_packus_epi16(lo, hi));
    }
    for (; i < n; ++i) p[i] = fadeOne(p[i], amount);
}

// Three-byte pixels do not fit the baseline's shuffles; the plain loop.
void greyScalar(uint8_t* p, int pixels) {
    for (int x = 0; x < pixels; ++x, p += 3) p[0] = p[1] = p[2] = greyOf(p[2], p[1], p[0]);
}

// ---- AVX2 -------------------------------------------------------------------------------------

[[gnu::target("avx2")]] void negateAvx2(const uint8_t* src, uint8_t* dst, size_t n) {
    const __m256i ones = _mm256_set1_epi8(char(-1));
    size_t i = 0;
    for (; i + 64 <= n; i += 64) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(src + i + 32));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i), _mm256_xor_si256(a, ones));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(dst + i + 32), _mm256_xor_si256(b, ones));
    }
    negateSse2(src + i, dst + i, n - i);
}

[[gnu::target("avx2")]] void negateAndCopyAvx2(uint8_t* p, uint8_t* copy, size_t n) {
    const __m256i ones = _mm256_set1_epi8(char(-1));
    size_t i = 0;
    for (; i < n && (reinterpret_cast<uintptr_t>(copy + i) & 31) != 0; ++i) copy[i] = p[i] = uint8_t(255 - p[i]);
    for (; i + 32 <= n; i += 32) {
        const __m256i v = _mm256_xor_si256(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i)), ones);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), v);
        _mm256_stream_si256(reinterpret_cast<__m256i*>(copy + i), v);
    }
    negateAndCopySse2(p + i, copy + i, n - i);
}

[[gnu::target("avx2")]] inline __m256i fade16(__m256i words, __m256i amount) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(_mm256_mullo_epi16(words, amount), _mm256_set1_epi16(short(0x8081))), 7);
}

[[gnu::target("avx2")]] void fadeAvx2(uint8_t* p, size_t n, int amount) {
    const __m256i a = _mm256_set1_epi16(short(amount)), zero = _mm256_setzero_si256();
    size_t i = 0;
    for (; i + 32 <= n; i += 32) {
        const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + i));
        // Unpacking and packing work within each 128-bit half, so the order comes back.
        const __m256i lo = fade16(_mm256_unpacklo_epi8(v, zero), a), hi = fade16(_mm256_unpackhi_epi8(v, zero), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(p + i), _mm256_packus_epi16(lo, hi));
    }
    fadeSse2(p + i, n - i, amount);
}

// The greys of two groups of four pixels, each group in the first 12 bytes of its half, in
// 32-bit lanes.
[[gnu::target("avx2")]] inline __m256i greys8(__m256i v) {
    const char z = char(0x80); // a shuffle index that gives 0
    const __m256i pickBG = _mm256_broadcastsi128_si256(_mm_setr_epi8(0, z, 1, z, 3, z, 4, z, 6, z, 7, z, 9, z, 10, z));
    const __m256i pickR = _mm256_broadcastsi128_si256(_mm_setr_epi8(2, z, z, z, 5, z, z, z, 8, z, z, z, 11, z, z, z));
    const __m256i n = _mm256_add_epi32(_mm256_madd_epi16(_mm256_shuffle_epi8(v, pickBG), _mm256_set1_epi32(71 | (707 << 16))),
                                       _mm256_madd_epi16(_mm256_shuffle_epi8(v, pickR), _mm256_set1_epi32(222)));
    // n < 2^24 is exact in single precision and so is a half n / 1000 = q + 0.5; any other
    // quotient lies at least 0.001 from a half, far beyond the division's rounding. So the
    // conversion's rounding to nearest, halves to even, is the rule's.
    return _mm256_cvtps_epi32(_mm256_div_ps(_mm256_cvtepi32_ps(n), _mm256_set1_ps(1000.0f)));
}

// Sixteen pixels (48 bytes, three loads) a step, as four groups of four pixels; their greys
// come back as 16 bytes and are spread three by three over three stores.
[[gnu::target("avx2")]] void greyAvx2(uint8_t* p, int pixels) {
    const __m128i spread0 = _mm_setr_epi8(0, 0, 0, 1, 1, 1, 2, 2, 2, 3, 3, 3, 4, 4, 4, 5);
    const __m128i spread1 = _mm_setr_epi8(5, 5, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9, 9, 9, 10, 10);
    const __m128i spread2 = _mm_setr_epi8(10, 11, 11, 11, 12, 12, 12, 13, 13, 13, 14, 14, 14, 15, 15, 15);
    int x = 0;
    for (; x + 16 <= pixels; x += 16) {
        uint8_t* q = p + 3 * x;
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 16));
        const __m128i c = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + 32));
        // Pixels 0-3 | 4-7 and 8-11 | 12-15.
        const __m256i g01 = greys8(_mm256_setr_m128i(a, _mm_alignr_epi8(b, a, 12)));
        const __m256i g23 = greys8(_mm256_setr_m128i(_mm_alignr_epi8(c, b, 8), _mm_srli_si128(c, 4)));
        // Halves of the packs: pixels 0-3, 8-11 | 4-7, 12-15; in order once interleaved.
        const __m256i packed = _mm256_packus_epi16(_mm256_packus_epi32(g01, g23), _mm256_setzero_si256());
        const __m128i g = _mm_unpacklo_epi32(_mm256_castsi256_si128(packed), _mm256_extracti128_si256(packed, 1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(q), _mm_shuffle_epi8(g, spread0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 16), _mm_shuffle_epi8(g, spread1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(q + 32), _mm_shuffle_epi8(g, spread2));
    }
    greyScalar(p + 3 * x, pixels - x);
}

} // namespace

void negateBytes(const uint8_t* src, uint8_t* dst, size_t n) {
    if (UseAvx2()) negateAvx2(src, dst, n);
    else negateSse2(src, dst, n);
}

void negateBytesAndCopy(uint8_t* p, uint8_t* copy, size_t n) {
    if (UseAvx2()) negateAndCopyAvx2(p, copy, n);
    else negateAndCopySse2(p, copy, n);
}

void fadeBytes(uint8_t* p, size_t n, int amount) {
    if (UseAvx2()) fadeAvx2(p, n, amount);
    else fadeSse2(p, n, amount);
}

void greyPixels(uint8_t* p, int pixels) {
    if (UseAvx2()) greyAvx2(p, pixels);
    else greyScalar(p, pixels);
}

} // namespace imaging
