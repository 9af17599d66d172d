// The photo editor's filters: the cascading lists, applying through the processing host with
// the work files, undo, and the previews that follow every filter.
#include "support/EngineResult.h"
#include "support/Fixture.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"
#include "imaging/mfrmMain.h"
#include "photo/Fotoeditor.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Rnd.h"
#include "platform/system/Shell.h"
#include "platform/system/Seams.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <functional>
#include <random>

using namespace Parameter_und_Start;

namespace {

QImage foto(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    std::mt19937 rng(5);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.setPixel(x, y, qRgb((x * 255 / w + int(rng() % 40)) % 256, (y * 255 / h + int(rng() % 40)) % 256, int(rng() % 256)));
    return img;
}
QImage rgb32(const QImage& i) { return i.convertToFormat(QImage::Format_RGB32); }

class FilterTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Startbildschirm->Show();
        Startbildschirm->ComboKategorien[3]->setListIndex(7); // 72 x 14
        original = foto(120, 90);
        writeImage(file("foto.bmp"), original);
        F().Show();
        oeffnen(file("foto.bmp"));
    }
    FotoeditorForm& F() { return *Fotoeditor; }
    void oeffnen(const QString& pfad) {
        F().In_Fotoeditor_bearbeiten_Einsprung(pfad);
        F().Laden_Click_Sub(pfad);
    }
    // Chooses an entry as the user does, list by list, and applies it.
    void anwenden(int f1, int f2, int f3 = -1) {
        F().Filter1->setListIndex(f1);
        F().Filter2->setListIndex(f2);
        if (f3 >= 0) F().Filter3->setListIndex(f3);
        F().Filter_anwenden_Click();
    }
    QImage hostFoto() { return mfrmMain->m_cDIB->ToImage(); }
    QImage editorFoto() { return rgb32(F().Fotos_Bearbeiten_Bildimage->Picture().Image()); }
    std::array<QImage, 3> vorschauen() {
        std::array<QImage, 3> v;
        for (int i = 0; i < 3; ++i) v[size_t(i)] = rgb32(F().Umrechnungen[size_t(i)].Image());
        return v;
    }
    static QImage engine(const QImage& in, const EngineOp& op) { return EngineResult(in, op); }
    static void typ(cImageProcessDIB& e, cDIBSection& d, cDIBSection& b, int t) {
        e.FilterType(t);
        e.ProcessImage(d, b);
    }
    QImage original;
};

} // namespace

TEST_F(FilterTest, ChoosingFilterFillsTheListsAndLabels) {
    // The editor opens with "Farben" / "Bild abdunkeln" and the third list covered.
    EXPECT_EQ(F().Filter1_Label->Caption(), "Farben");
    EXPECT_EQ(F().Filter2_Label->Caption(), "Bild abdunkeln");
    EXPECT_FALSE(F().Filter3->Visible());
    EXPECT_FALSE(F().Filter3_Label->Visible());
    EXPECT_TRUE(F().Filter3_Abdeckung->Visible());

    F().Filter1->setListIndex(1);
    EXPECT_EQ(F().Filter1_Label->Caption(), "Filter");
    EXPECT_EQ(F().Filter2_Label->Caption(), "Weichzeichnen");
    EXPECT_EQ(F().Filter3_Label->Caption(), "wenig weichzeichnen");
    ASSERT_EQ(F().Filter2->ListCount(), 3);
    EXPECT_EQ(F().Filter2->List(2), "Spezielle Filter");
    ASSERT_EQ(F().Filter3->ListCount(), 4);
    EXPECT_EQ(F().Filter3->List(3), "Kanten stark unscharf");
    EXPECT_FALSE(F().Filter1->Visible());
    EXPECT_FALSE(F().Filter2->Visible());
    EXPECT_TRUE(F().Filter3->Visible());
    EXPECT_TRUE(F().Filter3_Label->Visible());
    EXPECT_FALSE(F().Filter3_Abdeckung->Visible());

    F().Filter2->setListIndex(2);
    EXPECT_EQ(F().Filter3->ListCount(), 5);
    EXPECT_EQ(F().Filter3_Label->Caption(), "Relief");

    F().Filter1->setListIndex(0);
    EXPECT_EQ(F().Filter2_Label->Caption(), "Bild abdunkeln");
    EXPECT_FALSE(F().Filter3->Visible());
    EXPECT_FALSE(F().Filter3_Label->Visible());
    EXPECT_TRUE(F().Filter3_Abdeckung->Visible());
}

TEST_F(FilterTest, EveryEntryRunsItsOperationAndRecomputesThePreviews) {
    using Op = EngineOp;
    auto t = [](int n) -> Op { return [n](auto& e, auto& d, auto& b) { typ(e, d, b, n); }; };
    struct Case {
        int f1, f2, f3;
        Op op;
    };
    const std::vector<Case> cases = {
        {0, 0, -1, [](auto& e, auto& d, auto&) { e.Fade(d, 240); }},
        {0, 1, -1, [](auto& e, auto& d, auto&) { e.Lighten(d, 20); }},
        {0, 2, -1, [](auto& e, auto& d, auto& b) { e.AddImages(d, b, -1, -255, -255, -255, 0, 0, 0, 0); d.LoadPictureBlt(b); }},
        {0, 3, -1, [](auto& e, auto& d, auto&) { e.GrayScale(d); }},
        {0, 4, -1, [](auto& e, auto& d, auto& b) { e.BlackAndWhite(d, b); }},
        {1, 0, 0, t(3)}, {1, 0, 1, t(4)}, {1, 0, 2, t(1)}, {1, 0, 3, t(2)},
        {1, 1, 0, t(5)}, {1, 1, 1, t(6)}, {1, 1, 2, t(7)},
        {1, 2, 0, t(8)}, {1, 2, 2, t(10)}, {1, 2, 3, t(9)}, {1, 2, 4, t(11)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.f1 << c.f2 << c.f3);
        oeffnen(file("foto.bmp"));
        anwenden(c.f1, c.f2, c.f3);
        const QImage erwartet = engine(original, c.op);
        EXPECT_EQ(hostFoto(), erwartet);
        EXPECT_EQ(editorFoto(), erwartet);
        EXPECT_EQ(rgb32(vb::LoadPicture(file("raster.bmp")).Image()), erwartet);
        EXPECT_EQ(rgb32(vb::LoadPicture(file("undo.bmp")).Image()), original);
        // The previews are those of the filtered picture opened afresh.
        const auto nachher = vorschauen();
        writeImage(file("kopie.bmp"), erwartet);
        oeffnen(file("kopie.bmp"));
        EXPECT_EQ(nachher, vorschauen());
    }
    // Noise draws its numbers from the runtime.
    oeffnen(file("foto.bmp"));
    vb::seams().rnd = [] { return 0.99; };
    anwenden(1, 2, 1);
    EXPECT_EQ(hostFoto(), engine(original, [](auto& e, auto& d, auto&) { e.AddNoise(d, 20, true); }));
}

TEST_F(FilterTest, ReliefTwiceEmbossesTheEmbossedPicture) {
    anwenden(1, 2, 0);
    F().Filter_anwenden_Click();
    const QImage zweimal = engine(original, [](auto& e, auto& d, auto& b) {
        typ(e, d, b, 8);
        typ(e, d, b, 8);
    });
    EXPECT_EQ(hostFoto(), zweimal);
    EXPECT_EQ(editorFoto(), zweimal);
    EXPECT_NE(zweimal, engine(original, [](auto& e, auto& d, auto& b) { typ(e, d, b, 8); }));
}

TEST_F(FilterTest, UndoAfterTwoFiltersGoesBackToTheFirst) {
    anwenden(1, 0, 0); // wenig weichzeichnen
    const QImage erster = hostFoto();
    const auto ersteVorschauen = vorschauen();
    EXPECT_FALSE(F().Undo_Fotoeditor_Shape_Label->Visible());
    anwenden(1, 1, 1); // stark scharfzeichnen
    ASSERT_NE(hostFoto(), erster);
    F().Undo_Fotoeditor_Click();
    EXPECT_EQ(hostFoto(), erster);
    EXPECT_EQ(editorFoto(), erster);
    EXPECT_EQ(vorschauen(), ersteVorschauen);
    EXPECT_FALSE(QFile::exists(file("undo.bmp")));
    EXPECT_TRUE(F().Undo_Fotoeditor_Shape_Label->Visible());

    // Without "undo.bmp" the snapshot (the picture after the last filter) reaches all three.
    F().Undo_Fotoeditor_Click();
    const QImage zweiter = engine(erster, [](auto& e, auto& d, auto& b) { typ(e, d, b, 6); });
    EXPECT_EQ(hostFoto(), zweiter);
    EXPECT_EQ(editorFoto(), zweiter);
    writeImage(file("kopie.bmp"), zweiter);
    const auto angezeigt = vorschauen();
    oeffnen(file("kopie.bmp"));
    EXPECT_EQ(angezeigt, vorschauen());
    EXPECT_TRUE(F().Undo_Fotoeditor_Shape_Label->Visible());
}

TEST_F(FilterTest, AFilterWhoseWorkFilesCannotBeWrittenLeavesTheEditorAsItWas) {
    anwenden(0, 3); // Graustufen: undo.bmp holds the original
    const QImage grau = hostFoto();
    const auto grauVorschauen = vorschauen();
    // A folder where the work file should go: no user, not even root, can write it.
    ASSERT_TRUE(QFile::remove(file("raster.bmp")));
    ASSERT_TRUE(QDir().mkpath(file("raster.bmp")));
    anwenden(1, 0, 1);
    EXPECT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(hostFoto(), grau);
    EXPECT_EQ(editorFoto(), grau);
    EXPECT_EQ(vorschauen(), grauVorschauen);
    EXPECT_EQ(F().MousePointer(), 0);
    EXPECT_EQ(F().Filter_anwenden->MousePointer(), 0);
    EXPECT_FALSE(F().Undo_Fotoeditor_Shape_Label->Visible());
    // The undo still goes back before the grey filter.
    F().Undo_Fotoeditor_Click();
    EXPECT_EQ(hostFoto(), original);
    EXPECT_EQ(editorFoto(), original);
}

TEST_F(FilterTest, OnScreenAPersonFiltersUndoesAndHandsOver) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
    // The way a person goes: hover a label to open its list, click an entry, click the button.
    auto waehlen = [&](int liste, int eintrag) {
        vb::Label* labels[] = {F().Filter1_Label, F().Filter2_Label, F().Filter3_Label};
        vb::ComboBox* listen[] = {F().Filter1, F().Filter2, F().Filter3};
        labels[liste]->FireMouseMove(0, 0, 10, 10);
        vb::App::DoEvents();
        ASSERT_TRUE(listen[liste]->Visible());
        listen[liste]->setListIndex(eintrag);
        vb::App::DoEvents();
    };
    auto anwendenKlick = [&] {
        F().Filter_anwenden->FireClick();
        vb::App::DoEvents();
    };
    waehlen(0, 1);
    waehlen(1, 0);
    waehlen(2, 2); // Kanten unscharf
    anwendenKlick();
    const QImage weich = hostFoto();
    waehlen(1, 1);
    waehlen(2, 0); // wenig scharfzeichnen
    anwendenKlick();
    waehlen(0, 0);
    waehlen(1, 3); // Graustufen
    anwendenKlick();
    const QImage grau = engine(engine(weich, [](auto& e, auto& d, auto& b) { typ(e, d, b, 5); }),
                               [](auto& e, auto& d, auto&) { e.GrayScale(d); });
    EXPECT_EQ(hostFoto(), grau);
    F().Undo_Fotoeditor->FireClick();
    vb::App::DoEvents();
    const QImage scharf = engine(weich, [](auto& e, auto& d, auto& b) { typ(e, d, b, 5); });
    EXPECT_EQ(hostFoto(), scharf);
    EXPECT_EQ(editorFoto(), scharf);
    // Hand-over of the dither preview of the sharpened photo.
    F().Kalvoren_Voschau_Dither->FireClick();
    vb::App::DoEvents();
    const QImage uebergeben = rgb32(F().Umrechnungen[0].Image());
    F().In_Kalvoren_bearbeiten->FireClick();
    vb::App::DoEvents();
    EXPECT_FALSE(F().Visible());
    EXPECT_TRUE(Startbildschirm->Layer_Kalvoren->Visible());
    EXPECT_EQ(rgb32(Startbildschirm->Logo_Weiss_Grafik->hDC()), uebergeben);
}

// Invert, undo, save: the name proposed and the copy are those of the photo shown. A photo
// whose file is gone, and a target that cannot be written, are each reported.
TEST_F(FilterTest, SavingAfterAnUndoSavesThePhotoShownOrSaysWhyNot) {
    anwenden(0, 2); // Bild invertieren
    F().Undo_Fotoeditor_Click();
    ASSERT_EQ(editorFoto(), original);
    EXPECT_FALSE(QFile::exists(file("undo.bmp")));
    // Copies are made; the desktop's other services stay out.
    vb::seams().shell = [](const QString& what, const QString&) { return what != QLatin1String("copy"); };
    QString vorgeschlagen, ziel = file("ablage.bmp");
    answerFileDialog(vorgeschlagen, ziel);
    F().Speichern_Fotos_Browser_Bearbeiten_Click();
    EXPECT_EQ(vorgeschlagen, file("rasterH.bmp"));
    EXPECT_EQ(rgb32(QImage(ziel)), original);
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(180) + ziel});

    // A folder that does not exist as the target.
    shownInfos.clear();
    ziel = file("fehlt/ablage.bmp");
    F().Speichern_Fotos_Browser_Bearbeiten_Click();
    EXPECT_FALSE(QFile::exists(ziel));
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(182) + ziel});

    // The photo's file gone: no name is asked for.
    ASSERT_TRUE(QFile::remove(Bilddatei_Pfad));
    shownInfos.clear();
    vorgeschlagen.clear();
    F().Speichern_Fotos_Browser_Bearbeiten_Click();
    EXPECT_TRUE(vorgeschlagen.isEmpty());
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(181) + file("raster.bmp")});
}
