// The photo editor: a photo from the scanner.
#include "photo/Fotoeditor.h"

#include "frame/Parameter_und_Start.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/capture/Twain.h"

#include <QWidget>

using namespace Parameter_und_Start;

void FotoeditorForm::wireScannen() {
    Bild_scannen_Fotos_Bearbeiten->Click = [this] { Bild_scannen_Fotos_Bearbeiten_Click(); };
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
