#include "logo/Logo_laden.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Zaroreriri.h"
#include "photo/Fotoeditor.h"
#include "platform/App.h"
#include "platform/Gdi.h"
#include "platform/Image.h"
#include "platform/PictureBox.h"
#include "platform/Screen.h"
#include "platform/Timer.h"
#include "platform/VBError.h"

#include <QPainter>
#include <cmath>

using namespace Parameter_und_Start;

namespace Logo_laden {
namespace {
int rund(double v) { return int(std::nearbyint(v)); } // halves to the even neighbour

// A stretching copy; reductions average the source pixels (halftone), so that a photo keeps
// its tones for the black-and-white conversion that follows.
void strecken(QImage& ziel, int x, int y, int w, int h, const QImage& quelle, int sw, int sh) {
    if (w <= 0 || h <= 0 || sw <= 0 || sh <= 0) return;
    if (w < sw || h < sh) {
        const QImage ganz = sw == quelle.width() && sh == quelle.height() ? quelle : quelle.copy(0, 0, sw, sh);
        const QImage klein = ganz.scaled(w, h, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).convertToFormat(QImage::Format_RGB32);
        vb::BitBlt(ziel, x, y, w, h, klein, 0, 0, vb::SRCCOPY);
    } else {
        vb::StretchBlt(ziel, x, y, w, h, quelle, 0, 0, sw, sh, vb::SRCCOPY);
    }
}

vb::Form* zielFenster(bool Ziel) {
    if (!Ziel) return &Startbildschirm.get();
    return &Fotoeditor.get();
}

void rasterZentrieren(vb::Form& F) {
    auto* raster = F.Get<vb::PictureBox>("Logo_Raster_Grafik");
    auto* mitte = F.Get<vb::Control>("Mitte_zentrierung");
    auto* mitteVert = F.Get<vb::Control>("Mitte_zentrierung_vert");
    if (!raster || !mitte || !mitteVert || !raster->AutoRedraw()) return;
    const double tpp = vb::Screen::TwipsPerPixelX();
    raster->setHeight(4.0 * Logo_Hoehe * tpp);
    raster->setWidth(4.0 * Logo_Breite * tpp);
    raster->setTop(mitte->Top() - raster->Height() / 2);
    raster->setLeft(mitteVert->Left() - raster->Width() / 2);
}
} // namespace

void Bild_in_Logo_laden(const QString& Pfad, bool Ziel) {
    vb::Form* F = zielFenster(Ziel);
    if (!F) return;
    auto* test = F->Get<vb::Image>("Testbild");
    auto* raster = F->Get<vb::PictureBox>("Logo_Raster_Grafik");
    auto* weiss = F->Get<vb::PictureBox>("Logo_Weiss_Grafik");
    auto* undo = F->Get<vb::PictureBox>("Logo_Undo_Grafik");
    if (!test || !weiss || !undo) return;
    const double tpp = vb::Screen::TwipsPerPixelX();

    test->setPicture(vb::Picture());
    vb::Picture bild;
    vb::Try([&] { bild = vb::LoadPicture(Pfad); });
    test->setPicture(bild);
    vb::App::DoEvents();
    if (test->Picture().IsEmpty()) {
        vb::Try([] {
            Info_Text = LoadResString(429);
            Info_Modus = 2;
            Information->InfoTimer->setTimerEnabled(false);
            Information->InfoTimer->setInterval(2500);
            Information->Show(vb::vbModal);
            Information->InfoTimer->setInterval(100);
        });
        return;
    }

    if (raster) raster->setPicture(vb::Picture());
    weiss->setPicture(vb::Picture());
    undo->setPicture(vb::Picture());
    const int W = Logo_Breite, H = Logo_Hoehe;
    weiss->setWidth(W * tpp);
    weiss->setHeight(H * tpp);
    const int sw = bild.Width(), sh = bild.Height();
    undo->setWidth(sw * tpp);
    undo->setHeight(sh * tpp);
    undo->setPicture(bild);
    vb::App::DoEvents();

    const float x0 = float(W) / 2 - (float(sw) * H / sh) / 2;
    QImage& ziel = weiss->hDC();
    const QImage& quelle = undo->hDC();
    if (!Perspektivisch_Skalieren) {
        strecken(ziel, 0, 0, rund(weiss->ScaleWidth() * 1.0), rund(weiss->ScaleHeight() * 1.0), quelle, sw, sh);
    } else if (sw > sh) {
        const double breite = double(sw) * H / sh;
        strecken(ziel, rund(x0), 0, rund(breite), H, quelle, sw, sh);
        if (breite < weiss->ScaleWidth()) {
            // Narrower than the logo: scaled to the logo's width instead, from the top row.
            weiss->Cls();
            strecken(ziel, 0, 0, W, rund(double(sh) * W / sw), quelle, sw, sh);
        }
    } else {
        strecken(ziel, 0, 0, W, rund(double(sh) * W / sw), quelle, sw, sh);
    }
    weiss->Refresh();

    undo->setPicture(weiss->Picture());
    vb::App::DoEvents();
    if (!Ziel) Zaroreriri::Raster_zeichnen();
    if (raster) rasterZentrieren(*F);
}

void Logo_in_Editor_laden(const QString& Pfad) {
    StartbildschirmForm& F = Startbildschirm.get();
    F.Logo_Raster_Grafik->Cls();
    F.Logo_Weiss_Grafik->Cls();
    F.Logo_Undo_Grafik->Cls();
    vb::Picture bild;
    vb::Try([&] { bild = vb::LoadPicture(Pfad); });
    const double tpp = vb::Screen::TwipsPerPixelX();
    // Both copies have the logo's size, so that undo and shifts work on the same extent.
    F.Logo_Undo_Grafik->setWidth(Logo_Breite * tpp);
    F.Logo_Undo_Grafik->setHeight(Logo_Hoehe * tpp);
    F.Logo_Undo_Grafik->setPicture(bild);
    F.Logo_Weiss_Grafik->setPicture(bild);
    F.Logo_Weiss_Grafik->setWidth(Logo_Breite * tpp);
    F.Logo_Weiss_Grafik->setHeight(Logo_Hoehe * tpp);
    vb::App::DoEvents();
    rasterZentrieren(F);
    Zaroreriri::Raster_zeichnen();
}

} // namespace Logo_laden
