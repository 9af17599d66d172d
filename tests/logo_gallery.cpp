// The main window's gallery of shipped logos, its tabs, saving logos, and the logos that come
// with the program.
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/Fixture.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Logovoschau.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/ComboBox.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/ScrollBar.h"
#include "platform/system/Shell.h"
#include "platform/system/Seams.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QPixmap>
#include <functional>

using namespace Parameter_und_Start;

namespace {
// A distinct black-on-white logo per number.
QImage logoBild(int w, int h, int n) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::white);
    for (int x = 0; x <= n % w; ++x) img.setPixel(x, n % h, qRgb(0, 0, 0));
    return img;
}

QString logoName(int n) { return QStringLiteral("L%1.bmp").arg(n, 2, 10, QLatin1Char('0')); }

void shoot(vb::Form& f, const char* name) {
    const QByteArray dir = qgetenv("VORAD_SCREENSHOTS");
    if (!dir.isEmpty()) f.Widget()->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

class GalleryTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Copies between the test's own folders really happen.
        vb::seams().shell = [](const QString& what, const QString&) { return what != QLatin1String("copy"); };
    }

    QString typOrdner(const char* code) const { return dir() + QStringLiteral("logos/") + QLatin1String(code); }

    // n logos L00.bmp, L01.bmp, ... of w x h in the type's folder.
    QString logos(const char* code, int n, int w = 72, int h = 14) {
        const QString ordner = typOrdner(code);
        QDir().mkpath(ordner);
        for (int i = 0; i < n; ++i) writeImage(ordner + QLatin1Char('/') + logoName(i), logoBild(w, h, i));
        return ordner;
    }

    // The user's choice of a category in the gallery's list.
    StartbildschirmForm& waehlen(int kategorie) {
        Startbildschirm->ComboKategorien[3]->setListIndex(kategorie);
        return *Startbildschirm;
    }

    static std::vector<int> gerahmt(const StartbildschirmForm& F) {
        std::vector<int> out;
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(F.Logo_Vorschaubild[size_t(i)]->BorderStyle(), F.Logo_Vorschaubild_Bild[size_t(i)]->BorderStyle()) << i;
            if (F.Logo_Vorschaubild[size_t(i)]->BorderStyle() == 1) out.push_back(i);
        }
        return out;
    }

    // The save dialog answered with a name; the proposed name is kept.
    QString vorgeschlagen;
    void speichernUnter(const QString& name) {
        vb::seams().dialog = [this, name](const vb::DialogRequest& r) -> std::optional<vb::DialogAnswer> {
            EXPECT_EQ(r.kind, QStringLiteral("save"));
            EXPECT_EQ(r.filter, QStringLiteral("*.bmp|*.bmp"));
            vorgeschlagen = r.fileName;
            if (name.isEmpty()) return std::nullopt;
            return vb::DialogAnswer{name == QLatin1String("=") ? r.fileName : name, {}};
        };
    }
};
} // namespace

TEST_F(GalleryTest, FortyFiveLogosPageByRowAndEndAtTheLastFile) {
    const QString ordner = logos("NBLXXXX", 45);
    StartbildschirmForm& F = waehlen(7);
    EXPECT_EQ(F.LogoScrollbalken->Max(), 25);
    EXPECT_EQ(F.LogoScrollbalken->SmallChange(), 5);
    EXPECT_EQ(F.LogoScrollbalken->LargeChange(), 20);
    vb::ScrollBar& s = *F.LogoScrollbalken;
    struct Schritt {
        std::function<void()> tun;
        int wert;
    };
    const Schritt schritte[] = {
        {[] {}, 0},                                             // first page
        {[&] { s.setValue(s.Value() + s.SmallChange()); }, 5}, // one row down
        {[&] { s.setValue(s.Max()); }, 25},                     // last page
    };
    for (const Schritt& schritt : schritte) {
        schritt.tun();
        const int wert = schritt.wert;
        SCOPED_TRACE(wert);
        ASSERT_EQ(s.Value(), wert);
        for (int i = 0; i < 20; ++i) {
            const QString p = ordner + QLatin1Char('/') + logoName(wert + i);
            EXPECT_EQ(F.Logo_Vorschaubild_Bild[size_t(i)]->ToolTipText(), p);
            EXPECT_EQ(F.Logo_Vorschaubild[size_t(i)]->ToolTipText(), p);
            EXPECT_EQ(F.Logo_Vorschaubild_Bildname[size_t(i)]->Caption(), logoName(wert + i));
            EXPECT_FALSE(F.Logo_Vorschaubild_Bild[size_t(i)]->Picture().IsEmpty());
        }
        EXPECT_EQ(gerahmt(F), std::vector<int>{0});
        EXPECT_NE(F.Logo_Weiss_Grafik->Picture().Handle(), 0);
        EXPECT_EQ(F.Logo_Weiss_Grafik->Picture().Handle(), F.Logo_Vorschaubild_Bild[0]->Picture().Handle());
    }
}

TEST_F(GalleryTest, ThumbnailsShowOnePixelPerLogoPixelOnlyTheTallestSqueezed) {
    struct Fall {
        int kategorie, w, h;
    };
    for (const Fall& c : {Fall{3, 96, 60}, Fall{4, 96, 60}, Fall{2, 101, 43}, Fall{7, 72, 14}}) {
        SCOPED_TRACE(c.kategorie);
        StartbildschirmForm& F = waehlen(c.kategorie);
        for (int i : {0, 19}) {
            const vb::Image& b = *F.Logo_Vorschaubild_Bild[size_t(i)];
            const vb::Image& r = *F.Logo_Vorschaubild[size_t(i)];
            EXPECT_EQ(b.Width(), c.w * 15);
            EXPECT_EQ(b.Height(), c.h * 15);
            EXPECT_TRUE(b.Visible());
            // 5 pixels above and 2 left of the frame's centre.
            EXPECT_DOUBLE_EQ(b.Top(), r.Top() + r.Height() / 2 - b.Height() / 2 - 75);
            EXPECT_DOUBLE_EQ(b.Left(), r.Left() + r.Width() / 2 - b.Width() / 2 - 30);
        }
    }
}

TEST_F(GalleryTest, AFileThatIsNoPictureLeavesItsSlotEmptyAndOpensNothing) {
    const QString ordner = logos("NGLXXXX", 25);
    QFile text(ordner + QStringLiteral("/L06.bmp"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("kein Bild");
    text.close();
    StartbildschirmForm& F = waehlen(6);
    EXPECT_FALSE(F.Logo_Vorschaubild_Bild[1]->Picture().IsEmpty());
    // One row down, slot 1 shows L06 in place of L01.
    F.LogoScrollbalken->setValue(5);
    EXPECT_TRUE(F.Logo_Vorschaubild_Bild[1]->Picture().IsEmpty());
    EXPECT_TRUE(F.Logo_Vorschaubild_Bild[1]->ToolTipText().isEmpty());
    EXPECT_TRUE(F.Logo_Vorschaubild[1]->ToolTipText().isEmpty());
    EXPECT_EQ(F.Logo_Vorschaubild_Bildname[1]->Caption(), QStringLiteral("L06.bmp"));
    EXPECT_FALSE(F.Logo_Vorschaubild_Bild[2]->Picture().IsEmpty());
    F.Logo_Vorschaubild[1]->FireClick();
    // Selected, the empty slot leaves a white logo, not the one the slot showed before.
    QImage weiss(72, 14, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    EXPECT_EQ(F.Logo_Weiss_Grafik->hDC(), weiss);
    F.Logo_Vorschaubild[1]->FireDblClick();
    EXPECT_FALSE(F.Layer_Kalvoren->Visible());
    EXPECT_FALSE(ended());
}

TEST_F(GalleryTest, AMissingTypeFolderGivesAnEmptyGallery) {
    logos("NBLXXXX", 25);
    StartbildschirmForm& F = waehlen(7);
    F.LogoScrollbalken->setValue(5);
    waehlen(0); // no folder SB_S25
    EXPECT_EQ(F.Fileilistbox->ListCount(), 0);
    EXPECT_EQ(F.LogoScrollbalken->Max(), 0);
    EXPECT_EQ(F.LogoScrollbalken->Value(), 0);
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(F.Logo_Vorschaubild_Bild[size_t(i)]->Picture().IsEmpty());
        EXPECT_TRUE(F.Logo_Vorschaubild[size_t(i)]->ToolTipText().isEmpty());
        EXPECT_TRUE(F.Logo_Vorschaubild_Bildname[size_t(i)]->Caption().isEmpty());
    }
    EXPECT_TRUE(F.Logo_Weiss_Grafik->Picture().IsEmpty());
    F.In_Zaroreriri_bearbeiten_Click();
    F.Speichern_Click();
    EXPECT_FALSE(ended());
    EXPECT_TRUE(shownInfos.empty());
}

TEST_F(GalleryTest, AFolderSmallerThanAPageStaysOnItsFirstPageWithEmptySlots) {
    logos("NBLXXXX", 45);
    StartbildschirmForm& F = waehlen(7);
    F.LogoScrollbalken->setValue(25);
    const QString ordner = logos("NBL62_71", 7, 72, 21);
    waehlen(8);
    EXPECT_EQ(F.LogoScrollbalken->Max(), 0);
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(F.Logo_Vorschaubild_Bild[size_t(i)]->Picture().IsEmpty(), i >= 7);
        EXPECT_EQ(F.Logo_Vorschaubild[size_t(i)]->ToolTipText(), i < 7 ? ordner + QLatin1Char('/') + logoName(i) : QString());
    }
    EXPECT_EQ(gerahmt(F), std::vector<int>{0});
}

TEST_F(GalleryTest, APhotoInALogoFolderIsKeptAtSlotSize) {
    const QString ordner = logos("NGLXXXX", 2);
    QImage foto(2400, 1600, QImage::Format_RGB32);
    foto.fill(qRgb(0, 0, 255));
    writeImage(ordner + QStringLiteral("/L02.jpg"), foto, "JPG");
    writeImage(ordner + QStringLiteral("/L03.bmp"), foto);
    StartbildschirmForm& F = waehlen(6);
    // The logos whole, the photos reduced to cover the slot.
    EXPECT_EQ(F.Logo_Vorschaubild_Bild[0]->Picture().Image(), logoBild(72, 14, 0));
    for (size_t i : {2u, 3u}) {
        SCOPED_TRACE(i);
        const QImage b = F.Logo_Vorschaubild_Bild[i]->Picture().Image();
        EXPECT_EQ(b.size(), QSize(101, 67));
        EXPECT_EQ(b.pixel(50, 33) & 0xF0F0F0u, 0x0000F0u);
    }
}

TEST_F(GalleryTest, ClickingAFrameSelectsAsClickingItsThumbnail) {
    logos("NBLXXXX", 20);
    StartbildschirmForm& F = waehlen(7);
    for (bool rahmen : {true, false}) {
        SCOPED_TRACE(rahmen);
        const int slot = rahmen ? 3 : 12;
        (rahmen ? F.Logo_Vorschaubild[size_t(slot)] : F.Logo_Vorschaubild_Bild[size_t(slot)])->FireClick();
        EXPECT_EQ(gerahmt(F), std::vector<int>{slot});
        EXPECT_EQ(F.Logo_Weiss_Grafik->Picture().Handle(), F.Logo_Vorschaubild_Bild[size_t(slot)]->Picture().Handle());
    }
}

TEST_F(GalleryTest, TabsSwitchLayersAndTheEditorTabOpensTheFramedLogo) {
    logos("NBLXXXX", 20);
    StartbildschirmForm& F = waehlen(7);
    F.Logo_Vorschaubild[2]->FireClick();
    F.Reiter_Kalvoren_inLogos_Click();
    EXPECT_TRUE(F.Layer_Kalvoren->Visible());
    EXPECT_TRUE(F.Logos_mit_Schatten->Visible());
    EXPECT_TRUE(F.Reiter_Logos_inKalvoren->Visible());
    EXPECT_FALSE(F.Reiter_Kalvoren_inLogos->Visible());
    EXPECT_TRUE(F.Kalvoren_mit_Schatten->Visible());
    const QImage geladen = F.Logo_Weiss_Grafik->Image().Image();
    EXPECT_EQ(geladen.convertToFormat(QImage::Format_RGB32), logoBild(72, 14, 2));

    // Drawn over in the editor, then back to the gallery and into the editor again.
    F.Logo_Weiss_Grafik->hDC().fill(Qt::black);
    Foto_Modus = true;
    F.Reiter_Logos_inKalvoren_Click();
    EXPECT_FALSE(F.Layer_Kalvoren->Visible());
    EXPECT_FALSE(Foto_Modus);
    EXPECT_FALSE(F.Logos_mit_Schatten->Visible());
    EXPECT_FALSE(F.Reiter_Logos_inKalvoren->Visible());
    EXPECT_TRUE(F.Reiter_Kalvoren_inLogos->Visible());
    EXPECT_FALSE(F.Kalvoren_mit_Schatten->Visible());
    F.Reiter_Kalvoren_inLogos_Click();
    EXPECT_EQ(F.Logo_Weiss_Grafik->Image().Image(), logoBild(72, 14, 2));

    // The back button leaves the tab pictures as they are.
    F.Kalvoren_bearbeiten_zurueck_Click();
    EXPECT_FALSE(F.Layer_Kalvoren->Visible());
    EXPECT_TRUE(F.Logos_mit_Schatten->Visible());
    EXPECT_FALSE(F.Reiter_Kalvoren_inLogos->Visible());
}

TEST_F(GalleryTest, SaveDialogsProposeTheirDefaultNames) {
    const QString ordner = typOrdner("NBLXXXX");
    QDir().mkpath(ordner);
    writeImage(ordner + QStringLiteral("/Auto.bmp"), logoBild(72, 14, 1));
    StartbildschirmForm& F = waehlen(7);
    speichernUnter(QString()); // cancelled
    F.Speichern_Click();
    EXPECT_EQ(vorgeschlagen, ordner + QStringLiteral("/AutoH.bmp"));

    Bilddatei_Pfad = dir() + QStringLiteral("Bilder/logo.jpg");
    F.Kalvoren_Logo_Speichern_Click();
    EXPECT_EQ(vorgeschlagen, dir() + QStringLiteral("Bilder/logo.jpg_H.bmp"));
    EXPECT_TRUE(shownInfos.empty());
    EXPECT_EQ(QDir(ordner).entryList(QDir::Files).size(), 1);
}

TEST_F(GalleryTest, AnExistingFileIsKeptWhenTheOverwriteQuestionIsCancelled) {
    logos("NBLXXXX", 3);
    StartbildschirmForm& F = waehlen(7);
    const QString ziel = file(QStringLiteral("Ziel.bmp"));
    for (bool galerie : {true, false}) {
        SCOPED_TRACE(galerie);
        shownInfos.clear();
        QFile alt(ziel);
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alt");
        alt.close();
        speichernUnter(ziel);
        answerInfo(0);
        galerie ? F.Speichern_Click() : F.Kalvoren_Logo_Speichern_Click();
        EXPECT_EQ(ReadFile(ziel), QByteArray("alt"));
        EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(434)});
    }
}

TEST_F(GalleryTest, SavesWriteTheLogoAndReportTheFullPath) {
    const QString ordner = logos("NBLXXXX", 3);
    StartbildschirmForm& F = waehlen(7);
    F.Logo_Vorschaubild[1]->FireClick();

    // The gallery's file is copied byte for byte.
    const QString kopie = file(QStringLiteral("Kopie.bmp"));
    speichernUnter(kopie);
    F.Speichern_Click();
    EXPECT_EQ(ReadFile(kopie), ReadFile(ordner + QStringLiteral("/L01.bmp")));
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(180) + kopie);

    // The editor's logo is stored black on white at its own size; an existing file is replaced
    // after the question.
    F.Reiter_Kalvoren_inLogos_Click();
    answerInfo(1);
    F.Kalvoren_Logo_Speichern_Click();
    ASSERT_EQ(shownInfos.size(), 3u);
    EXPECT_EQ(shownInfos[1], LoadResString(434));
    EXPECT_TRUE(shownInfos[2].endsWith(kopie));
    const QImage gespeichert(kopie);
    ASSERT_EQ(gespeichert.size(), QSize(72, 14));
    EXPECT_EQ(gespeichert.convertToFormat(QImage::Format_RGB32), logoBild(72, 14, 1));
}

TEST_F(GalleryTest, ARefreshAfterASaveStaysOnItsPage) {
    const QString ordner = logos("NBLXXXX", 45);
    StartbildschirmForm& F = waehlen(7);
    F.LogoScrollbalken->setValue(25);
    speichernUnter(QStringLiteral("=")); // the proposed name: L25H.bmp beside L25.bmp
    F.Speichern_Click();
    EXPECT_EQ(vorgeschlagen, ordner + QStringLiteral("/L25H.bmp"));
    EXPECT_EQ(F.LogoScrollbalken->Max(), 26);
    EXPECT_EQ(F.LogoScrollbalken->Value(), 25);
    EXPECT_EQ(F.Logo_Vorschaubild_Bildname[0]->Caption(), QStringLiteral("L25.bmp"));
    EXPECT_EQ(F.Logo_Vorschaubild_Bildname[1]->Caption(), QStringLiteral("L25H.bmp"));
    EXPECT_EQ(F.Logo_Vorschaubild_Bild[1]->ToolTipText(), ordner + QStringLiteral("/L25H.bmp"));
    EXPECT_EQ(gerahmt(F), std::vector<int>{0});
}

TEST_F(GalleryTest, ASaveIntoAFolderWithoutWriteAccessWritesNothing) {
    logos("NBLXXXX", 3);
    StartbildschirmForm& F = waehlen(7);
    F.Reiter_Kalvoren_inLogos_Click();
    QTemporaryDir gesperrt;
    ASSERT_TRUE(gesperrt.isValid());
    QFile::setPermissions(gesperrt.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Freigabe {
        QString p;
        ~Freigabe() { QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner); }
    } freigabe{gesperrt.path()};
    // Root writes into read-only folders; a folder that is really a file refuses everyone.
    QString ordner = gesperrt.path();
    QFile probe(gesperrt.filePath(QStringLiteral("probe")));
    if (probe.open(QIODevice::WriteOnly)) {
        probe.close();
        QFile::setPermissions(gesperrt.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        ordner = probe.fileName();
    }
    const QString ziel = ordner + QStringLiteral("/Logo.bmp");
    for (bool galerie : {true, false}) {
        SCOPED_TRACE(galerie);
        speichernUnter(ziel);
        galerie ? F.Speichern_Click() : F.Kalvoren_Logo_Speichern_Click();
        EXPECT_FALSE(QFileInfo::exists(ziel));
        EXPECT_EQ(QDir(gesperrt.path()).entryList(QDir::Files | QDir::Hidden).size(), ordner == gesperrt.path() ? 0 : 1);
    }
    EXPECT_TRUE(shownInfos.empty());
    EXPECT_FALSE(ended());
}

TEST_F(GalleryTest, ASaveOnAFullDiskKeepsTheOldFileAndReportsNoSuccess) {
    logos("NBLXXXX", 3, 72, 14);
    StartbildschirmForm& F = waehlen(7);
    F.Reiter_Kalvoren_inLogos_Click();
    const QString ziel = file(QStringLiteral("Ziel.bmp"));
    const QByteArray alt(5000, 'a'); // larger than what fits on the disk
    for (bool galerie : {true, false}) {
        SCOPED_TRACE(galerie);
        shownInfos.clear();
        QFile f(ziel);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(alt);
        f.close();
        speichernUnter(ziel);
        answerInfo(1); // overwrite
        {
            FullDisk voll(1000);
            galerie ? F.Speichern_Click() : F.Kalvoren_Logo_Speichern_Click();
        }
        EXPECT_EQ(ReadFile(ziel), alt);
        EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(434)});
        EXPECT_EQ(QDir(dir()).entryList({QStringLiteral("Ziel*")}, QDir::Files | QDir::Hidden), QStringList{QStringLiteral("Ziel.bmp")});
    }
}

// The logos built beside the program: every type has its folder with at least 25 logos of
// exactly its size, 1 bit per pixel, black on white.
TEST_F(GalleryTest, ShippedLogosFitTheirTypes) {
    const QString geliefert = QCoreApplication::applicationDirPath() + QStringLiteral("/logos/");
    for (short typ = 0; typ <= 8; ++typ) {
        Logovoschau::LogoTyp_setzen(typ, *Startbildschirm->Logo_Groesse);
        SCOPED_TRACE(Logo_Typcode.toStdString());
        const QDir ordner(geliefert + Logo_Typcode);
        const QStringList dateien = ordner.entryList(QDir::Files);
        EXPECT_GE(dateien.size(), 25);
        for (const QString& d : dateien) {
            SCOPED_TRACE(d.toStdString());
            const QByteArray b = ReadFile(ordner.filePath(d));
            ASSERT_GE(b.size(), 62);
            EXPECT_EQ(b.left(2), QByteArray("BM"));
            EXPECT_EQ(quint8(b[28]) | (quint8(b[29]) << 8), 1); // bits per pixel
            QImage img;
            ASSERT_TRUE(img.loadFromData(b));
            EXPECT_EQ(img.size(), QSize(Logo_Breite, Logo_Hoehe));
            img = img.convertToFormat(QImage::Format_RGB32);
            int schwarz = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x) {
                    const QRgb p = img.pixel(x, y) & 0xFFFFFF;
                    EXPECT_TRUE(p == 0 || p == 0xFFFFFF);
                    schwarz += p == 0;
                }
            EXPECT_GT(schwarz, 0);
            EXPECT_LT(schwarz, img.width() * img.height() / 2); // a black drawing on white
        }
    }
}

// The gallery with the shipped logos, as a person pages through it.
TEST_F(GalleryTest, ShippedLogosInTheGallery) {
    const QString geliefert = QCoreApplication::applicationDirPath() + QStringLiteral("/logos");
    QDirIterator it(geliefert, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString quelle = it.next();
        const QString ziel = dir() + QStringLiteral("logos") + quelle.mid(geliefert.size());
        QDir().mkpath(QFileInfo(ziel).path());
        ASSERT_TRUE(QFile::copy(quelle, ziel));
    }
    Startbildschirm->Show();
    struct Bild {
        int kategorie;
        const char* name;
    };
    for (const Bild& b : {Bild{7, "gallery-NBLXXXX"}, Bild{3, "gallery-NSL7110"}, Bild{0, "gallery-SB_S25"}}) {
        StartbildschirmForm& F = waehlen(b.kategorie);
        EXPECT_GT(F.LogoScrollbalken->Max(), 0);
        for (vb::Image* t : F.Logo_Vorschaubild_Bild) EXPECT_FALSE(t->Picture().IsEmpty());
        shoot(F, b.name);
    }
    StartbildschirmForm& F = *Startbildschirm;
    F.LogoScrollbalken->setValue(F.LogoScrollbalken->Max());
    shoot(F, "gallery-SB_S25-last-page");
    F.Reiter_Fotos_inLogos_Click();
    Logo_Foto_Laden->Show();
    EXPECT_TRUE(Logo_Foto_Laden->Fotos_Vorschaubild_Bild[0]->ToolTipText().startsWith(dir() + QStringLiteral("logos/SB_S25/")));
    EXPECT_FALSE(Logo_Foto_Laden->Fotos_Vorschaubild_Bild[19]->Picture().IsEmpty());
    shoot(*Logo_Foto_Laden, "picker-browser-SB_S25");
}

TEST_F(GalleryTest, AnEmptySlotOpensNothing) {
    logos("NBLXXXX", 3);
    StartbildschirmForm& F = waehlen(7);
    int prompts = 0;
    vb::seams().dialog = [&](const vb::DialogRequest&) {
        ++prompts;
        return std::optional<vb::DialogAnswer>();
    };
    F.Logo_Vorschaubild[10]->FireClick();
    F.Logo_Vorschaubild[10]->FireDblClick();
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(F.Layer_Kalvoren->Visible());
    // With a type folder missing altogether the framed first slot is empty as well.
    waehlen(3);
    F.In_Zaroreriri_bearbeiten->FireClick();
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(F.Layer_Kalvoren->Visible());
}

TEST_F(GalleryTest, TheEditorTabKeepsItsLookAfterAHoverAndWithNothingToOpen) {
    StartbildschirmForm& F = *Startbildschirm;
    F.Show();
    vb::Image* tab = F.Reiter_Kalvoren_inLogos;
    const QImage normal = tab->Picture().Image().copy();
    ASSERT_FALSE(normal.isNull());
    // Nothing chosen yet: pressing the tab switches nothing.
    F.Reiter_Kalvoren_inLogos_Click();
    EXPECT_TRUE(tab->Visible());
    EXPECT_FALSE(F.Logos_mit_Schatten->Visible());
    EXPECT_FALSE(F.Kalvoren_mit_Schatten->Visible());
    EXPECT_FALSE(F.Reiter_Logos_inKalvoren->Visible());
    EXPECT_FALSE(F.Layer_Kalvoren->Visible());
    // Hovered, then the pointer on the gallery's background: the tab shows its normal look.
    tab->FireMouseMove(0, 0, 100, 100);
    EXPECT_NE(tab->Picture().Image(), normal);
    F.Layer_Logoauswahl->FireMouseMove(0, 0, 3000, 3000);
    EXPECT_EQ(tab->Picture().Image(), normal);
    // And after a hover over a thumbnail frame.
    logos("NBLXXXX", 3);
    waehlen(7);
    tab->FireMouseMove(0, 0, 100, 100);
    F.Logo_Vorschaubild[1]->FireMouseMove(0, 0, 100, 100);
    EXPECT_EQ(tab->Picture().Image(), normal);
}
