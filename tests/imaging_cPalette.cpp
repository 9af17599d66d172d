// Palettes: fixed palettes, closest entry, the octree palette and the two palette files.
#include "imaging/cDIBSection.h"
#include "support/DibPixels.h"
#include "support/Files.h"
#include "imaging/cPalette.h"
#include "platform/system/MsgBox.h"
#include "platform/system/VBError.h"
#include "support/Raised.h"
#include "platform/system/Seams.h"

#include <QFile>
#include <QTemporaryDir>
#include <array>
#include <functional>
#include <random>
#include <gtest/gtest.h>

namespace {

RGB entry(const cPalette& p, int i) { return {p.Red(i), p.Green(i), p.Blue(i)}; }

cPalette paletteOf(std::initializer_list<RGB> colours) {
    cPalette p;
    for (const RGB& c : colours) p.Add(uint8_t(c[0]), uint8_t(c[1]), uint8_t(c[2]));
    return p;
}

} // namespace

TEST(cPalette, ClosestIndex) {
    cPalette mono;
    mono.CreateMono();
    cPalette sixteen;
    sixteen.Create16Colour();
    const cPalette blackOnly = paletteOf({{0, 0, 0}});
    const cPalette equalPair = paletteOf({{10, 0, 0}, {0, 10, 0}});
    const cPalette doubled = paletteOf({{1, 1, 1}, {5, 5, 5}, {5, 5, 5}});
    const cPalette empty;
    struct Case {
        const cPalette* pal;
        RGB colour;
        int index;
    };
    const Case cases[] = {
        {&mono, {0, 0, 0}, 1},         {&mono, {200, 200, 200}, 2},   {&mono, {128, 128, 128}, 2},
        {&mono, {127, 127, 127}, 1},   {&mono, {255, 255, 255}, 2},   {&blackOnly, {255, 255, 255}, 0},
        {&sixteen, {250, 5, 5}, 10},   {&sixteen, {0, 0, 0}, 1},      {&sixteen, {100, 100, 100}, 9},
        {&sixteen, {190, 190, 190}, 8}, {&equalPair, {5, 5, 0}, 1},   {&doubled, {5, 5, 5}, 2},
        {&empty, {1, 2, 3}, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.pal->ClosestIndex(c.colour[0], c.colour[1], c.colour[2]), c.index)
            << c.colour[0] << "," << c.colour[1] << "," << c.colour[2];
}

TEST(cPalette, AnEntryOutsideTheListIsError9) {
    cPalette p;
    p.Create16Colour();
    ASSERT_EQ(entry(p, 16), (RGB{255, 255, 255}));
    for (int i : {0, -1, 17}) {
        SCOPED_TRACE(i);
        for (const auto& lesen : {std::function<int()>([&] { return p.Red(i); }), std::function<int()>([&] { return p.Green(i); }),
                                  std::function<int()>([&] { return p.Blue(i); }), std::function<int()>([&] { return p.Reserved(i); })}) {
            const vb::VBError e = caught([&] { lesen(); });
            EXPECT_EQ(e.Number(), 9);
            EXPECT_EQ(e.Source(), vb::AppExeName());
            EXPECT_EQ(e.Description(), "Subscript out of range");
        }
    }
}

TEST(cPalette, ClosestIndexTableAgreesWithClosestIndex) {
    std::mt19937 rng(7);
    std::vector<cPalette> pals(7);
    pals[0].CreateMono();
    pals[1].Create16Colour();
    pals[2].CreateHalfTone();
    pals[3].CreateWebSafe();
    for (int i = 0; i < 300; ++i) pals[4].Add(uint8_t(rng()), uint8_t(rng()), uint8_t(rng()));
    pals[5] = paletteOf({{255, 255, 255}, {255, 255, 255}});
    // pals[6] stays empty
    for (const cPalette& pal : pals) {
        const cPalette::ClosestIndexTable table(pal);
        for (int i = 0; i < 20000; ++i) {
            const int r = int(rng() % 256), g = int(rng() % 256), b = int(rng() % 256);
            ASSERT_EQ(table.Find(r, g, b), pal.ClosestIndex(r, g, b)) << pal.Count() << ": " << r << "," << g << "," << b;
        }
        for (int c = 0; c < 8; ++c) {
            const int r = (c & 1) * 255, g = (c >> 1 & 1) * 255, b = (c >> 2) * 255;
            ASSERT_EQ(table.Find(r, g, b), pal.ClosestIndex(r, g, b));
        }
    }
}

TEST(cPalette, SixteenColoursAndMono) {
    cPalette p;
    p.Create16Colour();
    const RGB expected[16] = {{0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
                              {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
                              {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                              {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    ASSERT_EQ(p.Count(), 16);
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(entry(p, i), expected[i - 1]) << i;
    for (int i : {0, 17}) EXPECT_EQ(caught([&] { entry(p, i); }).Number(), 9) << i; // no such entry
    p.CreateMono();
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(entry(p, 2), (RGB{255, 255, 255}));
}

TEST(cPalette, HalfToneAndWebSafe) {
    cPalette h;
    h.CreateHalfTone();
    ASSERT_EQ(h.Count(), 256);
    EXPECT_EQ(entry(h, 1), (RGB{0, 0, 0}));
    EXPECT_EQ(entry(h, 2), (RGB{64, 0, 0}));
    EXPECT_EQ(entry(h, 6), (RGB{0, 64, 0}));
    EXPECT_EQ(entry(h, 26), (RGB{0, 0, 64}));
    EXPECT_EQ(entry(h, 125), (RGB{255, 255, 255}));
    EXPECT_EQ(entry(h, 126), (RGB{0, 0, 0}));
    EXPECT_EQ(entry(h, 256), (RGB{0, 0, 0}));

    cPalette w;
    w.CreateWebSafe();
    ASSERT_EQ(w.Count(), 256);
    EXPECT_EQ(entry(w, 8), (RGB{192, 192, 192}));
    EXPECT_EQ(entry(w, 9), (RGB{51, 0, 0}));
    EXPECT_EQ(entry(w, 12), (RGB{204, 0, 0}));
    EXPECT_EQ(entry(w, 13), (RGB{0, 51, 0}));
    EXPECT_EQ(entry(w, 216), (RGB{204, 255, 255}));
    EXPECT_EQ(entry(w, 217), (RGB{8, 8, 8}));
    EXPECT_EQ(entry(w, 247), (RGB{248, 248, 248}));
    EXPECT_EQ(entry(w, 248), (RGB{128, 128, 128}));
    EXPECT_EQ(entry(w, 255), (RGB{255, 255, 255}));
    EXPECT_EQ(entry(w, 256), (RGB{0, 0, 0}));
    for (int i = 9; i <= 216; ++i) {
        const RGB c = entry(w, i);
        for (int v : c) ASSERT_EQ(v % 51, 0) << i;
        for (int j = 9; j < i; ++j) ASSERT_NE(entry(w, j), c) << i;
    }
}

TEST(cPalette, OptimalPaletteOfFewColoursKeepsThemInTreeOrder) {
    cDIBSection one;
    ASSERT_TRUE(one.Create(3, 2));
    for (int i = 0; i < 6 * 3; i += 3) {
        uint8_t* p = one.DIBSectionBitsPtr() + (i / 9) * 12 + i % 9;
        p[0] = 30, p[1] = 20, p[2] = 10;
    }
    cPalette p;
    p.CreateOptimal(one, 236, 6);
    ASSERT_EQ(p.Count(), 1);
    EXPECT_EQ(entry(p, 1), (RGB{10, 20, 30}));

    cDIBSection two;
    rowPicture(two, {{200, 100, 50}, {10, 20, 30}, {200, 100, 50}});
    p.CreateOptimal(two, 236, 6);
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(entry(p, 1), (RGB{200, 100, 50}));
    EXPECT_EQ(entry(p, 2), (RGB{10, 20, 30}));
}

TEST(cPalette, OptimalPaletteReducesTheDeepestNodesFirst) {
    // (0, 1, 0) and (11, 0, 0) part only at level 5; white parts from both at level 1. With two
    // colours allowed the third pixel makes the tree merge, deepest list first, until the two
    // level-4 nodes are leaves: (5.5, 0.5, 0) rounds to (6, 0, 0).
    cDIBSection d;
    rowPicture(d, {{0, 1, 0}, {255, 255, 255}, {11, 0, 0}});
    cPalette p;
    std::vector<std::string> events;
    p.InitProgress = [&](int v) { events.push_back("init " + std::to_string(v)); };
    p.Progress = [&](int v) { events.push_back("progress " + std::to_string(v)); };
    p.Complete = [&](int v) { events.push_back(v >= 0 ? "complete" : "complete?"); };
    p.CreateOptimal(d, 2, 6);
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(entry(p, 1), (RGB{6, 0, 0}));
    EXPECT_EQ(entry(p, 2), (RGB{255, 255, 255}));
    // Rows first, then the leaves by node number (nodes 5 and 11).
    EXPECT_EQ(events, (std::vector<std::string>{"init 2", "progress 0", "progress 5", "progress 11", "complete"}));
}

TEST(cPalette, OptimalPaletteAsksWhenNothingCanBeMerged) {
    cDIBSection d;
    rowPicture(d, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}});
    std::vector<std::pair<QString, int>> asked;
    vb::seams().msgBox = [&](const QString& prompt, int style, const QString& title) {
        asked.emplace_back(prompt + "|" + title, style);
        return int(vb::vbYes);
    };
    cPalette p;
    p.CreateOptimal(d, 1, 6);
    vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
    // Two root children can never become one leaf: asked after the second and the third pixel.
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].first, "Error in reducing nodes|");
    EXPECT_EQ(asked[0].second, vb::vbYesNo);
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(entry(p, 1), (RGB{0, 0, 0}));
    EXPECT_EQ(entry(p, 2), (RGB{255, 255, 255}));

    EXPECT_EQ(caught([&] { p.CreateOptimal(d, 236, 0); }).Number(), 9);
    EXPECT_EQ(caught([&] { p.CreateOptimal(d, 236, 9); }).Number(), 9);
}

TEST(cPalette, OptimalPaletteOfAManyColouredPictureStaysWithinItsSize) {
    cDIBSection d;
    ASSERT_TRUE(d.Create(61, 47));
    d.RandomiseBits(false);
    for (int size : {8, 16, 236}) {
        cPalette p;
        p.CreateOptimal(d, size, 6);
        EXPECT_GE(p.Count(), 1);
        EXPECT_LE(p.Count(), size);
        p.EraseNodes();
    }
    cDIBSection empty;
    cPalette p;
    p.CreateOptimal(empty, 236, 6);
    EXPECT_EQ(p.Count(), 0);
}

TEST(cPalette, BinaryFileWithOffsets) {
    QTemporaryDir dir;
    const QString f = dir.filePath("pal.bin");
    cPalette mono;
    mono.CreateMono();
    ASSERT_TRUE(mono.Save(f));
    EXPECT_EQ(ReadFile(f), QByteArray::fromHex("02000000" "00000000" "ffffff00"));
    ASSERT_TRUE(mono.Save(f, 6));
    EXPECT_EQ(ReadFile(f), QByteArray::fromHex("000000000000" "02000000" "00000000" "ffffff00"));

    // Two palettes one after the other, the second with a fourth byte.
    WriteFile(f, QByteArray::fromHex("02000000" "01020300" "04050600" "01000000" "0a0b0c07"));
    cPalette p;
    int offset = 0;
    ASSERT_TRUE(p.Load(f, offset));
    EXPECT_EQ(offset, 12);
    EXPECT_EQ(p.Count(), 2);
    EXPECT_EQ(entry(p, 2), (RGB{4, 5, 6}));
    ASSERT_TRUE(p.Load(f, offset));
    EXPECT_EQ(offset, 20);
    EXPECT_EQ(p.Count(), 1);
    EXPECT_EQ(entry(p, 1), (RGB{10, 11, 12}));
    EXPECT_EQ(p.Reserved(1), 7);
    EXPECT_FALSE(p.Load(f, offset)); // past the end
    offset = -5;
    ASSERT_TRUE(p.Load(f, offset));
    EXPECT_EQ(offset, 12);
}

TEST(cPalette, BinaryFileRefusals) {
    QTemporaryDir dir;
    const QString f = dir.filePath("bad.bin");
    QByteArray full = QByteArray::fromHex("01100000"); // 4097
    full.append(QByteArray(4097 * 4, '\x11'));
    struct Case {
        QByteArray data;
        bool ok;
        int count;
    };
    const Case cases[] = {
        {QByteArray::fromHex("00000000"), false, 16},
        {QByteArray::fromHex("02100000") + QByteArray(4098 * 4, 0), false, 16}, // 4098
        {QByteArray::fromHex("ffffffff"), false, 16},
        {QByteArray::fromHex("0200"), false, 16},
        {full, true, 4097},
        {QByteArray::fromHex("03000000" "01010100" "02020200"), false, 3}, // short: sized, not complete
    };
    for (const Case& c : cases) {
        cPalette p;
        p.Create16Colour();
        WriteFile(f, c.data);
        EXPECT_EQ(p.Load(f), c.ok) << c.data.size();
        EXPECT_EQ(p.Count(), c.count) << c.data.size();
    }
    cPalette p;
    p.Create16Colour();
    EXPECT_FALSE(p.Load(dir.filePath("missing.bin")));
    EXPECT_EQ(p.Count(), 16);
    EXPECT_FALSE(p.Save(dir.filePath("no/folder/x.bin")));
    EXPECT_FALSE(p.Save("/dev/full"));
}

TEST(cPalette, JascFileOfSixteenColours) {
    QTemporaryDir dir;
    const QString f = dir.filePath("p.pal");
    WriteFile(f, QByteArray(3000, 'z'));
    cPalette p;
    p.Create16Colour();
    ASSERT_TRUE(p.SaveToJASCFile(f));
    const QByteArray text = ReadFile(f);
    EXPECT_TRUE(text.startsWith("JASC\r\n0100\r\n16\r\n0 0 0\r\n128 0 0\r\n"));
    EXPECT_TRUE(text.endsWith("\r\n0 255 255\r\n255 255 255"));
    EXPECT_EQ(text.split('\n').size(), 19);
    EXPECT_EQ(text.count("\r\n"), 18);

    cPalette q;
    ASSERT_TRUE(q.LoadFromJASCFile(f));
    ASSERT_EQ(q.Count(), 16);
    for (int i = 1; i <= 16; ++i) EXPECT_EQ(entry(q, i), entry(p, i));
}

TEST(cPalette, JascLoadSkipsLinesThatAreNotThreeNumbers) {
    QTemporaryDir dir;
    const QString f = dir.filePath("p.pal");
    // The count line is never checked; two spaces make four parts; halves round to even.
    WriteFile(f, "JASC\r\n0100\r\n99\r\n1 2 3\r\n4  5 6\r\n7 8 9 \r\n\r\n12.5 13.5 0.4");
    cPalette p;
    p.Create16Colour();
    ASSERT_TRUE(p.LoadFromJASCFile(f));
    ASSERT_EQ(p.Count(), 2);
    EXPECT_EQ(entry(p, 1), (RGB{1, 2, 3}));
    EXPECT_EQ(entry(p, 2), (RGB{12, 14, 0}));
}

TEST(cPalette, JascErrorsCarryThePaletteSource) {
    QTemporaryDir dir;
    const QString f = dir.filePath("p.pal");
    struct Case {
        QByteArray text;
        long number;
        const char* description;
    };
    const Case cases[] = {
        {"JASC\r\n0100\r\n2\r\n1 2 3\r\n256 0 0", 6, "Overflow"},
        {"JASC\r\n0100\r\n2\r\n1 2 3\r\n0 -1 0", 6, "Overflow"},
        {"JASC\r\n0100\r\n2\r\n1 2 3\r\nx 0 0", 13, "Type mismatch"},
        {"JASC\r\n0100\r\n2\r\n1 2 3\r\n 0 0", 13, "Type mismatch"},
    };
    for (const Case& c : cases) {
        WriteFile(f, c.text);
        cPalette p;
        p.Create16Colour();
        const vb::VBError e = caught([&] { p.LoadFromJASCFile(f); });
        EXPECT_EQ(e.Number(), c.number) << c.text.constData();
        EXPECT_EQ(e.Source(), vb::AppExeName() + ".cPalette");
        EXPECT_EQ(e.Description(), c.description);
        EXPECT_EQ(p.Count(), 0);
    }
    cPalette p;
    p.Create16Colour();
    const vb::VBError missing = caught([&] { p.LoadFromJASCFile(dir.filePath("none.pal")); });
    EXPECT_EQ(missing.Number(), 53);
    EXPECT_EQ(missing.Source(), vb::AppExeName() + ".cPalette");
    EXPECT_EQ(p.Count(), 0);
    const vb::VBError noFolder = caught([&] { p.SaveToJASCFile(dir.filePath("no/folder/p.pal")); });
    EXPECT_EQ(noFolder.Number(), 76);
    EXPECT_EQ(noFolder.Description(), "Path not found");
    EXPECT_EQ(noFolder.Source(), vb::AppExeName() + ".cPalette");
}
