// Mutation check over everything the program reads from outside: picture files of every listed
// kind, the settings file, palette files and the photo collection's raw files. A few thousand
// mutated inputs, each must load or be refused; none may crash, hang or exceed the bounds.
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Variablen_Sichern_laden.h"
#include "imaging/cPalette.h"
#include "logo/Fotovorschau.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Label.h"
#include "platform/picture/Picture.h"
#include "platform/window/Timer.h"
#include "platform/system/VBError.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImageWriter>
#include <random>

using namespace Parameter_und_Start;

// Instrumented builds run each load many times slower; they check fewer mutants.
#if defined(__SANITIZE_ADDRESS__)
constexpr int kLangsam = 6;
#else
constexpr int kLangsam = 1;
#endif

namespace {
QByteArray kodiert(const QImage& img, const char* format, bool progressiv = false) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, format);
    w.setProgressiveScanWrite(progressiv);
    w.write(img);
    return b.data();
}
QImage bunt(int w, int h, QImage::Format f = QImage::Format_RGB32) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 37) & 255, (y * 23) & 255, ((x + y) * 11) & 255));
    return img.convertToFormat(f);
}
QByteArray datei(const QString& p) {
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
void schreiben(const QString& p, const QByteArray& d) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(d);
}

// One mutant of a seed: flipped bits, bytes set to edge values, fields made huge, cuts,
// insertions and repeated pieces, a few of them at a time.
QByteArray mutiert(QByteArray d, std::mt19937& rnd) {
    auto zahl = [&](int n) { return n <= 0 ? 0 : int(rnd() % unsigned(n)); };
    const int schritte = 1 + zahl(4);
    for (int s = 0; s < schritte; ++s) {
        const int n = int(d.size());
        switch (zahl(7)) {
        case 0:
            if (n) d[zahl(n)] = char(quint8(d[zahl(n)]) ^ (1u << zahl(8)));
            break;
        case 1: {
            static const quint8 kanten[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0xFE};
            if (n) d[zahl(n)] = char(kanten[zahl(6)]);
            break;
        }
        case 2: // a 16- or 32-bit field made huge
            if (n >= 4) {
                const int at = zahl(n - 3);
                for (int i = 0; i < (zahl(2) ? 2 : 4); ++i) d[at + i] = char(0xFF - zahl(2) * 0x80);
            }
            break;
        case 3:
            d.truncate(zahl(n + 1));
            break;
        case 4:
            d.insert(zahl(n + 1), QByteArray(1 + zahl(16), char(zahl(256))));
            break;
        case 5:
            if (n > 8) {
                const int at = zahl(n - 4), len = 1 + zahl(std::min(64, n - at));
                d.insert(zahl(n + 1), d.mid(at, len).repeated(1 + zahl(8)));
            }
            break;
        default:
            if (n) d.remove(zahl(n), 1 + zahl(8));
        }
    }
    return d;
}

class MutationTest : public ProgramTest {};
} // namespace

TEST_F(MutationTest, PictureLoadersLoadOrRefuseEveryMutant) {
    const QString sammlung = QCoreApplication::applicationDirPath() + QStringLiteral("/fotos/");
    const QImage bild = bunt(24, 16);
    const std::vector<std::pair<const char*, QByteArray>> saaten = {
        {"bmp24", kodiert(bild, "bmp")},
        {"bmp8", kodiert(bild.convertToFormat(QImage::Format_Indexed8), "bmp")},
        {"bmp1", kodiert(bild.convertToFormat(QImage::Format_Mono), "bmp")},
        {"jpeg", kodiert(bild, "jpeg")},
        {"jpeg-progressiv", kodiert(bild, "jpeg", true)},
        {"ico", kodiert(bild.scaled(16, 16), "ico")},
        {"wmf", datei(sammlung + QStringLiteral("Wiese.wmf"))},
    };
    std::mt19937 rnd(20261210);
    int geladen = 0, abgelehnt = 0;
    for (const auto& [name, saat] : saaten) {
        SCOPED_TRACE(name);
        ASSERT_FALSE(saat.isEmpty());
        // Metafiles are played in a child process; fewer of them keep the check quick.
        const int anzahl = (QByteArray(name) == "wmf" ? 24 : 150) / kLangsam;
        for (int i = 0; i < anzahl; ++i) {
            const QByteArray m = mutiert(saat, rnd);
            schreiben(file("m.bmp"), m);
            try {
                const vb::Picture p = (i % 2) ? vb::LoadPicture(file("m.bmp")) : vb::LoadThumbnail(file("m.bmp"), QSize(101, 60));
                ASSERT_LE(qint64(p.Width()) * p.Height(), vb::kMaxPicturePixels);
                ++geladen;
            } catch (const vb::VBError& e) {
                ASSERT_EQ(e.Number(), 481) << i;
                ++abgelehnt;
            }
        }
    }
    EXPECT_GT(geladen, 0);
    EXPECT_GT(abgelehnt, 0);
}

TEST_F(MutationTest, CollectionFilesLoadOrLeaveTheSlotEmpty) {
    const QByteArray saat = Fotovorschau::Sammlungsdatei(bunt(30, 20));
    std::mt19937 rnd(7);
    for (int i = 0; i < 600; ++i) {
        QByteArray m = mutiert(saat, rnd);
        if (i % 3 == 0 && m.size() >= 8) m.replace(0, 4, "VFB1"); // keep the signature often
        schreiben(file("V_m.bin"), m);
        for (short modus : {short(Fotovorschau::Modus_Vorschau), short(Fotovorschau::Modus_Original)}) {
            const vb::Picture p = Fotovorschau::Fotosammlung_Bild(file("V_m.bin"), modus);
            ASSERT_LE(qint64(p.Width()) * p.Height(), vb::kMaxPicturePixels);
        }
    }
}

TEST_F(MutationTest, PaletteFilesLoadOrAreRefused) {
    cPalette p;
    p.CreateWebSafe();
    ASSERT_TRUE(p.Save(file("p.pal")));
    const QByteArray binaer = datei(file("p.pal"));
    ASSERT_TRUE(p.SaveToJASCFile(file("p.jasc")));
    const QByteArray jasc = datei(file("p.jasc"));
    std::mt19937 rnd(11);
    for (int i = 0; i < 800; ++i) {
        schreiben(file("m.pal"), mutiert(i % 2 ? binaer : jasc, rnd));
        cPalette q;
        vb::Try([&] { q.Load(file("m.pal")); });
        cPalette r;
        vb::Try([&] { r.LoadFromJASCFile(file("m.pal")); });
        ASSERT_LE(q.Count(), 4097);
        ASSERT_LE(r.Count(), 4097);
    }
}

TEST_F(MutationTest, SettingsFilesSetOnlyWhatTheListsHold) {
    Intro->Splash->Fire();
    EinstellungenForm& e = *Einstellungen;
    std::mt19937 rnd(3);
    // The start sets port 1 before it reads the file; a line without a port keeps it.
    COM_Port_Nummer = 1;
    for (int i = 0; i < 600; ++i) {
        schreiben(file("param.ini"), mutiert(QByteArray("31210\r\n"), rnd));
        Variablen_Sichern_laden::Variablen_laden(e.Gesicherte_Felder());
        ASSERT_GE(COM_Port_Nummer, 1);
        ASSERT_LE(COM_Port_Nummer, 4);
        ASSERT_EQ(QString::number(COM_Port_Nummer), e.COM_Port->Caption());
        ASSERT_LT(e.Vorad_Master_VoradTyp_ComboKategorien->ListIndex(), e.Vorad_Master_VoradTyp_ComboKategorien->ListCount());
        ASSERT_LT(e.Berechnungsart_Combobox->ListIndex(), 3);
    }
}
