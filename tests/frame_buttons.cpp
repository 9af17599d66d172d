// The picture buttons of the main window and the message window: one highlight at a time, each
// with its own face, the background that ends it, the paint colours as a group, the thumbnail
// frames, the labels that open their lists; and the drags that move the windows.
#include "support/Buttons.h"
#include "support/Fixture.h"

#include "frame/Fenster.h"
#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Seams.h"

#include <QPixmap>
#include <QWidget>

using namespace Parameter_und_Start;

namespace {
// At both screen resolutions the program knows, with the windows loaded and scaled as the program
// loads them.
class ButtonsTest : public ProgramTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // A few logos of the 72 x 14 type, so the gallery has thumbnails and the editor a logo.
        const QString ordner = file("logos/NBLXXXX");
        QDir().mkpath(ordner);
        for (int i = 0; i < 6; ++i) {
            QImage img(72, 14, QImage::Format_RGB32);
            img.fill(Qt::white);
            for (int x = 0; x <= 10 * i; ++x) img.setPixel(x, i, qRgb(0, 0, 0));
            writeImage(ordner + QStringLiteral("/L%1.bmp").arg(i), img);
        }
        useScreen(1024, 768, GetParam());
        Fenster::Formular_laden(*Information);
        Fenster::Formular_laden(*Startbildschirm);
        Startbildschirm->Show();
        Startbildschirm->ComboKategorien[3]->setListIndex(7);
    }
    StartbildschirmForm& F() { return *Startbildschirm; }
    QImage bild() { return fensterbild(F()); }
    void editor() {
        F().In_Zaroreriri_bearbeiten_Click();
        ASSERT_TRUE(F().Layer_Kalvoren->Visible());
    }
    void pruefen(const std::vector<Knopf>& knoepfe, vb::Control* hintergrund) {
        knoepfePruefen(F(), knoepfe, [hintergrund] { hintergrund->FireMouseMove(0, 0, 15, 15); });
    }
};
} // namespace

TEST_P(ButtonsTest, GalleryButtonsLightOneAtATime) {
    StartbildschirmForm& f = F();
    pruefen({{f.Schliessen, 400, "Schliessen"},
             {f.Beenden2, 400, "Beenden2"},
             {f.minimieren, 101, "Mittelbutton"},
             {f.Hilfe, 401, "Hilfe"},
             {f.Einstellun, 402, "Einstellun"},
             {f.Logo, 403, "Logo"},
             {f.Transfer[0], 411, "Transfer"},
             {f.Loeschen[0], 412, "Loeschen"},
             {f.Speichern, 813, "Speichern"},
             {f.In_Zaroreriri_bearbeiten, 814, "In_Zaroreriri_bearbeiten"},
             {f.Reiter_Kalvoren_inLogos, 812, "Reiter_Kalvoren_inLogos"},
             {f.Reiter_Fotos_inLogos, 0, "Reiter_Fotos_inLogos"}},
            f.Layer_Logoauswahl);
}

TEST_P(ButtonsTest, EditorButtonsLightOneAtATime) {
    editor();
    StartbildschirmForm& f = F();
    pruefen({{f.Logo_Neu, 420, "Logo_Neu"},
             {f.Logo_undo, 424, "Logo_undo"},
             {f.Logo_Stift, 419, "Logo_Stift"},
             {f.Logo_Text, 416, "Logo_Text"},
             {f.Logo_Linie, 423, "Logo_Linie"},
             {f.Logo_Kreis, 421, "Logo_Kreis"},
             {f.Logo_Kreis_schwarz, 822, "Logo_Kreis_schwarz"},
             {f.Logo_Quadrat, 422, "Logo_Quadrat"},
             {f.Logo_Rechteck_Schwarz, 821, "Logo_Rechteck_Schwarz"},
             {f.Logo_invers, 415, "Logo_invers"},
             {f.Logo_hori_spiegel, 414, "Logo_hori_spiegel"},
             {f.Logo_verti_spiegel, 413, "Logo_verti_spiegel"},
             {f.Logo_hoch_bit, 418, "Logo_hoch_bit"},
             {f.Logo_rechts_bit, 418, "Logo_rechts_bit"},
             {f.Transfer[1], 411, "Transfer"},
             {f.Loeschen[1], 412, "Loeschen"},
             {f.Laden, 818, "Laden"},
             {f.Laden_Fotos_Browser, 819, "Laden_Fotos_Browser"},
             {f.Kalvoren_Logo_Speichern, 820, "Kalvoren_Logo_Speichern"},
             {f.Kalvoren_bearbeiten_zurueck, 0, "Kalvoren_bearbeiten_zurueck"},
             {f.Reiter_Logos_inKalvoren, 811, "Reiter_Logos_inKalvoren", "tab:Logos"},
             {f.Reiter_Fotos_inKalvoren, 0, "Reiter_Fotos_inKalvoren"}},
            f.Layer_Kalvoren);
}

// A chosen tool keeps its light over the window's background, not over the editor layer; the
// tool preview shows it throughout.
TEST_P(ButtonsTest, AChosenToolStaysLitOverTheBackgroundOnly) {
    editor();
    StartbildschirmForm& f = F();
    f.Logo_Linie->FireMouseMove(0, 0, 15, 15);
    f.Logo_Linie->FireClick();
    ASSERT_EQ(f.Logo_Linie->Tag(), QStringLiteral("1"));
    const long linie = storeHandle("Logo_Linie");
    EXPECT_EQ(f.Malwerkzeug_Vorschau->Picture().Handle(), linie);
    f.Form_MouseMove(0, 0, 15, 15);
    EXPECT_EQ(f.Logo_Linie->Picture().Handle(), linie);
    f.Layer_Logoauswahl->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(f.Logo_Linie->Picture().Handle(), linie);
    f.Layer_Kalvoren->FireMouseMove(0, 0, 15, 15);
    EXPECT_TRUE(f.Logo_Linie->Picture().IsEmpty());
    EXPECT_EQ(f.Malwerkzeug_Vorschau->Picture().Handle(), linie);
    // A tool that is not chosen goes dark over the background too.
    f.Logo_Kreis->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(f.Logo_Kreis->Picture().Handle(), storeHandle("Logo_Kreis"));
    f.Form_MouseMove(0, 0, 15, 15);
    EXPECT_TRUE(f.Logo_Kreis->Picture().IsEmpty());
}

// The paint colours: hovering lights a colour that is not chosen, never changes the chosen one,
// and the editor layer leaves only the chosen colour lit.
TEST_P(ButtonsTest, PaintColoursAreOneGroup) {
    editor();
    StartbildschirmForm& f = F();
    vb::Image* farben[] = {f.Malfarbe_schwarz, f.Malfarbe_gruen, f.Malfarbe_gemischt};
    const char* namen[] = {"Malfarbe_schwarz", "Malfarbe_gruen", "Malfarbe_gemischt"};
    const int tips[] = {824, 823, 825};
    for (int gewaehlt = 0; gewaehlt < 3; ++gewaehlt) {
        SCOPED_TRACE(namen[gewaehlt]);
        farben[gewaehlt]->FireClick();
        f.Layer_Kalvoren->FireMouseMove(0, 0, 15, 15);
        const QImage ruhe = bild();
        for (int i = 0; i < 3; ++i) EXPECT_EQ(farben[i]->Picture().Handle(), i == gewaehlt ? storeHandle(namen[i]) : 0) << namen[i];
        // Over every colour in turn, then back onto the editor layer.
        for (int i = 0; i < 3; ++i) {
            farben[i]->FireMouseMove(0, 0, 15, 15);
            EXPECT_EQ(farben[i]->ToolTipText(), LoadResString(tips[i]));
            EXPECT_EQ(farben[i]->Picture().Handle(), storeHandle(namen[i])) << namen[i];
        }
        f.Layer_Kalvoren->FireMouseMove(0, 0, 15, 15);
        EXPECT_TRUE(bild() == ruhe);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(farben[i]->Picture().Handle(), i == gewaehlt ? storeHandle(namen[i]) : 0) << namen[i];
    }
}

// The thumbnail frames share one store picture: the frame under the mouse lights, the one
// before goes dark, a thumbnail passes its moves to its frame, and a lit button goes dark too.
TEST_P(ButtonsTest, ThumbnailFramesLightOneAtATime) {
    StartbildschirmForm& f = F();
    vb::Control* bg = f.Layer_Logoauswahl;
    bg->FireMouseMove(0, 0, 15, 15);
    const QImage ruhe = bild();
    const long rahmen = storeHandle("Logo_Vorschaubild");
    ASSERT_NE(rahmen, 0);
    std::vector<QImage> allein(6);
    for (int i = 0; i < 6; ++i) {
        f.Logo_Vorschaubild[size_t(i)]->FireMouseMove(0, 0, 15, 15);
        allein[size_t(i)] = bild();
        bg->FireMouseMove(0, 0, 15, 15);
        EXPECT_TRUE(bild() == ruhe) << i;
    }
    auto lit = [&] {
        std::vector<int> out;
        for (int i = 0; i < 20; ++i)
            if (f.Logo_Vorschaubild[size_t(i)]->Picture().Handle() == rahmen) out.push_back(i);
        return out;
    };
    f.Logo_Vorschaubild[3]->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(lit(), std::vector<int>{3});
    f.Logo_Vorschaubild[4]->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(lit(), std::vector<int>{4});
    EXPECT_TRUE(bild() == allein[4]);
    f.Logo_Vorschaubild_Bild[1]->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(lit(), std::vector<int>{1});
    EXPECT_TRUE(bild() == allein[1]);
    // From a frame to a button and back.
    f.Speichern->FireMouseMove(0, 0, 15, 15);
    EXPECT_EQ(lit(), std::vector<int>{});
    EXPECT_EQ(f.Speichern->Picture().Handle(), storeHandle("Speichern"));
    f.Logo_Vorschaubild[5]->FireMouseMove(0, 0, 15, 15);
    EXPECT_TRUE(f.Speichern->Picture().IsEmpty());
    EXPECT_TRUE(bild() == allein[5]);
    // A frame hides an open category list.
    f.ComboKategorien_Textanzeige->FireMouseMove(0, 0, 15, 15);
    ASSERT_TRUE(f.ComboKategorien[3]->Visible());
    f.Logo_Vorschaubild[2]->FireMouseMove(0, 0, 15, 15);
    EXPECT_FALSE(f.ComboKategorien[3]->Visible());
    bg->FireMouseMove(0, 0, 15, 15);
    EXPECT_TRUE(bild() == ruhe);
}

// Each list label opens its list with the tooltip on label and list; the background, the
// window's own or the editor layer, closes all four lists.
TEST_P(ButtonsTest, ListLabelsOpenTheirListsAndTheBackgroundClosesThem) {
    StartbildschirmForm& f = F();
    f.ComboKategorien[3]->setListIndex(6); // the type with caller groups
    struct Fall {
        const char* name;
        vb::Label* label;
        vb::ComboBox* liste;
        int tooltip;
        std::vector<vb::Control*> mitTooltip;
    };
    const Fall faelle[] = {
        {"category", f.ComboKategorien_Textanzeige, f.ComboKategorien[3], 810, {f.ComboKategorien_Textanzeige, f.ComboKategorien[3]}},
        {"category (editor)", f.ComboKategorien_Textanzeige_Kalvoren, f.ComboKategorien[2], 810,
         {f.ComboKategorien_Textanzeige_Kalvoren, f.ComboKategorien[2]}},
        {"group 0", f.ComboKategorien2_Textanzeige[0], f.ComboKategorien2[0], 815,
         {f.ComboKategorien2_Textanzeige[0], f.ComboKategorien2_Textanzeige[1], f.ComboKategorien2[0], f.ComboKategorien2[1]}},
        {"group 1", f.ComboKategorien2_Textanzeige[1], f.ComboKategorien2[1], 815,
         {f.ComboKategorien2_Textanzeige[0], f.ComboKategorien2_Textanzeige[1], f.ComboKategorien2[0], f.ComboKategorien2[1]}},
    };
    vb::ComboBox* listen[] = {f.ComboKategorien[2], f.ComboKategorien[3], f.ComboKategorien2[0], f.ComboKategorien2[1]};
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.name);
        for (vb::Control* hintergrund : {static_cast<vb::Control*>(f.Layer_Logoauswahl), static_cast<vb::Control*>(f.Layer_Kalvoren)}) {
            for (vb::Control* m : c.mitTooltip) m->setToolTipText(QString());
            c.label->FireMouseMove(0, 0, 15, 15);
            for (vb::ComboBox* l : listen) EXPECT_EQ(l->Visible(), l == c.liste);
            for (vb::Control* m : c.mitTooltip) EXPECT_EQ(m->ToolTipText(), LoadResString(c.tooltip)) << m->Name().toStdString();
            hintergrund->FireMouseMove(0, 0, 15, 15);
            for (vb::ComboBox* l : listen) EXPECT_FALSE(l->Visible()) << hintergrund->Name().toStdString();
        }
    }
}

// The left button on the title or the gallery's background hands the window to the window
// manager once per press; the right button and the editor layer do not.
TEST_P(ButtonsTest, OnlyALeftButtonDragOnTheTitleOrBackgroundMovesTheWindow) {
    StartbildschirmForm& f = F();
    std::vector<const vb::Form*> bewegt;
    vb::Scoped move(&vb::Seams::systemMove, [&](vb::Form& w) { bewegt.push_back(&w); });
    f.Layer_Kalvoren->setVisible(true);
    f.Layer_Kalvoren->setLeft(f.Width() - f.Layer_Kalvoren->Width());
    f.Layer_Kalvoren->setTop(f.Height() - f.Layer_Kalvoren->Height());
    struct Fall {
        const char* name;
        vb::Control* wo;
        Qt::MouseButton knopf;
        size_t zuege;
    };
    const Fall faelle[] = {
        {"title, left", f.Titelzeile, Qt::LeftButton, 1},
        {"title, right", f.Titelzeile, Qt::RightButton, 0},
        {"title, middle", f.Titelzeile, Qt::MiddleButton, 0},
        {"editor layer, left", f.Layer_Kalvoren, Qt::LeftButton, 0},
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.name);
        const auto p = stelleVon(f, c.wo);
        ASSERT_TRUE(p);
        bewegt.clear();
        ziehen(f, *p, c.knopf);
        EXPECT_EQ(bewegt.size(), c.zuege);
        for (const vb::Form* w : bewegt) EXPECT_EQ(w, &f);
        // A second press is a second move.
        ziehen(f, *p, c.knopf);
        EXPECT_EQ(bewegt.size(), 2 * c.zuege);
    }
    // The gallery's background, with the editor layer out of the way.
    f.Layer_Kalvoren->setVisible(false);
    for (const auto& [knopf, zuege] : {std::pair{Qt::LeftButton, size_t(1)}, {Qt::RightButton, size_t(0)}}) {
        const auto p = stelleVon(f, f.Layer_Logoauswahl);
        ASSERT_TRUE(p);
        bewegt.clear();
        ziehen(f, *p, knopf);
        EXPECT_EQ(bewegt.size(), zuege) << knopf;
    }
}

TEST_P(ButtonsTest, MessageWindowButtonsLightOneAtATime) {
    Info_Text = QStringLiteral("Eine Frage");
    Info_Modus = 4; // all three buttons open
    Information->Show();
    InformationForm& i = *Information;
    ASSERT_FALSE(i.Verzichnisshape->Visible());
    knoepfePruefen(i,
                   {{i.OK, 404, "OK"}, {i.Abbrechen, 405, "Abbrechen"}, {i.Verzeichnis, 435, "Verzeichnis"}, {i.Schliessen, 400, "Schliessen"}},
                   [&] { i.Form_MouseMove(0, 0, 15, 15); });
}

TEST_P(ButtonsTest, OnlyALeftButtonDragOnTheMessageWindowsTitleOrBackgroundMovesIt) {
    std::vector<const vb::Form*> bewegt;
    vb::Scoped move(&vb::Seams::systemMove, [&](vb::Form& w) { bewegt.push_back(&w); });
    Info_Modus = 2;
    Information->Show();
    InformationForm& i = *Information;
    for (vb::Control* wo : {static_cast<vb::Control*>(i.Titelzeile), static_cast<vb::Control*>(nullptr)})
        for (const auto& [knopf, zuege] : {std::pair{Qt::LeftButton, size_t(1)}, {Qt::RightButton, size_t(0)}}) {
            SCOPED_TRACE(std::string(wo ? "title " : "background ") + std::to_string(knopf));
            const auto p = stelleVon(i, wo);
            ASSERT_TRUE(p);
            bewegt.clear();
            ziehen(i, *p, knopf);
            EXPECT_EQ(bewegt.size(), zuege);
            for (const vb::Form* w : bewegt) EXPECT_EQ(w, &i);
        }
}

INSTANTIATE_TEST_SUITE_P(Dpi, ButtonsTest, ::testing::Values(96, 120), [](const auto& fall) { return std::to_string(fall.param) + "dpi"; });
