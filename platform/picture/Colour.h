#pragma once
// Colours are the runtime's long values: red in the low byte, then green, then blue.
#include <QColor>
#include <cstdint>

namespace vb {

constexpr long RGB(int r, int g, int b) { return long(r & 255) | (long(g & 255) << 8) | (long(b & 255) << 16); }
constexpr long vbBlack = 0;
constexpr long vbWhite = 16777215;

// Pixel value of a QImage::Format_RGB32 surface for a colour value.
constexpr uint32_t ToPixel(long c) {
    return 0xFF000000u | (uint32_t(c & 255) << 16) | (uint32_t((c >> 8) & 255) << 8) | uint32_t((c >> 16) & 255);
}
constexpr long FromPixel(uint32_t p) { return RGB(int((p >> 16) & 255), int((p >> 8) & 255), int(p & 255)); }
inline QColor ToQColor(long c) { return QColor(int(c & 255), int((c >> 8) & 255), int((c >> 16) & 255)); }

} // namespace vb
