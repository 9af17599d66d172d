#pragma once
// Reading and writing single pixels of an image buffer in tests (red, green, blue).
#include "imaging/cDIBSection.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <gtest/gtest.h>

using RGB = std::array<int, 3>;

inline RGB at(const cDIBSection& d, int x, int y) {
    const uint8_t* p = d.DIBSectionBitsPtr() + y * d.BytesPerScanLine() + 3 * x;
    return {p[2], p[1], p[0]};
}
inline void put(cDIBSection& d, int x, int y, RGB c) {
    uint8_t* p = d.DIBSectionBitsPtr() + y * d.BytesPerScanLine() + 3 * x;
    p[0] = uint8_t(c[2]);
    p[1] = uint8_t(c[1]);
    p[2] = uint8_t(c[0]);
}

// A picture of one row holding the given colours from left to right.
inline void rowPicture(cDIBSection& d, std::initializer_list<RGB> colours) {
    ASSERT_TRUE(d.Create(int(colours.size()), 1));
    int x = 0;
    for (const RGB& c : colours) put(d, x++, 0, c);
}
