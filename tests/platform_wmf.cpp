// Windows metafiles: rendering through libwmf, and loading them as pictures.
#include "platform/picture/Picture.h"
#include "platform/system/VBError.h"
#include "platform/picture/WmfRender.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace vb;

namespace {

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& b, uint32_t v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

// A metafile put together record by record; parameters are 16-bit words in file order.
class Metafile {
public:
    Metafile& record(int function, std::initializer_list<int> words) {
        put32(m_records, uint32_t(3 + words.size()));
        put16(m_records, function);
        for (int w : words) put16(m_records, w);
        return *this;
    }
    Metafile& raw(int function, const QByteArray& params) {
        put32(m_records, uint32_t(3 + params.size() / 2));
        put16(m_records, function);
        m_records += params;
        return *this;
    }
    Metafile& window(int orgX, int orgY, int extX, int extY) {
        return record(0x020B, {orgY, orgX}).record(0x020C, {extY, extX});
    }
    Metafile& blackBrush() { return record(0x02FC, {0 /* solid */, 0, 0 /* black */, 0}).record(0x012D, {0}); }
    Metafile& rectangle(int left, int top, int right, int bottom) { return record(0x041B, {bottom, right, top, left}); }

    // With a placeable header when inch > 0: bounds (0, 0)-(right, bottom) at inch units per inch.
    QByteArray bytes(int right = 200, int bottom = 100, int inch = 96) const {
        QByteArray out;
        if (inch > 0) {
            put32(out, 0x9AC6CDD7u);
            for (int w : {0, 0, 0, right, bottom, inch, 0, 0}) put16(out, w);
            int sum = 0;
            for (int i = 0; i < 20; i += 2) sum ^= (uchar(out[i]) | (uchar(out[i + 1]) << 8));
            put16(out, sum);
        }
        const QByteArray records = m_records + QByteArray::fromHex("030000000000"); // EOF
        put16(out, 1);
        put16(out, 9);
        put16(out, 0x0300);
        put32(out, uint32_t((18 + records.size()) / 2));
        put16(out, m_objects);
        put32(out, 64);
        put16(out, 0);
        return out + records;
    }

    // How many objects the file's records create at most (one unless said).
    Metafile& objects(int n) {
        m_objects = n;
        return *this;
    }

private:
    QByteArray m_records;
    int m_objects = 1;
};

// StretchDIBits of a 2 x 1 one-bit bitmap, black then white, onto (x, y, w, h).
QByteArray schwarzWeiss(int x, int y, int w, int h) {
    QByteArray p;
    put32(p, 0x00CC0020u); // SRCCOPY
    for (int v : {0 /* RGB colours */, 1, 2, 0, 0, h, w, y, x}) put16(p, v);
    for (uint32_t v : {40u, 2u, 1u}) put32(p, v);
    put16(p, 1);
    put16(p, 1);
    for (uint32_t v : {0u, 4u, 0u, 0u, 2u, 0u}) put32(p, v);
    return p + QByteArray::fromHex("00000000ffffff00" "40000000");
}

// The standard picture: 200 x 100 pixels, its left half filled black.
QByteArray leftHalf() { return Metafile().window(0, 0, 200, 100).blackBrush().rectangle(0, 0, 100, 100).bytes(); }

struct Rendered {
    int rc = -1, width = 0, height = 0;
    std::string rgba;
};
Rendered render(const QByteArray& data, int maxSide = 1024) {
    Rendered r;
    unsigned char* px = reinterpret_cast<unsigned char*>(&r); // must come back null on failure
    r.rc = vorad_wmf_render(reinterpret_cast<const unsigned char*>(data.constData()), size_t(data.size()), maxSide,
                            &r.width, &r.height, &px);
    if (r.rc == 0 && px) {
        r.rgba.assign(reinterpret_cast<const char*>(px), size_t(r.width) * size_t(r.height) * 4);
        vorad_wmf_free(px);
    } else {
        EXPECT_EQ(px, nullptr);
    }
    return r;
}

// '#' dark, '.' light, '?' anything else, for the pixel at (x, y).
char shade(const Rendered& r, int x, int y) {
    const auto* p = reinterpret_cast<const unsigned char*>(r.rgba.data()) + (size_t(y) * size_t(r.width) + size_t(x)) * 4;
    if (p[3] != 255) return '?';
    if (p[0] < 64 && p[1] < 64 && p[2] < 64) return '#';
    if (p[0] > 192 && p[1] > 192 && p[2] > 192) return '.';
    return '?';
}
// The centres of the four quadrants: top left, top right, bottom left, bottom right.
std::string quadrants(const Rendered& r) {
    std::string s;
    for (int qy : {1, 3})
        for (int qx : {1, 3}) s += shade(r, r.width * qx / 4, r.height * qy / 4);
    return s;
}

} // namespace

TEST(WmfRender, DrawsThePictureInsideItsFrame) {
    struct Case {
        const char* name;
        QByteArray data;
        int width, height;
        const char* quadrants;
    };
    const Case cases[] = {
        {"placeable", leftHalf(), 200, 100, "#.#."},
        {"twips", Metafile().window(0, 0, 2880, 1440).blackBrush().rectangle(0, 0, 1440, 1440).bytes(2880, 1440, 1440), 192, 96, "#.#."},
        // The window the file sets up is what fills the frame, wherever it lies and however big it is.
        {"window scaled", Metafile().window(0, 0, 400, 200).blackBrush().rectangle(0, 0, 200, 200).bytes(), 200, 100, "#.#."},
        {"window moved", Metafile().window(50, 50, 200, 100).blackBrush().rectangle(50, 50, 150, 150).bytes(), 200, 100, "#.#."},
        {"anisotropic", Metafile().record(0x0103, {8}).window(0, 0, 400, 200).blackBrush().rectangle(0, 0, 200, 200).bytes(), 200, 100, "#.#."},
        {"y axis up", Metafile().window(0, 100, 200, -100).blackBrush().rectangle(0, 0, 100, 50).bytes(), 200, 100, "..#."},
        // Without a placeable header the window's units count as points.
        {"not placeable", Metafile().window(0, 0, 200, 100).blackBrush().rectangle(0, 0, 100, 100).bytes(0, 0, 0), 267, 133, "#.#."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Rendered r = render(c.data);
        ASSERT_EQ(r.rc, 0);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        EXPECT_EQ(quadrants(r), c.quadrants);
    }
}

TEST(WmfRender, FitsTheLongerSideIntoMaxSide) {
    struct Case {
        int maxSide, width, height;
    } const cases[] = {{50, 50, 25}, {200, 200, 100}, {1000, 200, 100}, {1, 1, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.maxSide);
        const Rendered r = render(leftHalf(), c.maxSide);
        ASSERT_EQ(r.rc, 0);
        EXPECT_EQ(r.width, c.width);
        EXPECT_EQ(r.height, c.height);
        if (c.width > 4) { EXPECT_EQ(quadrants(r), "#.#."); }
    }
    // A tall picture keeps its aspect too.
    const Rendered tall = render(Metafile().window(0, 0, 100, 400).bytes(100, 400, 96), 100);
    ASSERT_EQ(tall.rc, 0);
    EXPECT_EQ(tall.width, 25);
    EXPECT_EQ(tall.height, 100);
}

TEST(WmfRender, RejectsWhatIsNotAWholeMetafile) {
    const QByteArray good = leftHalf();
    QByteArray garbage(4096, '\0');
    uint32_t seed = 12345;
    for (char& ch : garbage) {
        seed = seed * 1103515245u + 12345u;
        ch = char(seed >> 24);
    }
    QByteArray brokenChain = good;
    brokenChain[40] = 0; // the first record claims no size at all
    brokenChain[41] = 0;
    QByteArray wrongKind = good;
    wrongKind[22] = 7;
    struct Case {
        const char* name;
        QByteArray data;
    } const cases[] = {
        {"empty", QByteArray()},
        {"garbage", garbage},
        {"garbage with a placeable key", QByteArray::fromHex("d7cdc69a") + garbage},
        {"headers only", good.left(40)},
        {"record without size", brokenChain},
        {"unknown metafile type", wrongKind},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NE(render(c.data).rc, 0);
    }
    for (int n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        EXPECT_NE(render(good.left(n)).rc, 0); // every truncation loses the EOF record
    }
    EXPECT_NE(render(good, 0).rc, 0);
    unsigned char* px = nullptr;
    int w = 0, h = 0;
    EXPECT_NE(vorad_wmf_render(nullptr, 0, 100, &w, &h, &px), 0);
    EXPECT_EQ(px, nullptr);
}

// Records whose sizes libwmf would take at face value: each used to hang or crash the player.
TEST(WmfRender, HoldsOutlandishSizesToThePicture) {
    auto font = [](int height, int width) {
        QByteArray lf;
        for (int w : {height, width, 0, 0, 400}) put16(lf, w);
        lf += QByteArray(8, '\0') + QByteArray("Arial", 6);
        return lf;
    };
    auto text = [](const char* s) {
        QByteArray p;
        put16(p, int(strlen(s)));
        p += QByteArray(s);
        if (p.size() % 2) p += '\0';
        put16(p, 10);
        put16(p, 10);
        return p;
    };
    QByteArray hugePen;
    for (int w : {0 /* solid */, 30000, 0, 0, 0}) put16(hugePen, w);
    QByteArray badPattern; // a pattern brush whose bitmap header has no known size
    for (int w : {5, 0}) put16(badPattern, w);
    for (uint32_t v : {21u, 8u, 8u}) put32(badPattern, v);
    for (int w : {1, 1}) put16(badPattern, w);
    for (uint32_t v : {0u, 32u, 0u, 0u, 2u, 0u}) put32(badPattern, v);
    badPattern += QByteArray::fromHex("0000000000ffffff") + QByteArray(32, '\x55');

    struct Case {
        const char* name;
        QByteArray data;
        bool renders;
    } const cases[] = {
        {"font without height", Metafile().window(0, 0, 200, 100).raw(0x02FB, font(0, 0)).record(0x012D, {0}).raw(0x0521, text("Hallo")).bytes(), true},
        {"font stretched flat", Metafile().window(0, 0, 200, 100).raw(0x02FB, font(-30, 32000)).record(0x012D, {0}).raw(0x0521, text("Hallo")).bytes(), true},
        {"window a sliver wide", Metafile().window(0, 0, 3, 100).raw(0x02FB, font(-60, 0)).record(0x012D, {0}).raw(0x0521, text("Hallo")).bytes(), true},
        {"pen wider than the picture", Metafile().window(0, 0, 200, 100).raw(0x02FA, hugePen).record(0x012D, {0}).rectangle(10, 10, 190, 90).bytes(), true},
        // Drawn pixel by pixel over its whole destination, it used to take the whole time limit.
        {"bitmap stretched over thousands of pictures", Metafile().window(0, 0, 200, 100).raw(0x0F43, schwarzWeiss(-16000, -16000, 32000, 32000)).bytes(), true},
        {"bitmap stretched in a tiny window", Metafile().window(0, 0, 2, 2).raw(0x0F43, schwarzWeiss(-16000, -16000, 32000, 32000)).bytes(200, 100), true},
        {"bitmap header of no known size", Metafile().window(0, 0, 200, 100).raw(0x0142, badPattern).record(0x012D, {0}).rectangle(10, 10, 190, 90).bytes(), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Rendered r = render(c.data);
        EXPECT_EQ(r.rc == 0, c.renders);
        if (c.renders) {
            EXPECT_EQ(r.width, 200);
            EXPECT_EQ(r.height, 100);
        }
    }
}

TEST(WmfRender, LoadPictureReadsMetafiles) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString good = dir.filePath(QStringLiteral("bild.wmf")), bad = dir.filePath(QStringLiteral("kaputt.wmf"));
    auto write = [](const QString& path, const QByteArray& data) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    };
    write(good, leftHalf());
    write(bad, QByteArray("this is no metafile at all"));

    const Picture p = LoadPicture(good);
    ASSERT_FALSE(p.IsEmpty());
    EXPECT_EQ(p.Width(), 200);
    EXPECT_EQ(p.Height(), 100);
    EXPECT_EQ(p.Image().pixel(50, 50) & 0xFFFFFFu, 0x000000u);
    EXPECT_EQ(p.Image().pixel(150, 50) & 0xFFFFFFu, 0xFFFFFFu);

    try {
        LoadPicture(bad);
        FAIL() << "a broken metafile loaded";
    } catch (const VBError& e) {
        EXPECT_EQ(e.Number(), 481);
    }
}


// Thumbnails decode on several threads at once while others allocate; each metafile is played in
// a process that inherits none of their locks, so every one of them comes back, and whole.
TEST(WmfRender, PlaysOnSeveralThreadsWhileOthersAllocate) {
    const QByteArray data = leftHalf();
    const Rendered einzeln = render(data);
    ASSERT_EQ(einzeln.rc, 0);
    std::atomic<bool> fertig{false};
    std::thread last([&] {
        while (!fertig) {
            std::vector<std::unique_ptr<char[]>> v;
            for (int i = 0; i < 64; ++i) v.emplace_back(new char[size_t(1024) * (i + 1)]);
        }
    });
    std::vector<std::thread> spieler;
    std::atomic<int> gleich{0};
    for (int t = 0; t < 4; ++t)
        spieler.emplace_back([&] {
            for (int i = 0; i < 8; ++i) {
                const Rendered r = render(data);
                if (r.rc == 0 && r.width == einzeln.width && r.height == einzeln.height && r.rgba == einzeln.rgba) ++gleich;
            }
        });
    for (std::thread& s : spieler) s.join();
    fertig = true;
    last.join();
    EXPECT_EQ(gleich, 32);
}

namespace {
// Fifty ellipses 850 units across, drawn with a pen 64 units wide and a hollow brush in a
// 1000 x 1000 window shown at 1000 x 1000 pixels: 812 bytes.
QByteArray dickeEllipsen() {
    Metafile m;
    m.objects(2).window(0, 0, 1000, 1000);
    m.record(0x02FA, {0 /* solid */, 64, 0, 0, 0 /* black */}).record(0x012D, {0});
    m.record(0x02FC, {1 /* hollow */, 0, 0, 0}).record(0x012D, {1});
    for (int i = 0; i < 50; ++i) {
        const int x = 50 + (i % 10) * 10, y = 50 + (i / 10) * 10;
        m.record(0x0418, {y + 850, x + 850, y, x});
    }
    return m.bytes(1000, 1000, 96);
}
} // namespace

// A metafile of fifty ellipses drawn with a thick pen plays well inside the player's processor
// bound (it was refused after it), and shows the rings a painter draws there.
TEST(WmfRender, ThickPensPlayWellInsideTheBound) {
    const QByteArray data = dickeEllipsen();
    EXPECT_EQ(data.size(), 812);
    const Rendered r = render(data);
    ASSERT_EQ(r.rc, 0);
    ASSERT_EQ(r.width, 1000);
    ASSERT_EQ(r.height, 1000);
    QImage erwartet(1000, 1000, QImage::Format_RGB32);
    erwartet.fill(Qt::white);
    {
        QPainter p(&erwartet);
        p.setPen(QPen(Qt::black, 64));
        for (int i = 0; i < 50; ++i) p.drawEllipse(QRectF(50 + (i % 10) * 10, 50 + (i / 10) * 10, 850, 850));
    }
    int anders = 0, dunkel = 0;
    for (int y = 0; y < 1000; ++y)
        for (int x = 0; x < 1000; ++x) {
            const bool soll = qRed(erwartet.pixel(x, y)) < 128;
            dunkel += soll ? 1 : 0;
            anders += (shade(r, x, y) == '#') != soll ? 1 : 0;
        }
    // The two rasterisers differ only along the rings' edges.
    EXPECT_GT(dunkel, 100000);
    EXPECT_LT(anders, dunkel / 25);
}
