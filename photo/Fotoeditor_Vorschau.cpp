// The photo editor: the photo at logo size converted three ways, the choice of one, and its
// hand-over to the logo editor as "Foto.bmp".
#include "photo/Fotoeditor.h"

#include "frame/Datei_Laden_Speichern.h"
#include "frame/Einstellungen.h"
#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/cPalette.h"
#include "logo/Logo_laden.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;

namespace {
// One conversion: the work file, the reduction calls (depth, method) and its place in
// Umrechnungen (Dither, Muster, Schwellenwert).
struct Umrechnung {
    const char* datei;
    int schritte;
    int tiefe[2], methode[2];
    int index;
};
// In the order they are computed: Dither, Schwellenwert, Muster.
constexpr Umrechnung kUmrechnungen[] = {
    {"dither.bmp", 1, {0, 0}, {2, 0}, 0},
    {"sw.bmp", 1, {0, 0}, {0, 0}, 2},
    {"muster.bmp", 2, {1, 0}, {2, 0}, 1},
};

void zeigen(vb::PictureBox& ziel, vb::PictureBox& quelle) {
    ziel.setPicture(vb::Picture());
    ziel.Cls();
    const int w = int(quelle.ScaleWidth()), h = int(quelle.ScaleHeight());
    vb::StretchBlt(ziel.hDC(), 0, 0, w, h, quelle.hDC(), 0, 0, w, h, vb::SRCAND);
    ziel.Refresh();
}
} // namespace

void FotoeditorForm::Laden_Click_Sub(QString Pfad) {
    if (Pfad.isEmpty()) Pfad = Datei_Laden_Speichern::Bilddatei_laden();
    if (Pfad.isEmpty()) {
        Laden_Fotos_Browser_bearbeiten->setVisible(true);
        return;
    }
    Logo_laden::Bild_in_Logo_laden(Pfad, Ladeziel());
    if (Testbild->Picture().IsEmpty()) {
        Laden_Fotos_Browser_bearbeiten->setVisible(true);
        return;
    }
    Laden_Fotos_Browser_bearbeiten->setVisible(false);
    const vb::Picture logo = Logo_Weiss_Grafik->Image();
    for (const Umrechnung& u : kUmrechnungen)
        vb::Try([&] { vb::SavePicture(logo, Programmverzeichnis + QString::fromLatin1(u.datei)); });
    Gruen_Transferlogo_LogoBrowser[1]->setPicture(vb::Picture());
    Gruen_Transferlogo_LogoBrowser[1]->Cls();
    Gruen_Transferlogo_LogoBrowser[0]->Refresh();
    Gruen_Transferlogo_LogoBrowser[1]->Refresh();
    Bildpuffer = std::make_unique<cDIBSection>();
    if (!Bildspeicher) Bildspeicher = std::make_unique<cDIBSectionSave>();

    vb::PictureBox* vorschau[] = {Kalvoren_Voschau_Dither_Grafik, Kalvoren_Voschau_Muster_Grafik, Kalvoren_Voschau_Schwellenwert_Grafik};
    const double tpp = vb::Screen::TwipsPerPixelX();
    for (const Umrechnung& u : kUmrechnungen) {
        // The work file holds exactly the logo-size picture; it is taken from memory.
        Bildpuffer->CreateFromPicture(logo.Image());
        std::shared_ptr<cPalette> keinePalette;
        for (int s = 0; s < u.schritte; ++s) Bildspeicher->SaveToBuffer(*Bildpuffer, keinePalette, u.tiefe[s], u.methode[s]);
        const vb::Picture bild(Bildpuffer->ToImage());
        Umrechnungen[size_t(u.index)] = bild;
        vb::PictureBox* anzeige = Gruen_Transferlogo_LogoBrowser[0];
        anzeige->setWidth(bild.Width() * tpp);
        anzeige->setHeight(bild.Height() * tpp);
        anzeige->setPicture(bild);
        if (u.index == 0) zeigen(*Gruen_Transferlogo_LogoBrowser[1], *anzeige);
        zeigen(*vorschau[u.index], *anzeige);
    }
    Laden_Fotos_Browser_bearbeiten->setVisible(true);
}

void FotoeditorForm::Gruen_Transferlogo_LogoBrowser_Change(short Index) {
    if (Index != 0) return;
    vb::PictureBox* quelle = Gruen_Transferlogo_LogoBrowser[0];
    vb::PictureBox* anzeige = Gruen_Transferlogo_LogoBrowser[1];
    anzeige->setWidth(quelle->Width());
    anzeige->setHeight(quelle->Height());
    Fenster::Steuerelement_zentrieren(*anzeige, *Gruen_Transferlogo_LogoBrowser_Rahmen, 0, 0);
    for (vb::PictureBox* p : {Kalvoren_Voschau_Schwellenwert_Grafik, Kalvoren_Voschau_Muster_Grafik, Kalvoren_Voschau_Dither_Grafik}) {
        p->setWidth(quelle->Width());
        p->setHeight(quelle->Height());
    }
    Fenster::Steuerelement_zentrieren(*Kalvoren_Voschau_Schwellenwert_Grafik, *Kalvoren_Voschau_Schwellenwert, -2, 4);
    Fenster::Steuerelement_zentrieren(*Kalvoren_Voschau_Muster_Grafik, *Kalvoren_Voschau_Muster, -2, 4);
    Fenster::Steuerelement_zentrieren(*Kalvoren_Voschau_Dither_Grafik, *Kalvoren_Voschau_Dither, -2, 4);
}

namespace {
void waehlen(vb::Image* gewaehlt, std::initializer_list<vb::Image*> alle) {
    for (vb::Image* r : alle) {
        r->setTag(QStringLiteral("0"));
        r->setBorderStyle(0);
    }
    gewaehlt->setTag(QStringLiteral("1"));
    gewaehlt->setBorderStyle(1);
}
bool gewaehlt(const vb::Image* r) { return r->Tag().toInt() == 1; }
} // namespace

void FotoeditorForm::Kalvoren_Voschau_Dither_Click() {
    if (gewaehlt(Kalvoren_Voschau_Dither)) return;
    waehlen(Kalvoren_Voschau_Dither, {Kalvoren_Voschau_Dither, Kalvoren_Voschau_Muster, Kalvoren_Voschau_Schwellenwert});
}

void FotoeditorForm::Kalvoren_Voschau_Muster_Click() {
    if (gewaehlt(Kalvoren_Voschau_Muster)) return;
    waehlen(Kalvoren_Voschau_Muster, {Kalvoren_Voschau_Dither, Kalvoren_Voschau_Muster, Kalvoren_Voschau_Schwellenwert});
}

void FotoeditorForm::Kalvoren_Voschau_Schwellenwert_Click() {
    if (gewaehlt(Kalvoren_Voschau_Schwellenwert)) return;
    const vb::Picture logo = Logo_Weiss_Grafik->Image();
    if (gewaehlt(Kalvoren_Voschau_Dither)) vb::Try([&] { vb::SavePicture(logo, Programmverzeichnis + QStringLiteral("dither.bmp")); });
    if (gewaehlt(Kalvoren_Voschau_Muster)) vb::Try([&] { vb::SavePicture(logo, Programmverzeichnis + QStringLiteral("muster.bmp")); });
    waehlen(Kalvoren_Voschau_Schwellenwert, {Kalvoren_Voschau_Dither, Kalvoren_Voschau_Muster, Kalvoren_Voschau_Schwellenwert});
}

void FotoeditorForm::Umrechnung_voreinstellen() {
    int art = Berechnung_Dither;
    if (Einstellungen.IsLoaded()) {
        const int i = Einstellungen->Berechnungsart_Combobox->ListIndex();
        if (i >= Berechnung_Dither && i <= Berechnung_Schwellenwert) art = i;
    }
    vb::Image* rahmen[] = {Kalvoren_Voschau_Dither, Kalvoren_Voschau_Muster, Kalvoren_Voschau_Schwellenwert};
    waehlen(rahmen[art], {Kalvoren_Voschau_Dither, Kalvoren_Voschau_Muster, Kalvoren_Voschau_Schwellenwert});
}

void FotoeditorForm::In_Kalvoren_bearbeiten_Click() {
    if (Umrechnungen[0].IsEmpty()) return; // no photo yet
    if (Startbildschirm.IsLoaded()) Startbildschirm->setEnabled(true);
    vb::App::DoEvents();
    // The chosen conversion exactly as its preview shows it; without one the photo at logo size.
    vb::Picture bild = Logo_Weiss_Grafik->Image();
    if (Kalvoren_Voschau_Dither->BorderStyle() == 1 && !Umrechnungen[0].IsEmpty()) bild = Umrechnungen[0];
    if (Kalvoren_Voschau_Schwellenwert->BorderStyle() == 1 && !Umrechnungen[2].IsEmpty()) bild = Umrechnungen[2];
    if (Kalvoren_Voschau_Muster->BorderStyle() == 1 && !Umrechnungen[1].IsEmpty()) bild = Umrechnungen[1];
    const QString foto = Programmverzeichnis + QStringLiteral("Foto.bmp");
    // Without "Foto.bmp" nothing can be handed over; the logo and the photo stay as they were.
    if (!Logo_laden::Arbeitsdatei_schreiben(bild, QStringLiteral("Foto.bmp"), 870)) return;
    Logo_Weiss_Grafik->setPicture(bild);
    vb::App::DoEvents();
    Bilddatei_Pfad = foto;
    vb::App::DoEvents();
    StartbildschirmForm& S = Startbildschirm.get();
    S.Logo_Weiss_Grafik->setPicture(bild);
    vb::App::DoEvents();
    S.Laden_Click_Sub(foto, false, true);
    vb::App::DoEvents();
    Foto_Modus = true;
    Hide();
    S.setEnabled(true);
}
