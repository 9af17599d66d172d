// The picture buttons of the picture picker and the photo editor: each lights alone with its own
// face and caption, the background ends it and puts the window's group right, and the title and
// the background drag the window.
#include "support/Buttons.h"
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Fenster.h"
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
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Seams.h"

#include <QImage>
#include <span>

using namespace Parameter_und_Start;

namespace {
// At both screen resolutions the program knows, with the windows loaded and scaled as the program
// loads them.
class PhotoButtonsTest : public ProgramTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        useScreen(1024, 768, GetParam());
        Fenster::Formular_laden(*Startbildschirm);
        Startbildschirm->Show();
        Startbildschirm->ComboKategorien[3]->setListIndex(7); // 72 x 14
        QDir().mkpath(file("bilder"));
        QImage img(160, 120, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) img.setPixel(x, y, qRgb(x * 255 / 159, y * 2, 128));
        writeImage(file("bilder/foto.bmp"), img);
    }
    Logo_Foto_LadenForm& P() { return *Logo_Foto_Laden; }
    FotoeditorForm& E() { return *Fotoeditor; }
    // The picker as its callers open it: on the file tab, here in the folder of the test photo.
    void picker() {
        Fenster::Formular_laden(*Logo_Foto_Laden);
        P().Reiter_Datei_Click();
        P().Show();
        P().Dir1->setPath(file("bilder"));
        ASSERT_TRUE(P().Layer_Logo_FotoLaden_B->Visible());
    }
    // The photo editor with a photo, filtered once so that undo is open.
    void editor() {
        Fenster::Formular_laden(*Fotoeditor);
        E().Show();
        E().In_Fotoeditor_bearbeiten_Einsprung(file("bilder/foto.bmp"));
        E().Laden_Click_Sub(file("bilder/foto.bmp"));
        E().Filter1->setListIndex(1);
        E().Filter2->setListIndex(0);
        E().Filter3->setListIndex(0);
        E().Filter_anwenden_Click();
        ASSERT_FALSE(E().Undo_Fotoeditor_Shape_Label->Visible());
    }
    std::function<void()> pickerHintergrund() {
        return [this] { P().Form_MouseMove(0, 0, 15, 15); };
    }
    std::function<void()> editorHintergrund() {
        return [this] { E().Form_MouseMove(0, 0, 15, 15); };
    }
    // Thumbnail frames share the store's frame highlight: each lights alone, and so does a
    // button between them.
    void rahmenPruefen(vb::Form& f, std::span<vb::Image* const> rahmen, std::initializer_list<size_t> welche, Knopf dazwischen,
                       const std::function<void()>& hintergrund) {
        std::vector<Knopf> knoepfe;
        for (size_t i : welche) knoepfe.push_back({rahmen[i], 0, "Logo_Vorschaubild", "hot"});
        knoepfe.insert(knoepfe.begin() + 1, dazwischen);
        knoepfePruefen(f, knoepfe, hintergrund);
    }
    // A button group: whichever member is chosen shows its chosen look over each background, and
    // the others light under the mouse until the mouse reaches a background.
    void gruppePruefen(vb::Form& f, const std::vector<Knopf>& gruppe, std::initializer_list<std::function<void()>> hintergruende) {
        for (const Knopf& gewaehlt : gruppe) {
            SCOPED_TRACE(gewaehlt.store);
            gewaehlt.control->FireClick();
            ASSERT_EQ(gewaehlt.control->Tag(), QStringLiteral("1"));
            for (const auto& hintergrund : hintergruende) {
                hintergrund();
                EXPECT_TRUE(fensterbild(f) == mitLicht(f, gewaehlt)) << "the chosen one is not shown chosen";
                knoepfePruefen(f, gruppe, hintergrund);
            }
        }
    }
};
} // namespace

TEST_P(PhotoButtonsTest, PickerButtonsLightOneAtATimeWithTheirOwnCaption) {
    picker();
    Logo_Foto_LadenForm& p = P();
    knoepfePruefen(p,
                   {{p.Schliessen[0], 400, "Schliessen"},
                    {p.Reiter_Datei, 827, "Reiter_Datei"},
                    {p.Reiter_Browser, 828, "Reiter_Browser"},
                    {p.Uebernehmen, 826, "Uebernehmen"},
                    {p.Abbrechen, 405, "Abbrechen2"},
                    {p.Dir1, 830, nullptr},
                    {p.File1, 829, nullptr},
                    {p.Vorschaubild_B, 832, nullptr}},
                   pickerHintergrund());
    // The file tab's layer is a background of its own: it ends a highlight and names the drives.
    p.Drive1->setToolTipText(QString());
    p.Reiter_Browser->FireMouseMove(0, 0, 15, 15);
    const QImage hell = fensterbild(p);
    p.Layer_Logo_FotoLaden_B->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(p.Drive1->ToolTipText(), LoadResString(831));
    EXPECT_NE(fensterbild(p), hell);
    p.Form_MouseMove(0, 0, 15, 15);
    const QImage ruhe = fensterbild(p);
    p.Reiter_Browser->FireMouseMove(0, 0, 15, 15);
    p.Layer_Logo_FotoLaden_B->FireMouseMove(0, 0, 15, 15);
    EXPECT_TRUE(fensterbild(p) == ruhe);
}

TEST_P(PhotoButtonsTest, PickerThumbnailFramesLightOneAtATime) {
    picker();
    P().Reiter_Browser_Click();
    ASSERT_FALSE(P().Layer_Logo_FotoLaden_B->Visible());
    rahmenPruefen(P(), P().Fotos_Vorschaubild, {0, 1, 7, 19, 3}, {P().Uebernehmen, 826, "Uebernehmen"}, pickerHintergrund());
}

// The fit buttons; the file tab's layer is a background too.
TEST_P(PhotoButtonsTest, PickerFitButtonsAreOneGroup) {
    picker();
    Logo_Foto_LadenForm& p = P();
    gruppePruefen(p,
                  {{p.Foto_Perspektivisch_Skallieren, 847, "Foto_Perspektivisch_Skallieren"},
                   {p.Foto_Strecht_Skallieren, 848, "Foto_Strecht_Skallieren"}},
                  {pickerHintergrund(), [&] { p.Layer_Logo_FotoLaden_B->FireMouseMove(0, 0, 15, 15); }});
}

TEST_P(PhotoButtonsTest, EditorButtonsLightOneAtATimeWithTheirOwnCaption) {
    editor();
    FotoeditorForm& e = E();
    const std::vector<Knopf> knoepfe = {{e.Schliessen, 400, "Schliessen"},
                                        {e.Filter_anwenden, 840, "Filter_anwenden"},
                                        {e.Undo_Fotoeditor, 833, "Undo_Fotoeditor"},
                                        {e.Laden_Fotos_Browser_bearbeiten, 835, "Laden_Fotos_Browser_bearbeiten"},
                                        {e.Speichern_Fotos_Browser_Bearbeiten, 836, "Speichern_Fotos_Browser_Bearbeiten"},
                                        {e.Scanner_Deaktiviert, 854, nullptr},
                                        {e.Kasten_Fotoeditor_BildKomplett, 703, "Kasten_Fotoeditor_BildKomplett"},
                                        {e.Kasten_Fotoeditor_BildAusschnitt, 702, "Kasten_Fotoeditor_BildAusschnitt"},
                                        {e.Kasten_Fotoeditor_BildLogoLupe, 701, "Kasten_Fotoeditor_BildLogoLupe"},
                                        {e.Kalvoren_Voschau_Dither_Grafik, 837, nullptr},
                                        {e.Kalvoren_Voschau_Muster_Grafik, 838, nullptr},
                                        {e.Kalvoren_Voschau_Schwellenwert_Grafik, 839, nullptr},
                                        {e.In_Kalvoren_bearbeiten, 841, "In_Kalvoren_bearbeiten"},
                                        {e.Abbrechen, 842, "Beenden"}};
    knoepfePruefen(e, knoepfe, editorHintergrund());
    // With a scanner the scan button takes the place of its cover.
    int ctrlT = 20;
    Einstellungen->Form_KeyPress(ctrlT);
    ASSERT_TRUE(e.Bild_scannen_Fotos_Bearbeiten->Visible());
    knoepfePruefen(e, {{e.Bild_scannen_Fotos_Bearbeiten, 834, "Bild_scannen_Fotos_Bearbeiten"}, {e.Abbrechen, 842, "Beenden"}},
                   editorHintergrund());
}

// The three conversions light as frames; the chosen one keeps its light over the background.
TEST_P(PhotoButtonsTest, EditorConversionFramesLightExceptTheChosenOne) {
    editor();
    FotoeditorForm& e = E();
    const std::vector<Knopf> rahmen = {{e.Kalvoren_Voschau_Dither, 0, "Kalvoren_Voschau_Dither"},
                                       {e.Kalvoren_Voschau_Muster, 0, "Kalvoren_Voschau_Muster"},
                                       {e.Kalvoren_Voschau_Schwellenwert, 0, "Kalvoren_Voschau_Schwellenwert"}};
    const std::function<void()> waehlen[] = {[&] { e.Kalvoren_Voschau_Muster_Click(); }, [&] { e.Kalvoren_Voschau_Schwellenwert_Click(); },
                                             [&] { e.Kalvoren_Voschau_Dither_Click(); }};
    for (const auto& w : waehlen) {
        w();
        knoepfePruefen(e, rahmen, editorHintergrund());
    }
}

TEST_P(PhotoButtonsTest, EditorStripFramesLightOneAtATime) {
    QDir().mkpath(file("fotos"));
    for (int i = 1; i <= 6; ++i) {
        QImage img(40, 30, QImage::Format_RGB32);
        img.fill(qRgb(i * 30, i * 30, i * 30));
        writeImage(file(QStringLiteral("fotos/f%1.bmp").arg(i)), img);
    }
    Startbildschirm->Laden_Fotos_Browser_Click();
    ASSERT_TRUE(E().Visible());
    rahmenPruefen(E(), E().Fotos_Vorschaubild, {1, 2, 5, 4}, {E().Filter_anwenden, 840, "Filter_anwenden"}, editorHintergrund());
}

// The scissors: before the first choice each lights under the mouse and the background darkens
// it again; from the first choice on they are one group.
TEST_P(PhotoButtonsTest, EditorScissorsAreOneGroup) {
    editor();
    FotoeditorForm& e = E();
    const std::vector<Knopf> scheren = {{e.Foto_bearbeiten_Schere_Komplett, 705, "Foto_bearbeiten_Schere_Komplett"},
                                        {e.Foto_bearbeiten_Schere_Lasso, 846, "Foto_bearbeiten_Schere_Lasso"},
                                        {e.Foto_bearbeiten_Schere_Logogroesse, 704, "Foto_bearbeiten_Schere_Logogroesse"}};
    for (const Knopf& k : scheren) ASSERT_NE(k.control->Tag(), QStringLiteral("1"));
    knoepfePruefen(e, scheren, editorHintergrund());
    gruppePruefen(e, scheren, {editorHintergrund()});
}

// The left button on the title, on the window's background or on the picker's file tab hands the
// window to the window manager once per press; other buttons do not.
TEST_P(PhotoButtonsTest, ALeftButtonDragOnTheTitleOrBackgroundMovesTheWindow) {
    std::vector<const vb::Form*> bewegt;
    vb::Scoped move(&vb::Seams::systemMove, [&](vb::Form& w) { bewegt.push_back(&w); });
    picker();
    E().Show();
    struct Fall {
        const char* name;
        vb::Form* fenster;
        vb::Control* wo; // nullptr: the window's background
    };
    const Fall faelle[] = {
        {"picker, title", &P(), P().Titelzeile},
        {"picker, background", &P(), nullptr},
        {"picker, file tab", &P(), P().Layer_Logo_FotoLaden_B},
        {"editor, title", &E(), E().Titelzeile},
        {"editor, background", &E(), nullptr},
    };
    for (const Fall& c : faelle) {
        for (const auto& [knopf, zuege] : {std::pair{Qt::LeftButton, size_t(1)}, {Qt::RightButton, size_t(0)}, {Qt::MiddleButton, size_t(0)}}) {
            SCOPED_TRACE(std::string(c.name) + " " + std::to_string(knopf));
            const auto p = stelleVon(*c.fenster, c.wo);
            ASSERT_TRUE(p);
            bewegt.clear();
            ziehen(*c.fenster, *p, knopf);
            EXPECT_EQ(bewegt.size(), zuege);
            for (const vb::Form* w : bewegt) EXPECT_EQ(w, c.fenster);
            ziehen(*c.fenster, *p, knopf);
            EXPECT_EQ(bewegt.size(), 2 * zuege);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Dpi, PhotoButtonsTest, ::testing::Values(96, 120), [](const auto& fall) { return std::to_string(fall.param) + "dpi"; });
