// Writes the shipped photo collection "fotos" from freely licensed nature photographs (the
// Debian package mate-backgrounds): each photo reduced to about 1024 pixels on its long side,
// in every kind the collection lists, so that every loader path is used by shipped files:
// JPEG (whole photos and details), BMP, ICO and WMF (the photo as an embedded bitmap) and the
// program's own raw "V_*.bin" files. The licence text goes beside them.
//
//   fotogen <source folder> <copyright file> <licence file> <output folder>
#include "logo/Fotovorschau.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSaveFile>
#include <QTextStream>
#include <cstdio>

namespace {

// Source file, name in the collection.
struct Foto {
    const char* quelle;
    const char* name;
};
constexpr Foto kFotos[] = {
    {"Aqua.jpg", "Aqua"},
    {"Blinds.jpg", "Jalousie"},
    {"Dune.jpg", "Duene"},
    {"FreshFlower.jpg", "Bluete"},
    {"Garden.jpg", "Garten"},
    {"GreenMeadow.jpg", "Wiese"},
    {"LadyBird.jpg", "Marienkaefer"},
    {"RainDrops.jpg", "Regentropfen"},
    {"Storm.jpg", "Sturm"},
    {"TwoWings.jpg", "Fluegel"},
    {"Wood.jpg", "Holz"},
    {"YellowFlower.jpg", "Gelbe_Bluete"},
};

enum class Art { JpegDetail, Bmp, Ico, Wmf, Bin };
// Further files besides the twelve whole photos as JPEG: index into kFotos and the kind.
struct Weitere {
    int foto;
    Art art;
};
constexpr Weitere kWeitere[] = {
    {0, Art::JpegDetail}, {3, Art::JpegDetail}, {6, Art::JpegDetail}, {11, Art::JpegDetail},
    {2, Art::Bmp},        {8, Art::Bmp},        {10, Art::Bmp},
    {4, Art::Ico},        {9, Art::Ico},
    {1, Art::Wmf},        {5, Art::Wmf},
    {7, Art::Bin},        {3, Art::Bin},        {11, Art::Bin},
};

constexpr int kLangeSeite = 1024;
// The uncompressed kinds are kept smaller so that the program folder stays small.
constexpr int kLangeSeiteRoh = 800;
// An icon holds at most 256 pixels on a side.
constexpr int kIconSeite = 256;

QImage verkleinert(const QImage& src, int seite) {
    if (std::max(src.width(), src.height()) <= seite) return src;
    return src.width() >= src.height() ? src.scaledToWidth(seite, Qt::SmoothTransformation) : src.scaledToHeight(seite, Qt::SmoothTransformation);
}

// The middle of the photo: half its width and height.
QImage detail(const QImage& src) { return src.copy(src.width() / 4, src.height() / 4, src.width() / 2, src.height() / 2); }

void put16(QByteArray& b, int v) {
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}
void put32(QByteArray& b, quint32 v) {
    put16(b, int(v & 0xFFFF));
    put16(b, int(v >> 16));
}

// A 24-bit bottom-up DIB: info header and rows. With iconHeight the header states twice the
// height, as an icon's image does (the AND mask follows the colour rows).
QByteArray dib(const QImage& img, bool icon = false) {
    const QImage src = img.convertToFormat(QImage::Format_RGB32);
    const int w = src.width(), h = src.height();
    const int bits = icon ? 32 : 24;
    const int stride = ((w * bits / 8) + 3) & ~3;
    QByteArray out;
    put32(out, 40);
    put32(out, quint32(w));
    put32(out, quint32(icon ? 2 * h : h));
    put16(out, 1);
    put16(out, bits);
    put32(out, 0);
    put32(out, quint32(stride * h));
    put32(out, 3780);
    put32(out, 3780);
    put32(out, 0);
    put32(out, 0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        QByteArray row;
        for (int x = 0; x < w; ++x) {
            row.append(char(qBlue(line[x])));
            row.append(char(qGreen(line[x])));
            row.append(char(qRed(line[x])));
            if (icon) row.append(char(0xFF));
        }
        row.append(QByteArray(stride - row.size(), '\0'));
        out += row;
    }
    if (icon) {
        const int maskStride = ((w + 31) / 32) * 4;
        out += QByteArray(maskStride * h, '\0'); // every pixel opaque
    }
    return out;
}

QByteArray ico(const QImage& img) {
    const QByteArray bild = dib(img, true);
    QByteArray out;
    put16(out, 0);
    put16(out, 1); // icon
    put16(out, 1); // one image
    out.append(char(img.width() >= 256 ? 0 : img.width()));
    out.append(char(img.height() >= 256 ? 0 : img.height()));
    out.append(char(0));
    out.append(char(0));
    put16(out, 1);
    put16(out, 32);
    put32(out, quint32(bild.size()));
    put32(out, 6 + 16);
    return out + bild;
}

// A placeable metafile of the photo's size at 96 units per inch: the window, then the photo
// stretched over it as a device-independent bitmap.
QByteArray wmf(const QImage& img) {
    const int w = img.width(), h = img.height();
    QByteArray records;
    auto record = [&](int function, const QByteArray& params) {
        put32(records, quint32(3 + params.size() / 2));
        put16(records, function);
        records += params;
    };
    QByteArray p;
    put16(p, 0);
    put16(p, 0);
    record(0x020B, p); // SetWindowOrg
    p.clear();
    put16(p, h);
    put16(p, w);
    record(0x020C, p); // SetWindowExt
    p.clear();
    put32(p, 0x00CC0020); // SRCCOPY
    put16(p, 0);          // DIB_RGB_COLORS
    put16(p, h);
    put16(p, w);
    put16(p, 0);
    put16(p, 0);
    put16(p, h);
    put16(p, w);
    put16(p, 0);
    put16(p, 0);
    QByteArray bild = dib(img);
    if (bild.size() % 2) bild.append('\0');
    record(0x0F43, p + bild); // StretchDIB
    records += QByteArray::fromHex("030000000000"); // EOF

    QByteArray out;
    put32(out, 0x9AC6CDD7u);
    for (int v : {0, 0, 0, w, h, 96, 0, 0}) put16(out, v);
    int sum = 0;
    for (int i = 0; i < 20; i += 2) sum ^= (uchar(out[i]) | (uchar(out[i + 1]) << 8));
    put16(out, sum);
    put16(out, 1);
    put16(out, 9);
    put16(out, 0x0300);
    put32(out, quint32((18 + records.size()) / 2));
    put16(out, 1);
    int groesster = 0;
    for (int i = 0; i < records.size() - 6;) {
        const auto* u = reinterpret_cast<const uchar*>(records.constData() + i);
        const int n = int(u[0] | (u[1] << 8) | (u[2] << 16) | (u[3] << 24));
        groesster = std::max(groesster, n);
        i += 2 * n;
    }
    put32(out, quint32(groesster));
    put16(out, 0);
    return out + records;
}

bool schreiben(const QString& pfad, const QByteArray& daten) {
    QSaveFile f(pfad);
    return f.open(QIODevice::WriteOnly) && f.write(daten) == daten.size() && f.commit();
}

bool bildSchreiben(const QString& pfad, const QImage& img, const char* format, int qualitaet = -1) {
    QSaveFile f(pfad);
    return f.open(QIODevice::WriteOnly) && img.save(&f, format, qualitaet) && f.commit();
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: fotogen <source folder> <copyright file> <licence file> <output folder>\n");
        return 2;
    }
    const QDir quelle(QString::fromLocal8Bit(argv[1]));
    const QString ziel = QString::fromLocal8Bit(argv[4]);
    QDir().mkpath(ziel);
    const QDir aus(ziel);
    int fehler = 0;
    QStringList verzeichnis;
    std::vector<QImage> fotos;
    for (const Foto& f : kFotos) {
        QImage img(quelle.filePath(QString::fromLatin1(f.quelle)));
        if (img.isNull()) {
            std::fprintf(stderr, "fotogen: cannot read %s\n", f.quelle);
            ++fehler;
            fotos.emplace_back();
            continue;
        }
        img = img.convertToFormat(QImage::Format_RGB32);
        fotos.push_back(img);
        const QString name = QString::fromLatin1(f.name) + QStringLiteral(".jpg");
        if (!bildSchreiben(aus.filePath(name), verkleinert(img, kLangeSeite), "JPEG", 85)) ++fehler;
        verzeichnis << name + QStringLiteral(": ") + QString::fromLatin1(f.quelle);
    }
    for (const Weitere& w : kWeitere) {
        const QImage& img = fotos[size_t(w.foto)];
        if (img.isNull()) continue;
        const QString basis = QString::fromLatin1(kFotos[w.foto].name);
        QString name;
        bool ok = false;
        switch (w.art) {
        case Art::JpegDetail:
            name = basis + QStringLiteral("_Detail.jpg");
            ok = bildSchreiben(aus.filePath(name), verkleinert(detail(img), kLangeSeite), "JPEG", 85);
            break;
        case Art::Bmp:
            name = basis + QStringLiteral("_Ausschnitt.bmp");
            ok = bildSchreiben(aus.filePath(name), verkleinert(detail(img), kLangeSeiteRoh), "BMP");
            break;
        case Art::Ico:
            name = basis + QStringLiteral(".ico");
            ok = schreiben(aus.filePath(name), ico(verkleinert(img, kIconSeite)));
            break;
        case Art::Wmf:
            name = basis + QStringLiteral(".wmf");
            ok = schreiben(aus.filePath(name), wmf(verkleinert(img, kLangeSeiteRoh)));
            break;
        case Art::Bin:
            name = QStringLiteral("V_") + basis + QStringLiteral("_Mitte.bin");
            ok = schreiben(aus.filePath(name), Fotovorschau::Sammlungsdatei(verkleinert(detail(img), kLangeSeiteRoh)));
            break;
        }
        if (!ok) ++fehler;
        verzeichnis << name + QStringLiteral(": ") + QString::fromLatin1(kFotos[w.foto].quelle);
    }

    // The licence: which file comes from which photograph, the package's copyright notice and
    // the full licence text.
    QByteArray text = "Die Fotos in diesem Ordner stammen aus dem Debian-Paket mate-backgrounds\n"
                      "(MATE Backgrounds, https://git.mate-desktop.org/mate-backgrounds/, Ordner nature/).\n"
                      "Sie wurden verkleinert, zum Teil beschnitten und in andere Dateiformate umgewandelt.\n"
                      "Sie stehen unter der GNU General Public License, Version 2 oder neuer (GPL-2+).\n\n"
                      "Datei: Originalfoto\n";
    for (const QString& z : verzeichnis) text += z.toUtf8() + '\n';
    for (const char* pfad : {argv[2], argv[3]}) {
        QFile f(QString::fromLocal8Bit(pfad));
        if (!f.open(QIODevice::ReadOnly)) {
            std::fprintf(stderr, "fotogen: cannot read %s\n", pfad);
            ++fehler;
            continue;
        }
        text += "\n----------------------------------------------------------------------\n\n" + f.readAll();
    }
    if (!schreiben(aus.filePath(QStringLiteral("LIZENZ.txt")), text)) ++fehler;
    return fehler ? 1 : 0;
}
