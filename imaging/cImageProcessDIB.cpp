#include "imaging/cImageProcessDIB.h"

#include "imaging/HLSInline.h"
#include "imaging/cColourReduceDIB.h"
#include "imaging/cImageProcessDIB_Parallel.h"
#include "imaging/cImageProcessDIB_Points.h"
#include "imaging/cDIBSection.h"
#include "imaging/cPalette.h"
#include "platform/system/Rnd.h"
#include "platform/system/VBError.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <memory>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <atomic>

namespace imaging {
namespace {
std::atomic<bool> g_baselineOnly{false};
}
bool UseAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has && !g_baselineOnly.load(std::memory_order_relaxed);
}
void BaselineOnly(bool bBaseline) { g_baselineOnly = bBaseline; }
} // namespace imaging

namespace {

constexpr long kObjectError = -2147221504; // the runtime's base of object errors

int64_t nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

[[noreturn]] void raiseEngine(long number, const char* text) {
    throw vb::VBError(number, vb::AppExeName() + QStringLiteral(".cImageProcess"), QString::fromLatin1(text));
}
[[noreturn]] void raiseRuntime(long number) {
    const char* text = number == 6 ? "Overflow" : number == 11 ? "Division by zero" : "Subscript out of range";
    throw vb::VBError(number, vb::AppExeName(), QString::fromLatin1(text));
}

bool fitsLong(int64_t v) { return v >= INT32_MIN && v <= INT32_MAX; }

// Nearest integer, halves to even (the processor's default rounding mode).
inline long roundEvenD(double v) {
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(v));
#else
    return std::lrint(v);
#endif
}

inline uint8_t clampByte(int v) { return uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v)); }

using imaging::forRows;
using imaging::withBestIsa;

// The common area of two buffers, in pixels.
struct Area {
    int width = 0, height = 0;
};
Area common(const cDIBSection& a, const cDIBSection& b) {
    if (!a.DIBSectionBitsPtr() || !b.DIBSectionBitsPtr()) return {};
    return {std::min(a.Width(), b.Width()), std::min(a.Height(), b.Height())};
}

uint8_t* row(cDIBSection& d, int y) { return d.DIBSectionBitsPtr() + int64_t(y) * d.BytesPerScanLine(); }
const uint8_t* row(const cDIBSection& d, int y) { return d.DIBSectionBitsPtr() + int64_t(y) * d.BytesPerScanLine(); }

// Convolution of rows whose sums stay within 16 bits: each output byte is the sum over the taps
// of kernel value times the byte 3i further along in row y + j, which runs along the byte stream
// without regard to channels. Negative sums give 0 after truncation and clamping; for sums below
// 2^24 the single-precision quotient never crosses an integer, so its truncation is exact.
struct Tap {
    int i, j;
    int16_t k;
};
constexpr int kChunk = 2048;

void convolveRows16(const cDIBSection& src, cDIBSection& dst, int y0, int y1, int b0, int b1,
                    const std::vector<Tap>& taps, int weight) {
    alignas(64) int16_t acc[kChunk];
    const float fw = float(weight);
    for (int y = y0; y < y1; ++y) {
        uint8_t* out = row(dst, y);
        for (int c = b0; c < b1; c += kChunk) {
            const int n = std::min(kChunk, b1 - c);
            std::fill(acc, acc + n, int16_t(0));
            for (const Tap& t : taps) {
                const uint8_t* s = row(src, y + t.j) + c + 3 * t.i;
                const int16_t k = t.k;
                for (int m = 0; m < n; ++m) acc[m] = int16_t(acc[m] + k * s[m]);
            }
            uint8_t* d = out + c;
            for (int m = 0; m < n; ++m) {
                const int v = acc[m] < 0 ? 0 : acc[m];
                const int q = int(float(v) / fw);
                d[m] = uint8_t(q > 255 ? 255 : q);
            }
        }
    }
}

// The preset kernels written out, so that each output byte is one expression of constants that
// the compiler turns into 16-bit vector code. The sums are the kernel sums exactly (integers, no
// overflow), only grouped differently: s(i, j) is the byte 3i further along in row y + j.
struct PresetRows {
    const uint8_t* r[5]; // rows y - 2 .. y + 2 (only those inside the kernel are set)
    [[gnu::always_inline]] int s(int b, int i, int j) const { return r[j + 2][b + 3 * i]; }
    [[gnu::always_inline]] int h3(int b, int j) const { return s(b, -1, j) + s(b, 0, j) + s(b, 1, j); }
    [[gnu::always_inline]] int h5(int b, int j) const { return h3(b, j) + s(b, -2, j) + s(b, 2, j); }
    [[gnu::always_inline]] int box3(int b) const { return h3(b, -1) + h3(b, 0) + h3(b, 1); }
    [[gnu::always_inline]] int box5(int b) const { return h5(b, -2) + h5(b, -1) + h5(b, 0) + h5(b, 1) + h5(b, 2); }
};

template <int Type>
struct Preset;
template <> struct Preset<1> { static constexpr int kHalf = 1, kWeight = 9; static int sum(const PresetRows& p, int b) { return p.box3(b); } };
template <> struct Preset<2> { static constexpr int kHalf = 2, kWeight = 25; static int sum(const PresetRows& p, int b) { return p.box5(b); } };
template <> struct Preset<3> { static constexpr int kHalf = 1, kWeight = 12; static int sum(const PresetRows& p, int b) { return p.box3(b) + 3 * p.s(b, 0, 0); } };
template <> struct Preset<4> {
    static constexpr int kHalf = 2, kWeight = 44;
    static int sum(const PresetRows& p, int b) { return p.box5(b) + p.box3(b) + 10 * p.s(b, 0, 0); }
};
template <> struct Preset<5> { static constexpr int kHalf = 1, kWeight = 7; static int sum(const PresetRows& p, int b) { return 16 * p.s(b, 0, 0) - p.box3(b); } };
template <> struct Preset<6> {
    static constexpr int kHalf = 1, kWeight = 1;
    static int sum(const PresetRows& p, int b) { return 5 * p.s(b, 0, 0) - p.s(b, -1, 0) - p.s(b, 1, 0) - p.s(b, 0, -1) - p.s(b, 0, 1); }
};
template <> struct Preset<8> { static constexpr int kHalf = 1, kWeight = 1; static int sum(const PresetRows& p, int b) { return p.s(b, 1, 1) - p.s(b, -1, -1); } };

// Calls f with the preset kernel type as a constant (std::integral_constant): the types 1 to 6
// and 8 have loops of their own; false for any other type.
template <class F>
bool onPreset(int type, F&& f) {
    switch (type) {
    case 1: f(std::integral_constant<int, 1>{}); return true;
    case 2: f(std::integral_constant<int, 2>{}); return true;
    case 3: f(std::integral_constant<int, 3>{}); return true;
    case 4: f(std::integral_constant<int, 4>{}); return true;
    case 5: f(std::integral_constant<int, 5>{}); return true;
    case 6: f(std::integral_constant<int, 6>{}); return true;
    case 8: f(std::integral_constant<int, 8>{}); return true;
    default: return false;
    }
}

// One row of a preset kernel: r[j + 2] is the source row y + j.
template <int Type>
[[gnu::always_inline]] inline void presetRow(const uint8_t* const* r, uint8_t* __restrict out, int b0, int b1) {
    using K = Preset<Type>;
    PresetRows p{};
    for (int j = -K::kHalf; j <= K::kHalf; ++j) p.r[j + 2] = r[j + 2];
    for (int b = b0; b < b1; ++b) {
        const int16_t v = int16_t(K::sum(p, b));
        const uint16_t pos = uint16_t(v < 0 ? 0 : v);
        const uint16_t q = uint16_t(pos / uint16_t(K::kWeight));
        out[b] = uint8_t(q > 255 ? 255 : q);
    }
}

// One row of a 3 x 3 rank filter along the byte stream: bytes 3 apart are the same channel.
template <int Type>
[[gnu::always_inline]] inline void rankRow(const uint8_t* const* r, uint8_t* __restrict out, int b0, int b1) {
    const uint8_t* __restrict r0 = r[1];
    const uint8_t* __restrict r1 = r[2];
    const uint8_t* __restrict r2 = r[3];
    for (int b = b0; b < b1; ++b) {
        if constexpr (Type == cImageProcessDIB::eMean3) {
            const uint16_t sum = uint16_t(r0[b - 3] + r0[b] + r0[b + 3] + r1[b - 3] + r1[b] + r1[b + 3] + r2[b - 3] + r2[b] + r2[b + 3]);
            out[b] = uint8_t(sum / 9);
        } else {
            auto pick = [](uint8_t x, uint8_t z) -> uint8_t {
                if constexpr (Type == cImageProcessDIB::eMinimum3) return x < z ? x : z;
                else return x > z ? x : z;
            };
            const uint8_t p = pick(pick(r0[b - 3], r0[b]), r0[b + 3]);
            const uint8_t q = pick(pick(r1[b - 3], r1[b]), r1[b + 3]);
            const uint8_t t = pick(pick(r2[b - 3], r2[b]), r2[b + 3]);
            out[b] = pick(pick(p, q), t);
        }
    }
}

// Calls f with the rank filter's type (mean, minimum or maximum) as a constant.
template <class F>
void onRank(int type, F&& f) {
    if (type == cImageProcessDIB::eMean3) f(std::integral_constant<int, cImageProcessDIB::eMean3>{});
    else if (type == cImageProcessDIB::eMinimum3) f(std::integral_constant<int, cImageProcessDIB::eMinimum3>{});
    else f(std::integral_constant<int, cImageProcessDIB::eMaximum3>{});
}

// What becomes of the picture once its filtered row is in the scratch buffer: a copy of it (the
// plain filters), the row plus 127 (emboss), or twice the unfiltered row less it (unsharp mask).
enum class Post { Copy, Emboss, Unsharp };

// ProcessImage in one pass where the scratch buffer has the picture's size: the filtered row
// goes straight into the buffer, its border bytes from the source, and then into the picture.
// The bytes are those of copy, filter, copy (or combine). Each band of rows works top to bottom
// in place, keeping the unfiltered rows it still needs; the rows next to a band, which its
// neighbours overwrite, are taken aside before any band starts.
template <int Half, Post P, class RowFn>
void fusedFilter(cDIBSection& img, cDIBSection& buf, RowFn rowFn) {
    const int width = img.Width(), height = img.Height();
    const int bytes = width * 3;
    const int b0 = Half * 3, b1 = (width - Half) * 3;
    const bool inner = b1 > b0 && height - Half > Half;
    const int n = imaging::bandsFor(height, int64_t(bytes) * (2 * Half + 1), 32 * Half);
    // Per band: the Half rows below it, then the Half rows above it.
    std::vector<uint8_t> aside(size_t(n) * size_t(2 * Half) * size_t(bytes));
    auto asideRow = [&](int t, int k) { return aside.data() + (size_t(t) * size_t(2 * Half) + size_t(k)) * size_t(bytes); };
    for (int t = 0; t < n; ++t) {
        const int ya = imaging::bandStart(0, height, n, t), yb = imaging::bandStart(0, height, n, t + 1);
        for (int k = 0; k < Half; ++k) {
            if (ya - Half + k >= 0) std::memcpy(asideRow(t, k), row(img, ya - Half + k), size_t(bytes));
            if (yb + k < height) std::memcpy(asideRow(t, Half + k), row(img, yb + k), size_t(bytes));
        }
    }
    imaging::forBands(0, height, n, [&](int t, int ya, int yb) {
        std::vector<uint8_t> kept(size_t(std::max(Half, 1)) * size_t(bytes));
        withBestIsa([&] {
            for (int y = ya; y < yb; ++y) {
                uint8_t* orig = row(img, y);
                uint8_t* __restrict out = row(buf, y);
                const bool filtered = inner && y >= Half && y < height - Half;
                if (filtered) {
                    const uint8_t* r[5] = {};
                    for (int j = -Half; j <= Half; ++j) {
                        const int yy = y + j;
                        if (j < 0) r[j + 2] = yy >= ya ? kept.data() + size_t(yy % Half) * size_t(bytes) : asideRow(t, yy - (ya - Half));
                        else if (j == 0) r[j + 2] = orig;
                        else r[j + 2] = yy < yb ? row(img, yy) : asideRow(t, Half + yy - yb);
                    }
                    rowFn(r, out, b0, b1);
                    std::memcpy(out, orig, size_t(b0));
                    std::memcpy(out + b1, orig + b1, size_t(bytes - b1));
                } else {
                    std::memcpy(out, orig, size_t(bytes));
                }
                if (Half > 0 && y + 1 < yb) std::memcpy(kept.data() + size_t(y % std::max(Half, 1)) * size_t(bytes), orig, size_t(bytes));
                if constexpr (P == Post::Copy) {
                    if (filtered) std::memcpy(orig, out, size_t(bytes));
                } else if constexpr (P == Post::Emboss) {
                    for (int b = 0; b < bytes; ++b) orig[b] = uint8_t(out[b] > 128 ? 255 : out[b] + 127);
                } else {
                    for (int b = 0; b < bytes; ++b) {
                        const int v = 2 * orig[b] - out[b];
                        orig[b] = uint8_t(v < 0 ? 0 : (v > 255 ? 255 : v));
                    }
                }
            }
        });
    });
}


} // namespace

// ---- Kernel ---------------------------------------------------------------------------------

void cImageProcessDIB::FilterType(int eType) {
    if (eType < 1 || eType > 13) raiseEngine(kObjectError + 1306, "Invalid filter types.");
    m_eType = eType;
    if (eType != eCustom) CreateFilterKernel();
}

void cImageProcessDIB::FilterArraySize(int lSize) {
    if (lSize % 2 == 0) raiseEngine(kObjectError + 1305, "Size must be an odd number");
    if (lSize < 3 || lSize > 9) raiseEngine(kObjectError + 1306, "Invalid size.  Size should be an odd number from 3 to 9");
    m_lSize = lSize;
    m_lHalf = lSize / 2;
    m_kernel.assign(size_t(lSize) * size_t(lSize), 0);
}

void cImageProcessDIB::checkOffsets(int lX, int lY) const {
    if (m_lSize == 0 || lX < -m_lHalf || lX > m_lHalf || lY < -m_lHalf || lY > m_lHalf) raiseRuntime(9);
}

int cImageProcessDIB::FilterValue(int lX, int lY) const {
    checkOffsets(lX, lY);
    return cell(lX, lY);
}

void cImageProcessDIB::FilterValue(int lX, int lY, int lValue) {
    checkOffsets(lX, lY);
    cell(lX, lY) = lValue;
}

void cImageProcessDIB::CreateFilterKernel() {
    m_lWeight = 0;
    switch (m_eType) {
    case eBlur3:
    case eBlur5:
        FilterArraySize(m_eType == eBlur3 ? 3 : 5);
        std::fill(m_kernel.begin(), m_kernel.end(), 1);
        break;
    case ePyramid3:
    case ePyramid5: {
        FilterArraySize(m_eType == ePyramid3 ? 3 : 5);
        for (int j = -m_lHalf; j <= m_lHalf; ++j)
            for (int i = -m_lHalf; i <= m_lHalf; ++i) {
                const int d = std::max(std::abs(i), std::abs(j));
                cell(i, j) = d > 0 ? m_lHalf - d + 1 : int(std::nearbyint(m_lSize * m_lSize / 2.0));
            }
        break;
    }
    case eSharpen:
        FilterArraySize(3);
        std::fill(m_kernel.begin(), m_kernel.end(), -1);
        cell(0, 0) = 15;
        break;
    case eSharpenMore:
        FilterArraySize(3);
        cell(0, 0) = 5;
        cell(-1, 0) = cell(1, 0) = cell(0, -1) = cell(0, 1) = -1;
        break;
    case eEmboss:
        FilterArraySize(3);
        cell(-1, -1) = -1;
        cell(1, 1) = 1;
        m_lWeight = 1;
        return;
    default:
        return;
    }
    for (int v : m_kernel) m_lWeight += v;
}

// ---- Filters --------------------------------------------------------------------------------

namespace {
bool sameSize(const cDIBSection& a, const cDIBSection& b) {
    return a.DIBSectionBitsPtr() && b.DIBSectionBitsPtr() && a.Width() == b.Width() && a.Height() == b.Height();
}

// The one-pass ProcessImage of the plain preset kernels.
void fusedPreset(int type, cDIBSection& img, cDIBSection& buf) {
    onPreset(type, [&](auto t) {
        constexpr int T = decltype(t)::value;
        fusedFilter<Preset<T>::kHalf, Post::Copy>(img, buf, [](auto r, auto out, int b0, int b1) { presetRow<T>(r, out, b0, b1); });
    });
}
} // namespace

int cImageProcessDIB::presetType() const {
    if (m_eType == eCustom || m_eType == 0 || m_lSize == 0) return 0;
    cImageProcessDIB probe;
    probe.FilterType(m_eType);
    if (probe.m_lSize == m_lSize && probe.m_kernel == m_kernel && probe.m_lWeight == m_lWeight) return probe.m_eType;
    return 0;
}

bool cImageProcessDIB::fusedConvolve(cDIBSection& cImage, cDIBSection& cBuffer, int ePost) {
    // The emboss and the unsharp mask combine their own kernel with the picture; the plain
    // filters are the other presets.
    const int type = presetType();
    const int wanted = ePost == int(Post::Emboss) ? eEmboss : ePost == int(Post::Unsharp) ? eBlur3 : type;
    if (!sameSize(cImage, cBuffer) || type == 0 || type != wanted || (ePost == int(Post::Copy) && type == eEmboss)) return false;
    const int64_t start = nowMs();
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd - m_lHalf * 3);
    if (ePost == int(Post::Emboss))
        fusedFilter<1, Post::Emboss>(cImage, cBuffer, [](auto r, auto out, int b0, int b1) { presetRow<8>(r, out, b0, b1); });
    else if (ePost == int(Post::Unsharp))
        fusedFilter<1, Post::Unsharp>(cImage, cBuffer, [](auto r, auto out, int b0, int b1) { presetRow<1>(r, out, b0, b1); });
    else fusedPreset(type, cImage, cBuffer);
    columns(m_lHalf * 3, xEnd - m_lHalf * 3, 3);
    if (Complete) Complete(int(nowMs() - start));
    return true;
}

bool cImageProcessDIB::ProcessImage(cDIBSection& cImage, cDIBSection& cBuffer) {
    switch (m_eType) {
    case eBlur3:
    case eBlur5:
    case ePyramid3:
    case ePyramid5:
    case eSharpen:
    case eSharpenMore:
    case eCustom:
        if (fusedConvolve(cImage, cBuffer, int(Post::Copy))) return true;
        cBuffer.LoadPictureBlt(cImage);
        ConvolveFilter(cImage, cBuffer);
        cImage.LoadPictureBlt(cBuffer);
        return true;
    case eUnsharpMask:
        FilterType(eBlur3);
        if (!fusedConvolve(cImage, cBuffer, int(Post::Unsharp))) {
            cBuffer.LoadPictureBlt(cImage);
            ConvolveFilter(cImage, cBuffer);
            AddImages(cBuffer, cImage, -1, 0, 0, 0, 2, 0, 0, 0);
        }
        FilterType(eUnsharpMask);
        return false;
    case eEmboss:
        if (fusedConvolve(cImage, cBuffer, int(Post::Emboss))) return true;
        cBuffer.LoadPictureBlt(cImage);
        ConvolveFilter(cImage, cBuffer);
        AddImages(cBuffer, cImage, 1, 127, 127, 127, 0, 0, 0, 0);
        return true;
    case eMean3:
    case eMinimum3:
    case eMaximum3:
        if (sameSize(cImage, cBuffer)) {
            const int64_t start = nowMs();
            const int xEnd = (cImage.Width() - 1) * 3;
            init(xEnd - 3);
            onRank(m_eType, [&](auto t) {
                fusedFilter<1, Post::Copy>(cImage, cBuffer, [](auto r, auto out, int b0, int b1) { rankRow<decltype(t)::value>(r, out, b0, b1); });
            });
            columns(3, xEnd - 3, 3);
            if (Complete) Complete(int(nowMs() - start));
            return true;
        }
        cBuffer.LoadPictureBlt(cImage);
        RankFilter(cImage, cBuffer);
        cImage.LoadPictureBlt(cBuffer);
        return true;
    default:
        return false;
    }
}

void cImageProcessDIB::columns(int lFirst, int lLast, int lStep) const {
    if (!Progress) return;
    for (int x = lFirst; x <= lLast; x += lStep) Progress(x);
}

bool cImageProcessDIB::ConvolveFilter(const cDIBSection& cImage, cDIBSection& cBuffer) {
    const int64_t start = nowMs();
    const int half = m_lHalf;
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd - half * 3);
    // A custom filter whose size was never set has no kernel to read.
    if (m_lSize == 0) raiseRuntime(9);
    const Area a = common(cImage, cBuffer);
    // Bytes of the written columns, and the written rows.
    const int b0 = half * 3, b1 = (a.width - half) * 3;
    const int y0 = half, y1 = a.height - half;
    if (b1 > b0 && y1 > y0) {
        int64_t pos = 0, neg = 0;
        std::vector<Tap> taps;
        for (int j = -half; j <= half; ++j)
            for (int i = -half; i <= half; ++i) {
                const int64_t k = cell(i, j);
                if (k == 0) continue;
                (k > 0 ? pos : neg) += k;
                if (k >= INT16_MIN && k <= INT16_MAX) taps.push_back({i, j, int16_t(k)});
            }
        const bool fast = m_lWeight > 0 && pos * 255 <= INT16_MAX && neg * 255 >= INT16_MIN;
        // A preset kernel as built (the caller may have changed values since) has its own loop.
        const int preset = presetType();
        auto run = [&](auto fn) {
            forRows(y0, y1, b1 - b0, [&](int ya, int yb) {
                withBestIsa([&] {
                    for (int y = ya; y < yb; ++y) {
                        const uint8_t* r[5] = {};
                        for (int j = -half; j <= half; ++j) r[j + 2] = row(cImage, y + j);
                        fn(r, row(cBuffer, y), b0, b1);
                    }
                });
            });
        };
        const bool presetDone = onPreset(preset, [&](auto t) {
            run([](auto r, auto out, int c0, int c1) { presetRow<decltype(t)::value>(r, out, c0, c1); });
        });
        if (!presetDone && fast) {
            forRows(y0, y1, b1 - b0, [&](int ya, int yb) { convolveRows16(cImage, cBuffer, ya, yb, b0, b1, taps, m_lWeight); });
        } else if (!presetDone) {
            // Any kernel and weight, with the runtime's checks: a product, a running sum or a
            // quotient outside 32 bits is an overflow, a weight of 0 a division by zero. The
            // error comes before anything is written.
            const int w = m_lWeight;
            auto pixelSum = [&](int b, int y, bool& overflow) {
                int64_t sum = 0;
                for (int i = -half; i <= half; ++i)
                    for (int j = -half; j <= half; ++j) {
                        const int64_t p = int64_t(cell(i, j)) * row(cImage, y + j)[b + 3 * i];
                        sum += p;
                        overflow |= !fitsLong(p) || !fitsLong(sum);
                    }
                return sum;
            };
            if (w == 0) {
                bool overflow = false;
                for (int c = 0; c < 3; ++c) pixelSum(b0 + c, y0, overflow);
                raiseRuntime(overflow ? 6 : 11);
            }
            std::vector<uint8_t> out(size_t(b1 - b0) * size_t(y1 - y0));
            std::atomic<bool> overflowSeen{false};
            forRows(y0, y1, int64_t(b1 - b0) * m_lSize * m_lSize, [&](int ya, int yb) {
                bool overflow = false;
                for (int y = ya; y < yb && !overflow; ++y) {
                    uint8_t* o = out.data() + size_t(y - y0) * size_t(b1 - b0);
                    for (int b = b0; b < b1; ++b) {
                        const int64_t sum = pixelSum(b, y, overflow);
                        const int64_t q = sum / w;
                        overflow |= !fitsLong(q);
                        o[b - b0] = clampByte(int(std::clamp<int64_t>(q, -1, 256)));
                    }
                }
                if (overflow) overflowSeen = true;
            });
            if (overflowSeen) raiseRuntime(6);
            for (int y = y0; y < y1; ++y)
                std::copy_n(out.data() + size_t(y - y0) * size_t(b1 - b0), b1 - b0, row(cBuffer, y) + b0);
        }
    }
    columns(half * 3, xEnd - half * 3, 3);
    if (Complete) Complete(int(nowMs() - start));
    return true;
}

bool cImageProcessDIB::RankFilter(const cDIBSection& cImage, cDIBSection& cBuffer) {
    const int64_t start = nowMs();
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd - 3);
    const Area a = common(cImage, cBuffer);
    const int b0 = 3, b1 = (a.width - 1) * 3;
    const int type = m_eType;
    if (b1 > b0 && a.height > 2) {
        auto run = [&](auto fn) {
            forRows(1, a.height - 1, b1 - b0, [&](int ya, int yb) {
                withBestIsa([&] {
                    for (int y = ya; y < yb; ++y) {
                        const uint8_t* r[5] = {nullptr, row(cImage, y - 1), row(cImage, y), row(cImage, y + 1), nullptr};
                        fn(r, row(cBuffer, y), b0, b1);
                    }
                });
            });
        };
        onRank(type, [&](auto t) { run([](auto r, auto out, int c0, int c1) { rankRow<decltype(t)::value>(r, out, c0, c1); }); });
    }
    columns(3, xEnd - 3, 3);
    if (Complete) Complete(int(nowMs() - start));
    return true;
}

// ---- Two pictures ---------------------------------------------------------------------------

void cImageProcessDIB::AddImages(const cDIBSection& cFrom, cDIBSection& cTo, int lFromMultiplier, int lFromOffsetR,
                                 int lFromOffsetG, int lFromOffsetB, int lToMultiplier, int lToOffsetR,
                                 int lToOffsetG, int lToOffsetB) {
    const Area a = common(cFrom, cTo);
    if (a.width <= 0 || a.height <= 0) return;
    const int64_t offF[3] = {lFromOffsetR, lFromOffsetG, lFromOffsetB};
    const int64_t offT[3] = {lToOffsetR, lToOffsetG, lToOffsetB};
    const int64_t mF = lFromMultiplier, mT = lToMultiplier;
    // Every step of (from + offset) * multiplier + (to + offset) * multiplier stays within 32 bits
    // for these bytes, or the runtime raises an overflow.
    auto fits = [&](int k, int f, int t) {
        const int64_t p = (f + offF[k]) * mF, q = (t + offT[k]) * mT;
        return fitsLong(f + offF[k]) && fitsLong(p) && fitsLong(t + offT[k]) && fitsLong(q) && fitsLong(p + q);
    };
    bool safe = true;
    for (int k = 0; k < 3; ++k)
        for (int f : {0, 255})
            for (int t : {0, 255}) safe = safe && fits(k, f, t);
    if (!safe) {
        // Only the bytes actually there count; an overflow leaves cTo as it was.
        for (int y = 0; y < a.height; ++y) {
            const uint8_t* f = row(cFrom, y);
            const uint8_t* t = row(cTo, y);
            for (int b = 0; b < a.width * 3; ++b)
                if (!fits(b % 3, f[b], t[b])) raiseRuntime(6);
        }
    }
    // The negative (255 - value, whatever cTo held) in one pass.
    if (mT == 0 && mF == -1 && offF[0] == -255 && offF[1] == -255 && offF[2] == -255) {
        const size_t bytes = size_t(a.width) * 3;
        forRows(0, a.height, int64_t(bytes), [&](int ya, int yb) {
            for (int y = ya; y < yb; ++y) imaging::negateBytes(row(cFrom, y), row(cTo, y), bytes);
        });
        return;
    }
    // Per byte position k, the two terms as tables; their sums fit 32 bits now.
    std::vector<int64_t> tables(6 * 256);
    for (int k = 0; k < 3; ++k)
        for (int v = 0; v < 256; ++v) {
            tables[size_t(k * 256 + v)] = (v + offF[k]) * mF;
            tables[size_t((3 + k) * 256 + v)] = (v + offT[k]) * mT;
        }
    forRows(0, a.height, int64_t(a.width) * 3, [&](int ya, int yb) {
        for (int y = ya; y < yb; ++y) {
            const uint8_t* f = row(cFrom, y);
            uint8_t* t = row(cTo, y);
            for (int x = 0; x < a.width; ++x)
                for (int k = 0; k < 3; ++k) {
                    const int b = 3 * x + k;
                    const int64_t v = tables[size_t(k * 256 + f[b])] + tables[size_t((3 + k) * 256 + t[b])];
                    t[b] = uint8_t(std::clamp<int64_t>(v, 0, 255));
                }
        }
    });
}

namespace {
template <bool Lightest>
void keepPixels(const cDIBSection& cFrom, cDIBSection& cTo) {
    const Area a = common(cFrom, cTo);
    forRows(0, a.height, int64_t(a.width) * 3, [&](int ya, int yb) {
        for (int y = ya; y < yb; ++y) {
            const uint8_t* f = row(cFrom, y);
            uint8_t* t = row(cTo, y);
            for (int b = 0; b < a.width * 3; b += 3) {
                const int mf = 222 * f[b + 2] + 707 * f[b + 1] + 71 * f[b];
                const int mt = 222 * t[b + 2] + 707 * t[b + 1] + 71 * t[b];
                if (Lightest ? mf < mt : mf > mt) {
                    t[b] = f[b];
                    t[b + 1] = f[b + 1];
                    t[b + 2] = f[b + 2];
                }
            }
        }
    });
}
} // namespace

void cImageProcessDIB::AddLightest(const cDIBSection& cFrom, cDIBSection& cTo) { keepPixels<true>(cFrom, cTo); }
void cImageProcessDIB::AddDarkest(const cDIBSection& cFrom, cDIBSection& cTo) { keepPixels<false>(cFrom, cTo); }

// ---- Colour reduction -----------------------------------------------------------------------

namespace {
cColourReduceDIB reducer(const cImageProcessDIB& e) {
    cColourReduceDIB r;
    r.InitProgress = e.InitProgress;
    r.Progress = e.Progress;
    r.Complete = e.Complete;
    return r;
}
} // namespace

void cImageProcessDIB::BlackAndWhite(cDIBSection& cFrom, cDIBSection& cTo) { reducer(*this).BlackAndWhite(cFrom, cTo); }
void cImageProcessDIB::ApplyPalette(cDIBSection& cFrom, cDIBSection& cTo, const cPalette& cPal) {
    reducer(*this).ApplyPalette(cFrom, cTo, cPal, true);
}
void cImageProcessDIB::GrayScale(cDIBSection& cImage) {
    // The reducer's grey, pixel by pixel on all threads; its events as it raises them.
    const int64_t start = nowMs();
    const int width = cImage.Width();
    init((width - 1) * 3);
    if (cImage.DIBSectionBitsPtr()) {
        forRows(0, cImage.Height(), int64_t(width) * 3, [&](int ya, int yb) {
            for (int y = ya; y < yb; ++y) imaging::greyPixels(row(cImage, y), width);
        });
    }
    columns(0, (width - 1) * 3, 3);
    if (Complete) Complete(int(nowMs() - start));
}

// ---- Pixel operations -----------------------------------------------------------------------

namespace {
// Applies f(blue, green, red) to every pixel, in place; pixels are independent.
template <class F>
void eachPixel(cDIBSection& img, F&& f) {
    if (!img.DIBSectionBitsPtr()) return;
    const int width = img.Width();
    forRows(0, img.Height(), int64_t(width) * 3 * 16, [&](int ya, int yb) {
        for (int y = ya; y < yb; ++y) {
            uint8_t* p = row(img, y);
            for (int x = 0; x < width; ++x, p += 3) f(p);
        }
    });
}

// The noise loop, column by column as its draws are ordered. A draw is a single-precision
// number in [0, 1).
template <class Draw>
void noiseColumns(cDIBSection& img, int lPercent, bool bRandom, Draw&& draw) {
    const int range = int(int64_t(lPercent) * 128 / 100); // checked by the caller
    const int half = range / 2;
    const int width = img.Width(), height = img.Height();
    const int line = img.BytesPerScanLine();
    uint8_t* bits = img.DIBSectionBitsPtr();
    if (!bits) return;
    const float percent = float(lPercent);
    for (int x = 0; x < width; ++x) {
        uint8_t* p = bits + 3 * x;
        for (int y = 0; y < height; ++y, p += line) {
            if (bRandom && !(draw() * 100.0f > percent)) continue;
            for (int c = 0; c < 3; ++c) {
                const double v = double(draw()) * range + double(p[c] - half);
                p[c] = clampByte(int(roundEvenD(v)));
            }
        }
    }
}
// The noise loop with the program's own generator (vb::RndGenerator, xorshift64*), with its
// draws in the same order: a column's pixels depend on the state the column starts with, and
// the states follow from the selection draws alone. So one pass walks the states, four draws at
// a time where a pixel is changed, and records where each column starts; then the columns are
// changed on all threads. The number of a state is its top 24 bits after the multiply.
struct NoiseDraws {
    static uint64_t step(uint64_t s) { return vb::RndGenerator::Step(s); }
    static uint32_t number(uint64_t s) { return vb::RndGenerator::Number(s); }
    // n steps at once: the step is linear over bits, so each byte of the state has its table.
    struct Jump {
        uint64_t t[8][256];
        explicit Jump(int n) {
            for (int k = 0; k < 8; ++k)
                for (int v = 0; v < 256; ++v) {
                    uint64_t x = uint64_t(v) << (8 * k);
                    for (int i = 0; i < n; ++i) x = step(x);
                    t[k][v] = x;
                }
        }
        uint64_t operator()(uint64_t s) const {
            return (t[0][s & 255] ^ t[1][(s >> 8) & 255]) ^ (t[2][(s >> 16) & 255] ^ t[3][(s >> 24) & 255]) ^
                   (t[4][(s >> 32) & 255] ^ t[5][(s >> 40) & 255]) ^ (t[6][(s >> 48) & 255] ^ t[7][s >> 56]);
        }
    };
};

// The generator's step as a matrix over bits (col[i]: the image of bit i), for jumps of
// millions of draws.
struct StepMatrix {
    uint64_t col[64];
    uint64_t operator()(uint64_t s) const {
        uint64_t r = 0;
        for (int i = 0; i < 64; ++i)
            if ((s >> i) & 1) r ^= col[i];
        return r;
    }
    static StepMatrix power(uint64_t n) {
        StepMatrix m, r;
        for (int i = 0; i < 64; ++i) {
            m.col[i] = NoiseDraws::step(uint64_t(1) << i);
            r.col[i] = uint64_t(1) << i;
        }
        for (; n; n >>= 1) {
            if (n & 1) r = r.then(m);
            m = m.then(m);
        }
        return r;
    }
    // This map followed by o.
    StepMatrix then(const StepMatrix& o) const {
        StepMatrix r;
        for (int i = 0; i < 64; ++i) r.col[i] = o(col[i]);
        return r;
    }
};

// The states before each group of pixels and after the last one. Without selection every pixel
// draws three numbers and a group's state is a jump. With it the walk through the states is
// split too: each group but the first starts a little before where its state is likely to be
// (the draws per pixel vary little over millions of pixels), walks from there and keeps the
// states it passes first. Two walks that meet a common state go on together, and this happens
// within a few pixels; once the group before has found its true end, that state is looked up
// among the kept ones. A group whose walk missed it walks again from the true state.
template <class GroupPixels, class Next>
std::vector<uint64_t> noiseGroupStarts(uint64_t s0, int groups, GroupPixels&& groupPixels, Next&& next, bool bRandom, uint32_t kMin) {
    std::vector<int64_t> firstPixel(size_t(groups) + 1, 0);
    for (int g = 0; g < groups; ++g) firstPixel[size_t(g) + 1] = firstPixel[size_t(g)] + groupPixels(g);
    std::vector<uint64_t> starts(size_t(groups) + 1);
    if (!bRandom) {
        for (int g = 0; g <= groups; ++g) starts[size_t(g)] = StepMatrix::power(uint64_t(firstPixel[size_t(g)]) * 3)(s0);
        return starts;
    }
    auto walk = [&](uint64_t s, int64_t n) {
        for (int64_t i = 0; i < n; ++i) s = next(s);
        return s;
    };
    if (groups == 1) {
        starts[0] = s0;
        starts[1] = walk(s0, firstPixel[1]);
        return starts;
    }
    const double p = double((1u << 24) - std::min(kMin, 1u << 24)) / double(1u << 24);
    constexpr int kEvery = 256; // states kept along the walk for looking up later
    struct Walk {
        std::vector<uint64_t> first; // the states of the first steps
        std::vector<uint64_t> every; // the state before every kEvery-th step
    };
    std::vector<Walk> walks(static_cast<size_t>(groups));
    imaging::forBands(0, groups, groups, [&](int g, int, int) {
        const int64_t pa = firstPixel[size_t(g)], len = firstPixel[size_t(g) + 1] - pa;
        uint64_t s = s0;
        int64_t window = 0;
        if (g > 0) {
            const double spread = 3.0 * std::sqrt(double(pa) * p * (1.0 - p));
            const int64_t margin = int64_t(12.0 * spread) + 64;
            const int64_t guess = std::max<int64_t>(0, int64_t(double(pa) * (1.0 + 3.0 * p)) - margin);
            s = StepMatrix::power(uint64_t(guess))(s0);
            window = 2 * margin + 64;
        }
        Walk& w = walks[size_t(g)];
        w.first.resize(size_t(window));
        w.every.reserve(size_t((window + len) / kEvery + 1));
        for (int64_t i = 0; i < window + len; ++i) {
            if (i < window) w.first[size_t(i)] = s;
            if (i % kEvery == 0) w.every.push_back(s);
            s = next(s);
        }
    });
    auto stateAt = [&](const Walk& w, int64_t i) { return walk(w.every[size_t(i / kEvery)], i % kEvery); };
    starts[0] = s0;
    int64_t offset = 0; // where group g's true start lies in its walk
    for (int g = 0; g < groups; ++g) {
        const int64_t len = firstPixel[size_t(g) + 1] - firstPixel[size_t(g)];
        if (g > 0) {
            const Walk& w = walks[size_t(g)];
            const auto found = std::find(w.first.begin(), w.first.end(), starts[size_t(g)]);
            if (found != w.first.end()) {
                offset = found - w.first.begin();
            } else {
                Walk& again = walks[size_t(g)];
                again.every.clear();
                uint64_t s = starts[size_t(g)];
                for (int64_t i = 0; i < len; ++i) {
                    if (i % kEvery == 0) again.every.push_back(s);
                    s = next(s);
                }
                again.every.push_back(s);
                offset = 0;
            }
        }
        starts[size_t(g) + 1] = g == 0 ? stateAt(walks[0], len) : stateAt(walks[size_t(g)], offset + len);
    }
    return starts;
}

void noiseFast(cDIBSection& img, int lPercent, bool bRandom, uint64_t& state) {
    const int range = int(int64_t(lPercent) * 128 / 100);
    const int half = range / 2;
    const int width = img.Width(), height = img.Height();
    const int line = img.BytesPerScanLine();
    uint8_t* bits = img.DIBSectionBitsPtr();
    if (!bits) return;
    // A pixel is changed when its number k is at least kMin: the draw k / 2^24 in single
    // precision times 100 above the percentage, which grows with k.
    const float percent = float(lPercent);
    auto above = [&](uint32_t k) { return float(double(k) * (1.0 / 16777216.0)) * 100.0f > percent; };
    uint32_t lo = 0, hi = 1u << 24;
    while (lo < hi) {
        const uint32_t mid = (lo + hi) / 2;
        if (above(mid)) hi = mid;
        else lo = mid + 1;
    }
    const uint32_t kMin = lo;
    const auto jump = std::make_unique<NoiseDraws::Jump>(bRandom ? 4 : 3);
    // The state after a pixel's draws, from the state before them.
    auto next = [&](uint64_t s) {
        const uint64_t s1 = NoiseDraws::step(s);
        const uint64_t sAll = (*jump)(s);
        if (!bRandom) return sAll;
        return NoiseDraws::number(s1) >= kMin ? sAll : s1;
    };
    // The columns in groups, each changed on one thread from the state it starts with.
    const int64_t pixels = int64_t(width) * height;
    const int groups = int(std::clamp<int64_t>(pixels >> 17, 1, std::min(width, 16)));
    std::vector<int> firstColumn(size_t(groups) + 1);
    for (int g = 0; g <= groups; ++g) firstColumn[size_t(g)] = imaging::bandStart(0, width, groups, g);
    auto groupPixels = [&](int g) { return int64_t(firstColumn[size_t(g) + 1] - firstColumn[size_t(g)]) * height; };
    const std::vector<uint64_t> starts = noiseGroupStarts(state, groups, groupPixels, next, bRandom, kMin);
    state = starts.back();
    // u x range + (old - half) for u = k / 2^24, rounded halves to even, in integers.
    auto noisy = [range, half](int old, uint32_t k) {
        const int64_t n = int64_t(k) * range + (int64_t(old - half) << 24);
        int64_t q = n >> 24;
        const int64_t rem = n & 0xFFFFFF;
        q += (rem > 0x800000) | ((rem == 0x800000) & (q & 1));
        return clampByte(int(std::clamp<int64_t>(q, -1, 256)));
    };
    imaging::forBands(0, groups, groups, [&](int g, int, int) {
        uint64_t c = starts[size_t(g)];
        for (int x = firstColumn[size_t(g)]; x < firstColumn[size_t(g) + 1]; ++x) {
            uint8_t* p = bits + 3 * x;
            for (int y = 0; y < height; ++y, p += line) {
                uint64_t s1 = NoiseDraws::step(c);
                if (bRandom) {
                    if (NoiseDraws::number(s1) < kMin) {
                        c = s1;
                        continue;
                    }
                    s1 = NoiseDraws::step(s1);
                }
                const uint64_t s2 = NoiseDraws::step(s1), s3 = NoiseDraws::step(s2);
                p[0] = noisy(p[0], NoiseDraws::number(s1));
                p[1] = noisy(p[1], NoiseDraws::number(s2));
                p[2] = noisy(p[2], NoiseDraws::number(s3));
                c = s3;
            }
        }
    });
}

// Runs change(h, s, l) between the conversions to and from HLS on every pixel, eight at a time.
template <class Change>
void hlsPixels(cDIBSection& img, Change&& change) {
    if (!img.DIBSectionBitsPtr()) return;
    const int width = img.Width();
    constexpr int kLanes = hls::kLanes;
    forRows(0, img.Height(), int64_t(width) * 3 * 16, [&](int ya, int yb) {
        withBestIsa([&] {
            for (int y = ya; y < yb; ++y) {
                uint8_t* line = row(img, y);
                for (int x0 = 0; x0 < width; x0 += kLanes) {
                    const int n = std::min(kLanes, width - x0);
                    uint8_t* p = line + 3 * x0;
                    hls::v8i r = {}, g = {}, b = {};
                    for (int k = 0; k < n; ++k) {
                        b[k] = p[3 * k];
                        g[k] = p[3 * k + 1];
                        r[k] = p[3 * k + 2];
                    }
                    hls::v8f h, s, l;
                    hls::toHLS8(r, g, b, h, s, l);
                    change(h, s, l);
                    hls::toRGB8(h, s, l, r, g, b);
                    for (int k = 0; k < n; ++k) {
                        p[3 * k] = clampByte(b[k]);
                        p[3 * k + 1] = clampByte(g[k]);
                        p[3 * k + 2] = clampByte(r[k]);
                    }
                }
            }
        });
    });
}
} // namespace

void cImageProcessDIB::AddNoise(cDIBSection& cImage, int lPercent, bool bRandom) {
    const int64_t start = nowMs();
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd);
    if (!fitsLong(int64_t(lPercent) * 128)) raiseRuntime(6);
    if (vb::HasRndSource()) {
        noiseColumns(cImage, lPercent, bRandom, [] { return float(vb::Rnd()); });
    } else {
        noiseFast(cImage, lPercent, bRandom, vb::DefaultRnd().state);
    }
    columns(0, xEnd, 3);
    if (Complete) Complete(int(nowMs() - start));
}

void cImageProcessDIB::Fade(cDIBSection& cImage, int lAmount) {
    const int64_t start = nowMs();
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd);
    if (lAmount >= 0 && lAmount <= imaging::kFadeBytesMax) {
        if (cImage.DIBSectionBitsPtr()) {
            const size_t bytes = size_t(cImage.Width()) * 3;
            forRows(0, cImage.Height(), int64_t(bytes), [&](int ya, int yb) {
                for (int y = ya; y < yb; ++y) imaging::fadeBytes(row(cImage, y), bytes, lAmount);
            });
        }
    } else {
        uint8_t table[256];
        for (int v = 0; v < 256; ++v) table[v] = uint8_t(std::clamp<int64_t>(int64_t(v) * lAmount / 255, 0, 255));
        eachPixel(cImage, [&](uint8_t* p) {
            p[0] = table[p[0]];
            p[1] = table[p[1]];
            p[2] = table[p[2]];
        });
    }
    columns(0, xEnd, 3);
    if (Complete) Complete(int(nowMs() - start));
}

void cImageProcessDIB::Lighten(cDIBSection& cImage, int lAmount) {
    const int64_t start = nowMs();
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd);
    const double factor = double(lAmount) / 100.0 + 1.0;
    hlsPixels(cImage, [factor](hls::v8f& h, hls::v8f& s, hls::v8f& l) {
        (void)h;
        (void)s;
        for (int k = 0; k < hls::kLanes; ++k) {
            const float v = float(double(l[k]) * factor);
            l[k] = v > 1.0f ? 1.0f : v;
        }
    });
    columns(0, xEnd, 3);
    if (Complete) Complete(int(nowMs() - start));
}

void cImageProcessDIB::Colourise(cDIBSection& cImage, float fHue, float /*fSaturation*/) {
    const int64_t start = nowMs();
    const int xEnd = (cImage.Width() - 1) * 3;
    init(xEnd);
    hlsPixels(cImage, [fHue](hls::v8f& h, hls::v8f& s, hls::v8f&) {
        s = h == hls::splat(0.0f) ? hls::splat(0.5f) : s;
        h = hls::splat(fHue);
    });
    columns(0, xEnd, 3);
    if (Complete) Complete(int(nowMs() - start));
}
