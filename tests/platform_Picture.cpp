// Picture loading on bad input: kinds told by content, bounded decoding, a window that keeps
// answering while a picture loads.
#include "platform/Picture.h"
#include "platform/VBError.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
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
void schreiben(const QString& p, const QByteArray& d) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(d);
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
        {"png-als.bmp", kodiert(img, "png"), false},
        {"xpm-als.bmp", kodiert(img.scaled(8, 8), "xpm"), false},
        {"ppm-als.jpg", kodiert(img, "ppm"), false},
        {"text.bmp", "Dies ist kein Bild.", false},
        {"leer.jpg", QByteArray(), false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ASSERT_FALSE(f.inhalt.isNull() && f.laedt);
        schreiben(dir.filePath(QLatin1String(f.name)), f.inhalt);
        EXPECT_EQ(laedt(dir.filePath(QLatin1String(f.name))), f.laedt);
    }
}

TEST(Picture, AJpegWithHundredsOfScansIsRefusedQuickly) {
    QTemporaryDir dir;
    const QByteArray normal = kodiert(bunt(1200, 900), "jpeg", true);
    schreiben(dir.filePath(QStringLiteral("normal.jpg")), normal);
    EXPECT_TRUE(laedt(dir.filePath(QStringLiteral("normal.jpg"))));
    schreiben(dir.filePath(QStringLiteral("scans.jpg")), wiederholteScans(normal, 400));
    EXPECT_FALSE(laedt(dir.filePath(QStringLiteral("scans.jpg"))));
}

TEST(Picture, TheWindowKeepsAnsweringWhileAPictureLoads) {
    QTemporaryDir dir;
    const QString p = dir.filePath(QStringLiteral("gross.jpg"));
    schreiben(p, wiederholteScans(kodiert(bunt(2400, 1600), "jpeg", true), 40));
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
    schreiben(gross, kodiert(bunt(3000, 2000), "jpeg"));
    schreiben(klein, kodiert(bunt(72, 14), "bmp"));
    const Picture g = LoadThumbnail(gross, QSize(101, 60));
    EXPECT_LE(g.Width(), 202);
    EXPECT_LE(g.Height(), 120);
    EXPECT_NEAR(double(g.Width()) / g.Height(), 1.5, 0.05);
    // A picture that fits is kept whole, pixel for pixel.
    EXPECT_EQ(LoadThumbnail(klein, QSize(101, 60)).Image(), LoadPicture(klein).Image());
}
