#include "imaging/cColourReduceDIB.h"

#include "imaging/cDIBSection.h"
#include "imaging/cPalette.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

// The scan of the error-diffusing loops is defined column by column (x outer, y inner). A pixel's
// decision depends only on the pixel to its left, the one below it and the one diagonally below
// left, and the error pushed diagonally below right lands on a pixel that is already decided. So
// the same decisions come out of a row-by-row scan as long as each pixel takes its pushes in the
// order the column scan delivers them (below-left, left, below), each clamped on its own. That is
// what the loops below do, one strip of columns at a time, remembering the errors of the column
// left of the strip and of the row below.

namespace {

constexpr int kStrip = 512; // pixels per strip while progress is reported

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

inline int clampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

// (222 red + 707 green + 71 blue) / 1000, halves to even.
inline uint8_t grey(int r, int g, int b) {
    const int n = 222 * r + 707 * g + 71 * b;
    int q = n / 1000;
    const int rem = n - q * 1000;
    q += (rem > 500) | ((rem == 500) & (q & 1));
    return uint8_t(q);
}

struct Err3 {
    int r = 0, g = 0, b = 0;
};

} // namespace

int cColourReduceDIB::stripWidth(int width) const { return Progress ? kStrip : std::max(width, 1); }

void cColourReduceDIB::columnsDone(int firstPixel, int endPixel) const {
    if (!Progress) return;
    for (int px = firstPixel; px < endPixel; ++px) Progress(px * 3);
}

void cColourReduceDIB::GrayScale(cDIBSection& cImage) {
    const int64_t start = nowMs();
    const int width = cImage.Width(), height = cImage.Height();
    if (InitProgress) InitProgress((width - 1) * 3);
    uint8_t* bits = cImage.DIBSectionBitsPtr();
    const int line = cImage.BytesPerScanLine();
    const int strip = stripWidth(width);
    for (int p0 = 0; bits && p0 < width; p0 += strip) {
        const int p1 = std::min(width, p0 + strip);
        for (int y = 0; y < height; ++y) {
            uint8_t* p = bits + int64_t(y) * line + int64_t(p0) * 3;
            for (int px = p0; px < p1; ++px, p += 3) p[0] = p[1] = p[2] = grey(p[2], p[1], p[0]);
        }
        columnsDone(p0, p1);
    }
    if (Complete) Complete(int(nowMs() - start));
}

void cColourReduceDIB::BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo) {
    const int64_t start = nowMs();
    GrayScale(cFrom);
    const int xEnd = (cTo.Width() - 1) * 3;
    if (InitProgress) InitProgress(xEnd);
    // The loops take their bounds from cTo, kept inside cFrom.
    const int width = std::min(cTo.Width(), cFrom.Width()), height = std::min(cTo.Height(), cFrom.Height());
    const uint8_t* from = cFrom.DIBSectionBitsPtr();
    uint8_t* to = cTo.DIBSectionBitsPtr();
    if (from && to && width > 0 && height > 0) {
        const int fline = cFrom.BytesPerScanLine(), tline = cTo.BytesPerScanLine();
        std::vector<int> below(size_t(width), 0);                               // error of (x, y - 1)
        std::vector<int> leftIn(size_t(height), 0), leftOut(size_t(height), 0); // errors of the column left of the strip
        const int strip = stripWidth(width);
        for (int p0 = 0; p0 < width; p0 += strip) {
            const int p1 = std::min(width, p0 + strip);
            for (int y = 0; y < height; ++y) {
                const uint8_t* f = from + int64_t(y) * fline + int64_t(p0) * 3;
                uint8_t* t = to + int64_t(y) * tline + int64_t(p0) * 3;
                int eLeft = leftIn[size_t(y)];
                int eDiag = y > 0 ? leftIn[size_t(y) - 1] : 0;
                for (int px = p0; px < p1; ++px, f += 3, t += 3) {
                    int g = f[0];
                    const int eBelow = below[size_t(px)];
                    // The first and the last pixel of a row receive no error.
                    if (px > 0 && px < width - 1) {
                        g = clampByte(g + eDiag / 16);
                        g = clampByte(g + (eLeft * 7) / 16);
                        g = clampByte(g + (eBelow * 5) / 16);
                    }
                    int e;
                    if (g <= 128) {
                        t[0] = t[1] = t[2] = 0;
                        e = g > 16 ? g : 0;
                    } else {
                        t[0] = t[1] = t[2] = 255;
                        e = 127 - g;
                    }
                    eDiag = eBelow;
                    below[size_t(px)] = e;
                    eLeft = e;
                }
                leftOut[size_t(y)] = eLeft;
            }
            leftIn.swap(leftOut);
            columnsDone(p0, p1);
        }
    }
    cFrom.LoadPictureBlt(cTo, 0, 0, -1, -1, cDIBSection::kSrcCopy);
    if (Complete) Complete(int(nowMs() - start));
}

template <bool Diffuse, class Lookup>
void cColourReduceDIB::mapPixels(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cR, const Lookup& find) {
    const int width = std::min(cTo.Width(), cFrom.Width()), height = std::min(cTo.Height(), cFrom.Height());
    const uint8_t* from = cFrom.DIBSectionBitsPtr();
    uint8_t* to = cTo.DIBSectionBitsPtr();
    if (!from || !to || width <= 0 || height <= 0) return;
    // Entry 0 (no entry close enough) reads as black.
    const int n = cR.Count();
    std::vector<uint8_t> pal(size_t(n + 1) * 3, 0);
    for (int i = 1; i <= n; ++i) {
        pal[size_t(i) * 3 + 0] = cR.Blue(i);
        pal[size_t(i) * 3 + 1] = cR.Green(i);
        pal[size_t(i) * 3 + 2] = cR.Red(i);
    }
    const int fline = cFrom.BytesPerScanLine(), tline = cTo.BytesPerScanLine();
    std::vector<Err3> below(Diffuse ? size_t(width) : 0);
    std::vector<Err3> leftIn(Diffuse ? size_t(height) : 0), leftOut(Diffuse ? size_t(height) : 0);
    uint32_t lastKey = 0xFFFFFFFFu;
    int lastIndex = 0;
    const int strip = stripWidth(width);
    for (int p0 = 0; p0 < width; p0 += strip) {
        const int p1 = std::min(width, p0 + strip);
        for (int y = 0; y < height; ++y) {
            const uint8_t* f = from + int64_t(y) * fline + int64_t(p0) * 3;
            uint8_t* t = to + int64_t(y) * tline + int64_t(p0) * 3;
            Err3 eLeft = Diffuse ? leftIn[size_t(y)] : Err3{};
            for (int px = p0; px < p1; ++px, f += 3, t += 3) {
                int b = f[0], g = f[1], r = f[2];
                if constexpr (Diffuse) {
                    if (px > 0 && px < width - 1) {
                        const Err3& eb = below[size_t(px)];
                        b += (eLeft.b * 7) / 16;
                        g += (eLeft.g * 7) / 16;
                        r += (eLeft.r * 7) / 16;
                        Clamp(b, 0, 255);
                        Clamp(g, 0, 255);
                        Clamp(r, 0, 255);
                        b += (eb.b * 4) / 16;
                        g += (eb.g * 4) / 16;
                        r += (eb.r * 4) / 16;
                        Clamp(b, 0, 255);
                        Clamp(g, 0, 255);
                        Clamp(r, 0, 255);
                    }
                }
                const uint32_t key = uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16);
                if (key != lastKey) {
                    lastKey = key;
                    lastIndex = find(r, g, b);
                }
                const uint8_t* c = pal.data() + size_t(lastIndex) * 3;
                t[0] = c[0];
                t[1] = c[1];
                t[2] = c[2];
                if constexpr (Diffuse) {
                    Err3 e{r - c[2], g - c[1], b - c[0]};
                    // Small errors are not passed on; a zero error pushes nothing.
                    if (std::abs(e.r) + std::abs(e.g) + std::abs(e.b) <= 3) e = Err3{};
                    below[size_t(px)] = e;
                    eLeft = e;
                }
            }
            if constexpr (Diffuse) leftOut[size_t(y)] = eLeft;
        }
        if constexpr (Diffuse) leftIn.swap(leftOut);
        columnsDone(p0, p1);
    }
}

void cColourReduceDIB::ApplyPalette(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cR, bool bDiffuseError) {
    const int64_t start = nowMs();
    if (InitProgress) InitProgress((cTo.Width() - 1) * 3);
    // The candidate grid pays for itself from a few thousand pixels on.
    const int64_t pixels = int64_t(cTo.Width()) * cTo.Height();
    if (pixels >= 8192) {
        const cPalette::ClosestIndexTable table(cR);
        auto find = [&table](int r, int g, int b) { return table.Find(r, g, b); };
        if (bDiffuseError) mapPixels<true>(cFrom, cTo, cR, find);
        else mapPixels<false>(cFrom, cTo, cR, find);
    } else {
        auto find = [&cR](int r, int g, int b) { return cR.ClosestIndex(r, g, b); };
        if (bDiffuseError) mapPixels<true>(cFrom, cTo, cR, find);
        else mapPixels<false>(cFrom, cTo, cR, find);
    }
    cFrom.LoadPictureBlt(cTo, 0, 0, -1, -1, cDIBSection::kSrcCopy);
    if (Complete) Complete(int(nowMs() - start));
}
