// The photo editor: the strip, the entry pair, the three conversions and the hand-over to the
// logo editor.
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "support/Pictures.h"

#include "frame/Einstellungen.h"
#include "frame/Intro.h"
#include "platform/window/Timer.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "imaging/mfrmMain.h"
#include "photo/Fotoeditor.h"
#include "photo/Fotovorschau_Editor_6.h"
#include "platform/window/ComboBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/ScrollBar.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>

using namespace Parameter_und_Start;

namespace {
bool schwarz(const QImage& img, int x, int y) { return (img.pixel(x, y) & 0xFFFFFF) == 0; }
int wechsel(const QImage& img, int y) {
    int n = 0;
    for (int x = 1; x < img.width(); ++x) n += schwarz(img, x, y) != schwarz(img, x - 1, y);
    return n;
}

class EditorTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Startbildschirm->Show();
        Startbildschirm->ComboKategorien[3]->setListIndex(7); // 72 x 14
        QDir().mkpath(file("fotos"));
    }
    FotoeditorForm& F() { return *Fotoeditor; }
    // A collection of n photos "f01.jpg" ..., each a flat grey of its own.
    void sammlung(int n) {
        for (int i = 1; i <= n; ++i) {
            QImage img(800, 600, QImage::Format_RGB32);
            img.fill(qRgb(i * 20, i * 20, i * 20));
            writeImage(file(QStringLiteral("fotos/f%1.jpg").arg(i, 2, 10, QLatin1Char('0'))), img, "JPEG");
        }
    }
    QString slot(int i) { return F().Fotos_Vorschaubild_Bild[size_t(i)]->ToolTipText().section('/', -1); }
    void oeffnen(const QString& pfad) {
        F().In_Fotoeditor_bearbeiten_Einsprung(pfad);
        F().Laden_Click_Sub(pfad);
    }
};
} // namespace

TEST_F(EditorTest, ThePhotoButtonOpensTheFirstStripPhoto) {
    sammlung(8);
    Startbildschirm->Laden_Fotos_Browser_Click();
    ASSERT_TRUE(F().Visible());
    EXPECT_TRUE(Startbildschirm->Enabled());
    EXPECT_EQ(slot(0), "f01.jpg");
    EXPECT_EQ(F().Fotos_Vorschaubild[0]->BorderStyle(), 1);
    EXPECT_EQ(F().Fotos_Vorschaubild[0]->ToolTipText().section('/', -1), "1.jpg"); // the slot path
    EXPECT_EQ(Bilddatei_Pfad, file("temp.bmp"));
    EXPECT_TRUE(QFile::exists(file("temp.bmp")));
    for (const char* w : {"dither.bmp", "muster.bmp", "sw.bmp"}) EXPECT_TRUE(QFile::exists(file(w))) << w;
    // The photo fitted into 422 x 351 pixels and centred in its container.
    vb::Image* foto = F().Fotos_Bearbeiten_Bildimage;
    ASSERT_FALSE(foto->Picture().IsEmpty());
    EXPECT_EQ(vb::TwipsToPx(foto->Width()), 422);
    EXPECT_EQ(vb::TwipsToPx(foto->Height()), 317);
    EXPECT_NEAR(foto->Left() + foto->Width() / 2, F().Shape1->Width() / 2, 15);
    EXPECT_NEAR(foto->Top() + foto->Height() / 2, F().Shape1->Height() / 2, 15);
    // The previews have the logo's size.
    EXPECT_EQ(F().Kalvoren_Voschau_Dither_Grafik->hDC().size(), QSize(72, 14));
    EXPECT_EQ(F().Gruen_Transferlogo_LogoBrowser[1]->hDC().size(), QSize(72, 14));
    EXPECT_EQ(mfrmMain->ImageWidth(), 800);
}

TEST_F(EditorTest, TheStripPagesOneSlotOrFiveSlotsAndFramesTheFirst) {
    sammlung(12);
    Startbildschirm->Laden_Fotos_Browser_Click();
    vb::ScrollBar* s = F().FotosScrollbalken;
    EXPECT_EQ(s->Max(), 6);
    EXPECT_EQ(s->LargeChange(), 5);
    F().Fotos_Vorschaubild_Click(3);
    EXPECT_EQ(F().Fotos_Vorschaubild[3]->BorderStyle(), 1);
    s->setValue(s->Value() + s->SmallChange());
    EXPECT_EQ(slot(0), "f02.jpg");
    EXPECT_EQ(slot(5), "f07.jpg");
    EXPECT_EQ(F().Fotos_Vorschaubild[0]->BorderStyle(), 1);
    EXPECT_EQ(F().Fotos_Vorschaubild[3]->BorderStyle(), 0);
    s->setValue(0);
    s->setValue(std::min(s->Max(), s->Value() + s->LargeChange()));
    EXPECT_EQ(slot(0), "f06.jpg");
    EXPECT_EQ(slot(5), "f11.jpg");
    s->setValue(std::min(s->Max(), s->Value() + s->LargeChange()));
    EXPECT_EQ(slot(0), "f07.jpg");
    EXPECT_EQ(slot(5), "f12.jpg");
}

TEST_F(EditorTest, AShortCollectionStaysOnItsFirstPageWithEmptySlots) {
    sammlung(3);
    Startbildschirm->Laden_Fotos_Browser_Click();
    EXPECT_EQ(F().FotosScrollbalken->Max(), 0);
    EXPECT_EQ(slot(2), "f03.jpg");
    EXPECT_TRUE(F().Fotos_Vorschaubild_Bild[3]->Picture().IsEmpty());
    EXPECT_TRUE(F().Fotos_Vorschaubild_Bild[3]->ToolTipText().isEmpty());
    // A click on an empty slot opens nothing.
    const long vorher = F().Fotos_Bearbeiten_Bildimage->Picture().Handle();
    F().Fotos_Vorschaubild_Click(4);
    EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->Picture().Handle(), vorher);
}

TEST_F(EditorTest, OnAGreyRampTheThresholdGivesTwoFlatAreasAndTheDitherAMixture) {
    writeImage(file("rampe.bmp"), GreyRamp(288, 56));
    oeffnen(file("rampe.bmp"));
    const QImage dither = F().Umrechnungen[0].Image(), muster = F().Umrechnungen[1].Image(), sw = F().Umrechnungen[2].Image();
    ASSERT_EQ(sw.size(), QSize(72, 14));
    for (int y = 0; y < 14; ++y) {
        EXPECT_EQ(wechsel(sw, y), 1) << y;
        EXPECT_TRUE(schwarz(sw, 0, y));
        EXPECT_FALSE(schwarz(sw, 71, y));
        EXPECT_GT(wechsel(dither, y), 6) << y;
    }
    EXPECT_NE(muster, dither);
    // The previews show the conversions on the display's green.
    const QImage v = F().Kalvoren_Voschau_Schwellenwert_Grafik->hDC();
    EXPECT_EQ(v.pixel(0, 0) & 0xFFFFFF, 0u);
    EXPECT_EQ(QColor(v.pixel(71, 0)), QColor(155, 164, 126));
    EXPECT_EQ(F().Gruen_Transferlogo_LogoBrowser[1]->hDC().pixel(0, 0) & 0xFFFFFF, 0u);
}

TEST_F(EditorTest, ChoosingAPreviewMovesTheFrameAndThresholdRewritesThePreviousWorkFile) {
    writeImage(file("rampe.bmp"), GreyRamp(288, 56));
    oeffnen(file("rampe.bmp"));
    EXPECT_EQ(F().Kalvoren_Voschau_Dither->BorderStyle(), 1); // no setting: Dither
    F().Kalvoren_Voschau_Muster_Click();
    EXPECT_EQ(F().Kalvoren_Voschau_Muster->BorderStyle(), 1);
    EXPECT_EQ(F().Kalvoren_Voschau_Dither->BorderStyle(), 0);
    F().Kalvoren_Voschau_Muster_Click();
    EXPECT_EQ(F().Kalvoren_Voschau_Muster->Tag(), "1");
    QFile::remove(file("muster.bmp"));
    F().Kalvoren_Voschau_Schwellenwert_Click();
    EXPECT_TRUE(QFile::exists(file("muster.bmp")));
    EXPECT_EQ(F().Kalvoren_Voschau_Schwellenwert->BorderStyle(), 1);
    EXPECT_EQ(F().Kalvoren_Voschau_Muster->BorderStyle(), 0);
}

TEST_F(EditorTest, TheStartingConversionFollowsTheSettings) {
    Intro->Splash->Fire(); // the settings lists, as at start-up
    Einstellungen->Berechnungsart_Combobox->setListIndex(2);
    Fotoeditor.Destroy();
    EXPECT_EQ(F().Kalvoren_Voschau_Schwellenwert->BorderStyle(), 1);
    EXPECT_EQ(F().Kalvoren_Voschau_Dither->BorderStyle(), 0);
}

TEST_F(EditorTest, HandOverGivesTheLogoEditorThePreviewsPixelsAndLeavesTheClipboard) {
    QGuiApplication::clipboard()->setText(QStringLiteral("Notiz des Benutzers"));
    writeImage(file("rampe.bmp"), GreyRamp(288, 56));
    Startbildschirm->setEnabled(false);
    F().Show();
    oeffnen(file("rampe.bmp"));
    F().Kalvoren_Voschau_Schwellenwert_Click();
    const QImage erwartet = F().Umrechnungen[2].Image();
    F().In_Kalvoren_bearbeiten_Click();
    EXPECT_EQ(Startbildschirm->Logo_Weiss_Grafik->hDC().convertToFormat(QImage::Format_RGB32), erwartet.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(vb::LoadPicture(file("Foto.bmp")).Image().convertToFormat(QImage::Format_RGB32), erwartet.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(Bilddatei_Pfad, file("Foto.bmp"));
    EXPECT_FALSE(F().Visible());
    EXPECT_TRUE(Startbildschirm->Enabled());
    EXPECT_TRUE(Startbildschirm->Layer_Kalvoren->Visible());
    EXPECT_TRUE(Foto_Modus);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Notiz des Benutzers"));
}

TEST_F(EditorTest, AFileThatIsNoPictureLeavesPhotoPreviewsAndWorkFiles) {
    writeImage(file("rampe.bmp"), GreyRamp(288, 56));
    oeffnen(file("rampe.bmp"));
    const long foto = F().Fotos_Bearbeiten_Bildimage->Picture().Handle();
    const long vorschau = F().Umrechnungen[0].Handle();
    const QByteArray dither = ReadFile(file("dither.bmp"));
    const QImage anzeige = F().Kalvoren_Voschau_Dither_Grafik->hDC().copy();
    QFile kaputt(file("kaputt.jpg"));
    ASSERT_TRUE(kaputt.open(QIODevice::WriteOnly));
    kaputt.write("\xFF\xD8\xFF\xE0 abgeschnitten");
    kaputt.close();
    // A BMP whose header claims 60000 x 60000 pixels.
    QByteArray riesig = ReadFile(file("rampe.bmp")).left(54);
    for (int i : {18, 22}) {
        riesig[i] = char(0x60); riesig[i + 1] = char(0xEA); riesig[i + 2] = 0; riesig[i + 3] = 0;
    }
    QFile r(file("riesig.bmp"));
    ASSERT_TRUE(r.open(QIODevice::WriteOnly));
    r.write(riesig);
    r.close();
    for (const char* name : {"kaputt.jpg", "riesig.bmp"}) {
        shownInfos.clear();
        F().Laden_Fotos_Browser_Einsprung(file(name));
        ASSERT_EQ(shownInfos.size(), 1u) << name;
        EXPECT_EQ(shownInfos[0], LoadResString(429));
        EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->Picture().Handle(), foto);
        EXPECT_EQ(F().Umrechnungen[0].Handle(), vorschau);
        EXPECT_EQ(ReadFile(file("dither.bmp")), dither);
        EXPECT_EQ(F().Kalvoren_Voschau_Dither_Grafik->hDC(), anzeige);
        EXPECT_TRUE(F().Laden_Fotos_Browser_bearbeiten->Visible());
    }
}

// A strip photo whose "temp.bmp" and a hand-over whose "Foto.bmp" cannot be written: the message
// names the file, the old file stays, and the photo, the strip's frame and the logo editor stay.
TEST_F(EditorTest, AWorkFileThatCannotBeWrittenIsNamedAndChangesNothing) {
    sammlung(3);
    Startbildschirm->Laden_Fotos_Browser_Click(); // the first strip photo, through "temp.bmp"
    ASSERT_EQ(Bilddatei_Pfad, file("temp.bmp"));
    WriteFile(file("Foto.bmp"), "ein frueheres Foto");
    struct Stand {
        QByteArray temp, foto;
        long bild;
        int rahmen;
        QString pfad;
        QImage logo;
        bool sichtbar;
        bool operator==(const Stand&) const = default;
    };
    const auto stand = [&] {
        return Stand{ReadFile(file("temp.bmp")), ReadFile(file("Foto.bmp")), F().Fotos_Bearbeiten_Bildimage->Picture().Handle(),
                     Fotovorschau_Editor_6::Gerahmter_Slot(F().Streifen()), Bilddatei_Pfad,
                     Startbildschirm->Logo_Weiss_Grafik->hDC().copy(), F().Visible()};
    };
    struct Fall {
        const char* datei;
        bool foto;
        std::function<void()> tun;
    };
    const Fall faelle[] = {
        {"temp.bmp", true, [&] { F().Fotos_Vorschaubild_Bild_Click(1); }},
        {"Foto.bmp", false, [&] { F().In_Kalvoren_bearbeiten_Click(); }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.datei);
        shownInfos.clear();
        const Stand vorher = stand();
        {
            FullDisk voll(100);
            f.tun();
        }
        EXPECT_EQ(shownInfos, std::vector<QString>{workFileNotWritten(QString::fromLatin1(f.datei), f.foto)});
        EXPECT_TRUE(stand() == vorher);
    }
}
