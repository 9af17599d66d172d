#pragma once
// The picture picker: one picture file for the logo editor or the photo editor, taken from the
// local disks (file tab) or from pages of thumbnails of the shipped logos or photos (browser tab).
// The browser's pages are filled by module Fotovorschau; the window reacts to clicks and scrolling.
#include "logo/Fotovorschau.h"
#include "platform/window/Form.h"

#include <array>

namespace vb {
class DirListBox;
class DriveListBox;
class FileListBox;
class PictureBox;
class TextBox;
class Image;
class Label;
class ScrollBar;
} // namespace vb

class Logo_Foto_LadenForm : public vb::Form {
public:
    Logo_Foto_LadenForm();

    static constexpr int kSlots = 20;

    VB_CONTROLS(vb::Label, Titelzeile);
    // Browser tab
    VB_ARRAYS(vb::Image, kSlots, Fotos_Vorschaubild, Fotos_Vorschaubild_Bild);
    VB_ARRAYS(vb::Label, kSlots, Fotos_Vorschaubild_Bildname);
    VB_CONTROLS(vb::ScrollBar, FotosScrollbalken);
    VB_CONTROLS(vb::FileListBox, Fileilistbox);
    // File tab
    VB_CONTROLS(vb::PictureBox, Layer_Logo_FotoLaden_B);
    VB_CONTROLS(vb::DriveListBox, Drive1);
    VB_CONTROLS(vb::DirListBox, Dir1);
    VB_CONTROLS(vb::FileListBox, File1);
    VB_CONTROLS(vb::TextBox, DateiManuelleAuswahl);
    VB_CONTROLS(vb::Image, Vorschaubild_B, Vorschaubild_B_Bild, Vorschaubild_B_Test);
    // Buttons
    VB_CONTROLS(vb::Image, Reiter_Datei, Reiter_Browser, Foto_Perspektivisch_Skallieren, Foto_Strecht_Skallieren, Uebernehmen, Abbrechen);
    VB_ARRAYS(vb::Image, 1, Schliessen);

    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Titelzeile_MouseMove(int Button, int Shift, float X, float Y);
    void Layer_Logo_FotoLaden_B_MouseMove(int Button, int Shift, float X, float Y);
    void Drive1_Change();
    void Dir1_Change();
    void File1_PathChange();
    void File1_Click();
    void Reiter_Datei_Click();
    void Reiter_Browser_Click();
    void Fotos_Vorschaubild_Bild_Click(short Index);
    void Fotos_Vorschaubild_Click(short Index);
    void Fotos_Vorschaubild_MouseMove(short Index, int Button, int Shift, float X, float Y);
    void FotosScrollbalken_Change();
    void Foto_Perspektivisch_Skallieren_Click();
    void Foto_Strecht_Skallieren_Click();
    void Uebernehmen_Click();
    void Abbrechen_Click();
    void Schliessen_Click(short Index);

    // The browser's controls, handed to module Fotovorschau.
    Fotovorschau::Slotsatz Vorschau() const {
        return {Fotos_Vorschaubild, Fotos_Vorschaubild_Bild, Fotos_Vorschaubild_Bildname, FotosScrollbalken, Fileilistbox, File1,
                Fotovorschau::Browserart::Auswahl};
    }

protected:
    void Design() override;
    void Wire() override;
};

extern vb::Instance<Logo_Foto_LadenForm> Logo_Foto_Laden;
