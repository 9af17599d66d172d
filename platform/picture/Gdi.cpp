#include "platform/picture/Gdi.h"

#include "platform/picture/Colour.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace vb {
namespace {
inline uint32_t applyRop(uint32_t d, uint32_t s, uint32_t rop) {
    switch (rop) {
    case SRCCOPY: return s;
    case SRCAND: return d & s;
    case SRCPAINT: return d | s;
    case SRCINVERT: return d ^ s;
    case DSTINVERT: return ~d;
    case NOTSRCCOPY: return ~s;
    case BLACKNESS: return 0;
    case WHITENESS: return 0xFFFFFFu;
    default: return s;
    }
}
inline bool usesSource(uint32_t rop) { return rop != DSTINVERT && rop != BLACKNESS && rop != WHITENESS; }

// The destination steps that fall inside [0, limit) and, for each, its source index: centre
// sampling, mirrored for negative extents. 64-bit, so that absurd extents cannot overflow.
struct Axis {
    int64_t first = 0, last = 0; // steps first .. last - 1
    std::vector<int64_t> src;
};
Axis mapAxis(int64_t start, int64_t n, int64_t limit, int64_t s0, int64_t sExt, bool needSrc) {
    Axis a;
    const int64_t an = n < 0 ? -n : n, dir = n < 0 ? -1 : 1;
    // Step i lands on start + dir * i.
    int64_t lo, hi;
    if (dir > 0) {
        lo = std::max<int64_t>(0, -start);
        hi = std::min<int64_t>(an, limit - start);
    } else {
        lo = std::max<int64_t>(0, start - (limit - 1));
        hi = std::min<int64_t>(an, start + 1);
    }
    if (hi <= lo) return a;
    a.first = lo;
    a.last = hi;
    if (needSrc) {
        const int64_t as = sExt < 0 ? -sExt : sExt, sign = sExt < 0 ? -1 : 1;
        a.src.resize(size_t(hi - lo));
        for (int64_t i = lo; i < hi; ++i) a.src[size_t(i - lo)] = s0 + sign * (((2 * i + 1) * as) / (2 * an));
    }
    return a;
}
} // namespace

bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& srcIn, int sx, int sy, int sw, int sh, uint32_t rop) {
    if (dst.isNull() || w == 0 || h == 0) return false;
    if (dst.format() != QImage::Format_RGB32 && dst.format() != QImage::Format_ARGB32) dst = dst.convertToFormat(QImage::Format_RGB32);
    const bool needSrc = usesSource(rop);
    if (needSrc && (srcIn.isNull() || sw == 0 || sh == 0)) return false;
    // Overlapping copies onto the same surface read from a snapshot.
    QImage src = needSrc ? ((&srcIn == &dst || srcIn.cacheKey() == dst.cacheKey()) ? dst.copy() : srcIn) : QImage();
    if (needSrc && src.format() != QImage::Format_RGB32 && src.format() != QImage::Format_ARGB32) src = src.convertToFormat(QImage::Format_RGB32);
    const Axis cols = mapAxis(x, w, dst.width(), sx, sw, needSrc);
    const Axis rows = mapAxis(y, h, dst.height(), sy, sh, needSrc);
    const int64_t dx = w < 0 ? -1 : 1, dy = h < 0 ? -1 : 1;
    const int64_t SW = needSrc ? src.width() : 0, SH = needSrc ? src.height() : 0;
    // The raster operation is chosen once, outside the pixel loops.
    if (cols.last <= cols.first || rows.last <= rows.first) return true; // nothing falls on the picture
    // Rows can be repeated only when every column has its source pixel.
    const bool allCols = needSrc && std::all_of(cols.src.begin(), cols.src.end(), [&](int64_t c) { return c >= 0 && c < SW; });
    auto run = [&](auto op, bool ignoresDst) {
        ignoresDst = ignoresDst && allCols;
        int64_t prevSrcRow = -1;
        const uint32_t* prevLine = nullptr;
        for (int64_t j = rows.first; j < rows.last; ++j) {
            const int ty = int(y + dy * j);
            const uint32_t* sline = nullptr;
            int64_t syj = -1;
            if (needSrc) {
                syj = rows.src[size_t(j - rows.first)];
                if (syj < 0 || syj >= SH) continue;
                sline = reinterpret_cast<const uint32_t*>(src.constScanLine(int(syj)));
            }
            auto* dline = reinterpret_cast<uint32_t*>(dst.scanLine(ty));
            // An enlarged row that repeats the source row of the row before is that row again.
            if (ignoresDst && prevLine && syj == prevSrcRow) {
                const int64_t a = x + dx * cols.first, b = x + dx * (cols.last - 1);
                const int64_t lo = std::min(a, b), n = std::max(a, b) - lo + 1;
                std::memcpy(dline + lo, prevLine + lo, size_t(n) * sizeof(uint32_t));
                prevLine = dline;
                continue;
            }
            for (int64_t i = cols.first; i < cols.last; ++i) {
                const int tx = int(x + dx * i);
                uint32_t s = 0;
                if (needSrc) {
                    const int64_t sxi = cols.src[size_t(i - cols.first)];
                    if (sxi < 0 || sxi >= SW) continue;
                    s = sline[sxi];
                }
                dline[tx] = 0xFF000000u | (op(dline[tx], s) & 0xFFFFFFu);
            }
            prevSrcRow = syj;
            prevLine = dline;
        }
    };
    switch (rop) {
    case SRCCOPY: run([](uint32_t, uint32_t s) { return s; }, true); break;
    case SRCAND: run([](uint32_t d, uint32_t s) { return d & s; }, false); break;
    case DSTINVERT: run([](uint32_t d, uint32_t) { return ~d; }, false); break;
    default: run([rop](uint32_t d, uint32_t s) { return applyRop(d, s, rop); }, false); break;
    }
    return true;
}

bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, uint32_t rop) {
    return StretchBlt(dst, x, y, w, h, src, sx, sy, w, h, rop);
}

void Canvas::paint(uint32_t* p) const {
    switch (m_pen.drawMode) {
    case vbInvert: *p = 0xFF000000u | (~*p & 0xFFFFFFu); break;
    case vbXorPen: *p = 0xFF000000u | ((*p ^ ToPixel(m_pen.colour)) & 0xFFFFFFu); break;
    case vbNotCopyPen: *p = 0xFF000000u | (~ToPixel(m_pen.colour) & 0xFFFFFFu); break;
    case vbBlackness: *p = 0xFF000000u; break;
    case vbWhiteness: *p = 0xFFFFFFFFu; break;
    default: *p = ToPixel(m_pen.colour); break;
    }
}

uint32_t* Canvas::row(int y) {
    // The pixels are detached once per canvas, not once per pixel.
    if (!m_bits) {
        m_bits = m_img.bits();
        m_bpl = m_img.bytesPerLine();
    }
    return reinterpret_cast<uint32_t*>(m_bits + qsizetype(y) * m_bpl);
}

void Canvas::plot(int x, int y) {
    if (x < 0 || y < 0 || x >= m_w || y >= m_h) return;
    paint(row(y) + x);
}

void Canvas::Point(int x, int y) {
    if (m_pen.width <= 1) {
        plot(x, y);
        return;
    }
    stamp(x, y);
}

// A wide pen touches a disc of its width around each point.
void Canvas::stamp(int x, int y) {
    const int w = m_pen.width;
    const double r = w / 2.0;
    const int lo = -(w / 2), hi = lo + w - 1;
    for (int j = lo; j <= hi; ++j)
        for (int i = lo; i <= hi; ++i) {
            const double cx = i + (w % 2 ? 0.0 : 0.5), cy = j + (w % 2 ? 0.0 : 0.5);
            if (cx * cx + cy * cy <= r * r + 0.25) plot(x + i, y + j);
        }
}

void Canvas::Line(int x1, int y1, int x2, int y2) {
    if (x1 == x2 && y1 == y2) {
        Point(x1, y1);
        return;
    }
    const bool thin = m_pen.width <= 1;
    if (thin && (y1 == y2 || x1 == x2)) {
        // Axis-parallel thin lines (grids, filled boxes) as clipped spans, end point left out.
        if (y1 == y2) {
            if (y1 < 0 || y1 >= m_h) return;
            const int lo = std::max(0, x1 < x2 ? x1 : x2 + 1), hi = std::min(m_w - 1, x1 < x2 ? x2 - 1 : x1);
            uint32_t* r = row(y1);
            for (int x = lo; x <= hi; ++x) paint(r + x);
        } else {
            if (x1 < 0 || x1 >= m_w) return;
            const int lo = std::max(0, y1 < y2 ? y1 : y2 + 1), hi = std::min(m_h - 1, y1 < y2 ? y2 - 1 : y1);
            for (int y = lo; y <= hi; ++y) paint(row(y) + x1);
        }
        return;
    }
    std::vector<QPoint> pts;
    int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    int err = dx + dy, x = x1, y = y1;
    // Each step lands on a new pixel, so a thin line plots as it goes.
    while (!(x == x2 && y == y2)) {
        if (thin) plot(x, y);
        else pts.emplace_back(x, y);
        const int e2 = 2 * err;
        if (e2 >= dy) { err += dy; x += sx; }
        if (e2 <= dx) { err += dx; y += sy; }
    }
    if (thin) return;
    // Wide lines: the union of the stamps, each pixel once.
    QImage mask(m_img.size(), QImage::Format_Grayscale8);
    mask.fill(0);
    for (const QPoint& p : pts) {
        const int w = m_pen.width, lo = -(w / 2), hi = lo + w - 1;
        const double r = w / 2.0;
        for (int j = lo; j <= hi; ++j)
            for (int i = lo; i <= hi; ++i) {
                const double cx = i + (w % 2 ? 0.0 : 0.5), cy = j + (w % 2 ? 0.0 : 0.5);
                const int px = p.x() + i, py = p.y() + j;
                if (cx * cx + cy * cy <= r * r + 0.25 && px >= 0 && py >= 0 && px < mask.width() && py < mask.height())
                    mask.scanLine(py)[px] = 1;
            }
    }
    for (int py = 0; py < mask.height(); ++py)
        for (int px = 0; px < mask.width(); ++px)
            if (mask.constScanLine(py)[px]) plot(px, py);
}

void Canvas::Circle(int cx, int cy, double radius) {
    radius = std::fabs(radius);
    std::vector<QPoint> pts;
    if (m_pen.width <= 1) {
        const int r = int(std::nearbyint(radius));
        if (r == 0) {
            plot(cx, cy);
            return;
        }
        int x = r, y = 0, err = 1 - r;
        while (x >= y) {
            const QPoint o[8] = {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
            for (const QPoint& p : o) pts.emplace_back(cx + p.x(), cy + p.y());
            ++y;
            if (err < 0) err += 2 * y + 1;
            else { --x; err += 2 * (y - x) + 1; }
        }
    } else {
        // A wide pen: every pixel whose centre lies within half the pen width of the curve.
        const double half = m_pen.width / 2.0;
        const int reach = int(std::ceil(radius + half)) + 1;
        for (int j = -reach; j <= reach; ++j)
            for (int i = -reach; i <= reach; ++i) {
                const double d = std::sqrt(double(i) * i + double(j) * j);
                if (std::fabs(d - radius) <= half) pts.emplace_back(cx + i, cy + j);
            }
    }
    std::sort(pts.begin(), pts.end(), [](const QPoint& a, const QPoint& b) { return a.y() != b.y() ? a.y() < b.y() : a.x() < b.x(); });
    pts.erase(std::unique(pts.begin(), pts.end()), pts.end());
    for (const QPoint& p : pts) plot(p.x(), p.y());
}

void Canvas::Box(int x1, int y1, int x2, int y2) {
    const int l = std::min(x1, x2), r = std::max(x1, x2), t = std::min(y1, y2), b = std::max(y1, y2);
    for (int x = l; x <= r; ++x) {
        plot(x, t);
        if (b != t) plot(x, b);
    }
    for (int y = t + 1; y < b; ++y) {
        plot(l, y);
        if (r != l) plot(r, y);
    }
}

void Canvas::FillBox(int x1, int y1, int x2, int y2, long colour) {
    const int l = std::max(0, std::min(x1, x2)), r = std::min(m_w - 1, std::max(x1, x2));
    const int t = std::max(0, std::min(y1, y2)), b = std::min(m_h - 1, std::max(y1, y2));
    const uint32_t px = ToPixel(colour);
    for (int y = t; y <= b; ++y) {
        uint32_t* line = row(y);
        for (int x = l; x <= r; ++x) line[x] = px;
    }
}

} // namespace vb
