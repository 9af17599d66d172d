#pragma once
// Reading and writing single pixels of an image buffer in tests (red, green, blue).
#include "imaging/cDIBSection.h"

#include <array>
#include <cstdint>

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
