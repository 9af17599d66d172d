#pragma once
// A 24-bit picture held in memory, readable and writable byte by byte and copyable to and from
// the runtime's picture surfaces (QImage, Format_RGB32).
//
// Pixel layout: rows stored bottom-up (row 0 is the bottom row of the picture), each pixel three
// bytes blue, green, red, each row padded to a multiple of 4 bytes (BytesPerScanLine). Channel c
// of pixel (x, y) lies at y * BytesPerScanLine() + 3 * x + c.
#include <QImage>
#include <QString>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <span>

class cDIBSection {
public:
    static constexpr uint32_t kSrcCopy = 0xCC0020; // the library's own blits are always source copies

    cDIBSection() = default;
    ~cDIBSection();
    // Buffers are shared by reference, never copied implicitly.
    cDIBSection(const cDIBSection&) = delete;
    cDIBSection& operator=(const cDIBSection&) = delete;

    bool CopyToClipboard(bool bAsDIB = false);
    bool Create(int lWidth, int lheight);
    void CreateFromPicture(const QImage& picThis);
    int BytesPerScanLine() const { return stride(m_width); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // Copies from (lSrcLeft, lSrcTop) of the source into this buffer at (0, 0); a negative width or
    // height stands for this buffer's own. Parts outside the source leave the buffer as it was.
    void LoadPictureBlt(const QImage& src, int lSrcLeft = 0, int lSrcTop = 0, int lSrcWidth = -1,
                        int lSrcHeight = -1, uint32_t eRop = kSrcCopy);
    void LoadPictureBlt(const cDIBSection& src, int lSrcLeft = 0, int lSrcTop = 0, int lSrcWidth = -1,
                        int lSrcHeight = -1, uint32_t eRop = kSrcCopy);
    // Copies from (lSrcLeft, lSrcTop) of this buffer to (lDestLeft, lDestTop) of the surface; a
    // negative width or height stands for this buffer's own. Clipped to both pictures.
    void PaintPicture(QImage& dst, int lDestLeft = 0, int lDestTop = 0, int lDestWidth = -1, int lDestHeight = -1,
                      int lSrcLeft = 0, int lSrcTop = 0, uint32_t eRop = kSrcCopy) const;
    // Non-zero while the buffer holds a picture.
    long hdc() const { return m_hdc; }
    long hDib() const { return m_hDib; }
    uint8_t* DIBSectionBitsPtr() { return m_bits.get(); }
    const uint8_t* DIBSectionBitsPtr() const { return m_bits.get(); }
    void RandomiseBits(bool bGray = false);
    void ClearUp();
    // Note the order: height first. No object when the new buffer cannot be created; raises 9 for a
    // source under 2 pixels wide or high when the size changes.
    std::unique_ptr<cDIBSection> Resample(int lNewHeight, int lNewWidth) const;
    bool SavePicture(const QString& sfileName) const;
    static QString ApiError(long e);
    // Writes a BMP file of the info header (with its colour table) and the rows beside the target
    // and renames it over the target when whole; false on a failed write (the old file stays),
    // error 17 when it cannot be opened.
    static bool WriteBitmapFile(const QString& sFileName, std::span<const uint8_t> info, std::span<const uint8_t> bits);

    // Image size in bytes: BytesPerScanLine() * Height().
    int64_t ImageSize() const { return int64_t(BytesPerScanLine()) * m_height; }
    // The picture as a surface of the window toolkit, top row first.
    QImage ToImage() const;

private:
    // Large buffers are mapped on their own (mapped holds the length), small ones allocated.
    struct FreeBits {
        size_t mapped; // 0 for an allocated block (a default deleter is zeroed)
        void operator()(uint8_t* p) const;
    };
    static int stride(int width) { return int((int64_t(width) * 3 + 3) & ~int64_t(3)); }
    void ResampleBits(cDIBSection& target) const;
    static bool IsWriteError(long lR, int64_t lToWrite, int64_t lWritten);
    void fillHeader(uint8_t out[40]) const;

    std::unique_ptr<uint8_t, FreeBits> m_bits;
    int m_width = 0;
    int m_height = 0;
    long m_hdc = 0;
    long m_hDib = 0;
};
