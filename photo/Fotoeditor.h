#pragma once
// The photo editor: a photo shown large, cut out, filtered and converted at the logo size in
// three ways, one of which goes into the logo editor. Every photo enters through the pair
// In_Fotoeditor_bearbeiten_Einsprung / Laden_Click_Sub.
//
// The window is split by concern: Fotoeditor.cpp (layout, frame, the entry pair),
// Fotoeditor_Streifen.cpp (the strip, opening and saving a photo file), Fotoeditor_Vorschau.cpp
// (conversions, choice and hand-over), Fotoeditor_Filter.cpp, Fotoeditor_Ausschnitt.cpp,
// Fotoeditor_Erfassung.cpp and Fotoeditor_Scannen.cpp (filters, cut-out, screen capture, scanning).
#include "logo/Logo_laden.h"
#include "photo/Filter.h"
#include "photo/Fotovorschau_Editor_6.h"
#include "platform/window/Form.h"
#include "platform/picture/Picture.h"

#include <array>
#include <memory>

namespace vb {
class ComboBox;
class FileListBox;
class Image;
class Label;
class PictureBox;
class ScrollBar;
class Shape;
} // namespace vb
class cDIBSection;
class cDIBSectionSave;

class FotoeditorForm : public vb::Form {
public:
    FotoeditorForm();
    ~FotoeditorForm() override;

    static constexpr int kSlots = 6;

    VB_CONTROLS(vb::Label, Titelzeile);
    VB_CONTROLS(vb::Image, Schliessen, Abbrechen);
    // Photo strip
    VB_ARRAYS(vb::Image, kSlots, Fotos_Vorschaubild, Fotos_Vorschaubild_Bild);
    VB_ARRAYS(vb::Label, kSlots, Fotos_Vorschaubild_Bildname);
    VB_CONTROLS(vb::ScrollBar, FotosScrollbalken);
    VB_CONTROLS(vb::FileListBox, Fileilistbox);
    // Photo area
    VB_CONTROLS(vb::PictureBox, Shape1);
    VB_CONTROLS(vb::Image, Fotos_Bearbeiten_Bildimage, Fangcontainer, Fotos_Bearbeiten_BildiPicture_Lasso);
    VB_CONTROLS(vb::Shape, Bildschirmshape, Bildschirmshape_Master);
    // Hidden work surfaces
    VB_CONTROLS(vb::Image, Testbild);
    VB_CONTROLS(vb::PictureBox, Logo_Weiss_Grafik, Logo_Undo_Grafik, picImage, Fotos_Bearbeiten_Bildimage_Undo_Buffer);
    // Conversions and display
    VB_CONTROLS(vb::Image, Kalvoren_Voschau_Dither, Kalvoren_Voschau_Muster, Kalvoren_Voschau_Schwellenwert);
    VB_CONTROLS(vb::PictureBox, Kalvoren_Voschau_Dither_Grafik, Kalvoren_Voschau_Muster_Grafik, Kalvoren_Voschau_Schwellenwert_Grafik);
    VB_CONTROLS(vb::Label, Kalvoren_Voschau_Dither_Text, Kalvoren_Voschau_Muster_Text, Kalvoren_Voschau_Schwellenwert_Text);
    VB_ARRAYS(vb::PictureBox, 2, Gruen_Transferlogo_LogoBrowser);
    VB_CONTROLS(vb::Image, Gruen_Transferlogo_LogoBrowser_Rahmen, In_Kalvoren_bearbeiten);
    // Buttons of the photo sources, filters, cut-out and capture
    VB_CONTROLS(vb::Image, Laden_Fotos_Browser_bearbeiten, Speichern_Fotos_Browser_Bearbeiten, Bild_scannen_Fotos_Bearbeiten, Scanner_Deaktiviert);
    VB_CONTROLS(vb::Image, Filter_anwenden, Undo_Fotoeditor, Undo_Fotoeditor_Shape_Label);
    VB_CONTROLS(vb::Label, Filter1_Label, Filter2_Label, Filter3_Label, Filter3_Abdeckung);
    VB_CONTROLS(vb::ComboBox, Filter1, Filter2, Filter3);
    VB_CONTROLS(vb::Image, Foto_bearbeiten_Schere_Komplett, Foto_bearbeiten_Schere_Lasso, Foto_bearbeiten_Schere_Logogroesse);
    VB_CONTROLS(vb::Image, Kasten_Fotoeditor_BildAusschnitt, Kasten_Fotoeditor_BildKomplett, Kasten_Fotoeditor_BildLogoLupe);

    // The buffer of the last conversion or hand-over, and the BMP writer.
    std::unique_ptr<cDIBSection> Bildpuffer;
    std::unique_ptr<cDIBSectionSave> Bildspeicher;

    // Frame (Fotoeditor.cpp)
    void Form_Load() override;
    void Form_Resize() override;
    void Form_DblClick() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Titelzeile_MouseMove(int Button, int Shift, float X, float Y);
    void Shape1_MouseMove(int Button, int Shift, float X, float Y);
    void Abbrechen_Click();
    void Schliessen_Click();

    // The entry pair (Fotoeditor.cpp; Laden_Click_Sub refills the conversions in Fotoeditor_Vorschau.cpp)
    void In_Fotoeditor_bearbeiten_Einsprung(QString Pfad);
    void Laden_Click_Sub(QString Pfad);
    void Laden_Fotos_Browser_Einsprung(QString Pfad);
    // The strip, opening and saving (Fotoeditor_Streifen.cpp)
    void Laden_Fotos_Browser_bearbeiten_Click();
    void Speichern_Fotos_Browser_Bearbeiten_Click();
    void Fotos_Vorschaubild_Bild_Click(short Index);
    void Fotos_Vorschaubild_Click(short Index);
    void Fotos_Vorschaubild_MouseMove(short Index, int Button, int Shift, float X, float Y);
    void FotosScrollbalken_Change();
    // The strip's controls, handed to its module.
    Fotovorschau_Editor_6::Streifen Streifen() const;

    // Conversions and hand-over (Fotoeditor_Vorschau.cpp)
    void Gruen_Transferlogo_LogoBrowser_Change(short Index);
    void Kalvoren_Voschau_Dither_Click();
    void Kalvoren_Voschau_Muster_Click();
    void Kalvoren_Voschau_Schwellenwert_Click();
    void In_Kalvoren_bearbeiten_Click();
    // The conversion the window starts with: the settings' "Umrechnung von Fotos", else Dither.
    void Umrechnung_voreinstellen();
    // Where a photo is loaded at the logo size: the test picture, the logo and its undo copy.
    Logo_laden::Ladeziel Ladeziel() {
        Logo_laden::Ladeziel z;
        z.Testbild = Testbild;
        z.Editor.Weiss = Logo_Weiss_Grafik;
        z.Editor.Undo = Logo_Undo_Grafik;
        return z;
    }

    // Filters (Fotoeditor_Filter.cpp)
    void Filterkategorien_fuellen();
    void Farbfilter_fuellen();
    void Filter_anwenden_Click();
    void Filter_anwenden_Einsprung();
    void Undo_Fotoeditor_Click();
    void Filter1_Click();
    void Filter2_Click();
    void Filter3_Click();
    void Filter_Label_MouseMove(short Liste, int Button, int Shift, float X, float Y);
    // The three lists, their third label and the cover of the third list, handed to the module.
    Filter::Listen Filterlisten() const;

    // Cut-out (Fotoeditor_Ausschnitt.cpp)
    void Foto_bearbeiten_Schere_Komplett_Click();
    void Foto_bearbeiten_Schere_Lasso_Click();
    void Foto_bearbeiten_Schere_Logogroesse_Click();
    void Fotos_Bearbeiten_Bildimage_MouseDown(int Button, int Shift, float X, float Y);
    void Fotos_Bearbeiten_Bildimage_MouseMove(int Button, int Shift, float X, float Y);
    void Fotos_Bearbeiten_Bildimage_MouseUp(int Button, int Shift, float X, float Y);
    void Fotos_Bearbeiten_Bildimage_DragDrop(vb::Control& Source, float X, float Y);
    void Bildschirmshape_Master_MouseDown(int Button, int Shift, float X, float Y);
    void Bildschirmshape_Master_MouseMove(int Button, int Shift, float X, float Y);
    void Bildschirmshape_Master_MouseUp(int Button, int Shift, float X, float Y);
    void Bildschirmshape_Master_DblClick();

    // Screen capture (Fotoeditor_Erfassung.cpp)
    void Kasten_Fotoeditor_BildAusschnitt_Click();
    void Kasten_Fotoeditor_BildKomplett_Click();
    void Kasten_Fotoeditor_BildLogoLupe_Click();

    // Scanning (Fotoeditor_Scannen.cpp)
    void Bild_scannen_Fotos_Bearbeiten_Click();
    void Bild_scannen();

    // The three conversions of the current photo as their previews show them (black on white),
    // in the order Dither, Muster, Schwellenwert; empty before the first photo.
    std::array<vb::Picture, 3> Umrechnungen;

protected:
    void Design() override;
    void Wire() override;

private:
    void wireFilter();
    void wireAusschnitt();
    void wireErfassung();
    void wireScannen();
};

extern vb::Instance<FotoeditorForm> Fotoeditor;
