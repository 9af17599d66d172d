#pragma once
// The picture picker: one picture file for the logo editor or the photo editor, taken from the
// local disks (file tab) or from pages of thumbnails of the shipped logos or photos (browser tab).
// The browser's pages are filled by module Fotovorschau; the window reacts to clicks and scrolling.
#include "platform/Form.h"

#include <array>

namespace vb {
class FileListBox;
class Image;
class Label;
class ScrollBar;
} // namespace vb

class Logo_Foto_LadenForm : public vb::Form {
public:
    Logo_Foto_LadenForm();

    static constexpr int kSlots = 20;

    vb::Label* Titelzeile;
    // Browser tab
    std::array<vb::Image*, kSlots> Fotos_Vorschaubild{}, Fotos_Vorschaubild_Bild{};
    std::array<vb::Label*, kSlots> Fotos_Vorschaubild_Bildname{};
    vb::ScrollBar* FotosScrollbalken;
    vb::FileListBox* Fileilistbox;
    // File tab
    vb::FileListBox* File1;

    void Form_Load() override;
    void Fotos_Vorschaubild_Bild_Click(short Index);
    void Fotos_Vorschaubild_Click(short Index);
    void FotosScrollbalken_Change();
    void Reiter_Datei_Click();

protected:
    void Design() override;
    void Wire() override;
};

extern vb::Instance<Logo_Foto_LadenForm> Logo_Foto_Laden;
