#include "logo/Logo_laden.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Strings.h"
#include "logo/Zaroreriri.h"
#include "platform/window/App.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/picture/Picture.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/Timer.h"
#include "platform/system/VBError.h"

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

void rasterZentrieren(const Ladeziel& Z) {
    vb::PictureBox* raster = Z.Editor.Raster;
    if (!raster || !Z.Mitte_zentrierung || !Z.Mitte_zentrierung_vert || !raster->AutoRedraw()) return;
    const double tpp = vb::Screen::TwipsPerPixelX();
    raster->setHeight(4.0 * Logo_Hoehe * tpp);
    raster->setWidth(4.0 * Logo_Breite * tpp);
    raster->setTop(Z.Mitte_zentrierung->Top() - raster->Height() / 2);
    raster->setLeft(Z.Mitte_zentrierung_vert->Left() - raster->Width() / 2);
}
} // namespace

Einpassung Einpassen(int sw, int sh, int W, int H, double Breite, double Hoehe, bool Perspektivisch) {
    if (!Perspektivisch) return {QRect(0, 0, rund(Breite * 1.0), rund(Hoehe * 1.0)), std::nullopt};
    // Scaled to the logo's width, from the top row; the rows below the logo are cut.
    const QRect aufBreite(0, 0, W, rund(double(sh) * W / sw));
    if (sw <= sh) return {aufBreite, std::nullopt};
    // Scaled to the logo's height and centred, cut equally on both sides when wider.
    const float x0 = float(W) / 2 - (float(sw) * H / sh) / 2;
    const double breite = double(sw) * H / sh;
    const QRect aufHoehe(rund(x0), 0, rund(breite), H);
    // Narrower than the logo: scaled to the logo's width instead.
    if (breite < Breite) return {aufHoehe, aufBreite};
    return {aufHoehe, std::nullopt};
}

void Bild_in_Logo_laden(const QString& Pfad, const Ladeziel& Z) {
    vb::Image* test = Z.Testbild;
    vb::PictureBox* raster = Z.Editor.Raster;
    vb::PictureBox* weiss = Z.Editor.Weiss;
    vb::PictureBox* undo = Z.Editor.Undo;
    if (!test || !weiss || !undo) return;
    const double tpp = vb::Screen::TwipsPerPixelX();

    test->setPicture(vb::Picture());
    vb::Picture bild;
    vb::Try([&] { bild = vb::LoadPicture(Pfad); });
    test->setPicture(bild);
    vb::App::DoEvents();
    if (test->Picture().IsEmpty()) {
        Ungueltiges_Bildformat_melden();
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

    const Einpassung e = Einpassen(sw, sh, W, H, weiss->ScaleWidth(), weiss->ScaleHeight(), Perspektivisch_Skalieren);
    QImage& ziel = weiss->hDC();
    const QImage& quelle = undo->hDC();
    strecken(ziel, e.Zuerst.x(), e.Zuerst.y(), e.Zuerst.width(), e.Zuerst.height(), quelle, sw, sh);
    if (e.Danach) {
        weiss->Cls();
        strecken(ziel, e.Danach->x(), e.Danach->y(), e.Danach->width(), e.Danach->height(), quelle, sw, sh);
    }
    weiss->Refresh();

    undo->setPicture(weiss->Picture());
    vb::App::DoEvents();
    if (raster) Zaroreriri::Raster_zeichnen(Z.Editor);
    rasterZentrieren(Z);
}

void Logo_in_Editor_laden(const QString& Pfad, const Ladeziel& Z) {
    const Zaroreriri::Flaechen& F = Z.Editor;
    F.Raster->Cls();
    F.Weiss->Cls();
    F.Undo->Cls();
    vb::Picture bild;
    vb::Try([&] { bild = vb::LoadPicture(Pfad); });
    const double tpp = vb::Screen::TwipsPerPixelX();
    // Both copies have the logo's size, so that undo and shifts work on the same extent.
    F.Undo->setWidth(Logo_Breite * tpp);
    F.Undo->setHeight(Logo_Hoehe * tpp);
    F.Undo->setPicture(bild);
    F.Weiss->setPicture(bild);
    F.Weiss->setWidth(Logo_Breite * tpp);
    F.Weiss->setHeight(Logo_Hoehe * tpp);
    vb::App::DoEvents();
    rasterZentrieren(Z);
    Zaroreriri::Raster_zeichnen(F);
}

void Ungueltiges_Bildformat_melden() {
    vb::Try([] {
        Info_Text = LoadResString(429);
        Info_Modus = 2;
        Information->InfoTimer->setTimerEnabled(false);
        Information->InfoTimer->setInterval(2500);
        Information->Show(vb::vbModal);
        Information->InfoTimer->setTimerEnabled(false);
        Information->InfoTimer->setInterval(100);
    });
}

bool Arbeitsdatei_speichern(const vb::Picture& Bild, const QString& Name) {
    try {
        vb::SavePicture(Bild, Programmverzeichnis + Name);
        return true;
    } catch (const vb::VBError&) {
        return false;
    }
}

void Arbeitsdatei_melden(const QString& Name, int Meldung) {
    vb::Try([&] {
        Info_Text = LoadResString(Meldung).arg(Name);
        Info_Modus = 2;
        Information->Show(vb::vbModal);
    });
}

bool Arbeitsdatei_schreiben(const vb::Picture& Bild, const QString& Name, int Meldung) {
    if (Arbeitsdatei_speichern(Bild, Name)) return true;
    Arbeitsdatei_melden(Name, Meldung);
    return false;
}

bool Foto_als_Arbeitsdatei(const vb::Picture& Bild) {
    if (!Arbeitsdatei_schreiben(Bild, QStringLiteral("temp.bmp"), 871)) return false;
    Bilddatei_Pfad = Programmverzeichnis + QStringLiteral("temp.bmp");
    // temp.bmp holds exactly this picture; its next load need not read it again.
    vb::RememberPicture(Bilddatei_Pfad, Bild);
    return true;
}

} // namespace Logo_laden
