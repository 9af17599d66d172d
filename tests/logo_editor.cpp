// The logo editor driven as the user drives it: tools and paint colours through the raster's
// mouse events, the text tool, whole-logo operations and undo, the cursor cell, the raster view
// and the magnifier. The logo that counts is Logo_Weiss_Grafik at 1:1.
#include "support/Fixture.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Logovoschau.h"
#include "logo/Zaroreriri.h"
#include "platform/window/ComboBox.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Cursor.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/TextBox.h"
#include "platform/system/Seams.h"

#include <QPixmap>
#include <QWidget>
#include <functional>
#include <sstream>

using namespace Parameter_und_Start;

namespace {
constexpr QRgb kSchwarz = 0xFF000000u, kWeiss = 0xFFFFFFFFu;
const QRgb kGruen = qRgb(123, 139, 90), kGitter = qRgb(0, 64, 64), kKreuz = qRgb(192, 192, 192);

using Knopf = vb::Image* StartbildschirmForm::*;

// A sparse, lopsided pattern: mirrors and shifts change it, and every paint colour shows.
QImage muster(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, (x * 3 + y * 5) % 7 == 0 || (x < 3 && y == 0) ? kSchwarz : kWeiss);
    return img;
}
QImage weiss(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(kWeiss);
    return img;
}

// The first differing pixels, for failure messages.
std::string unterschiede(const QImage& ist, const QImage& soll) {
    if (ist.size() != soll.size()) return "size differs";
    std::ostringstream s;
    int n = 0;
    for (int y = 0; y < ist.height(); ++y)
        for (int x = 0; x < ist.width(); ++x)
            if (ist.pixel(x, y) != soll.pixel(x, y) && n++ < 8) s << '(' << x << ',' << y << ") ";
    s << n << " pixels differ";
    return s.str();
}
#define EXPECT_BILD(ist, soll) EXPECT_TRUE((ist) == (soll)) << unterschiede(ist, soll)
#define ASSERT_BILD(ist, soll) ASSERT_TRUE((ist) == (soll)) << unterschiede(ist, soll)

// Raster pixel of a cell, a quarter cell in from its top-left corner.
QPoint zelle(int c, int r) { return {4 * c + 1, 4 * r + 1}; }

class EditorTest : public ProgramTest {
protected:
    StartbildschirmForm& S() { return Startbildschirm.get(); }
    vb::PictureBox& raster() { return *S().Logo_Raster_Grafik; }
    QImage& logo() { return S().Logo_Weiss_Grafik->hDC(); }

    // Chooses category k in the gallery list and opens a picture of the logo's size in the
    // editor through the editor's own load.
    void oeffnen(int k, std::function<QImage(int, int)> inhalt = muster) {
        S().Show();
        S().ComboKategorien[3]->setListIndex(k);
        const QImage bild = inhalt(Logo_Breite, Logo_Hoehe);
        const QString pfad = file(QStringLiteral("logo.bmp"));
        vb::SavePicture(bild, pfad);
        Bilddatei_Pfad = pfad;
        S().Laden_Click_Sub(pfad, false, true);
        ASSERT_TRUE(S().Layer_Kalvoren->Visible());
        ASSERT_EQ(raster().hDC().size(), QSize(4 * Logo_Breite, 4 * Logo_Hoehe));
        ASSERT_BILD(logo(), bild);
        basis = bild;
    }
    // A fresh start from the opened picture.
    void zuruecksetzen() {
        S().Logo_Weiss_Grafik->setPicture(vb::Picture(basis));
        S().Logo_Undo_Grafik->setPicture(vb::Picture(basis));
        Zaroreriri::Letzte_Mausposition_vergessen();
    }

    void zeiger(QPoint p) { vb::seams().cursor = raster().ScreenOrigin() + p; }
    void druecken(QPoint p, int b = 1) {
        zeiger(p);
        raster().FireMouseDown(b, 0, p.x(), p.y());
    }
    void ziehen(QPoint p, int b = 1) {
        zeiger(p);
        raster().FireMouseMove(b, 0, p.x(), p.y());
    }
    void loslassen(QPoint p, int b = 1) {
        zeiger(p);
        raster().FireMouseUp(b, 0, p.x(), p.y());
    }
    void strich(QPoint von, QPoint nach) {
        druecken(von);
        ziehen(nach);
        loslassen(nach);
    }

    QImage basis;
};

// Paint colours: the button, and how a touched pixel changes.
struct Farbe {
    const char* name;
    Knopf knopf;
    bool invertiert;
    QRgb (*wirkung)(QRgb);
};
const Farbe kFarben[] = {
    {"schwarz", &StartbildschirmForm::Malfarbe_schwarz, false, [](QRgb) { return kSchwarz; }},
    {"gruen", &StartbildschirmForm::Malfarbe_gruen, false, [](QRgb) { return kWeiss; }},
    {"gemischt", &StartbildschirmForm::Malfarbe_gemischt, true, [](QRgb p) { return p == kSchwarz ? kWeiss : kSchwarz; }},
};

// The base with the touched pixels changed as the colour changes them.
QImage bemalt(const QImage& basis, const std::vector<QPoint>& pixel, const Farbe& f) {
    QImage soll = basis.copy();
    for (const QPoint& p : pixel)
        if (soll.valid(p)) soll.setPixel(p, f.wirkung(soll.pixel(p)));
    return soll;
}
std::vector<QPoint> punkte(QPoint ursprung, std::initializer_list<const char*> zeilen) {
    std::vector<QPoint> v;
    int y = 0;
    for (const char* z : zeilen) {
        for (int x = 0; z[x]; ++x)
            if (z[x] == '#') v.emplace_back(ursprung.x() + x, ursprung.y() + y);
        ++y;
    }
    return v;
}
} // namespace

// ---- Logo types and categories ----

TEST_F(EditorTest, NineTypesSetSizeKindAndCaption) {
    struct Typ {
        const char* code;
        short breite, hoehe, art;
    };
    const Typ typen[] = {{"SB_S25", 97, 26, 0},   {"SB_CM35", 101, 21, 0}, {"SB_S35", 101, 43, 0},
                         {"NSL7110", 96, 65, 2},  {"NSL6210", 96, 60, 2},  {"NSLXXXX", 84, 48, 2},
                         {"NGLXXXX", 72, 14, 1},  {"NBLXXXX", 72, 14, 0},  {"NBL62_71", 72, 21, 0}};
    EXPECT_EQ(Logo_Breite, 0);
    EXPECT_EQ(Logo_Hoehe, 0);
    for (short k = 0; k < 9; ++k) {
        SCOPED_TRACE(k);
        Logovoschau::LogoTyp_setzen(k, *Startbildschirm->Logo_Groesse);
        const Typ& t = typen[k];
        EXPECT_EQ(Logo_Typcode, QLatin1String(t.code));
        EXPECT_EQ(Logo_Breite, t.breite);
        EXPECT_EQ(Logo_Hoehe, t.hoehe);
        EXPECT_EQ(Logo_Art, t.art);
        EXPECT_EQ(Logo_Seitenverhaeltnis, float(t.hoehe) / float(t.breite));
        EXPECT_EQ(Vorschau_Seitengroesse, 20);
        EXPECT_EQ(Vorschau_Zeilenlaenge, 5);
        EXPECT_EQ(S().Logo_Groesse->Caption(), QString::number(t.breite) + QStringLiteral(" x ") + QString::number(t.hoehe));
    }
    Logovoschau::LogoTyp_setzen(0, *Startbildschirm->Logo_Groesse);
    EXPECT_EQ(S().Logo_Groesse->Caption(), QStringLiteral("97 x 26"));
    for (short k : {short(-1), short(9)}) {
        S().Logo_Groesse->setCaption(QString());
        Logovoschau::LogoTyp_setzen(k, *Startbildschirm->Logo_Groesse);
        EXPECT_EQ(Logo_Typcode, QStringLiteral("SB_S25"));
        EXPECT_EQ(Logo_Breite, 97);
        EXPECT_EQ(Logo_Art, 0);
        EXPECT_EQ(S().Logo_Groesse->Caption(), QStringLiteral("97 x 26")); // rewritten from the kept values
    }
}

TEST_F(EditorTest, CategoryChoiceCascadesAndReloadsTheEditor) {
    oeffnen(6, weiss);
    StartbildschirmForm& s = S();
    EXPECT_EQ(s.ComboKategorien[2]->ListIndex(), 6);
    EXPECT_EQ(s.ComboKategorien_Textanzeige->Caption(), LoadResString(196));
    EXPECT_EQ(s.ComboKategorien_Textanzeige_Kalvoren->Caption(), LoadResString(196));
    for (int i : {0, 1}) {
        EXPECT_TRUE(s.ComboKategorien2_Textanzeige[size_t(i)]->Visible());
        EXPECT_FALSE(s.ComboKategorien2_TextanzeigeShape[size_t(i)]->Visible());
    }
    EXPECT_EQ(logo().size(), QSize(72, 14));

    // The editor's list: the gallery list follows, the type changes and the editor shows the
    // last picture again at the new size.
    s.ComboKategorien2[0]->setVisible(true);
    s.ComboKategorien[2]->setVisible(true);
    s.ComboKategorien[2]->setListIndex(2);
    EXPECT_EQ(s.ComboKategorien[3]->ListIndex(), 2);
    EXPECT_EQ(Logo_Typcode, QStringLiteral("SB_S35"));
    EXPECT_EQ(s.ComboKategorien_Textanzeige->Caption(), LoadResString(192));
    EXPECT_EQ(s.ComboKategorien_Textanzeige_Kalvoren->Caption(), LoadResString(192));
    EXPECT_FALSE(s.ComboKategorien[2]->Visible());
    EXPECT_FALSE(s.ComboKategorien2[0]->Visible());
    for (int i : {0, 1}) {
        EXPECT_FALSE(s.ComboKategorien2_Textanzeige[size_t(i)]->Visible());
        EXPECT_TRUE(s.ComboKategorien2_TextanzeigeShape[size_t(i)]->Visible());
    }
    EXPECT_EQ(logo().size(), QSize(101, 43));
    EXPECT_EQ(raster().hDC().size(), QSize(404, 172));
}

// ---- Drawing tools ----

TEST_F(EditorTest, ShapesInEachPaintColour) {
    oeffnen(7);
    struct Fall {
        const char* name;
        Knopf werkzeug;
        QPoint von, nach;            // raster pixels
        std::vector<QPoint> pixel;   // touched pixels
    };
    const Fall faelle[] = {
        {"line, end cell left out", &StartbildschirmForm::Logo_Linie, zelle(1, 1), zelle(5, 5),
         punkte({1, 1}, {"#....", ".#...", "..#..", "...#.", "....."})},
        {"circle, radius from the vertical distance", &StartbildschirmForm::Logo_Kreis, zelle(6, 5), zelle(20, 8),
         punkte({3, 2}, {"..###..", ".#...#.", "#.....#", "#.....#", "#.....#", ".#...#.", "..###.."})},
        {"circle dragged sideways", &StartbildschirmForm::Logo_Kreis, zelle(6, 5), zelle(12, 5), {{6, 5}}},
        {"filled circle, disc of width + 2", &StartbildschirmForm::Logo_Kreis_schwarz, zelle(6, 5), zelle(6, 8),
         punkte({4, 3}, {".###.", "#####", "#####", "#####", ".###."})},
        {"filled circle dragged sideways", &StartbildschirmForm::Logo_Kreis_schwarz, zelle(6, 5), zelle(12, 5),
         punkte({5, 4}, {".#.", "#.#", ".#."})},
        {"rectangle", &StartbildschirmForm::Logo_Quadrat, zelle(2, 1), zelle(6, 4),
         punkte({2, 1}, {"#####", "#...#", "#...#", "#####"})},
        {"rectangle past the left edge, cut there", &StartbildschirmForm::Logo_Quadrat, zelle(5, 1), {-9, 17},
         punkte({0, 1}, {"######", ".....#", ".....#", "######"})},
        {"one-column rectangle", &StartbildschirmForm::Logo_Quadrat, zelle(4, 1), zelle(4, 4), punkte({4, 1}, {"#", "#", "#", "#"})},
        {"rectangle of one click", &StartbildschirmForm::Logo_Quadrat, {19, 7}, {19, 7}, {{4, 1}}},
        {"filled one-row rectangle", &StartbildschirmForm::Logo_Rechteck_Schwarz, zelle(2, 3), zelle(5, 3), punkte({2, 3}, {"####"})},
        {"filled rectangle of one click", &StartbildschirmForm::Logo_Rechteck_Schwarz, {19, 7}, {19, 7}, {{4, 1}}},
        {"filled rectangle to the right", &StartbildschirmForm::Logo_Rechteck_Schwarz, zelle(2, 1), zelle(6, 4),
         punkte({2, 1}, {"#####", "#####", "#####", "#####"})},
        {"filled rectangle to the left", &StartbildschirmForm::Logo_Rechteck_Schwarz, zelle(6, 1), zelle(2, 4),
         punkte({2, 1}, {"#####", "#####", "#####", "#####"})},
        {"filled rectangle to the cell under the pointer", &StartbildschirmForm::Logo_Rechteck_Schwarz, zelle(2, 1), {14, 10},
         punkte({2, 1}, {"##", "##"})},
        {"line to the cell under the pointer", &StartbildschirmForm::Logo_Linie, {7, 7}, {23, 7}, punkte({1, 1}, {"####"})},
    };
    for (const Farbe& farbe : kFarben)
        for (const Fall& f : faelle) {
            SCOPED_TRACE(std::string(f.name) + " / " + farbe.name);
            zuruecksetzen();
            (S().*farbe.knopf)->FireClick();
            (S().*f.werkzeug)->FireClick();
            druecken(f.von);
            EXPECT_FALSE(S().Raster_Undo_Box->Visible());
            ziehen(f.nach + QPoint(1, 1)); // an earlier preview is replaced by the next one
            ziehen(f.nach);
            loslassen(f.nach + QPoint(9, 9)); // the release keeps the last preview
            // Every pixel the shape touches changes once, also with the inverting colour.
            EXPECT_BILD(logo(), bemalt(basis, f.pixel, farbe));
            EXPECT_BILD(S().Logo_Undo_Grafik->hDC(), basis);
        }
}

TEST_F(EditorTest, PenSetsTheCellOfThePreviousPosition) {
    oeffnen(7);
    // 2.75 is cut to cell 2; -0.25 (one pixel left of the raster) is off the raster.
    const QPoint a{11, 6}, b = zelle(5, 3), c{-1, 13};
    for (const Farbe& farbe : {kFarben[0], kFarben[1]}) {
        SCOPED_TRACE(farbe.name);
        zuruecksetzen();
        (S().*farbe.knopf)->FireClick();
        S().Logo_Stift->FireClick();
        druecken(a);
        EXPECT_EQ(Raster_X, 2.0f);
        EXPECT_BILD(logo(), bemalt(basis, {{2, 1}}, farbe));
        ziehen(b);
        EXPECT_BILD(logo(), bemalt(basis, {{2, 1}}, farbe));
        EXPECT_FLOAT_EQ(Raster_X, 5.25f);
        ziehen(c);
        EXPECT_BILD(logo(), bemalt(basis, {{2, 1}, {5, 3}}, farbe));
        EXPECT_FLOAT_EQ(Raster_X, -0.25f);
        loslassen(c);
        EXPECT_BILD(logo(), bemalt(basis, {{2, 1}, {5, 3}}, farbe));
    }
}

// A stroke that slips off the raster draws nothing out there, on any side and at any size.
TEST_F(EditorTest, APenStrokeOffTheRasterLeavesNoStrayDots) {
    oeffnen(3); // 96 x 65
    struct Fall {
        const char* name;
        QPoint von, nach;
        QPoint zelle;
    };
    const Fall faelle[] = {
        {"right", zelle(95, 5), {4 * 96, 21}, {95, 5}},
        {"left", zelle(0, 5), {-1, 21}, {0, 5}},
        {"below", zelle(45, 64), {181, 4 * 65}, {45, 64}},
        {"far right, over the magnifier", zelle(95, 5), {4 * 96 + 300, 21}, {95, 5}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        zuruecksetzen();
        S().Logo_Stift->FireClick();
        druecken(f.von);
        ziehen(f.nach);
        loslassen(f.nach);
        EXPECT_BILD(logo(), bemalt(basis, {f.zelle}, kFarben[0]));
    }
}

TEST_F(EditorTest, InvertingPenInvertsItsCellAtEveryEvent) {
    oeffnen(7, weiss);
    S().Malfarbe_gemischt->FireClick();
    EXPECT_EQ(S().Logo_Weiss_Grafik->DrawMode(), vb::vbInvert);
    druecken({9, 5});
    EXPECT_EQ(logo().pixel(2, 1), kSchwarz);
    ziehen({10, 5});
    EXPECT_EQ(logo().pixel(2, 1), kWeiss);
    ziehen({11, 7});
    EXPECT_EQ(logo().pixel(2, 1), kSchwarz);
    loslassen({11, 7}); // the release paints, and its move paints once more
    EXPECT_EQ(logo().pixel(2, 1), kSchwarz);
    EXPECT_BILD(logo(), bemalt(basis, {{2, 1}}, kFarben[2]));
}

TEST_F(EditorTest, MovesWithoutTheLeftButtonAloneDrawNothingButTheMagnifierFollows) {
    oeffnen(7);
    const QPoint mitte{144, 28}; // the magnifier's mark is then in its centre
    for (Knopf werkzeug : {&StartbildschirmForm::Logo_Stift, &StartbildschirmForm::Logo_Quadrat})
        for (int taste : {int(vb::vbRightButton), vb::vbLeftButton | vb::vbRightButton}) {
            SCOPED_TRACE(taste);
            zuruecksetzen();
            (S().*werkzeug)->FireClick();
            druecken(zelle(3, 3), taste);
            const QImage vorher = logo().copy();
            S().Zoom->setPicture(vb::Picture());
            ASSERT_NE(S().Zoom->hDC().pixel(72, 35), kKreuz);
            ziehen(mitte + QPoint(-8, 4), taste);
            ziehen(mitte, taste);
            EXPECT_BILD(logo(), vorher);
            EXPECT_EQ(S().Zoom->hDC().pixel(72, 35), kKreuz);
        }
}

// ---- Text tool ----

class TextTest : public EditorTest {
protected:
    // Chooses the text tool; the font dialog answers with the size given (0: cancelled), the
    // text entry with the text typed (nullptr: cancelled).
    void textWaehlen(double groesse, const char* text) {
        vb::seams().dialog = [groesse](const vb::DialogRequest& r) -> std::optional<vb::DialogAnswer> {
            if (r.kind != QLatin1String("font") || groesse == 0) return std::nullopt;
            vb::DialogAnswer a;
            a.font.name = QStringLiteral("DejaVu Sans");
            a.font.size = groesse;
            a.font.bold = true;
            return a;
        };
        if (groesse == 0) {
            S().Logo_Text->FireClick();
            return;
        }
        answer([text](vb::Form&) {
            if (!text) {
                Information->Abbrechen_Click();
                return;
            }
            for (const char* c = text; *c; ++c) Information->Infotext->SendKey(Qt::Key_A + (*c | 0x20) - 'a', QString(QChar(*c)));
            Information->OK_Click();
        });
        S().Logo_Text->FireClick();
    }
    static QRect schwarzeFlaeche(const QImage& img, const QImage& ohne) {
        QRect r;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if (img.pixel(x, y) != ohne.pixel(x, y)) r |= QRect(x, y, 1, 1);
        return r;
    }
};

TEST_F(TextTest, TextFollowsTheMouseAndAPressFixesItWithoutAnUndoCopy) {
    oeffnen(3, weiss);
    textWaehlen(12, "Hi");
    EXPECT_EQ(S().Logo_Text->Tag(), QStringLiteral("1"));
    EXPECT_EQ(Letzte_Texteingabe, QStringLiteral("Hi"));
    EXPECT_EQ(Schrift_Name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(Schrift_Groesse, QStringLiteral("12"));
    EXPECT_EQ(S().SurfaceFont().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_TRUE(S().SurfaceFont().bold());
    EXPECT_TRUE(Information->Infotext->Locked());

    // Without a button the text follows the mouse; only the last position shows.
    ziehen(zelle(40, 40), 0);
    ziehen(zelle(20, 20), 0);
    const QRect r = schwarzeFlaeche(logo(), basis);
    ASSERT_FALSE(r.isEmpty());
    // Top-left corner at (20.25 - 12 / 8, 20.25 - 12 + 3) = (19, 11); 12 pixels high.
    EXPECT_GE(r.left(), 19);
    EXPECT_LE(r.left(), 21);
    EXPECT_GE(r.top(), 11);
    EXPECT_LE(r.bottom(), 11 + 12);
    EXPECT_GE(r.height(), 7);
    for (int y = 0; y < logo().height(); ++y)
        for (int x = 0; x < logo().width(); ++x) ASSERT_TRUE(logo().pixel(x, y) == kSchwarz || logo().pixel(x, y) == kWeiss);

    const QImage mitText = logo().copy();
    druecken(zelle(20, 20));
    EXPECT_EQ(S().Logo_Text->Tag(), QStringLiteral("2"));
    EXPECT_BILD(logo(), mitText);
    EXPECT_BILD(S().Logo_Undo_Grafik->hDC(), basis);
    ziehen(zelle(30, 30), 0); // placed: it no longer follows
    EXPECT_BILD(logo(), mitText);
    S().Logo_undo->FireClick();
    EXPECT_BILD(logo(), basis);
}

TEST_F(TextTest, AMessageShownMeanwhileIsNotDrawnInPlaceOfTheText) {
    oeffnen(3, weiss);
    textWaehlen(12, "Hi");
    ziehen(zelle(20, 20), 0);
    const QImage mitText = logo().copy();
    ASSERT_NE(mitText, basis);
    for (int nachricht : {301, 429}) {
        SCOPED_TRACE(nachricht);
        Info_Text = LoadResString(nachricht);
        Info_Modus = 2;
        Information->Show(vb::vbModal);
        ASSERT_EQ(shownInfos.back(), LoadResString(nachricht));
        ziehen(zelle(40, 40), 0);
        ziehen(zelle(20, 20), 0);
        EXPECT_BILD(logo(), mitText);
    }
}

TEST_F(TextTest, FontSizeEightIsUsedAsNineAndCancelChoosesThePen) {
    oeffnen(3, weiss);
    struct Fall {
        double groesse;
        const char* text;
        const char* werkzeug; // the tag of Logo_Text afterwards
        double genutzt;
    };
    const Fall faelle[] = {{8, "a", "1", 9}, {14, "a", "1", 14}, {0, "a", "0", 0}, {10, nullptr, "0", 0}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.groesse);
        Schrift_Groesse = QStringLiteral("9");
        textWaehlen(f.groesse, f.text);
        EXPECT_EQ(S().Logo_Text->Tag(), QLatin1String(f.werkzeug));
        EXPECT_EQ(S().Logo_Stift->Tag(), QLatin1String(f.genutzt == 0 ? "1" : "0"));
        if (f.genutzt == 0) continue;
        EXPECT_EQ(Schaltflaechenlader->CMDialog1.FontSize, f.genutzt);
        EXPECT_EQ(Schrift_Groesse, QString::number(f.genutzt));
        S().Logo_undo->FireClick();
    }
}

// ---- Whole-logo operations and undo ----

TEST_F(EditorTest, WholeLogoOperations) {
    oeffnen(6);
    const int W = basis.width(), H = basis.height();
    auto verschoben = [&](int dx, int dy) {
        QImage v = weiss(W, H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                if (basis.valid(x - dx, y - dy)) v.setPixel(x, y, basis.pixel(x - dx, y - dy));
        return v;
    };
    QImage invers = basis.copy();
    invers.invertPixels();
    struct Fall {
        const char* name;
        Knopf knopf;
        QImage soll;
        bool zweimalWieVorher;
    };
    const Fall faelle[] = {
        {"invert", &StartbildschirmForm::Logo_invers, invers, true},
        {"mirror top to bottom", &StartbildschirmForm::Logo_verti_spiegel, basis.mirrored(false, true), true},
        {"mirror left to right", &StartbildschirmForm::Logo_hori_spiegel, basis.mirrored(true, false), true},
        {"up", &StartbildschirmForm::Logo_hoch_bit, verschoben(0, -1), false},
        {"down", &StartbildschirmForm::Logo_runter_bit, verschoben(0, 1), false},
        {"left", &StartbildschirmForm::Logo_links_bit, verschoben(-1, 0), false},
        {"right", &StartbildschirmForm::Logo_rechts_bit, verschoben(1, 0), false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        zuruecksetzen();
        S().Raster_Undo_Box->setVisible(true);
        (S().*f.knopf)->FireClick();
        EXPECT_BILD(logo(), f.soll.convertToFormat(QImage::Format_RGB32));
        EXPECT_BILD(S().Logo_Undo_Grafik->hDC(), basis);
        EXPECT_FALSE(S().Raster_Undo_Box->Visible());
        if (f.zweimalWieVorher) {
            (S().*f.knopf)->FireClick();
            EXPECT_BILD(logo(), basis);
        } else {
            // Undo brings back the row or column that was pushed out.
            S().Logo_undo->FireClick();
            EXPECT_BILD(logo(), basis);
            EXPECT_TRUE(S().Raster_Undo_Box->Visible());
        }
    }

    // What left the logo is gone: up then down leaves the top row white.
    zuruecksetzen();
    S().Logo_hoch_bit->FireClick();
    S().Logo_runter_bit->FireClick();
    QImage ohneObersteZeile = basis.copy();
    for (int x = 0; x < W; ++x) ohneObersteZeile.setPixel(x, 0, kWeiss);
    EXPECT_BILD(logo(), ohneObersteZeile);
}

TEST_F(EditorTest, UndoAndNewLogo) {
    oeffnen(6);
    // Undo after undo restores the same copy: it is not a swap.
    zuruecksetzen();
    S().Logo_invers->FireClick();
    S().Logo_undo->FireClick();
    S().Logo_undo->FireClick();
    EXPECT_BILD(logo(), basis);

    // A new logo clears the logo, its undo copy, the raster and the magnifier.
    S().Raster_Undo_Box->setVisible(false);
    S().Logo_Neu->FireClick();
    EXPECT_TRUE(S().Raster_Undo_Box->Visible());
    const QImage leer = weiss(basis.width(), basis.height());
    EXPECT_BILD(logo(), leer);
    EXPECT_EQ(logo().size(), basis.size());
    S().Logo_undo->FireClick();
    EXPECT_BILD(logo(), leer);
    EXPECT_TRUE(S().Raster_Undo_Box->Visible());
    EXPECT_EQ(S().Zoom->hDC().pixel(3, 3), kGruen);
}

// ---- Cursor cell, raster view, magnifier ----

TEST_F(EditorTest, CursorCellRelativeToTheRasterWhateverLiesUnderTheCursor) {
    oeffnen(6);
    const QPoint r0 = raster().ScreenOrigin(), z0 = S().Zoom->ScreenOrigin();
    struct Fall {
        QPoint bildschirm;
        float x, y;
    };
    const QPoint zoom = z0 + QPoint(8, 13) - r0;
    const Fall faelle[] = {
        {r0 + QPoint(10, 6), 2.5f, 1.5f},
        {r0 + QPoint(-1, 0), -0.25f, 0.0f},                  // over the editor layer
        {z0 + QPoint(8, 13), zoom.x() / 4.0f, zoom.y() / 4.0f}, // over the magnifier
        {QPoint(-1, 6), (-1 - r0.x()) / 4.0f, (6 - r0.y()) / 4.0f}, // under no window
    };
    for (const Fall& f : faelle) {
        vb::seams().cursor = f.bildschirm;
        Zaroreriri::Rasterposition_ermitteln(raster());
        EXPECT_FLOAT_EQ(Raster_X, f.x);
        EXPECT_FLOAT_EQ(Raster_Y, f.y);
    }
    // An unmoved cursor keeps the values, even values changed since.
    Raster_X = 7;
    Raster_Y = 8;
    Zaroreriri::Rasterposition_ermitteln(raster());
    EXPECT_EQ(Raster_X, 7.0f);
    EXPECT_EQ(Raster_Y, 8.0f);

    // A drag over the magnifier puts no dot into the logo.
    zuruecksetzen();
    druecken(zelle(1, 1));
    vb::seams().cursor = z0 + QPoint(8, 13);
    raster().FireMouseMove(1, 0, float(zoom.x()), float(zoom.y()));
    raster().FireMouseUp(1, 0, float(zoom.x()), float(zoom.y()));
    EXPECT_BILD(logo(), bemalt(basis, {{1, 1}}, kFarben[0]));
}

TEST_F(EditorTest, RasterShowsTheLogoFourTimesWithItsGrid) {
    oeffnen(6);
    const QImage& r = raster().hDC();
    const QImage& anzeige = Logo_Zeichenflaeche->hDC();
    ASSERT_EQ(r.size(), QSize(288, 56));
    ASSERT_EQ(Logo_Zeichenflaeche, S().Gruen_Transferlogo_LogoBrowser[1]);
    for (int y = 0; y < 56; ++y)
        for (int x = 0; x < 288; ++x) {
            const bool gitter = (x % 4 == 0 && x > 0) || (y % 4 == 0 && y > 0);
            const QRgb soll = gitter ? kGitter : basis.pixel(x / 4, y / 4) == kSchwarz ? kSchwarz : kGruen;
            ASSERT_EQ(r.pixel(x, y), soll) << x << ',' << y;
        }
    for (int y = 0; y < 14; ++y)
        for (int x = 0; x < 72; ++x) ASSERT_EQ(anzeige.pixel(x, y), basis.pixel(x, y) == kSchwarz ? kSchwarz : kGruen) << x << ',' << y;
}

TEST_F(EditorTest, MagnifierAtTheCentreAndTheEdges) {
    oeffnen(2); // 101 x 43: raster 404 x 172
    vb::PictureBox& zoom = *S().Zoom;
    ASSERT_EQ(zoom.hDC().size(), QSize(145, 71));
    struct Fall {
        const char* name;
        QPoint maus;     // raster pixels
        QRect quelle;    // the raster's part shown
        QPoint kreuz;    // centre of the cursor mark
    };
    const Fall faelle[] = {
        {"centre", {202, 86}, {184, 77, 36, 18}, {72, 35}},
        {"left", {2, 86}, {0, 77, 36, 18}, {5, 35}},
        {"top", {202, 2}, {184, 0, 36, 18}, {72, 13}},
        {"right", {402, 86}, {368, 77, 36, 18}, {137, 35}},
        {"bottom", {202, 170}, {184, 154, 36, 18}, {72, 63}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        ziehen(f.maus, 0);
        QImage soll(145, 71, QImage::Format_RGB32);
        vb::StretchBlt(soll, 0, 0, 145, 71, raster().hDC(), f.quelle.x(), f.quelle.y(), f.quelle.width(), f.quelle.height(), vb::SRCCOPY);
        const QRect mark(f.kreuz - QPoint(7, 7), QSize(15, 15));
        int anders = 0;
        for (int y = 0; y < 71; ++y)
            for (int x = 0; x < 145; ++x)
                if (!mark.contains(x, y) && zoom.hDC().pixel(x, y) != soll.pixel(x, y)) ++anders;
        EXPECT_EQ(anders, 0);
        for (QPoint d : {QPoint(0, 0), QPoint(-4, -4), QPoint(4, 4), QPoint(-4, 4), QPoint(4, -4)})
            EXPECT_EQ(zoom.hDC().pixel(f.kreuz + d), kKreuz) << d.x() << ',' << d.y();
        EXPECT_NE(zoom.hDC().pixel(f.kreuz + QPoint(0, 6)), kKreuz);
    }
}

// Every tool once on a shown window; VORAD_SCREENSHOTS names a folder for a look at it.
TEST_F(EditorTest, DrawingShowsOnRasterDisplayAndMagnifier) {
    oeffnen(3, weiss);
    const Knopf werkzeuge[] = {&StartbildschirmForm::Logo_Stift, &StartbildschirmForm::Logo_Linie, &StartbildschirmForm::Logo_Kreis,
                               &StartbildschirmForm::Logo_Kreis_schwarz, &StartbildschirmForm::Logo_Quadrat,
                               &StartbildschirmForm::Logo_Rechteck_Schwarz};
    int i = 0;
    for (Knopf w : werkzeuge) {
        (S().*w)->FireClick();
        const QPoint o = zelle(4 + 15 * i++, 20);
        druecken(o);
        ziehen(o + QPoint(12, 32));
        ziehen(o + QPoint(24, 40));
        loslassen(o + QPoint(24, 40));
    }
    ziehen(zelle(48, 28), 0);
    // The display copy and the raster show what the logo holds.
    int schwarz = 0;
    for (int y = 0; y < logo().height(); ++y)
        for (int x = 0; x < logo().width(); ++x) {
            const bool s = logo().pixel(x, y) == kSchwarz;
            schwarz += s;
            ASSERT_EQ(Logo_Zeichenflaeche->hDC().pixel(x, y), s ? kSchwarz : kGruen);
            ASSERT_EQ(raster().hDC().pixel(4 * x + 2, 4 * y + 2), s ? kSchwarz : kGruen);
        }
    EXPECT_GT(schwarz, 60);
    const QByteArray dir = qgetenv("VORAD_SCREENSHOTS");
    if (!dir.isEmpty()) S().Widget()->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/logo-editor.png"));
}
