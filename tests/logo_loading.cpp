// Pictures into the logo editor: fit and stretch, the 1-bit work file, bad files.
#include "support/Fixture.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Logo_laden.h"
#include "logo/Logovoschau.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/DirListBox.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QProcess>

using namespace Parameter_und_Start;

namespace {
QImage canvas(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}
bool black(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == 0; }

// A BMP with 8 bits per pixel, run-length encoded: the left half black, the right half white.
QByteArray rle8Bmp(int w, int h) {
    QByteArray bits;
    for (int y = 0; y < h; ++y) {
        bits += char(w / 2); bits += char(0);
        bits += char(w - w / 2); bits += char(1);
        bits += char(0); bits += char(0); // end of line
    }
    bits += char(0); bits += char(1); // end of picture
    QByteArray b(54 + 8, '\0');
    auto put = [&](int at, quint32 v, int n) { for (int i = 0; i < n; ++i) b[at + i] = char((v >> (8 * i)) & 255); };
    b[0] = 'B'; b[1] = 'M';
    put(2, quint32(62 + bits.size()), 4);
    put(10, 62, 4);
    put(14, 40, 4);
    put(18, quint32(w), 4);
    put(22, quint32(h), 4);
    put(26, 1, 2);
    put(28, 8, 2);
    put(30, 1, 4); // BI_RLE8
    put(34, quint32(bits.size()), 4);
    put(46, 2, 4);
    put(54, 0x000000, 4);
    put(58, 0xFFFFFF, 4);
    return b + bits;
}

class LoadingTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Startbildschirm->Show();
    }
    void chooseType(int index) { Startbildschirm->ComboKategorien[3]->setListIndex(index); }
    QImage logo() const { return Startbildschirm->Logo_Weiss_Grafik->hDC(); }
    QString write(const QString& name, const QImage& img, const char* fmt = "BMP") {
        writeImage(file(name), img, fmt);
        return file(name);
    }
};
} // namespace

TEST_F(LoadingTest, KeptAspectWiderSourceNarrowerThanLogoScalesToWidthFromTheTop) {
    chooseType(7); // 72 x 14
    QImage src = canvas(200, 100);
    QPainter(&src).fillRect(0, 0, 200, 20, Qt::black); // rows 0..19 -> 0..7.2 at width 72 (scale 0.36)
    Perspektivisch_Skalieren = true;
    Logo_laden::Bild_in_Logo_laden(write("a.bmp", src), Startbildschirm->Ladeziel());
    const QImage l = logo();
    ASSERT_EQ(l.size(), QSize(72, 14));
    for (int y : {0, 6}) EXPECT_TRUE(black(l, 36, y)) << y;
    for (int y : {8, 13}) EXPECT_FALSE(black(l, 36, y)) << y;
    EXPECT_TRUE(black(l, 0, 0));
    EXPECT_TRUE(black(l, 71, 0));
}

TEST_F(LoadingTest, KeptAspectWideSourceIsCentredAndCut) {
    chooseType(0); // 97 x 26
    QImage src = canvas(400, 50);
    QPainter(&src).fillRect(200, 0, 2, 50, Qt::black); // the middle of the source
    Perspektivisch_Skalieren = true;
    Logo_laden::Bild_in_Logo_laden(write("b.bmp", src), Startbildschirm->Ladeziel());
    const QImage l = logo();
    // Width 208 from x = -56 (x0 = -55.5, halves to even): source column 200 lands on 48.
    int first = -1;
    for (int x = 0; x < 97; ++x)
        if (black(l, x, 13)) { first = x; break; }
    EXPECT_EQ(first, -56 + 104);
}

TEST_F(LoadingTest, StretchSqueezesTheWholePicture) {
    chooseType(0);
    QImage src = canvas(400, 50);
    QPainter(&src).fillRect(0, 0, 200, 50, Qt::black);
    Perspektivisch_Skalieren = false;
    Logo_laden::Bild_in_Logo_laden(write("c.bmp", src), Startbildschirm->Ladeziel());
    const QImage l = logo();
    EXPECT_TRUE(black(l, 0, 0));
    EXPECT_TRUE(black(l, 47, 25));
    EXPECT_FALSE(black(l, 49, 0));
    EXPECT_FALSE(black(l, 96, 25));
}

TEST_F(LoadingTest, LoadWritesOneBitWorkFileAndShowsCentredEditor) {
    chooseType(2); // 101 x 43
    QImage src = canvas(101, 43);
    QPainter(&src).fillRect(10, 10, 30, 20, Qt::black);
    Startbildschirm->Laden_Click_Sub(write("d.png", src, "PNG"), false, true);
    QFile dither(file("dither.bmp"));
    ASSERT_TRUE(dither.open(QIODevice::ReadOnly));
    const QByteArray d = dither.readAll();
    EXPECT_EQ(d.size(), 62 + 16 * 43); // 1 bit per pixel, rows of 16 bytes
    EXPECT_EQ(quint8(d[28]), 1);
    EXPECT_TRUE(black(logo(), 10, 10));
    EXPECT_FALSE(black(logo(), 50, 35));
    EXPECT_TRUE(Startbildschirm->Layer_Kalvoren->Visible());
    vb::PictureBox* r = Startbildschirm->Logo_Raster_Grafik;
    EXPECT_EQ(r->hDC().size(), QSize(404, 172));
    EXPECT_DOUBLE_EQ(r->Left() + r->Width() / 2, Startbildschirm->Mitte_zentrierung_vert->Left());
    EXPECT_DOUBLE_EQ(r->Top() + r->Height() / 2, Startbildschirm->Mitte_zentrierung->Top());
    // The display picture has the logo's size.
    EXPECT_EQ(Startbildschirm->Gruen_Transferlogo_LogoBrowser[1]->hDC().size(), QSize(101, 43));
}

TEST_F(LoadingTest, DontShowKalvorenLeavesTheGalleryInFront) {
    chooseType(7);
    Startbildschirm->Laden_Click_Sub(write("e.bmp", canvas(72, 14)), true, true);
    EXPECT_FALSE(Startbildschirm->Layer_Kalvoren->Visible());
    EXPECT_TRUE(QFile::exists(file("dither.bmp")));
}

TEST_F(LoadingTest, EveryListedKindOfPictureLoads) {
    chooseType(7);
    QImage src = canvas(72, 14);
    QPainter(&src).fillRect(0, 0, 36, 14, Qt::black);
    struct Case {
        const char* name;
        QImage img;
        const char* fmt;
    };
    const Case cases[] = {
        {"p24.bmp", src, "BMP"},
        {"p1.bmp", src.convertToFormat(QImage::Format_Mono), "BMP"},
        {"p8.bmp", src.convertToFormat(QImage::Format_Indexed8), "BMP"},
        {"p.jpg", src, "JPG"},
        {"p.ico", src.convertToFormat(QImage::Format_ARGB32), "ICO"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Startbildschirm->Logo_Weiss_Grafik->Cls();
        Logo_laden::Bild_in_Logo_laden(write(QString::fromLatin1(c.name), c.img, c.fmt), Startbildschirm->Ladeziel());
        EXPECT_TRUE(shownInfos.empty());
        EXPECT_TRUE(black(logo(), 5, 7));
        EXPECT_FALSE(black(logo(), 60, 7));
    }
    // Qt reads GIF but does not write it: ImageMagick makes the file.
    if (QProcess::execute(QStringLiteral("convert-im6.q16"), {file("p24.bmp"), file("p.gif")}) == 0) {
        Startbildschirm->Logo_Weiss_Grafik->Cls();
        Logo_laden::Bild_in_Logo_laden(file("p.gif"), Startbildschirm->Ladeziel());
        EXPECT_TRUE(shownInfos.empty());
        EXPECT_TRUE(black(logo(), 5, 7));
    } else {
        ADD_FAILURE() << "convert-im6.q16 is missing";
    }
    QFile rle(file("rle.bmp"));
    ASSERT_TRUE(rle.open(QIODevice::WriteOnly));
    rle.write(rle8Bmp(72, 14));
    rle.close();
    Logo_laden::Bild_in_Logo_laden(file("rle.bmp"), Startbildschirm->Ladeziel());
    EXPECT_TRUE(shownInfos.empty());
    EXPECT_TRUE(black(logo(), 5, 7));
    EXPECT_FALSE(black(logo(), 60, 7));
}

TEST_F(LoadingTest, BadFilesShowMessage429AndChangeNothing) {
    chooseType(7);
    QImage src = canvas(72, 14);
    QPainter(&src).fillRect(0, 0, 72, 7, Qt::black);
    Startbildschirm->Laden_Click_Sub(write("gut.bmp", src), false, true);
    const QImage before = logo().copy();
    QFile::remove(file("dither.bmp"));

    QByteArray good;
    {
        QBuffer b(&good);
        b.open(QIODevice::WriteOnly);
        src.save(&b, "BMP");
    }
    QByteArray huge = good;
    huge[18] = char(0xFF); huge[19] = char(0xFF); huge[20] = char(0x00); huge[21] = char(0x00); // 65535 wide
    huge[22] = char(0xFF); huge[23] = char(0xFF); huge[24] = char(0x00); huge[25] = char(0x00); // and high
    const std::pair<const char*, QByteArray> files[] = {
        {"text.bmp", "Dies ist kein Bild.\n"},
        {"leer.bmp", ""},
        {"kurz.bmp", good.left(40)},
        {"riesig.bmp", huge},
    };
    for (const auto& [name, bytes] : files) {
        SCOPED_TRACE(name);
        shownInfos.clear();
        QFile f(file(QString::fromLatin1(name)));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        f.close();
        Startbildschirm->Laden_Click_Sub(file(QString::fromLatin1(name)), false, true);
        ASSERT_EQ(shownInfos.size(), 1u);
        EXPECT_EQ(shownInfos[0], LoadResString(429));
        EXPECT_EQ(logo(), before);
        EXPECT_FALSE(QFile::exists(file("dither.bmp")));
    }
}

TEST_F(LoadingTest, LadenLoadsTheSameFileOnlyOnce) {
    chooseType(7);
    const QString p = write("f.bmp", canvas(72, 14));
    int asked = 0;
    // The picker: the file tab on the program folder, its only picture accepted.
    auto waehlen = [&](vb::Form&) {
        ++asked;
        Logo_Foto_Laden->Dir1->setPath(dir());
        Logo_Foto_Laden->Uebernehmen_Click();
    };
    answer(waehlen);
    Startbildschirm->Laden_Click();
    ASSERT_TRUE(QFile::exists(file("dither.bmp")));
    QFile::remove(file("dither.bmp"));
    answer(waehlen);
    Startbildschirm->Laden_Click();
    EXPECT_EQ(asked, 2);
    EXPECT_FALSE(QFile::exists(file("dither.bmp")));
    EXPECT_EQ(Bilddatei_Pfad, p);
}

TEST_F(LoadingTest, CancelledPromptChangesNothing) {
    chooseType(7);
    Bilddatei_Pfad = QStringLiteral("vorher.bmp");
    Startbildschirm->Laden_Click_Sub(QString(), false, true);
    EXPECT_EQ(Bilddatei_Pfad, QStringLiteral("vorher.bmp"));
    EXPECT_FALSE(QFile::exists(file("dither.bmp")));
    EXPECT_TRUE(shownInfos.empty());
}

TEST_F(LoadingTest, AWorkFileThatCannotBeWrittenKeepsTheLogoAndTellsTheUser) {
    chooseType(7);
    QImage erstes = canvas(72, 14);
    QPainter(&erstes).fillRect(3, 3, 10, 5, Qt::black);
    Startbildschirm->Laden_Click_Sub(write("erstes.bmp", erstes), false, true);
    ASSERT_EQ(logo(), erstes);
    const QImage raster = Startbildschirm->Logo_Raster_Grafik->hDC().copy();
    // A folder where the work file should go.
    ASSERT_TRUE(QFile::remove(file("dither.bmp")));
    ASSERT_TRUE(QDir().mkdir(file("dither.bmp")));
    QImage grau = canvas(72, 14);
    grau.fill(QColor(128, 128, 128));
    Startbildschirm->Laden_Click_Sub(write("grau.bmp", grau), false, true);
    EXPECT_EQ(logo(), erstes);
    EXPECT_EQ(Startbildschirm->Logo_Raster_Grafik->hDC(), raster);
    EXPECT_EQ(shownInfos, std::vector<QString>{workFileNotWritten(QStringLiteral("dither.bmp"), false)});
}
