// The photo editor: a photo from the scanner, and the photo saved as a BMP file.
#include "photo/Fotoeditor.h"

#include "platform/Image.h"

void FotoeditorForm::wireScannen() {
    Bild_scannen_Fotos_Bearbeiten->Click = [this] { Bild_scannen_Fotos_Bearbeiten_Click(); };
    Speichern_Fotos_Browser_Bearbeiten->Click = [this] { Speichern_Fotos_Browser_Bearbeiten_Click(); };
}

void FotoeditorForm::Bild_scannen_Fotos_Bearbeiten_Click() { Bild_scannen(); }
void FotoeditorForm::Bild_scannen() {}
void FotoeditorForm::Speichern_Fotos_Browser_Bearbeiten_Click() {}
