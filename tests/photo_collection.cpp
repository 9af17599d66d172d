// The shipped photo collection beside the built program: real photographs in every kind the
// collection lists, each one readable by the program's loaders, with its licence beside it.
#include "logo/Fotovorschau.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Form.h"
#include "platform/picture/Picture.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSet>
#include <gtest/gtest.h>
#include <cmath>

namespace {
QString sammlung() { return QCoreApplication::applicationDirPath() + QStringLiteral("/fotos"); }

// Mean difference per channel of two pictures of one size.
double abstand(const QImage& a, const QImage& b) {
    double s = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            s += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return s / (3.0 * a.width() * a.height());
}
} // namespace

TEST(Fotosammlung, EveryKindOfTheCollectionIsShippedAndReadable) {
    const QStringList dateien = QDir(sammlung()).entryList(
        {"*.jpg", "*.bmp", "*.wmf", "*.ico", "V_*.bin"}, QDir::Files, QDir::Name);
    ASSERT_GE(dateien.size(), 24);
    QMap<QString, int> arten;
    for (const QString& d : dateien) {
        ++arten[d.section('.', -1)];
        const vb::Picture p = Fotovorschau::Fotosammlung_Bild(sammlung() + '/' + d, Fotovorschau::Modus_Original);
        ASSERT_FALSE(p.IsEmpty()) << d.toStdString();
        const int lang = std::max(p.Width(), p.Height());
        EXPECT_TRUE(d.endsWith(".ico") ? lang == 256 : lang >= 800 && lang <= 1024) << d.toStdString() << " " << lang;
    }
    EXPECT_GE(arten["jpg"], 12);
    EXPECT_GE(arten["bmp"], 2);
    EXPECT_GE(arten["ico"], 1);
    EXPECT_GE(arten["wmf"], 1);
    EXPECT_GE(arten["bin"], 2);
}

TEST(Fotosammlung, MetafilesAndIconsHoldThePhotoItself) {
    const QImage jpeg = vb::LoadPicture(sammlung() + "/Jalousie.jpg").Image();
    const QImage wmf = vb::LoadPicture(sammlung() + "/Jalousie.wmf").Image();
    ASSERT_FALSE(wmf.isNull());
    EXPECT_LT(abstand(jpeg.scaled(wmf.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), wmf), 6.0);
    const QImage ico = vb::LoadPicture(sammlung() + "/Garten.ico").Image().convertToFormat(QImage::Format_RGB32);
    const QImage garten = vb::LoadPicture(sammlung() + "/Garten.jpg").Image();
    EXPECT_LT(abstand(garten.scaled(ico.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation), ico), 6.0);
}

TEST(Fotosammlung, TheLicenceNamesTheSourceOfEveryFile) {
    QFile f(sammlung() + "/LIZENZ.txt");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    EXPECT_TRUE(text.contains("GNU GENERAL PUBLIC LICENSE"));
    QSet<QString> quellen;
    for (const QString& d : QDir(sammlung()).entryList({"*.jpg", "*.bmp", "*.wmf", "*.ico", "V_*.bin"}, QDir::Files)) {
        const int i = text.indexOf(d + ": ");
        ASSERT_GE(i, 0) << d.toStdString();
        quellen.insert(text.mid(i + d.size() + 2).section('\n', 0, 0));
    }
    EXPECT_GE(quellen.size(), 12);
}
