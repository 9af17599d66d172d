#pragma once
// The colour conversions of mHLSRGB, inline for the pixel loops of the filter engine. Every
// step is single precision; the channels are rounded to the nearest integer, halves to even.
#include <cmath>
#if defined(__SSE__)
#include <xmmintrin.h>
#endif

namespace hls {

inline float maximum(float a, float b, float c) {
    float m = a;
    if (b > m) m = b;
    if (c > m) m = c;
    return m;
}
inline float minimum(float a, float b, float c) {
    float m = a;
    if (b < m) m = b;
    if (c < m) m = c;
    return m;
}

// Nearest integer, halves to even (the processor's default rounding mode).
inline int roundEven(float v) {
#if defined(__SSE__)
    return _mm_cvtss_si32(_mm_set_ss(v));
#else
    return int(std::lrintf(v));
#endif
}

inline void toHLS(int red, int green, int blue, float& h, float& s, float& l) {
    const float r = float(red) / 255.0f, g = float(green) / 255.0f, b = float(blue) / 255.0f;
    const float mx = maximum(r, g, b), mn = minimum(r, g, b);
    l = (mx + mn) / 2.0f;
    if (mx == mn) {
        s = 0.0f;
        h = 0.0f;
        return;
    }
    s = l <= 0.5f ? (mx - mn) / (mx + mn) : (mx - mn) / (2.0f - mx - mn);
    const float delta = mx - mn;
    if (r == mx) h = (g - b) / delta;
    else if (g == mx) h = 2.0f + (b - r) / delta;
    else h = 4.0f + (r - g) / delta;
}

inline void toRGB(float h, float s, float l, int& red, int& green, int& blue) {
    float r, g, b;
    if (s == 0.0f) {
        r = g = b = l;
    } else {
        const float m1 = l <= 0.5f ? l * (1.0f - s) : l - (1.0f - l) * s;
        const float m2 = 2.0f * l - m1;
        const float d = m2 - m1;
        if (h < 0.0f) {
            r = m2, g = m1, b = m1 - d * h;
        } else if (h < 1.0f) {
            r = m2, g = m1 + d * h, b = m1;
        } else if (h < 2.0f) {
            r = m1 - d * (h - 2.0f), g = m2, b = m1;
        } else if (h < 3.0f) {
            r = m1, g = m2, b = m1 + d * (h - 2.0f);
        } else if (h < 4.0f) {
            r = m1, g = m1 - d * (h - 4.0f), b = m2;
        } else {
            r = m1 + d * (h - 4.0f), g = m1, b = m2;
        }
    }
    red = roundEven(r * 255.0f);
    green = roundEven(g * 255.0f);
    blue = roundEven(b * 255.0f);
}

} // namespace hls

namespace hls {

// Eight pixels at a time (two SSE registers, or one AVX register where the loop is built for
// it): the same single-precision steps as toHLS and toRGB, each lane on its own, with the
// branches turned into selections. IEEE operations give the same bits in a vector lane as in a
// scalar register.
using v8f = float __attribute__((vector_size(32)));
using v8i = int __attribute__((vector_size(32)));
constexpr int kLanes = 8;

inline v8f splat(float v) { return v8f{} + v; }

inline void toHLS8(v8i red, v8i green, v8i blue, v8f& h, v8f& s, v8f& l) {
    const v8f k255 = splat(255.0f);
    const v8f r = __builtin_convertvector(red, v8f) / k255;
    const v8f g = __builtin_convertvector(green, v8f) / k255;
    const v8f b = __builtin_convertvector(blue, v8f) / k255;
    v8f mx = r, mn = r;
    mx = g > mx ? g : mx;
    mx = b > mx ? b : mx;
    mn = g < mn ? g : mn;
    mn = b < mn ? b : mn;
    l = (mx + mn) / splat(2.0f);
    const v8f delta = mx - mn;
    const v8f s1 = delta / (mx + mn);
    const v8f s2 = delta / (splat(2.0f) - mx - mn);
    s = l <= splat(0.5f) ? s1 : s2;
    const v8f hr = (g - b) / delta;
    const v8f hg = splat(2.0f) + (b - r) / delta;
    const v8f hb = splat(4.0f) + (r - g) / delta;
    h = r == mx ? hr : (g == mx ? hg : hb);
    const v8i grey = mx == mn;
    s = grey ? splat(0.0f) : s;
    h = grey ? splat(0.0f) : h;
}

// Channels times 255, rounded halves to even (adding and taking away 1.5 x 2^23 rounds in the
// default mode), as integers.
inline v8i toByteValue(v8f c) {
    const v8f magic = splat(12582912.0f);
    return __builtin_convertvector((c * splat(255.0f) + magic) - magic, v8i);
}

inline void toRGB8(v8f h, v8f s, v8f l, v8i& red, v8i& green, v8i& blue) {
    const v8f one = splat(1.0f);
    const v8f m1 = l <= splat(0.5f) ? l * (one - s) : l - (one - l) * s;
    const v8f m2 = splat(2.0f) * l - m1;
    const v8f d = m2 - m1;
    const v8f h2 = h - splat(2.0f), h4 = h - splat(4.0f);
    const v8i below0 = h < splat(0.0f), below1 = h < one, below2 = h < splat(2.0f), below3 = h < splat(3.0f),
              below4 = h < splat(4.0f);
    v8f r = below0 ? m2 : below1 ? m2 : below2 ? m1 - d * h2 : below3 ? m1 : below4 ? m1 : m1 + d * h4;
    v8f g = below0 ? m1 : below1 ? m1 + d * h : below2 ? m2 : below3 ? m2 : below4 ? m1 - d * h4 : m1;
    v8f b = below0 ? m1 - d * h : below1 ? m1 : below2 ? m1 : below3 ? m1 + d * h2 : m2;
    const v8i grey = s == splat(0.0f);
    r = grey ? l : r;
    g = grey ? l : g;
    b = grey ? l : b;
    red = toByteValue(r);
    green = toByteValue(g);
    blue = toByteValue(b);
}

} // namespace hls
