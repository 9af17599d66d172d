// The main window: pictures loaded into the logo editor, the picker and the photo editor opened, the tabs.
#include "frame/Startbildschirm.h"

#include "frame/Datei_Laden_Speichern.h"
#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/cPalette.h"
#include "logo/Fotovorschau.h"
#include "logo/Logo_laden.h"
#include "logo/Zaroreriri.h"
#include "photo/Fotoeditor.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;

// Where a picture is loaded and fitted in this window.
Logo_laden::Ladeziel StartbildschirmForm::Ladeziel() { return {Testbild, Editorflaechen(), Mitte_zentrierung, Mitte_zentrierung_vert}; }

void StartbildschirmForm::wireLaden() {
    In_Zaroreriri_bearbeiten->Click = [this] { In_Zaroreriri_bearbeiten_Click(); };
    // Tabs and loading
    Reiter_Kalvoren_inLogos->Click = [this] { Reiter_Kalvoren_inLogos_Click(); };
    Reiter_Logos_inKalvoren->Click = [this] { Reiter_Logos_inKalvoren_Click(); };
    Kalvoren_bearbeiten_zurueck->Click = [this] { Kalvoren_bearbeiten_zurueck_Click(); };
    Reiter_Fotos_inKalvoren->Click = [this] { Reiter_Fotos_inKalvoren_Click(); };
    Reiter_Fotos_inLogos->Click = [this] { Reiter_Fotos_inLogos_Click(); };
    Laden->Click = [this] { Laden_Click(); };
    Laden_Fotos_Browser->Click = [this] { Laden_Fotos_Browser_Click(); };
}

void StartbildschirmForm::designLaden() {
    // The gallery view at start.
    Logos_mit_Schatten->setVisible(false);
    Reiter_Logos_inKalvoren->setVisible(false);
    Kalvoren_mit_Schatten->setVisible(false);
    Layer_Kalvoren->setVisible(false);
    Testbild->setVisible(false);
}

// ---- Loading pictures into the editor ----

void StartbildschirmForm::Laden_Click_Sub(QString Verzeichnis, bool DontShowKalvoren, bool) {
    QString pfad = Verzeichnis;
    if (pfad.isEmpty()) {
        pfad = Datei_Laden_Speichern::Bilddatei_laden();
        if (pfad.isEmpty()) return;
    }
    vb::App::DoEvents();
    // What the editor showed, for a load that cannot finish.
    struct Stand {
        vb::PictureBox* box;
        vb::Picture bild;
        QImage flaeche;
        double breite, hoehe;
    };
    std::vector<Stand> vorher;
    for (vb::PictureBox* p : {Logo_Weiss_Grafik, Logo_Undo_Grafik})
        vorher.push_back({p, p->Picture(), p->hDC().copy(), p->Width(), p->Height()});
    Logo_laden::Bild_in_Logo_laden(pfad, Ladeziel());
    vb::App::DoEvents();
    if (Testbild->Picture().IsEmpty()) return;
    vb::PictureBox* anzeige = Gruen_Transferlogo_LogoBrowser[1];
    const double tpp = vb::Screen::TwipsPerPixelX();
    anzeige->setWidth(Logo_Breite * tpp);
    anzeige->setHeight(Logo_Hoehe * tpp);
    Fenster::Steuerelement_zentrieren(*anzeige, *Gruen_Transferlogo_LogoBrowser_Rahmen, 0, 0);
    const QString dither = Programmverzeichnis + QStringLiteral("dither.bmp");
    try {
        vb::SavePicture(Logo_Weiss_Grafik->Image(), dither);
        vb::App::DoEvents();
        Bildpuffer = std::make_unique<cDIBSection>();
        Bildpuffer->CreateFromPicture(vb::LoadPicture(dither).Image());
        std::shared_ptr<cPalette> keinePalette;
        cDIBSectionSave().Save(dither, *Bildpuffer, keinePalette, 0, 2);
        vb::App::DoEvents();
    } catch (const vb::VBError&) {
        // Without the 1-bit work file the picture would stay grey in the logo: the logo is put
        // back as it was, and the user is told.
        for (const Stand& s : vorher) {
            s.box->setWidth(s.breite);
            s.box->setHeight(s.hoehe);
            s.box->setPicture(s.bild);
            s.box->hDC() = s.flaeche;
            s.box->Refresh();
        }
        Zaroreriri::Raster_zeichnen(Editorflaechen());
        Logo_laden::Arbeitsdatei_melden(QStringLiteral("dither.bmp"), 870);
        return;
    }
    Logo_laden::Logo_in_Editor_laden(dither, Ladeziel());
    if (!DontShowKalvoren) Layer_Kalvoren_Einblenden();
    vb::App::DoEvents();
}

void StartbildschirmForm::Layer_Kalvoren_Einblenden() {
    if (Logo_Weiss_Grafik->Picture().IsEmpty()) {
        // Open the framed gallery logo first; its load shows the layer.
        const int slot = gerahmterSlot();
        if (slot < 0 || Gemeinsam.Galerielogo_laedt || Logo_Vorschaubild_Bild[size_t(slot)]->ToolTipText().isEmpty()) return;
        Gemeinsam.Galerielogo_laedt = true;
        vb::Try([&] { Laden_Click_Sub(Logo_Vorschaubild_Bild[size_t(slot)]->ToolTipText(), false, false); });
        Gemeinsam.Galerielogo_laedt = false;
        return;
    }
    Layer_Kalvoren->setLeft(Width() - Layer_Kalvoren->Width());
    Layer_Kalvoren->setTop(Height() - Layer_Kalvoren->Height());
    Layer_Kalvoren->setVisible(true);
    vb::App::DoEvents();
}

void StartbildschirmForm::In_Zaroreriri_bearbeiten_Click() {
    // Without a framed logo (no type chosen yet, or an empty slot) there is nothing to open.
    const int slot = gerahmterSlot();
    if (slot < 0 || Logo_Vorschaubild_Bild[size_t(slot)]->ToolTipText().isEmpty()) return;
    Layer_Kalvoren->setVisible(true);
    Laden_Click_Sub(Logo_Vorschaubild_Bild[size_t(slot)]->ToolTipText(), false, false);
    Logos_mit_Schatten->setVisible(true);
    Reiter_Logos_inKalvoren->setVisible(true);
    Reiter_Kalvoren_inLogos->setVisible(false);
    Kalvoren_mit_Schatten->setVisible(true);
}

void StartbildschirmForm::Laden_Click() {
    Foto_Modus = false;
    Fenster::Formular_laden(*Logo_Foto_Laden);
    vb::App::DoEvents();
    Fotovorschau::Vorschau_neu_aufbauen(Logo_Foto_Laden->Vorschau());
    Fotovorschau::Vorschaurahmen_zuruecksetzen(Logo_Foto_Laden->Vorschau(), false);
    const QString vorher = Bilddatei_Pfad;
    Logo_Foto_Laden->Reiter_Datei_Click();
    Logo_Foto_Laden->Show(vb::vbModal);
    if (!Auswahl_abgebrochen && Bilddatei_Pfad != vorher) Laden_Click_Sub(Bilddatei_Pfad, false, true);
}

void StartbildschirmForm::Laden_Fotos_Browser_Click() {
    if (!Fotoeditor.IsLoaded() || Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().IsEmpty()) {
        setEnabled(false);
        Foto_Modus = true;
        Fenster::Formular_laden(*Logo_Foto_Laden);
        vb::App::DoEvents();
        Fotovorschau::Vorschau_neu_aufbauen(Logo_Foto_Laden->Vorschau());
        Bilddatei_Pfad = Logo_Foto_Laden->Fotos_Vorschaubild_Bild[0]->ToolTipText();
        vb::App::DoEvents();
        Fenster::Formular_laden(*Fotoeditor);
        const auto streifen = Fotoeditor->Streifen();
        Fotovorschau_Editor_6::Editorvorschau_Voreinstellung();
        Fotovorschau_Editor_6::Editorvorschaubilder_ausblenden(streifen);
        Fotovorschau_Editor_6::Editorvorschaubilder_leeren(streifen);
        Fotovorschau_Editor_6::Editorvorschau_Ordner_setzen(streifen);
        Fotovorschau_Editor_6::Editorvorschaurahmen_zuruecksetzen(streifen, false);
    }
    if (!Bilddatei_Pfad.isEmpty()) {
        Fotoeditor->Show(vb::vbModeless);
        if (Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().IsEmpty()) Fotoeditor->Fotos_Vorschaubild_Bild_Click(0);
        vb::App::DoEvents();
    }
    setEnabled(true);
}

void StartbildschirmForm::Laden_Fotos_Browser_Einsprung(QString& Dateiverzeichnis) {
    if (Dateiverzeichnis.isEmpty()) Dateiverzeichnis = Datei_Laden_Speichern::Bilddatei_laden();
}

// ---- Tabs ----

void StartbildschirmForm::Reiter_Kalvoren_inLogos_Click() {
    // With nothing to open the tabs stay as they are.
    const int slot = gerahmterSlot();
    if (slot < 0 || Logo_Vorschaubild_Bild[size_t(slot)]->ToolTipText().isEmpty()) return;
    Logos_mit_Schatten->setVisible(true);
    Reiter_Logos_inKalvoren->setVisible(true);
    Reiter_Kalvoren_inLogos->setVisible(false);
    Kalvoren_mit_Schatten->setVisible(true);
    In_Zaroreriri_bearbeiten_Click();
}

void StartbildschirmForm::Reiter_Logos_inKalvoren_Click() {
    Logos_mit_Schatten->setVisible(false);
    Reiter_Logos_inKalvoren->setVisible(false);
    Reiter_Kalvoren_inLogos->setVisible(true);
    Kalvoren_mit_Schatten->setVisible(false);
    Layer_Kalvoren->setVisible(false);
    Foto_Modus = false;
}

void StartbildschirmForm::Kalvoren_bearbeiten_zurueck_Click() { Layer_Kalvoren->setVisible(false); }

// The picker's browser on the folder that Foto_Modus names, from its first page, with the first
// thumbnail framed; the picker is loaded for it but not shown.
static void fotoBrowserVorbereiten() {
    Fenster::Formular_laden(*Logo_Foto_Laden);
    Fotovorschau::Vorschau_neu_aufbauen(Logo_Foto_Laden->Vorschau());
    Fotovorschau::Vorschaurahmen_zuruecksetzen(Logo_Foto_Laden->Vorschau(), false);
}

void StartbildschirmForm::Reiter_Fotos_inKalvoren_Click() {
    Layer_Kalvoren->setVisible(false);
    Foto_Modus = true;
    vb::App::DoEvents();
    fotoBrowserVorbereiten();
}

void StartbildschirmForm::Reiter_Fotos_inLogos_Click() { fotoBrowserVorbereiten(); }
