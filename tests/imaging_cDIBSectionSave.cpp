// The BMP writer: 1-, 4-, 8- and 24-bit files, the reductions by depth and method, the clipboard.
#include "imaging/cDIBSection.h"
#include "support/Files.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/cPalette.h"
#include "platform/picture/Clipboard.h"
#include "platform/system/VBError.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>

#include "support/DibPixels.h"

namespace {

void fill(cDIBSection& d, int w, int h, RGB c) {
    ASSERT_TRUE(d.Create(w, h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) put(d, x, y, c);
}
// d saved into a fresh file at depth by method with the palette given; the file's bytes, none
// when the save failed.
QByteArray savedFile(cDIBSection& d, std::shared_ptr<cPalette>& pal, int depth, int method) {
    QTemporaryDir dir;
    const QString f = dir.filePath("t.bmp");
    if (!cDIBSectionSave().Save(f, d, pal, depth, method)) {
        ADD_FAILURE() << "not saved";
        return QByteArray();
    }
    return ReadFile(f);
}
uint32_t le32(const QByteArray& b, int at) {
    return uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8) | (uint8_t(b[at + 2]) << 16) | (uint32_t(uint8_t(b[at + 3])) << 24);
}
int le16(const QByteArray& b, int at) { return uint8_t(b[at]) | (uint8_t(b[at + 1]) << 8); }

// The fixed part of every paletted file: header fields and where the bits start.
void expectHeader(const QByteArray& f, int width, int height, int bits, uint32_t offBits, uint32_t imageSize) {
    ASSERT_GE(f.size(), 54);
    EXPECT_EQ(f.left(2), "BM");
    EXPECT_EQ(le32(f, 2), offBits + imageSize);
    EXPECT_EQ(le32(f, 6), 0u);
    EXPECT_EQ(le32(f, 10), offBits);
    EXPECT_EQ(le32(f, 14), 40u);
    EXPECT_EQ(le32(f, 18), uint32_t(width));
    EXPECT_EQ(le32(f, 22), uint32_t(height));
    EXPECT_EQ(le16(f, 26), 1);
    EXPECT_EQ(le16(f, 28), bits);
    EXPECT_EQ(le32(f, 30), 0u);
    EXPECT_EQ(le32(f, 34), imageSize);
    EXPECT_EQ(f.mid(38, 16), QByteArray(16, 0));
    EXPECT_EQ(uint32_t(f.size()), offBits + imageSize);
}

} // namespace

TEST(cDIBSectionSave, LogoFileSizesAtOneBit) {
    struct Case {
        int w, h, imageSize, fileSize;
    };
    for (const Case c : {Case{72, 14, 168, 230}, Case{101, 43, 688, 750}, Case{96, 65, 780, 842}}) {
        cDIBSection logo;
        fill(logo, c.w, c.h, {255, 255, 255});
        std::shared_ptr<cPalette> none;
        const QByteArray b = savedFile(logo, none, 0, 0);
        EXPECT_EQ(b.size(), c.fileSize);
        expectHeader(b, c.w, c.h, 1, 62, uint32_t(c.imageSize));
        EXPECT_EQ(b.mid(54, 8), QByteArray::fromHex("00000000ffffff00"));
        EXPECT_EQ(uint8_t(b[62]), 0xFF);
    }
}

TEST(cDIBSectionSave, OneBitRowsArePackedFromTheHighBit) {
    cDIBSection d;
    fill(d, 10, 2, {0, 0, 0});
    for (int x : {0, 2, 9}) put(d, x, 0, {255, 255, 255});
    put(d, 8, 1, {255, 255, 255});
    std::shared_ptr<cPalette> none;
    const QByteArray b = savedFile(d, none, 0, 0);
    expectHeader(b, 10, 2, 1, 62, 8);
    EXPECT_EQ(b.mid(62), QByteArray::fromHex("a0400000" "00800000"));
}

TEST(cDIBSectionSave, FourBitsUseTheSixteenColours) {
    cDIBSection d;
    rowPicture(d, {{255, 0, 0}, {0, 0, 128}, {250, 250, 250}});
    std::shared_ptr<cPalette> none;
    const QByteArray b = savedFile(d, none, 1, 0);
    expectHeader(b, 3, 1, 4, 118, 4);
    cPalette sixteen;
    sixteen.Create16Colour();
    for (int i = 0; i < 16; ++i) {
        const uint8_t e[4] = {sixteen.Blue(i + 1), sixteen.Green(i + 1), sixteen.Red(i + 1), 0};
        EXPECT_EQ(b.mid(54 + 4 * i, 4), QByteArray(reinterpret_cast<const char*>(e), 4)) << i;
    }
    EXPECT_EQ(b.mid(118), QByteArray::fromHex("94f00000"));
    EXPECT_EQ(at(d, 2, 0), (RGB{255, 255, 255})); // method 0 copies the mapped picture back
}

TEST(cDIBSectionSave, EightBitsWithoutPaletteUseTheHalfTone) {
    cDIBSection d;
    rowPicture(d, {{64, 0, 0}, {70, 130, 250}});
    std::shared_ptr<cPalette> pal;
    const QByteArray b = savedFile(d, pal, 2, 0);
    ASSERT_TRUE(pal);
    EXPECT_EQ(pal->Count(), 256);
    expectHeader(b, 2, 1, 8, 1078, 4);
    EXPECT_EQ(b.mid(54 + 4 * 1, 4), QByteArray::fromHex("00004000"));
    EXPECT_EQ(b.mid(54 + 4 * 125, 4), QByteArray(4, 0));
    EXPECT_EQ(b.mid(1078), QByteArray::fromHex("016f0000")); // entries 2 and 112
    EXPECT_EQ(at(d, 1, 0), (RGB{64, 128, 255}));
}

TEST(cDIBSectionSave, AutomaticEightBitsUseAnOptimalPaletteWithoutDiffusion) {
    cDIBSection d;
    rowPicture(d, {{200, 100, 50}, {10, 20, 30}, {200, 100, 50}});
    auto pal = std::make_shared<cPalette>();
    pal->CreateMono();
    const cPalette* before = pal.get();
    const QByteArray b = savedFile(d, pal, 2, 2);
    ASSERT_TRUE(pal);
    EXPECT_NE(pal.get(), before);
    ASSERT_EQ(pal->Count(), 2);
    expectHeader(b, 3, 1, 8, 1078, 4);
    EXPECT_EQ(b.mid(54, 12), QByteArray::fromHex("3264c8001e140a0000000000"));
    EXPECT_EQ(b.mid(1078), QByteArray::fromHex("00010000"));
}

TEST(cDIBSectionSave, DitheredOneBitLeavesTheSamePictureInTheBuffer) {
    cDIBSection d;
    fill(d, 4, 2, {128, 128, 128});
    std::shared_ptr<cPalette> none;
    const QByteArray b = savedFile(d, none, 0, 2);
    expectHeader(b, 4, 2, 1, 62, 8);
    EXPECT_EQ(b.mid(62), QByteArray::fromHex("40000000" "60000000"));
    const char* rows[2] = {"BWBB", "BWWB"};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(at(d, x, y), rows[y][x] == 'W' ? (RGB{255, 255, 255}) : (RGB{0, 0, 0})) << x << "," << y;
    EXPECT_FALSE(none);
}

TEST(cDIBSectionSave, DepthAndMethodTable) {
    QTemporaryDir dir;
    const QString f = dir.filePath("t.bmp");
    struct Case {
        int depth, method;
        RGB in;
        bool ok;
        RGB after;     // the caller's buffer afterwards
        int fileBytes; // -1: no file
    };
    const Case cases[] = {
        {0, 0, {128, 127, 128}, true, {255, 255, 255}, 62 + 4}, // channel sum 383: white
        {0, 0, {127, 127, 128}, true, {0, 0, 0}, 62 + 4},       // 382: black
        {0, 1, {250, 5, 5}, true, {255, 0, 0}, 62 + 4},         // caller's palette, no copy-back
        {1, 2, {250, 5, 5}, true, {255, 0, 0}, 118 + 4},
        {0, 7, {250, 250, 250}, true, {250, 250, 250}, 62 + 4}, // unknown method: nothing reduced
        {3, 2, {1, 2, 3}, true, {1, 2, 3}, 54 + 4},             // 24 bits: never reduced
        {5, 1, {250, 5, 5}, false, {255, 0, 0}, -1},            // no such depth, reduced all the same
        {5, 0, {250, 5, 5}, false, {250, 5, 5}, -1},
    };
    for (const Case& c : cases) {
        QFile::remove(f);
        cDIBSection d;
        fill(d, 1, 1, c.in);
        auto pal = std::make_shared<cPalette>();
        pal->Create16Colour();
        EXPECT_EQ(cDIBSectionSave().Save(f, d, pal, c.depth, c.method), c.ok) << c.depth << "/" << c.method;
        EXPECT_EQ(at(d, 0, 0), c.after) << c.depth << "/" << c.method;
        EXPECT_EQ(QFile::exists(f) ? int(ReadFile(f).size()) : -1, c.fileBytes) << c.depth << "/" << c.method;
    }
}

TEST(cDIBSectionSave, TwentyFourBitsGoThroughSavePicture) {
    cDIBSection d;
    fill(d, 2, 2, {9, 8, 7});
    std::shared_ptr<cPalette> none;
    const QByteArray b = savedFile(d, none, 3, 0);
    EXPECT_EQ(b.size(), 54 + 16);
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(le16(b, 28), 24);
    EXPECT_EQ(b.mid(54, 4), QByteArray::fromHex("070809" "07"));
}

TEST(cDIBSectionSave, Failures) {
    QTemporaryDir dir;
    cDIBSection d;
    fill(d, 8, 8, {255, 255, 255});
    std::shared_ptr<cPalette> none;
    const QString missing = dir.filePath("none/x.bmp");
    for (int depth : {0, 1, 2}) {
        try {
            cDIBSectionSave().Save(missing, d, none, depth, 0);
            ADD_FAILURE() << "no error at depth " << depth;
        } catch (const vb::VBError& e) {
            EXPECT_EQ(e.Number(), 17);
            EXPECT_EQ(e.Source(), vb::AppExeName() + ".cDIBSection256");
            EXPECT_EQ(e.Description(), "No such file or directory");
        }
        EXPECT_FALSE(QFile::exists(missing));
        EXPECT_FALSE(cDIBSectionSave().Save("/dev/full", d, none, depth, 0));
    }
    none.reset(); // depth 2 left a half-tone palette in it
    try {
        cDIBSectionSave().Save(dir.filePath("x.bmp"), d, none, 0, 1);
        ADD_FAILURE() << "method 1 without a palette";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.Number(), 91);
    }
    cDIBSection empty;
    EXPECT_FALSE(cDIBSectionSave().Save(dir.filePath("y.bmp"), empty, none, 0, 2));
    EXPECT_FALSE(QFile::exists(dir.filePath("y.bmp")));
}

TEST(cDIBSectionSave, SaveToClipboard) {
    QImage marker(1, 1, QImage::Format_RGB32);
    marker.fill(qRgb(1, 2, 3));
    vb::Clipboard::SetData(marker);
    cDIBSection d;
    fill(d, 4, 2, {128, 128, 128});
    std::shared_ptr<cPalette> none;
    EXPECT_FALSE(cDIBSectionSave().SaveToClipboard(QString(), d, none, 3, 2));
    EXPECT_FALSE(cDIBSectionSave().SaveToClipboard(QString(), d, none, 4, 2));
    EXPECT_EQ(vb::Clipboard::GetData().size(), QSize(1, 1));
    EXPECT_EQ(at(d, 0, 0), (RGB{128, 128, 128}));

    ASSERT_TRUE(cDIBSectionSave().SaveToClipboard(QString(), d, none, 0, 2));
    const QImage got = vb::Clipboard::GetData().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(got.size(), QSize(4, 2));
    // The top row of the picture is the last stored row.
    const char* rows[2] = {"BWWB", "BWBB"};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(got.pixel(x, y), rows[y][x] == 'W' ? qRgb(255, 255, 255) : qRgb(0, 0, 0));

    cDIBSection colour;
    fill(colour, 2, 2, {250, 5, 5});
    ASSERT_TRUE(cDIBSectionSave().SaveToClipboard(QString(), colour, none, 1, 2));
    ASSERT_TRUE(none);
    EXPECT_EQ(none->Count(), 16);
    EXPECT_EQ(vb::Clipboard::GetData().convertToFormat(QImage::Format_RGB32).pixel(0, 0), qRgb(255, 0, 0));
}
