#pragma once
// The BMP file's headers: the 14-byte file header and the 40-byte info header, read and written
// little-endian whatever the machine's byte order; and the one writer of a BMP file.
#include "platform/system/SafeFile.h"

#include <QIODevice>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>

namespace vb::Bmp {

inline void PutLE16(uint8_t* p, uint16_t v) {
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
}
inline void PutLE32(uint8_t* p, uint32_t v) {
    PutLE16(p, uint16_t(v));
    PutLE16(p + 2, uint16_t(v >> 16));
}
inline uint16_t LE16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
inline uint32_t LE32(const uint8_t* p) { return uint32_t(LE16(p)) | uint32_t(LE16(p + 2)) << 16; }

// Bytes of one row of pixels, padded to whole 32-bit words.
constexpr int64_t Stride(int64_t width, int bitCount) { return (width * bitCount + 31) / 32 * 4; }

struct FileHeader {
    static constexpr int kSize = 14;
    uint32_t fileSize = 0;   // the whole file
    uint32_t bitsOffset = 0; // where the pixels start

    // Writes "BM" and the header into out[0 .. 14).
    void Write(uint8_t* out) const {
        out[0] = 'B';
        out[1] = 'M';
        PutLE32(out + 2, fileSize);
        PutLE32(out + 6, 0);
        PutLE32(out + 10, bitsOffset);
    }
    // Empty unless the 14 bytes start with "BM".
    static std::optional<FileHeader> Read(const uint8_t* in) {
        if (in[0] != 'B' || in[1] != 'M') return std::nullopt;
        return FileHeader{LE32(in + 2), LE32(in + 10)};
    }
};

struct InfoHeader {
    static constexpr int kSize = 40;
    uint32_t size = kSize;
    int32_t width = 0;
    int32_t height = 0; // positive: the bottom row first
    uint16_t planes = 1;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
    uint32_t coloursUsed = 0, coloursImportant = 0;

    // Writes the header into out[0 .. 40).
    void Write(uint8_t* out) const {
        PutLE32(out + 0, size);
        PutLE32(out + 4, uint32_t(width));
        PutLE32(out + 8, uint32_t(height));
        PutLE16(out + 12, planes);
        PutLE16(out + 14, bitCount);
        PutLE32(out + 16, compression);
        PutLE32(out + 20, imageSize);
        PutLE32(out + 24, uint32_t(xPelsPerMeter));
        PutLE32(out + 28, uint32_t(yPelsPerMeter));
        PutLE32(out + 32, coloursUsed);
        PutLE32(out + 36, coloursImportant);
    }
    static InfoHeader Read(const uint8_t* in) {
        InfoHeader h;
        h.size = LE32(in + 0);
        h.width = int32_t(LE32(in + 4));
        h.height = int32_t(LE32(in + 8));
        h.planes = LE16(in + 12);
        h.bitCount = LE16(in + 14);
        h.compression = LE32(in + 16);
        h.imageSize = LE32(in + 20);
        h.xPelsPerMeter = int32_t(LE32(in + 24));
        h.yPelsPerMeter = int32_t(LE32(in + 28));
        h.coloursUsed = LE32(in + 32);
        h.coloursImportant = LE32(in + 36);
        return h;
    }
};

// Writes a BMP file through the one file replacement: the file header, then the info header
// with its colour table, then the rows (bottom row first, each padded to Stride).
inline Replacement WriteFile(const QString& path, std::span<const uint8_t> info, std::span<const uint8_t> rows, int* openErrno = nullptr) {
    uint8_t head[FileHeader::kSize];
    const auto offset = uint32_t(FileHeader::kSize + info.size());
    FileHeader{uint32_t(offset + rows.size()), offset}.Write(head);
    return ReplaceFile(
        path,
        [&](QIODevice& f) {
            for (std::span<const uint8_t> part : {std::span<const uint8_t>(head), info, rows})
                if (!part.empty() && f.write(reinterpret_cast<const char*>(part.data()), qint64(part.size())) != qint64(part.size())) return false;
            return true;
        },
        openErrno);
}

} // namespace vb::Bmp
