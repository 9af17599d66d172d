// Draws the logos shipped with the program: for every logo type a folder named after its type
// code with black-on-white 1-bit BMP files of exactly the type's size, written by the program's
// own BMP writer. The build runs it; it takes the output folder and a bold sans font file.
//
//   logogen <output folder> [font file]
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/cPalette.h"
#include "logo/Logotypen.h"

#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The logo types of the program: folder name and size in pixels.
using Logotypen::Typ;
using Logotypen::kTypen;

enum class Symbol { Herz, Stern, Smiley, Sonne, Mond, Note, Handy, Auto, Katze };

// One part of a logo: a word or a symbol.
struct Teil {
    QString text; // empty for a symbol
    Symbol symbol = Symbol::Herz;
};
Teil T(const char* s) { return {QString::fromUtf8(s)}; }
Teil S(Symbol s) { return {QString(), s}; }

// A logo: rows of parts, stacked on the taller logos; on the flat ones all rows make one line.
struct Logo {
    const char* datei;
    std::vector<std::vector<Teil>> zeilen;
    bool rahmen = false; // a name tag: a line around the whole logo
};

std::vector<Logo> logos() {
    using enum Symbol;
    return {
        {"Hallo", {{T("Hallo")}}},
        {"Liebe", {{S(Herz), T("Liebe")}}},
        {"Mama", {{S(Herz), T("Mama"), S(Herz)}}},
        {"Papa", {{T("Papa")}}},
        {"Büro", {{T("Büro")}}},
        {"Party", {{S(Stern), T("Party"), S(Stern)}}},
        {"Urlaub", {{S(Sonne)}, {T("Urlaub")}}},
        {"Fußball", {{T("Fußball")}}},
        {"Muster", {{T("Muster")}}, true},
        {"Schatz", {{S(Herz)}, {T("Schatz")}}},
        {"Ferien", {{T("Ferien")}}},
        {"Sommer", {{S(Sonne), T("Sommer")}}},
        {"Freunde", {{T("Freunde")}}},
        {"Prost", {{T("Prost!")}}},
        {"Gute Nacht", {{S(Mond)}, {T("Gute Nacht")}}},
        {"Musik", {{S(Note), T("Musik")}}},
        {"Ruf mich an", {{S(Handy)}, {T("Ruf mich an")}}},
        {"Gute Fahrt", {{S(Auto)}, {T("Gute Fahrt")}}},
        {"Miau", {{S(Katze), T("Miau")}}},
        {"Super", {{S(Stern), T("Super")}}},
        {"Gute Laune", {{S(Smiley)}, {T("Gute Laune")}}},
        {"Ich liebe dich", {{T("Ich"), S(Herz), T("dich")}}},
        {"Handy", {{S(Handy), T("Handy")}}},
        {"D1", {{T("D1")}}},
        {"D2", {{T("D2")}}},
        {"E-Plus", {{T("E-Plus")}}},
        {"Interkom", {{T("Interkom")}}},
        {"Herz", {{S(Herz)}}},
        {"Stern", {{S(Stern)}}},
        {"Smiley", {{S(Smiley)}}},
        {"Sonne", {{S(Sonne)}}},
        {"Mond", {{S(Mond)}}},
        {"Note", {{S(Note)}}},
        {"Auto", {{S(Auto)}}},
        {"Katze", {{S(Katze)}}},
        {"Sterne", {{S(Stern), S(Stern), S(Stern)}}},
    };
}

// Width of a symbol per unit of height.
double seitenverhaeltnis(Symbol s) {
    switch (s) {
    case Symbol::Auto: return 1.9;
    case Symbol::Handy: return 0.55;
    case Symbol::Note: return 0.9;
    default: return 1.0;
    }
}

// Symbols are drawn in a box 100 units high and 100 * aspect units wide, filled black.
void symbolZeichnen(QPainter& p, Symbol s, int hoehe) {
    p.save();
    p.scale(hoehe / 100.0, hoehe / 100.0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    const double strich = std::max(100.0 / hoehe, 9.0); // at least one pixel
    switch (s) {
    case Symbol::Herz: {
        p.drawEllipse(QRectF(2, 6, 50, 50));
        p.drawEllipse(QRectF(48, 6, 50, 50));
        p.drawPolygon(QPolygonF({QPointF(4, 42), QPointF(96, 42), QPointF(50, 96)}));
        break;
    }
    case Symbol::Stern: {
        QPolygonF stern;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 21 : 50, a = -M_PI / 2 + i * M_PI / 5;
            stern << QPointF(50 + r * std::cos(a), 54 + r * std::sin(a));
        }
        p.drawPolygon(stern);
        break;
    }
    case Symbol::Smiley: {
        p.drawEllipse(QRectF(1, 1, 98, 98));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(27, 24, 15, 20));
        p.drawEllipse(QRectF(58, 24, 15, 20));
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(Qt::white, std::max(strich, 11.0), Qt::SolidLine, Qt::RoundCap));
        p.drawArc(QRectF(22, 28, 56, 48), 200 * 16, 140 * 16);
        break;
    }
    case Symbol::Sonne: {
        p.drawEllipse(QRectF(27, 27, 46, 46));
        p.setPen(QPen(Qt::black, std::max(strich, 10.0), Qt::SolidLine, Qt::FlatCap));
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(50 + 32 * std::cos(a), 50 + 32 * std::sin(a)), QPointF(50 + 49 * std::cos(a), 50 + 49 * std::sin(a)));
        }
        break;
    }
    case Symbol::Mond: {
        QPainterPath ganz, biss;
        ganz.addEllipse(QRectF(4, 4, 92, 92));
        biss.addEllipse(QRectF(34, -6, 82, 82));
        p.drawPath(ganz.subtracted(biss));
        break;
    }
    case Symbol::Note: {
        p.drawEllipse(QRectF(2, 70, 30, 24));
        p.drawEllipse(QRectF(56, 62, 30, 24));
        p.drawRect(QRectF(22, 14, std::max(strich, 9.0), 70));
        p.drawRect(QRectF(76, 6, std::max(strich, 9.0), 70));
        p.drawPolygon(QPolygonF({QPointF(22, 14), QPointF(85, 6), QPointF(85, 24), QPointF(22, 32)}));
        break;
    }
    case Symbol::Handy: {
        p.drawRect(QRectF(36, 0, 9, 20)); // antenna
        p.drawRoundedRect(QRectF(2, 16, 51, 84), 8, 8);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(10, 26, 35, 26)); // display
        if (hoehe >= 20)
            for (int r = 0; r < 3; ++r)
                for (int c = 0; c < 3; ++c) p.drawRect(QRectF(11 + c * 12, 60 + r * 12, 8, 7));
        break;
    }
    case Symbol::Auto: {
        p.drawRoundedRect(QRectF(2, 42, 186, 38), 10, 10);
        p.drawPolygon(QPolygonF({QPointF(38, 44), QPointF(62, 10), QPointF(128, 10), QPointF(156, 44)}));
        p.setBrush(Qt::white);
        if (hoehe >= 16) {
            p.drawPolygon(QPolygonF({QPointF(56, 40), QPointF(70, 20), QPointF(92, 20), QPointF(92, 40)}));
            p.drawPolygon(QPolygonF({QPointF(102, 40), QPointF(102, 20), QPointF(122, 20), QPointF(138, 40)}));
        }
        // Wheels: black discs in a white ring that stays a pixel wide on small logos.
        const double ring = std::max(6.0, 100.0 / hoehe);
        p.drawEllipse(QRectF(47 - 13 - ring, 81 - 13 - ring, 26 + 2 * ring, 26 + 2 * ring));
        p.drawEllipse(QRectF(145 - 13 - ring, 81 - 13 - ring, 26 + 2 * ring, 26 + 2 * ring));
        p.setBrush(Qt::black);
        p.drawEllipse(QRectF(34, 68, 26, 26));
        p.drawEllipse(QRectF(132, 68, 26, 26));
        break;
    }
    case Symbol::Katze: {
        p.drawEllipse(QRectF(6, 26, 88, 72));
        p.drawPolygon(QPolygonF({QPointF(8, 52), QPointF(12, 0), QPointF(46, 30)}));
        p.drawPolygon(QPolygonF({QPointF(92, 52), QPointF(88, 0), QPointF(54, 30)}));
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(25, 46, 16, 18));
        p.drawEllipse(QRectF(59, 46, 16, 18));
        p.drawPolygon(QPolygonF({QPointF(43, 70), QPointF(57, 70), QPointF(50, 79)}));
        break;
    }
    }
    p.restore();
}

// The black pixels of a drawing, cut to their bounding box.
QImage zuschneiden(const QImage& img) {
    int x0 = img.width(), y0 = img.height(), x1 = -1, y1 = -1;
    for (int y = 0; y < img.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        for (int x = 0; x < img.width(); ++x)
            if (qGray(line[x]) < 128) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    }
    if (x1 < 0) return {};
    return img.copy(x0, y0, x1 - x0 + 1, y1 - y0 + 1);
}

QImage leer(int w, int h) {
    QImage img(std::max(1, w), std::max(1, h), QImage::Format_RGB32);
    img.fill(Qt::white);
    return img;
}

class Zeichner {
public:
    explicit Zeichner(QString familie) : m_familie(std::move(familie)) {}

    QImage text(const QString& t, int px) const {
        QFont f(m_familie);
        f.setPixelSize(px);
        f.setBold(true);
        f.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));
        // The font's own hinting draws its bold stems one pixel thin from 12 to 16 pixels.
        f.setHintingPreference(px >= 12 && px <= 16 ? QFont::PreferNoHinting : QFont::PreferFullHinting);
        const QFontMetrics fm(f);
        QImage img = leer(fm.horizontalAdvance(t) + 2 * px, fm.height() + px);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setRenderHint(QPainter::TextAntialiasing, false);
        p.setFont(f);
        p.setPen(Qt::black);
        p.drawText(px, fm.ascent() + px / 2, t);
        p.end();
        return zuschneiden(img);
    }

    static QImage symbol(Symbol s, int hoehe) {
        QImage img = leer(int(std::ceil(hoehe * seitenverhaeltnis(s))) + 2, hoehe + 2);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.translate(1, 1);
        symbolZeichnen(p, s, hoehe);
        p.end();
        return zuschneiden(img);
    }

    // The parts of one row side by side, centred on each other: words at px, symbols at the
    // given height.
    QImage zeile(const std::vector<Teil>& teile, int px, int symbolHoehe) const {
        std::vector<QImage> bilder;
        for (const Teil& t : teile) {
            const QImage b = t.text.isEmpty() ? symbol(t.symbol, symbolHoehe) : text(t.text, px);
            if (!b.isNull()) bilder.push_back(b);
        }
        int w = 0, h = 0;
        for (const QImage& b : bilder) h = std::max(h, b.height());
        const int luecke = std::max(2, int(std::lround(h * 0.3)));
        for (const QImage& b : bilder) w += b.width() + (w ? luecke : 0);
        QImage out = leer(w, h);
        QPainter p(&out);
        int x = 0;
        for (const QImage& b : bilder) {
            p.drawImage(x, (h - b.height()) / 2, b);
            x += b.width() + luecke;
        }
        return out;
    }

    QImage logo(const Logo& l, const Typ& t) const {
        const bool hoch = t.hoehe >= 40;
        std::vector<std::vector<Teil>> zeilen = l.zeilen;
        if (!hoch && zeilen.size() > 1) {
            std::vector<Teil> eine;
            for (const auto& z : zeilen) eine.insert(eine.end(), z.begin(), z.end());
            zeilen = {eine};
        }
        // A little white all round, more on the larger logos.
        const int rand = std::max(1, int(std::lround(std::min(t.breite, t.hoehe) * 0.06))) + (l.rahmen ? 2 : 0);
        const int maxW = t.breite - 2 * rand, maxH = t.hoehe - 2 * rand;
        auto nurSymbole = [](const std::vector<Teil>& z) { return std::all_of(z.begin(), z.end(), [](const Teil& x) { return x.text.isEmpty(); }); };
        // Capitals are about 0.7 of the font's pixel size high: larger sizes cannot fit.
        for (int px = std::min(40, int(maxH / 0.7) + 1); px >= kKleinsteSchrift; --px) {
            const int luecke = std::max(1, px / 6);
            // Rows of words first; a row of symbols alone takes the height they leave.
            std::vector<QImage> reihen(zeilen.size());
            int textHoehe = 0, symbolReihen = 0;
            for (size_t i = 0; i < zeilen.size(); ++i) {
                if (nurSymbole(zeilen[i])) {
                    ++symbolReihen;
                    continue;
                }
                reihen[i] = zeile(zeilen[i], px, std::max(5, int(std::lround(px * 0.85))));
                textHoehe += reihen[i].height();
            }
            if (symbolReihen) {
                // As large as the room allows, but under words no larger than about two lines.
                const int frei = (maxH - textHoehe - luecke * int(zeilen.size() - 1)) / symbolReihen;
                const int groesste = zeilen.size() == 1 ? frei * 5 / 4 : int(px * 2.2);
                bool passt = true;
                for (size_t i = 0; i < zeilen.size() && passt; ++i) {
                    if (!nurSymbole(zeilen[i])) continue;
                    passt = false;
                    for (int s = groesste; s >= std::max(5, int(px * 0.8)) && !passt; --s) {
                        reihen[i] = zeile(zeilen[i], px, s);
                        passt = reihen[i].height() <= frei && reihen[i].width() <= maxW;
                    }
                }
                if (!passt) continue;
            }
            int w = 0, h = 0;
            for (const QImage& r : reihen) {
                w = std::max(w, r.width());
                h += r.height() + (h ? luecke : 0);
            }
            if (w > maxW || h > maxH) continue;
            QImage out = leer(t.breite, t.hoehe);
            QPainter p(&out);
            p.setRenderHint(QPainter::Antialiasing, false);
            int y = (t.hoehe - h) / 2;
            for (const QImage& r : reihen) {
                p.drawImage((t.breite - r.width()) / 2, y, r);
                y += r.height() + luecke;
            }
            if (l.rahmen) {
                p.setPen(Qt::black);
                p.setBrush(Qt::NoBrush);
                p.drawRect(0, 0, t.breite - 1, t.hoehe - 1);
            }
            p.end();
            return out;
        }
        return {}; // does not fit legibly
    }

    static constexpr int kKleinsteSchrift = 9;

private:
    QString m_familie;
};

// Pure black and white, so that the 1-bit writer's nearest colour is exact.
QImage schwarzWeiss(const QImage& img) {
    QImage out = img.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) line[x] = qGray(line[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);
    if (argc < 2) {
        err << "usage: logogen <output folder> [font file]\n";
        return 2;
    }
    const QString ausgabe = QString::fromLocal8Bit(argv[1]);
    QString familie = QStringLiteral("DejaVu Sans");
    if (argc > 2 && argv[2][0]) {
        const int id = QFontDatabase::addApplicationFont(QString::fromLocal8Bit(argv[2]));
        const QStringList f = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList();
        if (!f.isEmpty()) familie = f.first();
        else err << "logogen: font " << argv[2] << " not loaded, using " << familie << "\n";
    }
    const Zeichner zeichner(familie);
    const std::vector<Logo> liste = logos();
    int fehler = 0;
    for (const Typ& t : kTypen) {
        QDir ordner(ausgabe + QLatin1Char('/') + QLatin1String(t.code));
        if (!ordner.mkpath(QStringLiteral("."))) {
            err << "logogen: cannot create " << ordner.path() << "\n";
            return 1;
        }
        // Logos of an earlier run that are no longer drawn go.
        for (const QString& alt : ordner.entryList({QStringLiteral("*.bmp")}, QDir::Files)) ordner.remove(alt);
        int geschrieben = 0;
        for (const Logo& l : liste) {
            const QImage bild = zeichner.logo(l, t);
            if (bild.isNull()) continue;
            cDIBSection dib;
            dib.CreateFromPicture(schwarzWeiss(bild));
            std::shared_ptr<cPalette> keinePalette;
            try {
                if (cDIBSectionSave().Save(ordner.filePath(QString::fromUtf8(l.datei) + QStringLiteral(".bmp")), dib, keinePalette, 0, 0)) ++geschrieben;
                else ++fehler;
            } catch (const std::exception& e) {
                err << "logogen: " << e.what() << "\n";
                ++fehler;
            }
        }
        if (geschrieben < 25) {
            err << "logogen: only " << geschrieben << " logos fit " << t.code << "\n";
            ++fehler;
        }
    }
    return fehler ? 1 : 0;
}
