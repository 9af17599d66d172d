// The photo editor: the photo taken from the screen (an area in the logo's aspect ratio, any
// area, or a frame of the logo's size).
#include "photo/Fotoeditor.h"

#include "platform/Image.h"

void FotoeditorForm::wireErfassung() {
    Kasten_Fotoeditor_BildAusschnitt->Click = [this] { Kasten_Fotoeditor_BildAusschnitt_Click(); };
    Kasten_Fotoeditor_BildKomplett->Click = [this] { Kasten_Fotoeditor_BildKomplett_Click(); };
    Kasten_Fotoeditor_BildLogoLupe->Click = [this] { Kasten_Fotoeditor_BildLogoLupe_Click(); };
}

void FotoeditorForm::Kasten_Fotoeditor_BildAusschnitt_Click() {}
void FotoeditorForm::Kasten_Fotoeditor_BildKomplett_Click() {}
void FotoeditorForm::Kasten_Fotoeditor_BildLogoLupe_Click() {}
