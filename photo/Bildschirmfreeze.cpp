#include "photo/Bildschirmfreeze.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Logo_laden.h"
#include "logo/Zaroreriri.h"
#include "photo/CopyDesktop_Area.h"
#include "photo/Fotoeditor.h"
#include "platform/window/App.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Keys.h"
#include "platform/window/PictureBox.h"
#include "platform/picture/Picture.h"
#include "platform/window/Screen.h"
#include "platform/window/Shape.h"
#include "platform/system/VBError.h"

#include <QWidget>
#include <cmath>

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<BildschirmfreezeForm> Bildschirmfreeze;

namespace {
// The window is as large as the screen (Form_Load); the picture takes the desktop's size.
using Self = BildschirmfreezeForm;

const vb::LayoutRow kLayout[] = {
    VB_ROW(Bildschirmfoto, 0, 0, 15360, 11520),
    VB_ROW(Bildschirmshape, 0, 0, 1500, 1000, "Bildschirmfoto"),
    VB_ROW(Bildschirmfoto_Copybuffer, 0, 0, 1500, 1000),
};

double tpx() { return vb::Screen::TwipsPerPixelX(); }
double tpy() { return vb::Screen::TwipsPerPixelY(); }
int pixel(double v) { return int(std::lround(v)); }
} // namespace

BildschirmfreezeForm::BildschirmfreezeForm() : vb::Form(QStringLiteral("Bildschirmfreeze"), kLayout, 15360, 11520) {}

void BildschirmfreezeForm::Wire() {
    Bildschirmfoto->MouseDown = [this](int b, int s, float x, float y) { Bildschirmfoto_MouseDown(b, s, x, y); };
    Bildschirmfoto->MouseMove = [this](int b, int s, float x, float y) { Bildschirmfoto_MouseMove(b, s, x, y); };
    Bildschirmfoto->MouseUp = [this](int b, int s, float x, float y) { Bildschirmfoto_MouseUp(b, s, x, y); };
}

void BildschirmfreezeForm::Design() {
    Bildschirmfoto->setAutoRedraw(true);
    Bildschirmfoto->setScaleMode(vb::vbTwips);
    Bildschirmfoto_Copybuffer->setAutoRedraw(true);
    Bildschirmfoto_Copybuffer->setVisible(false);
    Bildschirmshape->setVisible(false);
    Bildschirmshape->setBorderColor(0xFFFFFF);
    Bildschirmshape->setBorderWidth(1);
    Move(0, 0);
    // On top in every mode: a change of the flag would make the window manager map it anew.
    setTopmost(true);
}

void BildschirmfreezeForm::Form_Load() {
    setWidth(vb::Screen::Width());
    setHeight(vb::Screen::Height());
    // The window is shown once per capture and never hidden and shown again while the window
    // manager maps it: it takes the frozen desktop before it shows.
    if (CaptureMode == BildAusschnitt) {
        Bildschirmshape->setVisible(false);
    } else {
        Bildschirmshape->setWidth(Logo_Breite * tpx());
        Bildschirmshape->setHeight(Logo_Hoehe * tpy());
        Bildschirmshape->setVisible(CaptureMode == BildLogoLupe);
    }
    Bildschirmfoto->Cls();
    m_fehler = CopyDesktop(*Bildschirmfoto);
}

void BildschirmfreezeForm::Erfassen() {
    Load();
    if (!m_fehler.isEmpty()) {
        // Nothing to capture from: the windows come back and the program says why.
        const QString fehler = m_fehler;
        Abbrechen();
        Info_Text = LoadResString(857) + fehler;
        Info_Modus = 2;
        Information->Show(vb::vbModal);
        return;
    }
    Show(vb::vbModeless);
}

void BildschirmfreezeForm::Form_Activate() {
    Bildschirmfoto->Refresh();
    setWindowState(vb::vbNormal);
    vb::App::DoEvents();
    setWidth(vb::Screen::Width());
    setHeight(vb::Screen::Height());
    Widget()->repaint();
    vb::App::DoEvents();
    if (CaptureMode == BildLogoLupe || CaptureMode == BildKomplett) {
        Move((vb::Screen::Width() - Width()) / 2, (vb::Screen::Height() - Height()) / 2);
    }
    // The keys that cancel the capture come here.
    Widget()->raise();
    Widget()->activateWindow();
    vb::App::DoEvents();
}

void BildschirmfreezeForm::Abbrechen() {
    Unload();
    Fenster_wiederherstellen();
}

void BildschirmfreezeForm::Form_KeyDown(int& KeyCode, int) {
    if (KeyCode != vb::vbKeyEscape) return;
    KeyCode = 0;
    Abbrechen();
}

void BildschirmfreezeForm::Form_QueryUnload(int& Cancel, int) {
    // Closed by the window manager: the capture is cancelled, not left half done.
    Cancel = 1;
    Abbrechen();
}

QString BildschirmfreezeForm::CopyDesktop(vb::PictureBox& objTo) { return CopyDesktop_Area::CopyWholeDesktop(objTo); }

void BildschirmfreezeForm::Bildschirmfoto_MouseDown(int, int, float, float) {
    if (CaptureMode == BildLogoLupe) return;
    Bildschirmshape->setVisible(false);
    Zaroreriri::Rasterposition_ermitteln(*Bildschirmfoto);
    Bildschirmshape->Move(Raster_X * 4 * tpx(), Raster_Y * 4 * tpy(), 0, 0);
    vb::App::DoEvents();
    Bildschirmshape->setVisible(true);
}

void BildschirmfreezeForm::Bildschirmfoto_MouseMove(int Button, int, float X, float Y) {
    if (CaptureMode == BildLogoLupe) {
        Zaroreriri::Rasterposition_ermitteln(*Bildschirmfoto);
        Bildschirmshape->setLeft(Raster_X * 4 * tpx());
        Bildschirmshape->setTop(Raster_Y * 4 * tpy());
    } else if (CaptureMode == BildKomplett && Button == vb::vbLeftButton) {
        Bildschirmshape->setVisible(true);
        Bildschirmshape->setWidth(std::abs(X - Raster_X * 4 * tpx()));
        Bildschirmshape->setHeight(std::abs(Y - Raster_Y * 4 * tpy()));
    } else if (CaptureMode == BildAusschnitt && Button == vb::vbLeftButton) {
        // The band follows the cursor everywhere; its height keeps the logo's aspect ratio.
        Bildschirmshape->setVisible(true);
        Bildschirmshape->setWidth(std::abs(X - Raster_X * 4 * tpx()));
        Bildschirmshape->setHeight(Bildschirmshape->Width() * Logo_Seitenverhaeltnis);
    }
}

void BildschirmfreezeForm::Bildschirmfoto_MouseUp(int, int, float, float) {
    const int w = pixel(Bildschirmshape->Width() / tpx()), h = pixel(Bildschirmshape->Height() / tpy());
    if (w <= 0 || h <= 0) {
        // A release without a drag marks nothing: no capture, the photo editor comes back as it was.
        vb::App::DoEvents();
        Fenster_wiederherstellen();
        vb::App::DoEvents();
        Unload();
        return;
    }
    Bildschirmfoto_Copybuffer->setWidth(Bildschirmshape->Width());
    Bildschirmfoto_Copybuffer->setHeight(Bildschirmshape->Height());
    // What the desktop copy does not hold (a frame beyond the screen's edge) stays the buffer's
    // back colour, never an earlier capture.
    Bildschirmfoto_Copybuffer->Cls();
    vb::StretchBlt(Bildschirmfoto_Copybuffer->hDC(), 0, 0, w, h, Bildschirmfoto->hDC(), pixel(Bildschirmshape->Left() / tpx()),
                   pixel(Bildschirmshape->Top() / tpy()), w, h, vb::SRCCOPY);
    vb::App::DoEvents();
    const QString freeze = Programmverzeichnis + QStringLiteral("freeze.bmp");
    const bool gespeichert = Logo_laden::Arbeitsdatei_speichern(Bildschirmfoto_Copybuffer->Image(), QStringLiteral("freeze.bmp"));
    vb::App::DoEvents();
    Fenster_wiederherstellen();
    vb::App::DoEvents();
    if (!gespeichert) {
        // A picture that could not be written leaves the photo as it was, and the user is told
        // once the capture window is gone.
        Unload();
        Logo_laden::Arbeitsdatei_melden(QStringLiteral("freeze.bmp"), 871);
        return;
    }
    Bilddatei_Pfad = freeze;
    Fotoeditor->In_Fotoeditor_bearbeiten_Einsprung(Bilddatei_Pfad);
    Fotoeditor->Laden_Click_Sub(Bilddatei_Pfad);
    vb::App::DoEvents();
    Unload();
}

void Fenster_wiederherstellen() {
    // The main window first: the window manager may put the window it maps last on top and give
    // it the focus, and that is the editor's place.
    Startbildschirm->setWindowState(vb::vbNormal);
    Fotoeditor->setWindowState(vb::vbNormal);
    Fotoeditor->Widget()->raise();
    Fotoeditor->Widget()->activateWindow();
}
