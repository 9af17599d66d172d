#include "imaging/cDIBSection.h"

#include "imaging/cImageProcessDIB_Parallel.h"

#include "platform/picture/Bmp.h"
#include "platform/picture/Clipboard.h"
#include "platform/picture/Gdi.h"
#include "platform/system/MsgBox.h"
#include "platform/system/SafeFile.h"
#include "platform/system/VBError.h"

#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Nearest integer, halves to even (the processor's default rounding).
inline int roundEven(double v) {
#if defined(__SSE2__)
    return _mm_cvtsd_si32(_mm_set_sd(v));
#else
    return int(std::nearbyint(v));
#endif
}

long nextHandle() {
    static std::atomic<long> counter{0};
    return ++counter;
}

bool is32Bit(const QImage& img) {
    return img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32;
}

// The steps [first, last) of a copy of n pixels from s0 of a source sizeS long to d0 of a target
// sizeD long that lie inside both.
struct Span {
    int first = 0, last = 0;
};
Span clipSpan(int64_t n, int64_t s0, int64_t sizeS, int64_t d0, int64_t sizeD) {
    const int64_t first = std::max<int64_t>({0, -s0, -d0});
    const int64_t last = std::min<int64_t>({n, sizeS - s0, sizeD - d0});
    if (last <= first) return {};
    return {int(first), int(last)};
}

bool usesSource(uint32_t rop) { return rop != vb::DSTINVERT && rop != vb::BLACKNESS && rop != vb::WHITENESS; }

// A blit with another raster operation, left to the runtime once the rectangle is inside both
// pictures (or inside the target alone when the operation ignores its source).
void ropBlt(QImage& dst, int dx, int dy, int w, int h, const QImage& src, int sx, int sy, uint32_t rop) {
    const bool withSource = usesSource(rop);
    const Span cols = withSource ? clipSpan(w, sx, src.width(), dx, dst.width()) : clipSpan(w, 0, w, dx, dst.width());
    const Span rows = withSource ? clipSpan(h, sy, src.height(), dy, dst.height()) : clipSpan(h, 0, h, dy, dst.height());
    if (cols.last <= cols.first || rows.last <= rows.first) return;
    vb::BitBlt(dst, dx + cols.first, dy + rows.first, cols.last - cols.first, rows.last - rows.first, src,
               withSource ? sx + cols.first : 0, withSource ? sy + rows.first : 0, rop);
}

} // namespace

void cDIBSection::FreeBits::operator()(uint8_t* p) const {
    if (mapped) munmap(p, mapped);
    else std::free(p);
}

namespace {
// A zeroed block of at least size bytes for a large picture: aligned to and advised for huge
// pages, and touched on all threads, so that the first write to it does not fault page by page.
// Null when the system has no such mapping; length receives the mapped length.
uint8_t* mapZeroed(int64_t size, size_t& length) {
    constexpr size_t kHuge = size_t(2) << 20;
    length = (size_t(size) + kHuge - 1) & ~(kHuge - 1);
    void* raw = mmap(nullptr, length + kHuge, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED) return nullptr;
    const uintptr_t begin = uintptr_t(raw), aligned = (begin + kHuge - 1) & ~uintptr_t(kHuge - 1);
    if (aligned > begin) munmap(raw, aligned - begin);
    munmap(reinterpret_cast<void*>(aligned + length), begin + kHuge - aligned);
    auto* bits = reinterpret_cast<uint8_t*>(aligned);
    madvise(bits, length, MADV_HUGEPAGE);
    constexpr int kPage = 4096;
    const int pages = int(length / kPage);
    imaging::forRows(0, pages, kPage, [bits](int a, int b) {
        for (int i = a; i < b; ++i) reinterpret_cast<volatile uint8_t*>(bits)[size_t(i) * kPage] = 0;
    });
    return bits;
}
} // namespace

cDIBSection::~cDIBSection() { ClearUp(); }

bool cDIBSection::Create(int lWidth, int lheight) {
    ClearUp();
    if (lWidth <= 0 || lheight <= 0) return false;
    const int64_t line = (int64_t(lWidth) * 3 + 3) & ~int64_t(3);
    const int64_t size = line * lheight;
    // The header's image size is a 32-bit field.
    if (size > INT32_MAX) return false;
    size_t mapped = 0;
    uint8_t* bits = size >= (int64_t(1) << 21) ? mapZeroed(size, mapped) : nullptr;
    if (!bits) {
        mapped = 0;
        bits = static_cast<uint8_t*>(std::calloc(size_t(size), 1));
    }
    if (!bits) return false;
    m_bits = std::unique_ptr<uint8_t, FreeBits>(bits, FreeBits{mapped});
    m_width = lWidth;
    m_height = lheight;
    m_hdc = nextHandle();
    m_hDib = nextHandle();
    return true;
}

void cDIBSection::ClearUp() {
    m_bits.reset();
    m_width = m_height = 0;
    m_hdc = m_hDib = 0;
}

void cDIBSection::CreateFromPicture(const QImage& picThis) {
    if (picThis.isNull() || picThis.width() <= 0 || picThis.height() <= 0) {
        ClearUp();
        return;
    }
    if (!Create(picThis.width(), picThis.height())) return;
    LoadPictureBlt(picThis, 0, 0, -1, -1, kSrcCopy);
}

QImage cDIBSection::ToImage() const {
    if (!m_bits) return QImage();
    QImage img(m_width, m_height, QImage::Format_RGB32);
    if (img.isNull()) return img;
    PaintPicture(img);
    return img;
}

void cDIBSection::PaintPicture(QImage& dst, int lDestLeft, int lDestTop, int lDestWidth, int lDestHeight,
                               int lSrcLeft, int lSrcTop, uint32_t eRop) const {
    if (!m_bits || dst.isNull()) return;
    const int w = lDestWidth < 0 ? m_width : lDestWidth;
    const int h = lDestHeight < 0 ? m_height : lDestHeight;
    if (!is32Bit(dst)) dst = dst.convertToFormat(QImage::Format_RGB32);
    if (eRop != kSrcCopy) {
        ropBlt(dst, lDestLeft, lDestTop, w, h, ToImage(), lSrcLeft, lSrcTop, eRop);
        return;
    }
    const Span cols = clipSpan(w, lSrcLeft, m_width, lDestLeft, dst.width());
    const Span rows = clipSpan(h, lSrcTop, m_height, lDestTop, dst.height());
    if (cols.last <= cols.first || rows.last <= rows.first) return;
    const int line = BytesPerScanLine();
    for (int j = rows.first; j < rows.last; ++j) {
        const uint8_t* s = m_bits.get() + int64_t(m_height - 1 - (lSrcTop + j)) * line + int64_t(lSrcLeft + cols.first) * 3;
        auto* d = reinterpret_cast<uint32_t*>(dst.scanLine(lDestTop + j)) + (lDestLeft + cols.first);
        for (int i = cols.first; i < cols.last; ++i, s += 3)
            *d++ = 0xFF000000u | (uint32_t(s[2]) << 16) | (uint32_t(s[1]) << 8) | s[0];
    }
}

void cDIBSection::LoadPictureBlt(const QImage& src, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
                                 uint32_t eRop) {
    if (!m_bits) return;
    const int w = lSrcWidth < 0 ? m_width : lSrcWidth;
    const int h = lSrcHeight < 0 ? m_height : lSrcHeight;
    if (eRop != kSrcCopy) {
        QImage self = ToImage();
        ropBlt(self, 0, 0, w, h, src, lSrcLeft, lSrcTop, eRop);
        LoadPictureBlt(self);
        return;
    }
    if (src.isNull()) return;
    const QImage conv = is32Bit(src) ? QImage() : src.convertToFormat(QImage::Format_RGB32);
    const QImage& s32 = conv.isNull() ? src : conv;
    if (!is32Bit(s32)) return;
    const Span cols = clipSpan(w, lSrcLeft, s32.width(), 0, m_width);
    const Span rows = clipSpan(h, lSrcTop, s32.height(), 0, m_height);
    if (cols.last <= cols.first || rows.last <= rows.first) return;
    const int line = BytesPerScanLine();
    for (int j = rows.first; j < rows.last; ++j) {
        const auto* s = reinterpret_cast<const uint32_t*>(s32.constScanLine(lSrcTop + j)) + (lSrcLeft + cols.first);
        uint8_t* d = m_bits.get() + int64_t(m_height - 1 - j) * line + int64_t(cols.first) * 3;
        for (int i = cols.first; i < cols.last; ++i, d += 3) {
            const uint32_t p = *s++;
            d[0] = uint8_t(p);
            d[1] = uint8_t(p >> 8);
            d[2] = uint8_t(p >> 16);
        }
    }
}

void cDIBSection::LoadPictureBlt(const cDIBSection& src, int lSrcLeft, int lSrcTop, int lSrcWidth, int lSrcHeight,
                                 uint32_t eRop) {
    if (!m_bits) return;
    if (eRop != kSrcCopy || &src == this) {
        LoadPictureBlt(src.ToImage(), lSrcLeft, lSrcTop, lSrcWidth, lSrcHeight, eRop);
        return;
    }
    if (!src.m_bits) return;
    const int w = lSrcWidth < 0 ? m_width : lSrcWidth;
    const int h = lSrcHeight < 0 ? m_height : lSrcHeight;
    const Span cols = clipSpan(w, lSrcLeft, src.m_width, 0, m_width);
    const Span rows = clipSpan(h, lSrcTop, src.m_height, 0, m_height);
    if (cols.last <= cols.first || rows.last <= rows.first) return;
    const int line = BytesPerScanLine(), sline = src.BytesPerScanLine();
    const size_t bytes = size_t(cols.last - cols.first) * 3;
    // Rows are copied on all threads when the picture is large.
    imaging::forRows(rows.first, rows.last, int64_t(bytes), [&](int ja, int jb) {
        for (int j = ja; j < jb; ++j) {
            const uint8_t* s = src.m_bits.get() + int64_t(src.m_height - 1 - (lSrcTop + j)) * sline + int64_t(lSrcLeft + cols.first) * 3;
            uint8_t* d = m_bits.get() + int64_t(m_height - 1 - j) * line + int64_t(cols.first) * 3;
            std::memcpy(d, s, bytes);
        }
    });
}

void cDIBSection::RandomiseBits(bool bGray) {
    if (!m_bits) return;
    uint64_t state = uint64_t(std::chrono::system_clock::now().time_since_epoch().count()) | 1u;
    // xorshift64*: uniform enough for test pictures, and fast.
    auto next = [&state]() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return double((state * 0x2545F4914F6CDD1DULL) >> 40) * (1.0 / 16777216.0);
    };
    const int line = BytesPerScanLine();
    for (int y = 0; y < m_height; ++y) {
        uint8_t* p = m_bits.get() + int64_t(y) * line;
        for (int x = 0; x < m_width; ++x, p += 3) {
            if (bGray) {
                const auto v = uint8_t(roundEven(next() * 255.0));
                p[0] = p[1] = p[2] = v;
            } else {
                p[0] = 0;
                p[1] = uint8_t(roundEven(next() * 255.0));
                p[2] = uint8_t(roundEven(next() * 255.0));
            }
        }
    }
}

std::unique_ptr<cDIBSection> cDIBSection::Resample(int lNewHeight, int lNewWidth) const {
    auto target = std::make_unique<cDIBSection>();
    if (!target->Create(lNewWidth, lNewHeight)) return nullptr;
    if (lNewWidth == m_width && lNewHeight == m_height) {
        target->LoadPictureBlt(*this, 0, 0, -1, -1, kSrcCopy);
        return target;
    }
    // Interpolation needs a neighbour to the right and above every sample.
    if (m_width < 2 || m_height < 2) throw vb::VBError(9, vb::AppExeName(), QStringLiteral("Subscript out of range"));
    ResampleBits(*target);
    return target;
}

void cDIBSection::ResampleBits(cDIBSection& target) const {
    const int tw = target.m_width, th = target.m_height;
    // Scale factors and fractions in single precision; the blends themselves are exact.
    const float xScale = float(double(m_width - 1) / double(tw));
    const float yScale = float(double(m_height - 1) / double(th));
    std::vector<int> colOffset(static_cast<size_t>(tw));
    std::vector<double> wRight(static_cast<size_t>(tw)), wLeft(static_cast<size_t>(tw));
    for (int x = 0; x < tw; ++x) {
        const float fx = float(double(x) * double(xScale));
        int ix = int(std::floor(fx));
        const float dx = fx - float(ix);
        ix = std::clamp(ix, 0, m_width - 2);
        colOffset[size_t(x)] = ix * 3;
        wRight[size_t(x)] = dx;
        wLeft[size_t(x)] = 1.0f - dx;
    }
    const int sline = BytesPerScanLine(), tline = target.BytesPerScanLine();
    for (int y = 0; y < th; ++y) {
        const float fy = float(double(y) * double(yScale));
        int iy = int(std::floor(fy));
        const float dyf = fy - float(iy);
        iy = std::clamp(iy, 0, m_height - 2);
        const double dy = dyf, dy1 = 1.0f - dyf;
        const uint8_t* r0 = m_bits.get() + int64_t(iy) * sline;
        const uint8_t* r1 = r0 + sline;
        uint8_t* out = target.m_bits.get() + int64_t(y) * tline;
        for (int x = 0; x < tw; ++x, out += 3) {
            const int o = colOffset[size_t(x)];
            const double wl = wLeft[size_t(x)], wr = wRight[size_t(x)];
            for (int c = 0; c < 3; ++c) {
                const int left = roundEven(dy * r1[o + c] + dy1 * r0[o + c]);
                const int right = roundEven(dy * r1[o + 3 + c] + dy1 * r0[o + 3 + c]);
                out[c] = uint8_t(std::clamp(roundEven(wl * left + wr * right), 0, 255));
            }
        }
    }
}

bool cDIBSection::IsWriteError(long lR, int64_t lToWrite, int64_t lWritten) { return lR == 0 || lToWrite != lWritten; }

void cDIBSection::fillHeader(uint8_t out[40]) const {
    vb::Bmp::InfoHeader h;
    h.width = m_width;
    h.height = m_height;
    h.bitCount = 24;
    h.imageSize = uint32_t(ImageSize());
    h.Write(out);
}

bool cDIBSection::SavePicture(const QString& sfileName) const {
    uint8_t info[vb::Bmp::InfoHeader::kSize];
    fillHeader(info);
    return WriteBitmapFile(sfileName, info, {m_bits.get(), m_bits ? size_t(ImageSize()) : 0});
}

bool cDIBSection::WriteBitmapFile(const QString& sFileName, std::span<const uint8_t> info, std::span<const uint8_t> bits) {
    // Written beside the target and renamed over it when whole: a full disk or a kill never
    // leaves a truncated file in place of the old one. Only a regular file is replaced so.
    int lErr = 0;
    const vb::Replacement r = vb::Bmp::WriteFile(sFileName, info, bits, &lErr);
    if (r == vb::Replacement::NotReplaceable) {
        // A folder of that name (or a path through a file) cannot be created as a file, as an
        // open would find; a device is not replaced, as if its writes failed.
        struct stat st {};
        if (::stat(QFile::encodeName(sFileName).constData(), &st) != 0) lErr = errno;
        else if (S_ISDIR(st.st_mode)) lErr = EISDIR;
        else return false;
    } else if (r != vb::Replacement::NotOpened) {
        return r == vb::Replacement::Done;
    }
    throw vb::VBError(17, vb::AppExeName() + QStringLiteral(".cDIBSection256"), ApiError(lErr));
}

QString cDIBSection::ApiError(long e) {
    const char* text = (e > 0 && e < INT32_MAX) ? strerrordesc_np(int(e)) : nullptr;
    if (!text) return QString();
    // The system's text, cut to the 256-character buffer it is formatted into.
    return QString::fromLocal8Bit(text).left(255);
}

bool cDIBSection::CopyToClipboard(bool bAsDIB) {
    if (bAsDIB) {
        vb::MsgBox(QStringLiteral("I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!"), vb::vbOKOnly);
        return false;
    }
    const QImage picture = ToImage();
    if (picture.isNull()) return false;
    vb::Clipboard::SetData(picture);
    return true;
}
