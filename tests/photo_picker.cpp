// The picture picker and the whole photo road: a photo from the strip and from the picker's
// file tab, converted, handed to the logo editor and sent to a fake phone.
#include "support/FakePhone.h"
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "support/Pictures.h"

#include "frame/Einstellungen.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "photo/Fotoeditor.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/ComboBox.h"
#include "platform/window/DirListBox.h"
#include "platform/window/DriveListBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/phone/PhoneLink.h"
#include "platform/window/PictureBox.h"
#include "platform/window/TextBox.h"
#include "platform/window/Timer.h"
#include "platform/system/Seams.h"

#include "logo/Fotovorschau.h"

#include <QApplication>
#include <QBuffer>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QListWidget>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QWindow>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace Parameter_und_Start;

namespace {
QString sammlung() { return QCoreApplication::applicationDirPath() + QStringLiteral("/fotos"); }

class PickerTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        vb::seams().phoneLinkTimeoutMs = 300;
        Intro->Splash->Fire();
        Startbildschirm->ComboKategorien[3]->setListIndex(7); // 72 x 14
    }
    void TearDown() override {
        vb::seams().volumes = std::nullopt;
        vb::FreeCOMPort();
        vb::seams().comPortDevices[0] = QString();
        vb::seams().phoneLinkTimeoutMs = 1000;
        ProgramTest::TearDown();
    }
    Logo_Foto_LadenForm& P() { return *Logo_Foto_Laden; }
    // The picker's answer: the file tab on a folder, a file chosen by name, then accept.
    void dateiWaehlen(const QString& ordner, const QString& name) {
        answer([ordner, name](vb::Form&) {
            Logo_Foto_Laden->Dir1->setPath(ordner);
            vb::FileListBox* f = Logo_Foto_Laden->File1;
            for (int i = 0; i < f->ListCount(); ++i)
                if (f->List(i) == name && f->ListIndex() != i) f->setListIndex(i);
            Logo_Foto_Laden->Uebernehmen_Click();
        });
    }
};
} // namespace

TEST_F(PickerTest, ADriveRootAndAFolderJoinTheFileNameWithOneSeparator) {
    QTemporaryDir vol;
    writeImage(vol.filePath("a.jpg"), GreyRamp(40, 30), "JPEG");
    vb::seams().volumes = std::vector<vb::Volume>{{"/", "ext4", ""}, {vol.path(), "vfat", "STICK"}};
    P().Drive1->ReRead();
    P().Reiter_Datei_Click();
    P().Drive1->setDrive(vol.path());
    EXPECT_EQ(P().Dir1->Path(), QDir::cleanPath(vol.path()));
    EXPECT_EQ(P().File1->FileName(), "a.jpg");
    EXPECT_EQ(P().DateiManuelleAuswahl->Text(), "a.jpg");
    EXPECT_FALSE(Auswahl_abgebrochen);
    EXPECT_FALSE(P().Vorschaubild_B_Bild->Picture().IsEmpty());
    P().Uebernehmen_Click();
    EXPECT_EQ(Bilddatei_Pfad, QDir::cleanPath(vol.path()) + "/a.jpg");
    // The root: the drive "/" is its own folder, and a file there takes no second "/".
    P().Drive1->setDrive("/");
    EXPECT_EQ(P().Dir1->Path(), "/");
    EXPECT_EQ(P().File1->Path(), "/");
}

TEST_F(PickerTest, AnInvalidFileGivesTheMessageAndAcceptIsIgnoredAfterIt) {
    QDir().mkpath(file("bilder"));
    writeImage(file("bilder/gut.bmp"), GreyRamp(40, 30));
    QDir().mkpath(file("kaputt"));
    WriteFile(file("kaputt/bild.jpg"), "kein Bild");
    Startbildschirm->Laden_Click_Sub(file("bilder/gut.bmp"), false, true);
    const QImage logo = Startbildschirm->Logo_Weiss_Grafik->hDC().copy();
    QFile::remove(file("dither.bmp"));
    answer([this](vb::Form&) {
        Logo_Foto_Laden->Dir1->setPath(file("kaputt")); // selects the file and shows the message
        Logo_Foto_Laden->Uebernehmen_Click();
    });
    Startbildschirm->Laden_Click();
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(429));
    EXPECT_TRUE(Auswahl_abgebrochen);
    EXPECT_TRUE(P().File1->FileName().isEmpty());
    EXPECT_EQ(Startbildschirm->Logo_Weiss_Grafik->hDC(), logo);
    EXPECT_FALSE(QFile::exists(file("dither.bmp")));
}

namespace {
// A press and release of the left button on row `zeile` of a file list, as the user clicks.
void zeileKlicken(vb::FileListBox& liste, int zeile) {
    auto* l = qobject_cast<QListWidget*>(liste.Widget());
    const QPointF p = l->visualItemRect(l->item(zeile)).center();
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, p, l->viewport()->mapToGlobal(p), Qt::LeftButton, t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                      Qt::NoModifier);
        QApplication::sendEvent(l->viewport(), &e);
    }
}
// The rows the list marks.
std::vector<int> markiert(vb::FileListBox& liste) {
    auto* l = qobject_cast<QListWidget*>(liste.Widget());
    std::vector<int> r;
    for (QListWidgetItem* i : l->selectedItems()) r.push_back(l->row(i));
    return r;
}
} // namespace

// A valid picture, then a text under a picture's name, clicked as the user does; the message
// window gives the focus back to the list. The list then marks nothing, the preview shows
// nothing, and accept takes nothing.
TEST_F(PickerTest, AfterAnInvalidFileTheListMarksNothingAndAcceptTakesNothing) {
    QDir().mkpath(file("bilder"));
    writeImage(file("bilder/a.bmp"), GreyRamp(40, 30));
    WriteFile(file("bilder/b.bmp"), "kein Bild");
    writeImage(file("bilder/c.bmp"), GreyRamp(30, 40));
    Startbildschirm->Laden_Click_Sub(file("bilder/c.bmp"), false, true);
    const QImage logo = Startbildschirm->Logo_Weiss_Grafik->hDC().copy();
    struct Stand {
        std::vector<int> markiert;
        int index;
        bool vorschau;
        bool abgebrochen;
        bool operator==(const Stand&) const = default;
    };
    std::vector<Stand> staende;
    answer([&](vb::Form&) {
        Logo_Foto_LadenForm& p = *Logo_Foto_Laden;
        p.Dir1->setPath(file("bilder"));
        zeileKlicken(*p.File1, 2); // c.bmp
        staende.push_back({markiert(*p.File1), p.File1->ListIndex(), p.Vorschaubild_B_Bild->Visible(), Auswahl_abgebrochen});
        zeileKlicken(*p.File1, 1); // b.bmp, message 429
        QFocusEvent fokus(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        QApplication::sendEvent(p.File1->Widget(), &fokus);
        staende.push_back({markiert(*p.File1), p.File1->ListIndex(), p.Vorschaubild_B_Bild->Visible(), Auswahl_abgebrochen});
        p.Uebernehmen_Click();
    });
    answerInfo(1);
    Bilddatei_Pfad = file("bilder/c.bmp");
    Startbildschirm->Laden_Click();
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(429)});
    EXPECT_EQ(staende, (std::vector<Stand>{{{2}, 2, true, false}, {{}, -1, false, true}}));
    EXPECT_TRUE(Auswahl_abgebrochen);
    EXPECT_EQ(Bilddatei_Pfad, file("bilder/c.bmp"));
    EXPECT_EQ(Startbildschirm->Logo_Weiss_Grafik->hDC(), logo);
}

// "Öffnen" places the picker beside the main window's settings button, which on a 1024 x 768
// screen lies partly off its right edge: it opens inside, moved in no further than needed.
TEST_F(PickerTest, ThePickerOpensInsideTheScreen) {
    QRect gesehen;
    answer([&](vb::Form&) {
        gesehen = Logo_Foto_Laden->Widget()->geometry();
        Logo_Foto_Laden->Abbrechen_Click();
    });
    Startbildschirm->Laden_Click();
    const QRect schirm(0, 0, 1024, 768);
    EXPECT_TRUE(schirm.contains(gesehen)) << gesehen.x() << "," << gesehen.y() << " " << gesehen.width() << "x" << gesehen.height();
    EXPECT_EQ(gesehen.right(), schirm.right());
}

TEST_F(PickerTest, EveryActivationResetsTheFitModeToStretch) {
    answer([](vb::Form&) {
        Logo_Foto_Laden->Foto_Perspektivisch_Skallieren_Click();
        EXPECT_TRUE(Perspektivisch_Skalieren);
        Logo_Foto_Laden->Abbrechen_Click();
    });
    Startbildschirm->Laden_Click();
    answer([](vb::Form&) {
        EXPECT_FALSE(Perspektivisch_Skalieren);
        EXPECT_EQ(Logo_Foto_Laden->Foto_Strecht_Skallieren->Tag(), "1");
        EXPECT_TRUE(Logo_Foto_Laden->Foto_Perspektivisch_Skallieren->Tag().isEmpty());
        Logo_Foto_Laden->Abbrechen_Click();
    });
    Startbildschirm->Laden_Click();
    EXPECT_TRUE(Auswahl_abgebrochen);
}

TEST_F(PickerTest, TheBrowserYieldsTempBmpForPhotosAndTheThumbnailsOwnPathForLogos) {
    QDir().mkpath(file("fotos"));
    QDir().mkpath(file("logos/") + Logo_Typcode);
    writeImage(file("fotos/V_Strand.bin.jpg"), GreyRamp(60, 40), "JPEG");
    writeImage(file("logos/") + Logo_Typcode + "/Herz.bmp", GreyRamp(72, 14));
    // Logo mode.
    answer([](vb::Form&) {
        Logo_Foto_Laden->Reiter_Browser_Click();
        Logo_Foto_Laden->Fotos_Vorschaubild_Click(0);
        Logo_Foto_Laden->Uebernehmen_Click();
    });
    Startbildschirm->Laden_Click();
    EXPECT_EQ(Bilddatei_Pfad, file("logos/") + Logo_Typcode + "/Herz.bmp");
    EXPECT_FALSE(Auswahl_abgebrochen);
    // Photo mode, from the photo editor.
    Startbildschirm->Laden_Fotos_Browser_Click();
    answer([](vb::Form&) {
        Logo_Foto_Laden->Reiter_Browser_Click();
        Logo_Foto_Laden->Fotos_Vorschaubild_Click(0);
        Logo_Foto_Laden->Uebernehmen_Click();
    });
    Fotoeditor->Laden_Fotos_Browser_bearbeiten_Click();
    EXPECT_EQ(Bilddatei_Pfad, file("temp.bmp"));
    EXPECT_EQ(vb::LoadPicture(file("temp.bmp")).Image().size(), QSize(60, 40));
    EXPECT_EQ(Browser_Seitenende, 5);
}

// A photo from the browser whose "temp.bmp" cannot be written: the message names the work file
// (the photo itself is fine), the old file stays, and the photo editor keeps its photo.
TEST_F(PickerTest, ABrowserPhotoWhoseWorkFileCannotBeWrittenIsNamedAndTakesNothing) {
    QDir().mkpath(file("fotos"));
    writeImage(file("fotos/V_Strand.bin.jpg"), GreyRamp(60, 40), "JPEG");
    writeImage(file("bild.bmp"), GreyRamp(50, 30));
    Startbildschirm->Laden_Fotos_Browser_Click();
    Fotoeditor->In_Fotoeditor_bearbeiten_Einsprung(file("bild.bmp"));
    Fotoeditor->Laden_Click_Sub(file("bild.bmp"));
    WriteFile(file("temp.bmp"), "ein frueheres Foto");
    const long foto = Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle();
    answer([](vb::Form&) {
        Logo_Foto_Laden->Reiter_Browser_Click();
        Logo_Foto_Laden->Fotos_Vorschaubild_Click(0);
        {
            FullDisk voll(100);
            Logo_Foto_Laden->Uebernehmen_Click();
        }
        Logo_Foto_Laden->Abbrechen_Click();
    });
    Fotoeditor->Laden_Fotos_Browser_bearbeiten_Click();
    EXPECT_EQ(shownInfos, std::vector<QString>{workFileNotWritten(QStringLiteral("temp.bmp"), true)});
    EXPECT_EQ(ReadFile(file("temp.bmp")), QByteArray("ein frueheres Foto"));
    EXPECT_TRUE(Auswahl_abgebrochen);
    EXPECT_EQ(Bilddatei_Pfad, file("bild.bmp"));
    EXPECT_EQ(Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle(), foto);
}

TEST_F(PickerTest, AFolderThatVanishesLeavesThePickerUsable) {
    QDir().mkpath(file("weg"));
    writeImage(file("weg/a.bmp"), GreyRamp(20, 10));
    P().Reiter_Datei_Click();
    P().Dir1->setPath(file("weg"));
    EXPECT_EQ(P().File1->ListCount(), 1);
    QDir(file("weg")).removeRecursively();
    P().File1_Click(); // the listed file is gone
    EXPECT_TRUE(Auswahl_abgebrochen);
    P().Dir1->ReRead();
    P().File1->ReRead();
    P().File1_PathChange();
    EXPECT_TRUE(Auswahl_abgebrochen);
    P().Dir1->setPath(dir());
    EXPECT_EQ(P().Dir1->Path(), QDir::cleanPath(dir()));
}

// The photo road: a strip photo and a metafile through the picker's file tab, the threshold
// conversion handed over and sent.
TEST_F(PickerTest, APhotoBecomesTheLogoOnThePhone) {
    fakephone::FakePhone phone(fakephone::Kind::Nokia6110);
    vb::seams().comPortDevices[0] = phone.device();
    Einstellungen->Vorad_Master_ComboKategorien->Choose(0);
    Einstellungen->Vorad_Master_VoradTyp_ComboKategorien->Choose(0);
    Einstellungen->OK_Click();
    Netzbetreiber_Code = QStringLiteral("26201");
    COM_Port_Nummer = 1;
    Startbildschirm->ComboKategorien[3]->setListIndex(7);
    QDir().mkpath(file("fotos"));
    for (const char* name : {"Aqua.jpg", "Garten.jpg", "Duene_Ausschnitt.bmp"})
        ASSERT_TRUE(QFile::copy(sammlung() + '/' + name, file(QStringLiteral("fotos/") + name)));
    QDir().mkpath(file("eigene"));
    ASSERT_TRUE(QFile::copy(sammlung() + "/Jalousie.wmf", file("eigene/Jalousie.wmf")));
    writeImage(file("eigene/rampe.jpg"), GreyRamp(288, 56), "JPEG");

    Startbildschirm->Laden_Fotos_Browser_Click();
    FotoeditorForm& F = *Fotoeditor;
    ASSERT_TRUE(F.Visible());
    EXPECT_EQ(Bilddatei_Pfad, file("temp.bmp"));
    F.Fotos_Vorschaubild_Click(1); // Duene_Ausschnitt.bmp, Garten.jpg ... sorted: Aqua, Duene, Garten
    EXPECT_EQ(F.Fotos_Vorschaubild_Bild[1]->ToolTipText().section('/', -1), "Duene_Ausschnitt.bmp");
    const long strip = F.Umrechnungen[0].Handle();

    dateiWaehlen(file("eigene"), "Jalousie.wmf");
    F.Laden_Fotos_Browser_bearbeiten_Click();
    EXPECT_EQ(Bilddatei_Pfad, file("eigene/Jalousie.wmf"));
    EXPECT_NE(F.Umrechnungen[0].Handle(), strip);
    EXPECT_EQ(F.Fotos_Bearbeiten_Bildimage->Picture().Width(), 800);

    dateiWaehlen(file("eigene"), "rampe.jpg");
    F.Laden_Fotos_Browser_bearbeiten_Click();
    const QImage sw = F.Umrechnungen[2].Image().convertToFormat(QImage::Format_RGB32);
    F.Kalvoren_Voschau_Schwellenwert_Click();
    F.In_Kalvoren_bearbeiten_Click();
    EXPECT_FALSE(F.Visible());
    EXPECT_TRUE(QFile::exists(file("Foto.bmp")));
    EXPECT_EQ(Startbildschirm->Logo_Weiss_Grafik->hDC().convertToFormat(QImage::Format_RGB32), sw);

    Startbildschirm->Transfer[1]->FireClick();
    EXPECT_TRUE(shownInfos.empty());
    const auto got = phone.operatorLogo();
    ASSERT_TRUE(got.has_value());
    ASSERT_EQ(got->width, 72);
    ASSERT_EQ(got->height, 14);
    int falsch = 0;
    for (int i = 0; i < 72 * 14; ++i) falsch += got->black[size_t(i)] != ((sw.pixel(i % 72, i / 72) & 0xFFFFFF) == 0);
    EXPECT_EQ(falsch, 0);
}

// A click made while a page of photos fills is answered during the fill, not after it: the press
// reaches the program through the X server (xdotool) before the fill starts, and its handler runs
// while slots are still waiting for their pictures.
TEST_F(PickerTest, OnScreenAClickIsAnsweredWhileThePageFills) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
    if (std::system("xdotool version >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs xdotool";
    QDir().mkpath(dir() + QStringLiteral("fotos"));
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, "jpeg");
    w.setProgressiveScanWrite(true);
    ASSERT_TRUE(w.write(RandomPattern(QSize(2400, 1600), 5)));
    for (int i = 0; i < 20; ++i) WriteFile(dir() + QStringLiteral("fotos/Xx%1.jpg").arg(i, 2, 10, QLatin1Char('0')), b.data());
    Foto_Modus = true;
    const Fotovorschau::Slotsatz S = P().Vorschau();
    Fotovorschau::Vorschau_Voreinstellung();
    Fotovorschau::Vorschau_Ordner_setzen(S);
    P().Reiter_Browser_Click();
    P().Show();
    QElapsedTimer t;
    t.start();
    while (!(P().Widget()->windowHandle() && P().Widget()->windowHandle()->isExposed()) && t.elapsed() < 5000) vb::App::DoEvents();
    vb::Image& rahmen = *P().Fotos_Vorschaubild[7];
    int gefuellt = -1;
    const auto klick = rahmen.Click;
    rahmen.Click = [&] {
        gefuellt = 0;
        for (const vb::Image* bild : P().Fotos_Vorschaubild_Bild) gefuellt += bild->Picture().IsEmpty() ? 0 : 1;
        klick();
    };
    const QPoint mitte = rahmen.ScreenOrigin() + QPoint(20, 20);
    const std::string befehl = "xdotool mousemove --sync " + std::to_string(mitte.x()) + " " + std::to_string(mitte.y()) + " click 1";
    ASSERT_EQ(std::system(befehl.c_str()), 0);
    // Long enough for the X server to pass the press on; the program reads it only in its event loop.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Fotovorschau::Vorschaubilder_fuellen(S);
    t.restart();
    while (gefuellt < 0 && t.elapsed() < 5000) vb::App::DoEvents();
    EXPECT_GE(gefuellt, 0) << "the click never came";
    EXPECT_LT(gefuellt, 20);
    EXPECT_EQ(Fotovorschau::Gerahmter_Slot(S), 7);
    for (const vb::Image* bild : P().Fotos_Vorschaubild_Bild) EXPECT_FALSE(bild->Picture().IsEmpty());
    rahmen.Click = klick;
}
