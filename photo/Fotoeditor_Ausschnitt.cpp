// The photo editor: the cut-out frame in its three modes and the rubber band.
#include "photo/Fotoeditor.h"

#include "platform/Image.h"
#include "platform/Shape.h"

void FotoeditorForm::wireAusschnitt() {
    Foto_bearbeiten_Schere_Komplett->Click = [this] { Foto_bearbeiten_Schere_Komplett_Click(); };
    Foto_bearbeiten_Schere_Lasso->Click = [this] { Foto_bearbeiten_Schere_Lasso_Click(); };
    Foto_bearbeiten_Schere_Logogroesse->Click = [this] { Foto_bearbeiten_Schere_Logogroesse_Click(); };
    Fotos_Bearbeiten_Bildimage->MouseDown = [this](int b, int s, float x, float y) { Fotos_Bearbeiten_Bildimage_MouseDown(b, s, x, y); };
    Fotos_Bearbeiten_Bildimage->MouseMove = [this](int b, int s, float x, float y) { Fotos_Bearbeiten_Bildimage_MouseMove(b, s, x, y); };
    Fotos_Bearbeiten_Bildimage->MouseUp = [this](int b, int s, float x, float y) { Fotos_Bearbeiten_Bildimage_MouseUp(b, s, x, y); };
    Bildschirmshape_Master->MouseDown = [this](int b, int s, float x, float y) { Bildschirmshape_Master_MouseDown(b, s, x, y); };
    Bildschirmshape_Master->MouseMove = [this](int b, int s, float x, float y) { Bildschirmshape_Master_MouseMove(b, s, x, y); };
    Bildschirmshape_Master->MouseUp = [this](int b, int s, float x, float y) { Bildschirmshape_Master_MouseUp(b, s, x, y); };
    Bildschirmshape_Master->DblClick = [this] { Bildschirmshape_Master_DblClick(); };
}

void FotoeditorForm::Foto_bearbeiten_Schere_Komplett_Click() {}
void FotoeditorForm::Foto_bearbeiten_Schere_Lasso_Click() {}
void FotoeditorForm::Foto_bearbeiten_Schere_Logogroesse_Click() {}
void FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown(int, int, float, float) {}
void FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove(int, int, float, float) {}
void FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp(int, int, float, float) {}
void FotoeditorForm::Bildschirmshape_Master_MouseDown(int, int, float, float) {}
void FotoeditorForm::Bildschirmshape_Master_MouseMove(int, int, float, float) {}
void FotoeditorForm::Bildschirmshape_Master_MouseUp(int, int, float, float) {}
void FotoeditorForm::Bildschirmshape_Master_DblClick() {}
