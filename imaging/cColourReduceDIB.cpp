#include "imaging/cColourReduceDIB.h"

#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB_Points.h"
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
// left of the strip and of the row below, with a few rows in flight at once.

namespace {

constexpr int kStrip = 512; // pixels per strip while progress is reported

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

inline int clampByte(int v) { return v < 0 ? 0 : (v > 255 ? 255 : v); }

struct Err3 {
    int r = 0, g = 0, b = 0;
};

// The closest-entry search, inlined into the pixel loops.
struct ByTable {
    const cPalette::ClosestIndexTable& table;
    [[gnu::always_inline]] int operator()(int r, int g, int b) const { return table.Find(r, g, b); }
};
struct ByPalette {
    const cPalette& palette;
    int operator()(int r, int g, int b) const { return palette.ClosestIndex(r, g, b); }
};

// Runs body(k, px) over rows 0 .. n - 1 (n <= K) of a strip of columns [p0, p1), row k running k
// pixels behind row k - 1. A pixel needs its left neighbour and the pixel below, both done one
// step earlier, so the rows' dependency chains are in flight side by side.
template <int K, class Body>
[[gnu::always_inline]] inline void wavefront(int p0, int p1, int n, Body&& body) {
    const int last = p1 + n - 1;
    int s = p0;
    if (n == K) {
        for (; s < std::min(p0 + K - 1, last); ++s)
            for (int k = 0; k < K; ++k)
                if (s - k >= p0 && s - k < p1) body(k, s - k);
        for (; s < p1; ++s)
            for (int k = 0; k < K; ++k) body(k, s - k);
    }
    for (; s < last; ++s)
        for (int k = 0; k < n; ++k)
            if (s - k >= p0 && s - k < p1) body(k, s - k);
}

constexpr int kRows = 4; // rows in flight

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
        for (int y = 0; y < height; ++y) imaging::greyPixels(bits + int64_t(y) * line + int64_t(p0) * 3, p1 - p0);
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
        // The error of a decided pixel follows from its grey value alone, and so do its shares.
        // A grey of 0 stands for "no pixel": it pushes nothing.
        int share1[256], share5[256], share7[256];
        for (int g = 0; g < 256; ++g) {
            const int e = g <= 128 ? (g > 16 ? g : 0) : 127 - g;
            share1[g] = e / 16;
            share5[g] = (e * 5) / 16;
            share7[g] = (e * 7) / 16;
        }
        const int fline = cFrom.BytesPerScanLine(), tline = cTo.BytesPerScanLine();
        std::vector<uint8_t> below(size_t(width), 0);                                   // grey of (x, y - 1)
        std::vector<uint8_t> leftIn(size_t(height), 0), leftOut(size_t(height), 0); // the column left of the strip
        const int strip = stripWidth(width);
        for (int p0 = 0; p0 < width; p0 += strip) {
            const int p1 = std::min(width, p0 + strip);
            for (int y0 = 0; y0 < height; y0 += kRows) {
                const int n = std::min(kRows, height - y0);
                const uint8_t* f[kRows];
                uint8_t* t[kRows];
                int gLeft[kRows], gDiag[kRows];
                for (int k = 0; k < n; ++k) {
                    const int y = y0 + k;
                    f[k] = from + int64_t(y) * fline;
                    t[k] = to + int64_t(y) * tline;
                    gLeft[k] = leftIn[size_t(y)];
                    gDiag[k] = y > 0 ? leftIn[size_t(y) - 1] : 0;
                }
                wavefront<kRows>(p0, p1, n, [&](int k, int px) __attribute__((always_inline)) {
                    int g = f[k][3 * px];
                    const int gBelow = below[size_t(px)];
                    // The first and the last pixel of a row receive no error. The three pushes
                    // arrive below-left, left, below, each clamped: clamp(clamp(a) + s) equals a
                    // clamp of a + s into [clamp(s), clamp(255 + s)], which keeps the pixel to the
                    // left off the longer path.
                    if (px > 0 && px < width - 1) {
                        const int s5 = share5[gBelow];
                        const int base = clampByte(g + share1[gDiag[k]]) + s5;
                        const int lo = std::max(s5, 0), hi = std::min(255 + s5, 255);
                        g = std::clamp(base + share7[gLeft[k]], lo, hi);
                    }
                    uint8_t* out = t[k] + 3 * px;
                    out[0] = out[1] = out[2] = uint8_t(g <= 128 ? 0 : 255);
                    gDiag[k] = gBelow;
                    below[size_t(px)] = uint8_t(g);
                    gLeft[k] = g;
                });
                for (int k = 0; k < n; ++k) leftOut[size_t(y0 + k)] = uint8_t(gLeft[k]);
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
    // Without diffusion the pixels are independent and one row at a time is enough.
    constexpr int K = Diffuse ? kRows : 1;
    const int strip = stripWidth(width);
    for (int p0 = 0; p0 < width; p0 += strip) {
        const int p1 = std::min(width, p0 + strip);
        for (int y0 = 0; y0 < height; y0 += K) {
            const int rows = std::min(K, height - y0);
            const uint8_t* f[kRows];
            uint8_t* t[kRows];
            Err3 eLeft[kRows];
            uint32_t lastKey[kRows];
            int lastIndex[kRows];
            for (int k = 0; k < rows; ++k) {
                f[k] = from + int64_t(y0 + k) * fline;
                t[k] = to + int64_t(y0 + k) * tline;
                if constexpr (Diffuse) eLeft[k] = leftIn[size_t(y0 + k)];
                lastKey[k] = 0xFFFFFFFFu;
                lastIndex[k] = 0;
            }
            wavefront<K>(p0, p1, rows, [&](int k, int px) __attribute__((always_inline)) {
                const uint8_t* in = f[k] + 3 * px;
                int b = in[0], g = in[1], r = in[2];
                if constexpr (Diffuse) {
                    if (px > 0 && px < width - 1) {
                        // Left first, then below, each clamped; as in BlackAndWhite the second
                        // clamp folds into a clamp of the sum into [clamp(s), clamp(255 + s)].
                        const Err3& eb = below[size_t(px)];
                        const int sb = (eb.b * 4) / 16, sg = (eb.g * 4) / 16, sr = (eb.r * 4) / 16;
                        b += sb + (eLeft[k].b * 7) / 16;
                        g += sg + (eLeft[k].g * 7) / 16;
                        r += sr + (eLeft[k].r * 7) / 16;
                        Clamp(b, std::max(sb, 0), std::min(255 + sb, 255));
                        Clamp(g, std::max(sg, 0), std::min(255 + sg, 255));
                        Clamp(r, std::max(sr, 0), std::min(255 + sr, 255));
                    }
                }
                const uint32_t key = uint32_t(b) | (uint32_t(g) << 8) | (uint32_t(r) << 16);
                if (key != lastKey[k]) {
                    lastKey[k] = key;
                    lastIndex[k] = find(r, g, b);
                }
                const uint8_t* c = pal.data() + size_t(lastIndex[k]) * 3;
                uint8_t* out = t[k] + 3 * px;
                out[0] = c[0];
                out[1] = c[1];
                out[2] = c[2];
                if constexpr (Diffuse) {
                    // Small errors are not passed on; a zero error pushes nothing.
                    const int er = r - c[2], eg = g - c[1], eb = b - c[0];
                    const int keep = -int(std::abs(er) + std::abs(eg) + std::abs(eb) > 3);
                    const Err3 e{er & keep, eg & keep, eb & keep};
                    below[size_t(px)] = e;
                    eLeft[k] = e;
                }
            });
            if constexpr (Diffuse)
                for (int k = 0; k < rows; ++k) leftOut[size_t(y0 + k)] = eLeft[k];
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
        const ByTable find{table};
        if (bDiffuseError) mapPixels<true>(cFrom, cTo, cR, find);
        else mapPixels<false>(cFrom, cTo, cR, find);
    } else {
        const ByPalette find{cR};
        if (bDiffuseError) mapPixels<true>(cFrom, cTo, cR, find);
        else mapPixels<false>(cFrom, cTo, cR, find);
    }
    cFrom.LoadPictureBlt(cTo, 0, 0, -1, -1, cDIBSection::kSrcCopy);
    if (Complete) Complete(int(nowMs() - start));
}
