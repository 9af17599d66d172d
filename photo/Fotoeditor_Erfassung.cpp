// The photo editor: the photo taken from the screen (an area in the logo's aspect ratio, any
// area, or a frame of the logo's size).
#include "photo/Fotoeditor.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "photo/Bildschirmfreeze.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"

using namespace Parameter_und_Start;

namespace {
void erfassen(short modus) {
    vb::App::DoEvents();
    Fotoeditor->setWindowState(vb::vbMinimized);
    Startbildschirm->setWindowState(vb::vbMinimized);
    CaptureMode = modus;
    vb::App::DoEvents();
    Bildschirmfreeze->Erfassen();
}
} // namespace

void FotoeditorForm::wireErfassung() {
    Kasten_Fotoeditor_BildAusschnitt->Click = [this] { Kasten_Fotoeditor_BildAusschnitt_Click(); };
    Kasten_Fotoeditor_BildKomplett->Click = [this] { Kasten_Fotoeditor_BildKomplett_Click(); };
    Kasten_Fotoeditor_BildLogoLupe->Click = [this] { Kasten_Fotoeditor_BildLogoLupe_Click(); };
}

void FotoeditorForm::Kasten_Fotoeditor_BildAusschnitt_Click() { erfassen(BildAusschnitt); }
void FotoeditorForm::Kasten_Fotoeditor_BildKomplett_Click() { erfassen(BildKomplett); }
void FotoeditorForm::Kasten_Fotoeditor_BildLogoLupe_Click() { erfassen(BildLogoLupe); }
