// Picture loading on bad input: kinds told by content, bounded decoding, a window that keeps
// answering while a picture loads.
#include "platform/picture/Picture.h"
#include "platform/picture/PictureJpegDc.h"
#include "support/Files.h"
#include "platform/system/VBError.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

using namespace vb;

namespace {
QImage bunt(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 7) & 255, (y * 3) & 255, ((x ^ y) * 5) & 255));
    return img;
}
QByteArray kodiert(const QImage& img, const char* format, bool progressiv = false) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, format);
    if (progressiv) w.setProgressiveScanWrite(true);
    EXPECT_TRUE(w.write(img));
    return b.data();
}
// A progressive JPEG whose last scan is repeated n times more: valid enough for decoders, which
// then pass over the whole picture once per scan.
QByteArray wiederholteScans(const QByteArray& jpeg, int n) {
    const qsizetype sos = jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2));
    const qsizetype eoi = jpeg.lastIndexOf(QByteArray("\xFF\xD9", 2));
    const QByteArray scan = jpeg.mid(sos, eoi - sos);
    QByteArray out = jpeg.left(eoi);
    for (int i = 0; i < n; ++i) out += scan;
    return out + jpeg.mid(eoi);
}
// A PNG with one more chunk after its header; len, when given, is the length the chunk claims.
QByteArray mitChunk(const QByteArray& png, const char* typ, const QByteArray& inhalt, quint32 len = 0) {
    const quint32 l = len ? len : quint32(inhalt.size());
    QByteArray chunk;
    for (int s = 24; s >= 0; s -= 8) chunk += char((l >> s) & 255);
    chunk += QByteArray(typ, 4) + inhalt + QByteArray(4, '\0');
    return png.left(33) + chunk + png.mid(33);
}
bool laedt(const QString& p) {
    try {
        return !LoadPicture(p).IsEmpty();
    } catch (const VBError& e) {
        EXPECT_EQ(e.Number(), 481);
        return false;
    }
}
} // namespace

TEST(Picture, KindsAreToldByContentAndOnlyTheListedOnesLoad) {
    QTemporaryDir dir;
    const QImage img = bunt(40, 30);
    const QByteArray svg = "<svg xmlns='http://www.w3.org/2000/svg' width='4000' height='4000'><rect width='10' height='10'/></svg>";
    struct Fall {
        const char* name;
        QByteArray inhalt;
        bool laedt;
    };
    const Fall faelle[] = {
        {"bmp-als.jpg", kodiert(img, "bmp"), true},
        {"jpeg-als.bmp", kodiert(img, "jpeg"), true},
        {"ico-als.jpg", kodiert(img.scaled(32, 32), "ico"), true},
        {"svg-als.jpg", svg, false},
        {"png-als.bmp", kodiert(img, "png"), true},
        {"png-text.bmp", mitChunk(kodiert(img, "png"), "tEXt", QByteArray("Comment\0fein", 12)), true},
        {"png-text-2gb.png", mitChunk(kodiert(img, "png"), "tEXt", QByteArray("Comment\0", 8), 0x7FFFFFF0u), false},
        {"png-ohne-ende.png", kodiert(img, "png").chopped(12), false},
        {"tiff-als.bmp", QByteArray("II*\0\x08\0\0\0\0\0", 10), false},
        {"webp-als.jpg", QByteArray("RIFF\x1a\0\0\0WEBPVP8L\x0d\0\0\0\x2f\0\0\0\x10\x07\x10\x11\x11\x88\x88\xfe\x07\0", 34), false},
        {"svgz-als.jpg", QByteArray("\x1f\x8b\x08\0\0\0\0\0\0\x03", 10) + svg, false},
        {"xpm-als.bmp", kodiert(img.scaled(8, 8), "xpm"), false},
        {"ppm-als.jpg", kodiert(img, "ppm"), false},
        {"text.bmp", "Dies ist kein Bild.", false},
        {"leer.jpg", QByteArray(), false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ASSERT_FALSE(f.inhalt.isNull() && f.laedt);
        WriteFile(dir.filePath(QLatin1String(f.name)), f.inhalt);
        EXPECT_EQ(laedt(dir.filePath(QLatin1String(f.name))), f.laedt);
    }
}

TEST(Picture, AJpegWithHundredsOfScansIsRefusedQuickly) {
    QTemporaryDir dir;
    const QByteArray normal = kodiert(bunt(1200, 900), "jpeg", true);
    WriteFile(dir.filePath(QStringLiteral("normal.jpg")), normal);
    EXPECT_TRUE(laedt(dir.filePath(QStringLiteral("normal.jpg"))));
    WriteFile(dir.filePath(QStringLiteral("scans.jpg")), wiederholteScans(normal, 400));
    EXPECT_FALSE(laedt(dir.filePath(QStringLiteral("scans.jpg"))));
}

TEST(Picture, TheWindowKeepsAnsweringWhileAPictureLoads) {
    QTemporaryDir dir;
    const QString p = dir.filePath(QStringLiteral("gross.jpg"));
    WriteFile(p, wiederholteScans(kodiert(bunt(2400, 1600), "jpeg", true), 40));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(1);
    const Picture bild = LoadPicture(p);
    EXPECT_EQ(bild.Width(), 2400);
    EXPECT_GT(ticks, 0);
}

TEST(Picture, ThumbnailsAreDecodedAtSlotSize) {
    QTemporaryDir dir;
    const QString gross = dir.filePath(QStringLiteral("gross.jpg")), klein = dir.filePath(QStringLiteral("klein.bmp"));
    WriteFile(gross, kodiert(bunt(3000, 2000), "jpeg"));
    WriteFile(klein, kodiert(bunt(72, 14), "bmp"));
    const Picture g = LoadThumbnail(gross, QSize(101, 60));
    EXPECT_LE(g.Width(), 202);
    EXPECT_LE(g.Height(), 120);
    EXPECT_NEAR(double(g.Width()) / g.Height(), 1.5, 0.05);
    // A picture that fits is kept whole, pixel for pixel.
    EXPECT_EQ(LoadThumbnail(klein, QSize(101, 60)).Image(), LoadPicture(klein).Image());
}

namespace {
// The same BMP with its rows stored top-down, as a negative height says.
QByteArray vonObenNachUnten(const QByteArray& bmp) {
    auto le = [&](int i) { return qint32(quint8(bmp[i]) | (quint8(bmp[i + 1]) << 8) | (quint8(bmp[i + 2]) << 16) | (quint8(bmp[i + 3]) << 24)); };
    const int ab = le(10), w = le(18), h = le(22), bits = quint8(bmp[28]);
    const int zeile = (w * bits + 31) / 32 * 4;
    QByteArray out = bmp.left(ab);
    for (int y = h - 1; y >= 0; --y) out += bmp.mid(ab + qsizetype(y) * zeile, zeile);
    const qint32 neg = -h;
    for (int k = 0; k < 4; ++k) out[22 + k] = char((neg >> (8 * k)) & 255);
    return out;
}
} // namespace

// A top-down BMP loads with its rows in their place, at every depth, as a picture and as a
// thumbnail, large ones reduced as their bottom-up twins are.
TEST(Picture, TopDownBmpsLoadLikeTheirBottomUpTwins) {
    QTemporaryDir dir;
    const QImage bild = bunt(600, 400);
    const std::pair<const char*, QImage> faelle[] = {
        {"24", bild},
        {"8", bild.convertToFormat(QImage::Format_Indexed8)},
        {"1", bild.convertToFormat(QImage::Format_Mono)},
    };
    for (const auto& [tiefe, img] : faelle) {
        SCOPED_TRACE(tiefe);
        const QByteArray unten = kodiert(img, "bmp");
        const QString u = dir.filePath(QStringLiteral("unten.bmp")), o = dir.filePath(QStringLiteral("oben.bmp"));
        WriteFile(u, unten);
        WriteFile(o, vonObenNachUnten(unten));
        const QImage erwartet = img.convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(LoadPicture(o).Image().convertToFormat(QImage::Format_RGB32), erwartet);
        EXPECT_EQ(LoadThumbnail(o, QSize(101, 60)).Image(), LoadThumbnail(u, QSize(101, 60)).Image());
    }
}

// A 48-megapixel phone photo (8000 x 6000) loads whole, and reduced while it is decoded for a
// thumbnail or the photo editor.
TEST(Picture, PhotosUpToTheProgramsBoundLoad) {
    QTemporaryDir dir;
    QImage img(8000, 6000, QImage::Format_RGB32);
    img.fill(qRgb(30, 120, 200));
    const QString p = dir.filePath(QStringLiteral("telefon.jpg"));
    WriteFile(p, kodiert(img, "jpeg"));
    const Picture ganz = LoadPicture(p);
    EXPECT_EQ(ganz.Image().size(), QSize(8000, 6000));
    EXPECT_EQ(LoadThumbnail(p, QSize(101, 60)).Image().size(), QSize(101, 75));
    EXPECT_EQ(LoadThumbnail(p, QSize(2048, 2048), Qt::KeepAspectRatio).Image().size(), QSize(2048, 1536));
}

// A thumbnail of a progressive JPEG reduced by eight or more is made from the DC scans alone:
// the picture the whole file gives at an eighth (the same for grey; a colour photo's halved
// colour is interpolated between blocks where the whole file takes more of its coefficients).
TEST(Picture, ProgressiveThumbnailsAreTheWholeFilesEighth) {
    QTemporaryDir dir;
    const QString p = dir.filePath(QStringLiteral("foto.jpg"));
    // A photo's smooth areas and edges: a gradient under a few discs.
    QImage bild(1600, 1200, QImage::Format_RGB32);
    {
        QPainter maler(&bild);
        QLinearGradient verlauf(0, 0, 1600, 1200);
        verlauf.setColorAt(0, QColor(40, 90, 160));
        verlauf.setColorAt(1, QColor(250, 220, 40));
        maler.fillRect(bild.rect(), verlauf);
        maler.setPen(Qt::NoPen);
        for (int i = 0; i < 6; ++i) {
            maler.setBrush(QColor(200 - 30 * i, 40 * i, 90));
            maler.drawEllipse(100 + 230 * i, 200 + 90 * (i % 3), 300, 500);
        }
    }
    struct Fall {
        const char* was;
        QByteArray jpeg;
    };
    const QByteArray gross = kodiert(bild, "jpeg", true);
    const Fall faelle[] = {{"4:2:0", gross}, {"grey", kodiert(bild.convertToFormat(QImage::Format_Grayscale8), "jpeg", true)}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        QBuffer b;
        b.setData(f.jpeg);
        b.open(QIODevice::ReadOnly);
        QImageReader r(&b, "jpeg");
        r.setScaledSize(QSize(200, 150));
        const QImage achtel = r.read().convertToFormat(QImage::Format_RGB32);
        const QImage dc = JpegDcPicture(f.jpeg);
        ASSERT_EQ(dc.size(), QSize(200, 150));
        int groesste = 0;
        qint64 summe = 0;
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x) {
                const QRgb a = dc.pixel(x, y), c = achtel.pixel(x, y);
                const int d = std::max({std::abs(qRed(a) - qRed(c)), std::abs(qGreen(a) - qGreen(c)), std::abs(qBlue(a) - qBlue(c))});
                groesste = std::max(groesste, d);
                summe += d;
            }
        // The colour differs only along the discs' edges.
        EXPECT_LE(groesste, 64);
        EXPECT_LE(double(summe) / 30000, 2.5);
        WriteFile(p, f.jpeg);
        const QImage daumen = LoadThumbnail(p, QSize(101, 60)).Image();
        EXPECT_EQ(daumen, dc.scaled(daumen.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
}
