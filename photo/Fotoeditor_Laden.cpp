// The photo editor: the one road of every photo into the editor, and the ways the user opens
// one (strip, picture picker, prompt).
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
#include "platform/App.h"
#include "platform/Image.h"
#include "platform/PictureBox.h"
#include "platform/Screen.h"
#include "platform/ScrollBar.h"
#include "platform/VBError.h"

#include <QFileInfo>

using namespace Parameter_und_Start;

Fotovorschau_Editor_6::Streifen FotoeditorForm::Streifen() const {
    return {Fotos_Vorschaubild, Fotos_Vorschaubild_Bild, Fotos_Vorschaubild_Bildname, FotosScrollbalken, Fileilistbox, nullptr,
            Fotovorschau::Browserart::Streifen};
}

void FotoeditorForm::In_Fotoeditor_bearbeiten_Einsprung(QString Pfad) {
    if (Pfad.isEmpty() || !QFileInfo(Pfad).isFile()) {
        // The framed strip photo instead; its picture names the file as listed.
        const int slot = Fotovorschau_Editor_6::Gerahmter_Slot(Streifen());
        if (slot < 0) return;
        Pfad = Fotos_Vorschaubild_Bild[size_t(slot)]->ToolTipText();
        if (Pfad.isEmpty() || !QFileInfo(Pfad).isFile()) return;
    }
    // One decode serves the view, the processing host and the logo-size picture. A file that is
    // no picture leaves the photo as it is; the logo-size load reports it.
    const vb::Picture bild = Fotovorschau::Fotosammlung_Bild(Pfad, Fotovorschau::Modus_Foto);
    if (bild.IsEmpty()) return;
    vb::RememberPicture(Pfad, bild);

    Fotos_Bearbeiten_Bildimage->setVisible(false);
    Fotos_Bearbeiten_Bildimage->setStretch(false);
    Bilddatei_Pfad = Pfad;
    mfrmMain->Lade_Bild(Bilddatei_Pfad);
    Fotos_Bearbeiten_Bildimage->setPicture(vb::Picture());
    Fotos_Bearbeiten_Bildimage->Refresh();
    Fotos_Bearbeiten_Bildimage->setPicture(bild);
    const double tx = vb::Screen::TwipsPerPixelX(), ty = vb::Screen::TwipsPerPixelY();
    Fenster::Bild_einpassen(*Fotos_Bearbeiten_Bildimage, 6330.0 / 15 * tx, 5265.0 / 15 * ty);
    vb::App::DoEvents();
    Fenster::Steuerelement_zentrieren(*Fotos_Bearbeiten_Bildimage, *Shape1, short(Shape1->Top() / ty), short(Shape1->Left() / tx));
    vb::App::DoEvents();
    Undo_Fotoeditor_Shape_Label->setVisible(true);
}

void FotoeditorForm::Laden_Fotos_Browser_Einsprung(QString Pfad) {
    if (Pfad.isEmpty()) Pfad = Datei_Laden_Speichern::Bilddatei_laden();
    if (Pfad.isEmpty()) return;
    In_Fotoeditor_bearbeiten_Einsprung(Pfad);
    Laden_Click_Sub(Pfad);
}

void FotoeditorForm::Laden_Fotos_Browser_bearbeiten_Click() {
    Browser_Seitenende = 19;
    if (!Foto_Modus) {
        // The picker's browser still shows logos (the logo button used it last): the photos.
        Foto_Modus = true;
        Fenster::Formular_laden(*Logo_Foto_Laden);
        const Fotovorschau::Slotsatz vorschau = Logo_Foto_Laden->Vorschau();
        Fotovorschau::Vorschau_Voreinstellung();
        Fotovorschau::Vorschaubilder_ausblenden(vorschau);
        Fotovorschau::Vorschaubilder_leeren(vorschau);
        Fotovorschau::Vorschau_Ordner_setzen(vorschau);
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
    Fotovorschau_Editor_6::Editorvorschaurahmen_zuruecksetzen(Streifen(), true);
    Fotos_Vorschaubild[k]->setBorderStyle(1);
    Fotos_Vorschaubild_Bild[k]->setBorderStyle(1);
    // An empty slot (past the last photo, or a file that is no picture) opens nothing.
    const QString datei = Fotos_Vorschaubild_Bild[k]->ToolTipText();
    if (datei.isEmpty()) return;
    setEnabled(false);
    const vb::Picture bild = Fotovorschau::Fotosammlung_Bild(datei, Fotovorschau::Modus_Foto);
    if (!bild.IsEmpty()) {
        const QString temp = Programmverzeichnis + QStringLiteral("temp.bmp");
        bool gespeichert = false;
        vb::Try([&] {
            vb::SavePicture(bild, temp);
            gespeichert = true;
        });
        if (gespeichert) {
            // temp.bmp holds exactly this picture; the pair need not read it again.
            vb::RememberPicture(temp, bild);
            Bilddatei_Pfad = temp;
            In_Fotoeditor_bearbeiten_Einsprung(temp);
            Laden_Click_Sub(temp);
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
