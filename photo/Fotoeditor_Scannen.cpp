// The photo editor: a photo from the scanner, and the photo saved as a BMP file.
#include "photo/Fotoeditor.h"

#include "frame/FileOP.h"
#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "platform/App.h"
#include "platform/CommonDialog.h"
#include "platform/Image.h"
#include "platform/Twain.h"
#include "platform/VBError.h"

#include <QFileInfo>
#include <QWidget>

using namespace Parameter_und_Start;

void FotoeditorForm::wireScannen() {
    Bild_scannen_Fotos_Bearbeiten->Click = [this] { Bild_scannen_Fotos_Bearbeiten_Click(); };
    Speichern_Fotos_Browser_Bearbeiten->Click = [this] { Speichern_Fotos_Browser_Bearbeiten_Click(); };
}

void FotoeditorForm::Bild_scannen_Fotos_Bearbeiten_Click() { Bild_scannen(); }

void FotoeditorForm::Bild_scannen() {
    vb::TWAIN_SetHideUI(0);
    const short ergebnis = short(vb::TWAIN_AcquireToFilename(this, Programmverzeichnis + QStringLiteral("Scan_Temp.bmp")));
    vb::App::DoEvents();
    if (ergebnis != 0) return;
    Widget()->raise();
    Widget()->activateWindow();
    vb::App::DoEvents();
    Bilddatei_Pfad = Programmverzeichnis + QStringLiteral("Scan_Temp.bmp");
    vb::App::DoEvents();
    In_Fotoeditor_bearbeiten_Einsprung(Bilddatei_Pfad);
    vb::App::DoEvents();
    Laden_Click_Sub(Bilddatei_Pfad);
    vb::App::DoEvents();
}

void FotoeditorForm::Speichern_Fotos_Browser_Bearbeiten_Click() {
    try {
        if (Bilddatei_Pfad.size() < 4) return; // no default name can be formed
        vb::CommonDialog& d = Schaltflaechenlader->CMDialog1;
        d.FileName = Bilddatei_Pfad.left(Bilddatei_Pfad.size() - 4) + QStringLiteral("H") + QStringLiteral(".bmp");
        d.Filter = QStringLiteral("*.bmp|*.bmp");
        d.CancelError = true;
        d.ShowSave();
        const QString name = d.FileName;
        if (QFileInfo(name).isFile()) {
            Info_Text = LoadResString(434);
            Info_Modus = 1;
            Information->Show(vb::vbModal);
            if (Info_Modus == 0) return;
        }
        // The copy replaces the target only when whole; the photo itself as target stays as it is.
        QString quelle = Bilddatei_Pfad, ziel = name;
        if (FileOP().Copy(quelle, ziel) != 0) return;
        Info_Modus = 2;
        Info_Text = LoadResString(180) + name;
        Information->Show(vb::vbModal);
        vb::App::DoEvents();
    } catch (const vb::VBError&) {
    }
}
