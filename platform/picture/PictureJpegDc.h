#pragma once
// The eighth of a progressive JPEG, made from the DC scans alone: each 8 x 8 block of the picture
// becomes one pixel, its mean. A thumbnail reduced by eight or more needs nothing else, and this
// reads a few percent of the file and holds a few megabytes, where a decoder of the whole file
// keeps every coefficient of the picture (72 MB for 24 megapixels) until its last scan.
#include <QByteArray>
#include <QImage>
#include <algorithm>
#include <cstring>

namespace vb {

// A start-of-frame marker (not the Huffman, arithmetic-conditioning or extension codes among them).
constexpr bool IsJpegFrame(quint8 m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }

// Walks the segments of a JPEG: f(marker, from, to) for each, [from, to) the whole segment (a
// scan with its entropy-coded data); stops where the data is no longer made of markers, at the
// end of the picture or when f returns false.
template <class F> void JpegSegments(const QByteArray& d, F f) {
    const auto* p = reinterpret_cast<const quint8*>(d.constData());
    const qsizetype n = d.size();
    qsizetype i = 2;
    while (i + 1 < n) {
        if (p[i] != 0xFF) return;
        const quint8 m = p[i + 1];
        if (m == 0xFF) {
            ++i;
            continue;
        }
        const qsizetype von = i;
        i += 2;
        if (m == 0xD9) {
            f(m, von, i);
            return;
        }
        if (m != 0x01 && !(m >= 0xD0 && m <= 0xD7)) {
            if (i + 1 >= n) return;
            i += (qsizetype(p[i]) << 8) | p[i + 1];
            // Entropy-coded data runs to the next marker that is neither stuffing nor a restart;
            // it is most of the file, so the search jumps from one 0xFF to the next.
            if (m == 0xDA)
                while (i + 1 < n) {
                    const void* ff = std::memchr(p + i, 0xFF, size_t(n - 1 - i));
                    if (!ff) {
                        i = n - 1;
                        break;
                    }
                    i = static_cast<const quint8*>(ff) - p;
                    if (p[i + 1] != 0x00 && !(p[i + 1] >= 0xD0 && p[i + 1] <= 0xD7)) break;
                    ++i;
                }
        }
        if (!f(m, von, std::min(i, n))) return;
    }
}

// Width and height are the picture's divided by eight, rounded up. The null image for anything
// but an 8-bit Huffman-coded progressive JPEG of one or three components (YCbCr) whose sampling
// factors are 1 or 2, and for data that does not decode: the caller then takes the whole decoder.
QImage JpegDcPicture(const QByteArray& jpeg);

} // namespace vb
