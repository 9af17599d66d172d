#include "frame/Fenster.h"

#include "frame/Parameter_und_Start.h"
#include "platform/window/App.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/Skin.h"
#include "platform/system/VBError.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

using namespace Parameter_und_Start;

namespace Fenster {

void Formular_laden(vb::Form& F) {
    // A window scaled once is scaled at each later load too: a window unloaded and loaded again
    // by a reference alone would otherwise come back at its design size in twips.
    F.LoadAdapted(Fenster_skalieren);
}

void Fenster_skalieren(vb::Form& F) {
    if (F.PaletteMode() != 1) return;
    F.setPaletteMode(0);
    if (KleineSchriftarten()) return;
    const double tpp = vb::Screen::TwipsPerPixelX();
    const QString& n = F.Name();
    const bool dialog = n == QLatin1String("Information") || n == QLatin1String("Intro") || n == QLatin1String("Einstellungen");
    if (vb::Screen::Metrics().widthPx >= 800) {
        if (tpp == 12 && !dialog) {
            F.setHeight(F.Height() / tpp * 15);
            F.setWidth(F.Width() / tpp * 15);
        } else {
            F.setHeight(F.Height() / 15 * tpp);
            F.setWidth(F.Width() / 15 * tpp);
        }
    }
    for (vb::Control* C : F.Controls()) Steuerelement_skalieren(*C);
    vb::Skin::Paint(F);
}

void Steuerelement_skalieren(vb::Control& C) {
    const double tpp = vb::Screen::TwipsPerPixelX();
    const QString fontName = C.HasFont() ? C.FontName() : QString();
    const bool treated = !fontName.isEmpty() || !C.HasStretch() || static_cast<vb::Image&>(C).Stretch();
    if (!treated) return;
    if (C.HasFont() && fontName != QLatin1String("Wingdings")) C.setFontSize(8);
    C.setHeight(C.Height() / 15 * tpp);
    C.setWidth(C.Width() / 15 * tpp);
    C.setTop(C.Top() / 15 * tpp);
    C.setLeft(C.Left() / 15 * tpp);
}

namespace {
int pixels(double twips) { return int(std::nearbyint(twips / vb::Screen::TwipsPerPixelX())); }

// Cuts the surface to its rounded outline (corner ellipse e pixels; 0: square) and draws that
// outline in its fore colour.
template <class T>
void abrunden(T& s, int e) {
    const int w = pixels(s.Width()), h = pixels(s.Height());
    s.SetRoundRegion(w, h, e, e);
    s.setAutoRedraw(true);
    QPainter p(&s.hDC());
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(vb::ToQColor(s.ForeColor()));
    p.setBrush(Qt::NoBrush);
    if (e > 0) p.drawRoundedRect(QRect(0, 0, w - 1, h - 1), e / 2.0, e / 2.0);
    else p.drawRect(QRect(0, 0, w - 1, h - 1));
}
} // namespace

void Fenster_abrunden(vb::Form& F) {
    abrunden(F, 20);
    F.Widget()->update();
}

void Bildfeld_abrunden(vb::PictureBox& P) {
    abrunden(P, 0);
    P.Refresh();
}

void Steuerelement_zentrieren(vb::Control& C, vb::Control& R, short dy, short dx) {
    const double tpp = vb::Screen::TwipsPerPixelX();
    C.setVisible(false);
    vb::App::DoEvents();
    C.setTop(R.Top() + R.Height() / 2 - C.Height() / 2 - dy * tpp);
    C.setLeft(R.Left() + R.Width() / 2 - C.Width() / 2 - dx * tpp);
    C.setVisible(true);
    vb::App::DoEvents();
}

void Bild_einpassen(vb::Image& B, double maxW, double maxH) {
    B.setVisible(false);
    vb::App::DoEvents();
    const double w = B.Width(), h = B.Height();
    if (!(w <= maxW && h <= maxH) && w > 0 && h > 0) {
        B.setWidth(maxW);
        B.setHeight(h * maxW / w);
        if (B.Height() > maxH) {
            B.setHeight(maxH);
            B.setWidth(w * maxH / h);
        }
    }
    B.setStretch(true);
    B.setVisible(true);
    vb::App::DoEvents();
    B.Refresh();
}

} // namespace Fenster
