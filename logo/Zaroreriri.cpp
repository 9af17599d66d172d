#include "logo/Zaroreriri.h"

#include "frame/Parameter_und_Start.h"
#include "logo/Schriftausgabe_in_Grafik.h"
#include "platform/window/App.h"
#include "platform/picture/Colour.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Cursor.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/TextBox.h"
#include "platform/window/Skin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

using namespace Parameter_und_Start;

namespace Zaroreriri {
namespace {
const long kRasterfarbe = vb::RGB(0, 64, 64);
const long kGeloescht = vb::Skin::Colour::DisplayPale;
const long kKreuzfarbe = vb::RGB(192, 192, 192);

// Rounding to an integer type: nearest, halves to the even neighbour; out-of-range values are
// held at the type's limits.
template <typename T>
T runden(double v) {
    const double r = std::nearbyint(v);
    if (!(r >= double(std::numeric_limits<T>::min()))) return std::numeric_limits<T>::min();
    if (r > double(std::numeric_limits<T>::max())) return std::numeric_limits<T>::max();
    return T(r);
}
int32_t rund32(double v) { return runden<int32_t>(v); }
// The cell that contains a fractional raster position.
int32_t zelle(double v) { return runden<int32_t>(std::floor(v)); }
int16_t rund16(double v) { return runden<int16_t>(v); }

bool gewaehlt(const vb::Control* c) { return c->Tag() == QLatin1String("1"); }

vb::PictureBox* zeichenflaeche(const Flaechen& F) {
    if (!Logo_Zeichenflaeche) Logo_Zeichenflaeche = F.Anzeige;
    return Logo_Zeichenflaeche;
}

int breite(const vb::Surface& s) { return int(s.ScaleWidth()); }
int hoehe(const vb::Surface& s) { return int(s.ScaleHeight()); }

// The logo onto the display green: white pixels leave the green, black ones become black.
void aufGruen(vb::PictureBox& ziel, vb::PictureBox& logo) {
    ziel.Cls();
    const int w = breite(logo), h = hoehe(logo);
    vb::StretchBlt(ziel.hDC(), 0, 0, w, h, logo.hDC(), 0, 0, w, h, vb::SRCAND);
}

// A shift by one pixel: the logo becomes white and takes the undo copy from the given origins.
void schieben(const Flaechen& f, int sx, int sy, int dx, int dy) {
    Undo_sichern(f);
    f.Weiss->setPicture(vb::Picture());
    const int w = breite(*f.Weiss), h = hoehe(*f.Weiss);
    const int uw = breite(*f.Undo), uh = hoehe(*f.Undo);
    vb::StretchBlt(f.Weiss->hDC(), dx, dy, w, h, f.Undo->hDC(), sx, sy, uw, uh, vb::SRCAND);
    f.Weiss->Refresh();
    Raster_zeichnen(f);
    f.Raster_Undo_Box->setVisible(false);
}

// The logo onto itself: inverted or mirrored.
void aufSichSelbst(const Flaechen& f, int sx, int sy, int sw, int sh, uint32_t rop) {
    Undo_sichern(f);
    const int w = breite(*f.Weiss), h = hoehe(*f.Weiss);
    QImage& logo = f.Weiss->hDC();
    vb::StretchBlt(logo, 0, 0, w, h, logo, sx, sy, sw, sh, rop);
    f.Weiss->Refresh();
    Raster_zeichnen(f);
    f.Raster_Undo_Box->setVisible(false);
}
} // namespace

void Letzte_Mausposition_vergessen() { Gemeinsam.Letzte_Mausposition = QPoint(0, 0); }

void Raster_zeichnen(const Flaechen& f) {
    vb::PictureBox& logo = *f.Weiss;
    vb::PictureBox& gruen = *zeichenflaeche(f);
    aufGruen(gruen, logo);
    vb::App::DoEvents();
    // The display picture of the editor is the same control; it is rebuilt once more.
    aufGruen(*f.Anzeige, logo);
    vb::App::DoEvents();

    vb::PictureBox& raster = *f.Raster;
    const int W = breite(gruen), H = hoehe(gruen);
    vb::StretchBlt(raster.hDC(), 0, 0, 4 * W, 4 * H, gruen.hDC(), 0, 0, W, H, vb::SRCCOPY);
    gruen.Refresh();
    raster.Refresh();
    if (raster.AutoRedraw()) {
        raster.setDrawWidth(1);
        const int16_t rechts = int16_t(4 * Logo_Breite), unten = int16_t(4 * Logo_Hoehe);
        for (int16_t i = 1; i <= Logo_Hoehe; ++i) raster.Line(0, int16_t(4 * i), rechts, int16_t(4 * i), kRasterfarbe);
        for (int16_t j = 1; j <= Logo_Breite; ++j) raster.Line(int16_t(4 * j), 0, int16_t(4 * j), unten, kRasterfarbe);
    }
    vb::App::DoEvents();
}

void Undo_sichern(const Flaechen& f) {
    f.Undo->Cls();
    f.Weiss->Refresh();
    f.Undo->setPicture(f.Weiss->Image());
    f.Undo->Refresh();
}

void Undo_wiederherstellen(const Flaechen& f) {
    f.Weiss->Cls();
    f.Weiss->setPicture(f.Undo->Image());
    f.Weiss->Refresh();
}

void Rasterposition_ermitteln(const vb::Control& Bezug) {
    const QPoint p = vb::GetCursorPos();
    if (p == Gemeinsam.Letzte_Mausposition) return;
    Gemeinsam.Letzte_Mausposition = p;
    // Relative to the raster also while a drag has left it: another window's client area would
    // give a cell elsewhere in the logo.
    const QPoint c = p - Bezug.ScreenOrigin();
    Raster_X = float(c.x() / 4.0);
    Raster_Y = float(c.y() / 4.0);
}

void Werkzeuge_zuruecksetzen(const Flaechen& f) {
    for (vb::Image* b : f.Werkzeuge) b->setTag(QStringLiteral("0"));
}

void Punkt_setzen(const Flaechen& f) {
    Raster_X = std::floor(Raster_X);
    Raster_Y = std::floor(Raster_Y);
    // A cell off the raster draws nothing.
    const bool aufRaster = Raster_X >= 0 && Raster_Y >= 0 && Raster_X < Logo_Breite && Raster_Y < Logo_Hoehe;
    if (!aufRaster) {
    } else if (gewaehlt(f.Malfarbe_schwarz)) {
        zeichenflaeche(f)->PSet(Raster_X, Raster_Y, vb::vbBlack);
        f.Weiss->PSet(Raster_X, Raster_Y, vb::vbBlack);
    } else {
        zeichenflaeche(f)->PSet(Raster_X, Raster_Y, kGeloescht);
        f.Weiss->PSet(Raster_X, Raster_Y, vb::RGB(255, 255, 255));
    }
    Rasterposition_ermitteln(*f.Raster);
    Raster_zeichnen(f);
}

void Kreis_zeichnen(const Flaechen& f) {
    vb::PictureBox& logo = *f.Weiss;
    Undo_wiederherstellen(f);
    const double r = std::fabs(double(Anker_Y) - double(Raster_Y));
    const long farbe = rund32(Malfarbe);
    if (!gewaehlt(f.Logo_Kreis_schwarz)) {
        logo.setDrawWidth(1);
        logo.Circle(Raster_X, Raster_Y, r, farbe);
        logo.Refresh();
    } else {
        // A wide pen around a circle of radius 1 gives a solid disc.
        int32_t w = rund32(r);
        if (w == 0) w = 1;
        logo.setDrawWidth(w);
        logo.Circle(Raster_X, Raster_Y, 1, farbe);
        vb::App::DoEvents();
        logo.Refresh();
        logo.setDrawWidth(1);
    }
    vb::App::DoEvents();
    Raster_zeichnen(f);
}

void Rechteck_zeichnen(const Flaechen& f) {
    vb::PictureBox& logo = *f.Weiss;
    Undo_wiederherstellen(f);
    const long farbe = rund32(Malfarbe);
    // Both ends are the cells under the pointer.
    const int32_t x0 = zelle(Raster_X), y0 = zelle(Raster_Y);
    const int32_t ax = zelle(Anker_X), ay = zelle(Anker_Y);
    if (gewaehlt(f.Logo_Rechteck_Schwarz)) {
        // Column by column, each pixel once (the end point of a line is left out), so that the
        // inverting colour inverts every pixel; columns off the picture draw nothing.
        const int32_t von = std::max(std::min(x0, ax), -1), bis = std::min(std::max(x0, ax), breite(logo));
        const int32_t oben = std::min(y0, ay), unten = std::max(y0, ay);
        for (int32_t i = von; i <= bis; ++i) logo.Line(i, oben, i, unten + 1, farbe);
        logo.Refresh();
    } else {
        // The outline as one box: every pixel of it is drawn once, also in a one-column box.
        logo.LineBox(x0, y0, ax, ay, farbe, false);
        logo.Refresh();
    }
    vb::App::DoEvents();
    Raster_zeichnen(f);
}

void Linie_zeichnen(const Flaechen& f) {
    Undo_wiederherstellen(f);
    const int32_t ex = zelle(Anker_X), ey = zelle(Anker_Y);
    const long farbe = gewaehlt(f.Malfarbe_schwarz) ? vb::RGB(0, 0, 0) : vb::RGB(255, 255, 255);
    f.Weiss->Line(Raster_X, Raster_Y, ex, ey, farbe);
    vb::App::DoEvents();
    Raster_zeichnen(f);
}

void Text_zeichnen(const Flaechen& f) {
    Undo_wiederherstellen(f);
    // The text the user entered; the message window may show another message meanwhile.
    const QString text = Letzte_Texteingabe;
    const double s = f.Schriftdialog->FontSize;
    const int32_t x = rund32(double(Anker_X) - s / 8);
    const int32_t y = rund32(double(Anker_Y) - s + 3);
    Schriftausgabe_in_Grafik::Text_in_Grafik_ausgeben(f.Weiss->hDC(), x, y, 0, rund16(s), text, *f.Schrift, f.Weiss->ForeColor());
    f.Weiss->Refresh();
    vb::App::DoEvents();
    Raster_zeichnen(f);
}

void Logo_invertieren(const Flaechen& F) {
    const vb::PictureBox& logo = *F.Weiss;
    aufSichSelbst(F, 0, 0, breite(logo), hoehe(logo), vb::DSTINVERT);
}

void Logo_vertikal_spiegeln(const Flaechen& F) {
    const vb::PictureBox& logo = *F.Weiss;
    aufSichSelbst(F, 0, hoehe(logo) - 1, breite(logo), -hoehe(logo), vb::SRCCOPY);
}

void Logo_horizontal_spiegeln(const Flaechen& F) {
    const vb::PictureBox& logo = *F.Weiss;
    aufSichSelbst(F, breite(logo) - 1, 0, -breite(logo), hoehe(logo), vb::SRCCOPY);
}

void Logo_hoch_schieben(const Flaechen& F) { schieben(F, 0, 1, 0, 0); }
void Logo_runter_schieben(const Flaechen& F) { schieben(F, 0, 0, 0, 1); }
void Logo_links_schieben(const Flaechen& F) { schieben(F, 1, 0, 0, 0); }
void Logo_rechts_schieben(const Flaechen& F) { schieben(F, 0, 0, 1, 0); }

Lupenbild Lupe(double X, double Y, double ZW, double ZH, double TPX, double TPY, int Logo_Breite, int Logo_Hoehe) {
    const double x = X, y = Y;
    // The raster around the cursor, held inside the raster; a later rule wins.
    double links = x - ZW / 8, oben = y - ZH / 8;
    if (y / 4 < ZH / 32) oben = 0;
    if (y / 4 > Logo_Hoehe - ZH / 32) oben = 4.0 * Logo_Hoehe - ZH / 4;
    if (x / 4 <= ZW / 32) links = 0;
    if (x / 4 > Logo_Breite - ZW / 32) links = 4.0 * Logo_Breite - ZW / 4;
    // The cursor mark: on the cursor's place in the clamped view near the right and bottom
    // edges, moved by fixed amounts near the left and top edges.
    double mX = 0, mY = 0;
    if (4 * x / TPX < 5) mX = (5 - 4 * x / TPX) * TPX;
    if (4 * y / TPY < 2) mY = (2 - 4 * y / TPY) * TPY;
    if (Logo_Breite - ZW / 32 < x / 4) mX = ZW / 2 - 4 * (x - (Logo_Breite - ZW / 16) * 4);
    if (Logo_Hoehe - ZH / 32 < y / 4) mY = ZH / 2 - 4 * (y - (Logo_Hoehe - ZH / 16) * 4);
    return {QRect(rund32(links), rund32(oben), rund32(ZW / 4), rund32(ZH / 4)), QPointF(ZW / 2 - mX, ZH / 2 - mY)};
}

void Zoom_zeichnen(const Flaechen& F, float X, float Y) {
    vb::PictureBox& zoom = *F.Zoom;
    const double ZW = zoom.ScaleWidth(), ZH = zoom.ScaleHeight();
    const Lupenbild l = Lupe(X, Y, ZW, ZH, vb::Screen::TwipsPerPixelX(), vb::Screen::TwipsPerPixelY(), Logo_Breite, Logo_Hoehe);
    vb::StretchBlt(zoom.hDC(), 0, 0, int(ZW), int(ZH), F.Raster->hDC(), l.Quelle.x(), l.Quelle.y(), l.Quelle.width(), l.Quelle.height(),
                   vb::SRCCOPY);
    zoom.Refresh();

    zoom.setDrawWidth(2);
    zoom.setDrawStyle(1);
    const double cx = l.Kreuz.x(), cy = l.Kreuz.y();
    zoom.Line(cx - 5, cy - 5, cx + 5, cy + 5, kKreuzfarbe);
    zoom.Line(cx - 5, cy + 5, cx + 5, cy - 5, kKreuzfarbe);
    zoom.setDrawWidth(1);
}

} // namespace Zaroreriri
