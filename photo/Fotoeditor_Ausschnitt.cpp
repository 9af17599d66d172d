// The photo editor: the cut-out frame in its three modes and the rubber band.
#include "photo/Fotoeditor.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Strings.h"
#include "logo/Zaroreriri.h"
#include "photo/CopyDesktop_Area.h"
#include "photo/MausPositionAendern.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/picture/Picture.h"
#include "platform/window/Screen.h"
#include "platform/window/Shape.h"
#include "platform/system/VBError.h"

#include <QWidget>
#include <cmath>

using namespace Parameter_und_Start;

namespace {
double tpx() { return vb::Screen::TwipsPerPixelX(); }
double tpy() { return vb::Screen::TwipsPerPixelY(); }
bool gewaehlt(const vb::Image* b) { return b->Tag() == QLatin1String("1"); }
} // namespace

void FotoeditorForm::wireAusschnitt() {
    Foto_bearbeiten_Schere_Komplett->Click = [this] { Foto_bearbeiten_Schere_Komplett_Click(); };
    Foto_bearbeiten_Schere_Lasso->Click = [this] { Foto_bearbeiten_Schere_Lasso_Click(); };
    Foto_bearbeiten_Schere_Logogroesse->Click = [this] { Foto_bearbeiten_Schere_Logogroesse_Click(); };
    Fotos_Bearbeiten_Bildimage->MouseDown = [this](int b, int s, float x, float y) { Fotos_Bearbeiten_Bildimage_MouseDown(b, s, x, y); };
    Fotos_Bearbeiten_Bildimage->MouseMove = [this](int b, int s, float x, float y) { Fotos_Bearbeiten_Bildimage_MouseMove(b, s, x, y); };
    Fotos_Bearbeiten_Bildimage->MouseUp = [this](int b, int s, float x, float y) { Fotos_Bearbeiten_Bildimage_MouseUp(b, s, x, y); };
    Fotos_Bearbeiten_Bildimage->DragDrop = [this](vb::Control& q, float x, float y) { Fotos_Bearbeiten_Bildimage_DragDrop(q, x, y); };
    Bildschirmshape_Master->MouseDown = [this](int b, int s, float x, float y) { Bildschirmshape_Master_MouseDown(b, s, x, y); };
    Bildschirmshape_Master->MouseMove = [this](int b, int s, float x, float y) { Bildschirmshape_Master_MouseMove(b, s, x, y); };
    Bildschirmshape_Master->MouseUp = [this](int b, int s, float x, float y) { Bildschirmshape_Master_MouseUp(b, s, x, y); };
    Bildschirmshape_Master->DblClick = [this] { Bildschirmshape_Master_DblClick(); };
    // The frame is drawn as a shape, but the user drags and double-clicks it: it takes the mouse
    // above the photo, where a shape would let it through.
    Bildschirmshape_Master->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents, false);
}

void FotoeditorForm::Foto_bearbeiten_Schere_Komplett_Click() {
    Foto_bearbeiten_Schere_Komplett->setTag(QStringLiteral("1"));
    Foto_bearbeiten_Schere_Lasso->setTag(QStringLiteral("0"));
    Foto_bearbeiten_Schere_Logogroesse->setTag(QStringLiteral("0"));
    Form_MouseMove(0, 0, 0, 0);
}
void FotoeditorForm::Foto_bearbeiten_Schere_Lasso_Click() {
    Foto_bearbeiten_Schere_Komplett->setTag(QStringLiteral("0"));
    Foto_bearbeiten_Schere_Lasso->setTag(QStringLiteral("1"));
    Foto_bearbeiten_Schere_Logogroesse->setTag(QStringLiteral("0"));
    Form_MouseMove(0, 0, 0, 0);
}
void FotoeditorForm::Foto_bearbeiten_Schere_Logogroesse_Click() {
    Foto_bearbeiten_Schere_Komplett->setTag(QStringLiteral("0"));
    Foto_bearbeiten_Schere_Lasso->setTag(QStringLiteral("0"));
    Foto_bearbeiten_Schere_Logogroesse->setTag(QStringLiteral("1"));
    Form_MouseMove(0, 0, 0, 0);
}

void FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown(int, int, float, float) {
    if (!gewaehlt(Foto_bearbeiten_Schere_Komplett) && !gewaehlt(Foto_bearbeiten_Schere_Lasso)) return;
    Fotos_Bearbeiten_Bildimage_Undo_Buffer->setPicture(Fotos_Bearbeiten_Bildimage->Picture());
    Undo_Fotoeditor_Shape_Label->setVisible(false);
    Zaroreriri::Rasterposition_ermitteln(*Shape1);
    Gemeinsam.Schnitt_Anker_X = Raster_X * 4 * tpx();
    Gemeinsam.Schnitt_Anker_Y = Raster_Y * 4 * tpy();
    Bildschirmshape->Move(Gemeinsam.Schnitt_Anker_X, Gemeinsam.Schnitt_Anker_Y, 0, 0);
    Bildschirmshape->Refresh();
    Bildschirmshape->setVisible(true);
    Bildschirmshape_Master->setVisible(false);
}

void FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove(int Button, int, float X, float Y) {
    if (!(X < Fotos_Bearbeiten_Bildimage->Width() && Y < Fotos_Bearbeiten_Bildimage->Height())) return;
    const bool logogroesse = gewaehlt(Foto_bearbeiten_Schere_Logogroesse);
    const int zeiger = logogroesse ? 3 : 2; // I-beam, cross-hair
    if (Fotos_Bearbeiten_Bildimage->MousePointer() != zeiger) Fotos_Bearbeiten_Bildimage->setMousePointer(zeiger);
    if (gewaehlt(Foto_bearbeiten_Schere_Komplett) && Button == vb::vbLeftButton) {
        // The band spans from the press point to the cursor, whichever side the cursor is on.
        Zaroreriri::Rasterposition_ermitteln(*Shape1);
        const double x = Raster_X * 4 * tpx(), y = Raster_Y * 4 * tpy();
        Bildschirmshape->Move(std::min(x, Gemeinsam.Schnitt_Anker_X), std::min(y, Gemeinsam.Schnitt_Anker_Y), std::abs(x - Gemeinsam.Schnitt_Anker_X), std::abs(y - Gemeinsam.Schnitt_Anker_Y));
        Bildschirmshape->Refresh();
    } else if (logogroesse) {
        Bildschirmshape->setWidth(Logo_Breite * tpx());
        Bildschirmshape->setHeight(Logo_Hoehe * tpy());
        Bildschirmshape->setVisible(true);
        Zaroreriri::Rasterposition_ermitteln(*Shape1);
        Bildschirmshape->setLeft(Raster_X * 4 * tpx());
        Bildschirmshape->setTop(Raster_Y * 4 * tpy());
        Bildschirmshape->Refresh();
    } else if (gewaehlt(Foto_bearbeiten_Schere_Lasso) && Button == vb::vbLeftButton && !(Y * Logo_Seitenverhaeltnis > X)) {
        Zaroreriri::Rasterposition_ermitteln(*Shape1);
        Bildschirmshape->setWidth(std::abs(Raster_X * 4 * tpx() - Bildschirmshape->Left()));
        Bildschirmshape->setHeight(Bildschirmshape->Width() * Logo_Seitenverhaeltnis);
        Bildschirmshape->Refresh();
    }
}

void FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp(int, int, float, float) {
    // Without a scissors mode there is no band, so no frame either.
    if (!gewaehlt(Foto_bearbeiten_Schere_Komplett) && !gewaehlt(Foto_bearbeiten_Schere_Lasso) && !gewaehlt(Foto_bearbeiten_Schere_Logogroesse)) return;
    Bildschirmshape_Master->Move(Bildschirmshape->Left(), Bildschirmshape->Top(), Bildschirmshape->Width(), Bildschirmshape->Height());
    Bildschirmshape->setVisible(false);
    Bildschirmshape_Master->setVisible(true);
}

void FotoeditorForm::Fotos_Bearbeiten_Bildimage_DragDrop(vb::Control&, float X, float Y) {
    // The drop point is on the photo; the frame lies in the photo's container.
    Bildschirmshape_Master->setLeft(Fotos_Bearbeiten_Bildimage->Left() + X);
    Bildschirmshape_Master->setTop(Fotos_Bearbeiten_Bildimage->Top() + Y);
}

void FotoeditorForm::Bildschirmshape_Master_MouseDown(int, int, float, float) {
    vb::Image* foto = Fotos_Bearbeiten_Bildimage;
    Fangcontainer->Move(foto->Left(), foto->Top(), foto->Width(), foto->Height());
    Fangcontainer->Refresh();
    Rahmen_Links = float(Bildschirmshape_Master->Left());
    Rahmen_Oben = float(Bildschirmshape_Master->Top());
    Gemeinsam.Rahmen_gedrueckt = true;
    vb::App::DoEvents();
    // A quick click may have ended while the events ran: then nothing is dragged.
    if (Gemeinsam.Rahmen_gedrueckt) MausPositionAendern::Maus_einfangen(*Fangcontainer);
}

void FotoeditorForm::Bildschirmshape_Master_MouseMove(int Button, int, float X, float Y) {
    Bildschirmshape_Master->setToolTipText(LoadResString(856));
    if (Button != vb::vbLeftButton) return;
    vb::Shape* r = Bildschirmshape_Master;
    r->setLeft(std::floor(X + r->Left() - r->Width() / 2));
    r->setTop(std::floor(Y + r->Top() - r->Height() / 2));
}

void FotoeditorForm::Bildschirmshape_Master_MouseUp(int, int, float, float) {
    Gemeinsam.Rahmen_gedrueckt = false;
    MausPositionAendern::Maus_freigeben(*Fangcontainer);
    vb::Image* foto = Fotos_Bearbeiten_Bildimage;
    vb::Shape* r = Bildschirmshape_Master;
    if (foto->Left() + foto->Width() < r->Left() + r->Width()) r->setLeft(foto->Left() + foto->Width() + tpx() - r->Width());
    if (r->Left() < foto->Left()) r->setLeft(foto->Left());
    if (r->Top() < foto->Top()) r->setTop(foto->Top());
    if (foto->Top() + foto->Height() < r->Top() + r->Height()) r->setTop(foto->Top() + foto->Height() - r->Height());
}

void FotoeditorForm::Bildschirmshape_Master_DblClick() {
    // The frame goes away: nothing holds the cursor any longer.
    Gemeinsam.Rahmen_gedrueckt = false;
    MausPositionAendern::Maus_freigeben(*Fangcontainer);
    vb::Image* foto = Fotos_Bearbeiten_Bildimage;
    Fangcontainer->Move(foto->Left(), foto->Top(), foto->Width(), foto->Height());
    Fangcontainer->Refresh();
    Bildschirmshape_Master->setLeft(Rahmen_Links);
    Bildschirmshape_Master->setTop(Rahmen_Oben);
    Bildschirmshape_Master->setVisible(false);
    Bildschirmshape->setVisible(false);
    vb::App::DoEvents();
    const QString fehler = CopyDesktop_Area::CopyDesktopArea({*Bildschirmshape_Master, *Fotos_Bearbeiten_Bildimage_Undo_Buffer,
                                                              *Fotos_Bearbeiten_BildiPicture_Lasso});
    vb::App::DoEvents();
    if (!fehler.isEmpty()) {
        // No cut without a picture of the screen: the photo stays and the program says why.
        Info_Text = LoadResString(857) + fehler;
        Info_Modus = 2;
        Information->Show(vb::vbModal);
        return;
    }
    const QString undo = Programmverzeichnis + QStringLiteral("undo.bmp");
    try {
        vb::SavePicture(foto->Picture(), undo);
    } catch (const vb::VBError&) {
    }
    Fotos_Bearbeiten_Bildimage_Undo_Buffer->setPicture(foto->Picture());
    In_Fotoeditor_bearbeiten_Einsprung(Programmverzeichnis + QStringLiteral("freeze.bmp"));
    Undo_Fotoeditor_Shape_Label->setVisible(false);
    Bildschirmshape->setVisible(false);
    Fotos_Bearbeiten_BildiPicture_Lasso->setVisible(false);
    Laden_Click_Sub(Programmverzeichnis + QStringLiteral("freeze.bmp"));
}
