// The 24-bit picture buffer: layout, copies to and from picture surfaces, resampling, the 24-bit
// BMP file and the clipboard.
#include "imaging/cDIBSection.h"
#include "support/Files.h"
#include "platform/picture/Clipboard.h"
#include "platform/system/MsgBox.h"
#include "platform/system/VBError.h"
#include "platform/system/Seams.h"

#include "support/Raised.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <array>
#include <cerrno>
#include <climits>
#include <gtest/gtest.h>

namespace {

using BGR = std::array<uint8_t, 3>;

BGR px(const cDIBSection& d, int x, int y) {
    const uint8_t* p = d.DIBSectionBitsPtr() + y * d.BytesPerScanLine() + 3 * x;
    return {p[0], p[1], p[2]};
}
void setPx(cDIBSection& d, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    uint8_t* p = d.DIBSectionBitsPtr() + y * d.BytesPerScanLine() + 3 * x;
    p[0] = b;
    p[1] = g;
    p[2] = r;
}
uint32_t le32(const QByteArray& b, int at) {
    return uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8) | (uint8_t(b[at + 2]) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24);
}

} // namespace

TEST(cDIBSection, RowsArePaddedToFourBytes) {
    struct Case {
        int width, height, line;
    };
    for (const Case c : {Case{1, 1, 4}, Case{2, 3, 8}, Case{4, 2, 12}, Case{5, 1, 16}}) {
        cDIBSection d;
        ASSERT_TRUE(d.Create(c.width, c.height));
        EXPECT_EQ(d.BytesPerScanLine(), c.line) << c.width;
        EXPECT_EQ(d.ImageSize(), c.line * c.height);
        EXPECT_EQ(d.Width(), c.width);
        EXPECT_EQ(d.Height(), c.height);
        EXPECT_NE(d.hdc(), 0);
        EXPECT_NE(d.hDib(), 0);
        for (int i = 0; i < c.line * c.height; ++i) ASSERT_EQ(d.DIBSectionBitsPtr()[i], 0);
    }
}

TEST(cDIBSection, CreateRefusesEmptySizesAndLeavesTheBufferEmpty) {
    for (auto [w, h] : {std::pair{0, 5}, std::pair{5, 0}, std::pair{-1, 3}, std::pair{100000, 100000}}) {
        cDIBSection d;
        ASSERT_TRUE(d.Create(3, 3));
        EXPECT_FALSE(d.Create(w, h));
        EXPECT_EQ(d.hdc(), 0);
        EXPECT_EQ(d.DIBSectionBitsPtr(), nullptr);
        EXPECT_EQ(d.Width(), 0);
    }
}

TEST(cDIBSection, CreateFromPictureStoresRowsBottomUpInBlueGreenRed) {
    QImage img(3, 2, QImage::Format_RGB32);
    img.setPixel(0, 0, qRgb(1, 2, 3));
    img.setPixel(1, 0, qRgb(4, 5, 6));
    img.setPixel(2, 0, qRgb(7, 8, 9));
    img.setPixel(0, 1, qRgb(10, 11, 12));
    img.setPixel(1, 1, qRgb(13, 14, 15));
    img.setPixel(2, 1, qRgb(16, 17, 18));
    for (const QImage& source : {img, img.convertToFormat(QImage::Format_RGB888)}) {
        cDIBSection d;
        d.CreateFromPicture(source);
        ASSERT_EQ(d.Width(), 3);
        const uint8_t expected[24] = {12, 11, 10, 15, 14, 13, 18, 17, 16, 0, 0, 0, 3, 2, 1, 6, 5, 4, 9, 8, 7, 0, 0, 0};
        EXPECT_EQ(0, std::memcmp(d.DIBSectionBitsPtr(), expected, 24));
    }
    cDIBSection d;
    d.CreateFromPicture(img);
    d.CreateFromPicture(QImage());
    EXPECT_EQ(d.hDib(), 0);
    d.CreateFromPicture(QImage(0, 4, QImage::Format_RGB32));
    EXPECT_EQ(d.DIBSectionBitsPtr(), nullptr);
}

TEST(cDIBSection, PaintPictureCopiesTheWholePictureOrAClippedPart) {
    QImage src(3, 2, QImage::Format_RGB32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) src.setPixel(x, y, qRgb(10 * x, 100 + y, 7));
    cDIBSection d;
    d.CreateFromPicture(src);

    QImage whole(3, 2, QImage::Format_RGB32);
    whole.fill(Qt::black);
    d.PaintPicture(whole, 0, 0, -1, -1, 0, 0);
    EXPECT_EQ(whole, src);

    // From (1, 1) of the buffer to (3, 2) of a 4 x 4 surface: only source pixel (1, 1) lies inside
    // both pictures.
    QImage dst(4, 4, QImage::Format_RGB32);
    dst.fill(qRgb(255, 255, 255));
    d.PaintPicture(dst, 3, 2, -1, -1, 1, 1);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(dst.pixel(x, y), (x == 3 && y == 2) ? src.pixel(1, 1) : qRgb(255, 255, 255)) << x << "," << y;
}

TEST(cDIBSection, BlitsWithExtremeOriginsAndSizesStayInside) {
    QImage surface(5, 4, QImage::Format_RGB32);
    surface.fill(qRgb(1, 2, 3));
    cDIBSection d;
    ASSERT_TRUE(d.Create(3, 3));
    const int values[] = {INT_MIN, -7, -1, 0, 2, 4, INT_MAX};
    for (int a : values)
        for (int b : values) {
            d.PaintPicture(surface, a, b, b, a, b, a);
            d.LoadPictureBlt(surface, a, b, a, b);
            d.PaintPicture(surface, a, b, -1, -1, 0, 0, 0x550009); // destination invert
        }
    cDIBSection none;
    none.PaintPicture(surface);
    QImage nothing;
    d.PaintPicture(nothing);
    d.LoadPictureBlt(nothing);

    // Other raster operations go through the runtime's blits, clipped the same way.
    surface.fill(qRgb(1, 2, 3));
    d.PaintPicture(surface, 4, 3, 9, 9, 0, 0, 0x550009);
    EXPECT_EQ(surface.pixel(4, 3), qRgb(254, 253, 252));
    EXPECT_EQ(surface.pixel(3, 3), qRgb(1, 2, 3));
}

TEST(cDIBSection, LoadPictureBltTakesASourceOffsetAndLeavesWhatLiesOutsideTheSource) {
    QImage src(3, 3, QImage::Format_RGB32);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) src.setPixel(x, y, qRgb(x, y, 50));
    cDIBSection d;
    ASSERT_TRUE(d.Create(3, 3));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) setPx(d, x, y, 9, 9, 9);
    d.LoadPictureBlt(src, 1, 2, -1, -1);
    // Picture row 0 (memory row 2) receives source row 2 from column 1; the rest stays.
    EXPECT_EQ(px(d, 0, 2), (BGR{50, 2, 1}));
    EXPECT_EQ(px(d, 1, 2), (BGR{50, 2, 2}));
    EXPECT_EQ(px(d, 2, 2), (BGR{9, 9, 9}));
    EXPECT_EQ(px(d, 0, 1), (BGR{9, 9, 9}));

    cDIBSection copy;
    ASSERT_TRUE(copy.Create(3, 3));
    copy.LoadPictureBlt(d);
    EXPECT_EQ(0, std::memcmp(copy.DIBSectionBitsPtr(), d.DIBSectionBitsPtr(), size_t(d.ImageSize())));
}

TEST(cDIBSection, ResampleTwoByTwoToFourByFour) {
    cDIBSection s;
    ASSERT_TRUE(s.Create(2, 2));
    // (x, y) in stored rows: red, green, blue per source pixel.
    setPx(s, 0, 0, 200, 10, 0);
    setPx(s, 1, 0, 0, 20, 2);
    setPx(s, 0, 1, 0, 30, 2);
    setPx(s, 1, 1, 0, 40, 0);
    auto t = s.Resample(4, 4);
    ASSERT_TRUE(t);
    ASSERT_EQ(t->Width(), 4);
    // Scale 0.25 in both directions; each intermediate rounded, halves to even.
    const int red[4][4] = {{200, 150, 100, 50}, {150, 112, 75, 38}, {100, 75, 50, 25}, {50, 38, 25, 12}};
    const int green[4][4] = {{10, 12, 15, 18}, {15, 18, 20, 22}, {20, 22, 25, 28}, {25, 28, 30, 32}};
    const int blue[4][4] = {{0, 0, 1, 2}, {0, 0, 1, 2}, {1, 1, 1, 1}, {2, 2, 1, 0}};
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(px(*t, x, y), (BGR{uint8_t(blue[y][x]), uint8_t(green[y][x]), uint8_t(red[y][x])})) << x << "," << y;
    EXPECT_EQ(s.Width(), 2); // the source is unchanged
    EXPECT_EQ(px(s, 0, 0), (BGR{0, 10, 200}));
}

TEST(cDIBSection, ResampleEdgeCases) {
    cDIBSection s;
    ASSERT_TRUE(s.Create(5, 3));
    s.RandomiseBits(false);
    auto same = s.Resample(3, 5);
    ASSERT_TRUE(same);
    EXPECT_EQ(0, std::memcmp(same->DIBSectionBitsPtr(), s.DIBSectionBitsPtr(), size_t(s.ImageSize())));
    auto one = s.Resample(1, 1);
    ASSERT_TRUE(one);
    EXPECT_EQ(px(*one, 0, 0), px(s, 0, 0));
    EXPECT_EQ(s.Resample(0, 4), nullptr);
    EXPECT_EQ(s.Resample(4, -1), nullptr);

    for (auto [w, h] : {std::pair{1, 4}, std::pair{4, 1}, std::pair{1, 1}}) {
        cDIBSection thin;
        ASSERT_TRUE(thin.Create(w, h));
        try {
            (void)thin.Resample(3, 3);
            ADD_FAILURE() << "no error for " << w << "x" << h;
        } catch (const vb::VBError& e) {
            EXPECT_EQ(e.Number(), 9);
        }
        EXPECT_TRUE(thin.Resample(h, w)); // the same size is a plain copy
    }
}

TEST(cDIBSection, SavePictureWritesThe24BitFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath("p.bmp");
    cDIBSection d;
    ASSERT_TRUE(d.Create(2, 1));
    setPx(d, 0, 0, 1, 2, 3);
    setPx(d, 1, 0, 4, 5, 6);
    // An existing longer file is replaced.
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(QByteArray(500, 'x'));
    old.close();
    ASSERT_TRUE(d.SavePicture(path));
    const QByteArray b = ReadFile(path);
    ASSERT_EQ(b.size(), 54 + 8);
    const uint8_t head[54] = {'B', 'M', 62, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0,
                              1, 0, 24, 0, 0, 0, 0, 0, 8, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(b.constData(), head, 54));
    const uint8_t bits[8] = {3, 2, 1, 6, 5, 4, 0, 0};
    EXPECT_EQ(0, std::memcmp(b.constData() + 54, bits, 8));

    cDIBSection big;
    ASSERT_TRUE(big.Create(5, 7));
    ASSERT_TRUE(big.SavePicture(path));
    const QByteArray b2 = ReadFile(path);
    EXPECT_EQ(b2.size(), 54 + 16 * 7);
    EXPECT_EQ(le32(b2, 2), uint32_t(b2.size()));
}

TEST(cDIBSection, SavePictureFailures) {
    QTemporaryDir dir;
    cDIBSection d;
    ASSERT_TRUE(d.Create(4, 4));
    const QString missing = dir.filePath("no/such/folder/p.bmp");
    try {
        d.SavePicture(missing);
        ADD_FAILURE() << "no error";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.Number(), 17);
        EXPECT_EQ(e.Source(), vb::AppExeName() + ".cDIBSection256");
        EXPECT_EQ(e.Description(), cDIBSection::ApiError(ENOENT));
        EXPECT_EQ(e.Description(), "No such file or directory");
    }
    EXPECT_FALSE(QFile::exists(missing));
    // A folder of that name cannot be created as a file: the same error, the folder stays.
    const vb::VBError ordner = caught([&] { d.SavePicture(dir.path()); });
    EXPECT_EQ(ordner.Number(), 17);
    EXPECT_EQ(ordner.Source(), vb::AppExeName() + ".cDIBSection256");
    EXPECT_EQ(ordner.Description(), "Is a directory");
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
    // A device that takes no bytes: the first write fails.
    EXPECT_FALSE(d.SavePicture("/dev/full"));
}

TEST(cDIBSection, ApiErrorGivesTheSystemTextOrNothing) {
    EXPECT_EQ(cDIBSection::ApiError(ENOENT), "No such file or directory");
    EXPECT_EQ(cDIBSection::ApiError(EACCES), "Permission denied");
    EXPECT_EQ(cDIBSection::ApiError(0), "");
    EXPECT_EQ(cDIBSection::ApiError(987654), "");
}

TEST(cDIBSection, CopyToClipboard) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(2, 2));
    setPx(d, 0, 1, 255, 0, 0); // top left
    setPx(d, 1, 0, 0, 0, 255); // bottom right

    QImage marker(1, 1, QImage::Format_RGB32);
    marker.fill(qRgb(1, 2, 3));
    vb::Clipboard::SetData(marker);
    QString asked;
    int style = -1;
    vb::seams().msgBox = [&](const QString& p, int s, const QString&) {
        asked = p;
        style = s;
        return int(vb::vbOK);
    };
    EXPECT_FALSE(d.CopyToClipboard(true));
    vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
    EXPECT_EQ(asked, "I don't know how to put a DIB on the clipboard! Copy as bitmap instead!!!");
    EXPECT_EQ(style, vb::vbOKOnly);
    EXPECT_EQ(vb::Clipboard::GetData().size(), QSize(1, 1));

    EXPECT_TRUE(d.CopyToClipboard(false));
    const QImage got = vb::Clipboard::GetData().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), QSize(2, 2));
    EXPECT_EQ(got.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(got.pixel(1, 1), qRgb(0, 0, 255));
    EXPECT_EQ(got.pixel(1, 0), qRgb(0, 0, 0));

    cDIBSection empty;
    EXPECT_FALSE(empty.CopyToClipboard(false));
}

TEST(cDIBSection, RandomiseBitsLeavesThePaddingAlone) {
    for (bool grey : {true, false}) {
        cDIBSection d;
        ASSERT_TRUE(d.Create(5, 9));
        d.RandomiseBits(grey);
        bool varied = false;
        for (int y = 0; y < 9; ++y) {
            for (int x = 0; x < 5; ++x) {
                const BGR p = px(d, x, y);
                if (grey) {
                    EXPECT_EQ(p[0], p[1]);
                    EXPECT_EQ(p[1], p[2]);
                } else {
                    EXPECT_EQ(p[0], 0);
                }
                varied |= p != px(d, 0, 0);
            }
            EXPECT_EQ(d.DIBSectionBitsPtr()[y * 16 + 15], 0);
        }
        EXPECT_TRUE(varied);
    }
}
