// The photo editor: the six-photo strip, and the buttons that open a photo (picture picker,
// prompt) and save it as a BMP file.
#include "photo/Fotoeditor.h"

#include "frame/Datei_Laden_Speichern.h"
#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "imaging/mfrmMain.h"
#include "logo/Fotovorschau.h"
#include "logo/Logo_laden.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/system/VBError.h"

#include <QFileInfo>

using namespace Parameter_und_Start;

Fotovorschau_Editor_6::Streifen FotoeditorForm::Streifen() const {
    return {Fotos_Vorschaubild, Fotos_Vorschaubild_Bild, Fotos_Vorschaubild_Bildname, FotosScrollbalken, Fileilistbox, nullptr,
            Fotovorschau::Browserart::Streifen};
}

void FotoeditorForm::Laden_Fotos_Browser_bearbeiten_Click() {
    Browser_Seitenende = 19;
    if (!Foto_Modus) {
        // The picker's browser still shows logos (the logo button used it last): the photos.
        Foto_Modus = true;
        Fenster::Formular_laden(*Logo_Foto_Laden);
        const Fotovorschau::Slotsatz vorschau = Logo_Foto_Laden->Vorschau();
        Fotovorschau::Vorschau_neu_aufbauen(vorschau);
        Fotovorschau::Vorschaurahmen_zuruecksetzen(vorschau, false);
    }
    Logo_Foto_Laden->Reiter_Datei_Click();
    Logo_Foto_Laden->Show(vb::vbModal);
    Show();
    vb::App::DoEvents();
    Browser_Seitenende = 5;
    if (Auswahl_abgebrochen) return;
    // The photo is cleared only for a file that can be opened, so a bad one loses nothing.
    const QString pfad = Bilddatei_Pfad;
    if (Fotovorschau::Fotosammlung_Bild(pfad, Fotovorschau::Modus_Foto).IsEmpty()) {
        Laden_Click_Sub(pfad); // reports the file
        return;
    }
    Fotos_Bearbeiten_Bildimage->setPicture(vb::Picture());
    In_Fotoeditor_bearbeiten_Einsprung(pfad);
    Laden_Click_Sub(pfad);
}

void FotoeditorForm::Fotos_Vorschaubild_Bild_Click(short Index) {
    if (Index < 0 || Index >= kSlots) return;
    const size_t k = size_t(Index);
    const int vorher = Fotovorschau_Editor_6::Gerahmter_Slot(Streifen());
    const auto rahmen = [this](int slot) {
        Fotovorschau_Editor_6::Editorvorschaurahmen_zuruecksetzen(Streifen(), true);
        if (slot < 0) return;
        Fotos_Vorschaubild[size_t(slot)]->setBorderStyle(1);
        Fotos_Vorschaubild_Bild[size_t(slot)]->setBorderStyle(1);
    };
    rahmen(Index);
    // An empty slot (past the last photo, or a file that is no picture) opens nothing.
    const QString datei = Fotos_Vorschaubild_Bild[k]->ToolTipText();
    if (datei.isEmpty()) return;
    setEnabled(false);
    const vb::Picture bild = Fotovorschau::Fotosammlung_Bild(datei, Fotovorschau::Modus_Foto);
    if (!bild.IsEmpty()) {
        if (Logo_laden::Foto_als_Arbeitsdatei(bild)) {
            const QString temp = Bilddatei_Pfad;
            In_Fotoeditor_bearbeiten_Einsprung(temp);
            Laden_Click_Sub(temp);
        } else {
            rahmen(vorher); // the strip frames the photo still shown
        }
    }
    setEnabled(true);
    vb::App::DoEvents();
}

void FotoeditorForm::Fotos_Vorschaubild_Click(short Index) { Fotos_Vorschaubild_Bild_Click(Index); }

void FotoeditorForm::Fotos_Vorschaubild_MouseMove(short Index, int, int, float X, float Y) {
    if (Index < 0 || Index >= kSlots) return;
    Schaltflaechen::Rahmen_hervorheben(*Fotos_Vorschaubild[size_t(Index)], X, Y);
}

void FotoeditorForm::FotosScrollbalken_Change() {
    Fotovorschau_Editor_6::Editorvorschaubilder_fuellen(Streifen());
    Fotovorschau_Editor_6::Editorvorschaurahmen_zuruecksetzen(Streifen(), false);
}

void FotoeditorForm::Speichern_Fotos_Browser_Bearbeiten_Click() {
    // The photo shown is saved, or the user is told why not.
    vb::Try([] { Datei_Laden_Speichern::Kopie_speichern(Bilddatei_Pfad, true); });
}
