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
