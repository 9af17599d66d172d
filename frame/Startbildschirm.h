#pragma once
// The main window: the frame (title bar, help, settings, quit) and the whole logo workspace
// with its gallery layer and its editor layer. The frame is defined in frame/Startbildschirm.cpp;
// each workspace concern (Galerie, Laden, Speichern, Transfer, Werkzeuge) has its handlers, its
// bindings, its design-time properties and the structure it hands to its modules in
// logo/Startbildschirm_<Concern>.cpp.
#include "logo/Logo_laden.h"
#include "logo/Logovoschau.h"
#include "platform/window/Form.h"

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

class StartbildschirmForm : public vb::Form {
public:
    StartbildschirmForm();
    ~StartbildschirmForm() override;

    // Controls, each bound to its row of the layout table.
    // Frame
    VB_CONTROLS(vb::Label, Titelzeile);
    VB_CONTROLS(vb::Image, Schliessen, Beenden2, minimieren, Hilfe, Einstellun, Logo);
    VB_CONTROLS(vb::Label, COM_Port, Vorad_Master_ComboKategorien_Label, Vorad_Master_VoradTyp_ComboKategorien_Label,
                Vorad_Master_ComboKategorien_Netzbetreiber_Label, Logo_Groesse);
    VB_CONTROLS(vb::Image, Netzbtreiber_Maske, Netz_Raster);
    // Tabs
    VB_CONTROLS(vb::Image, Logos_mit_Schatten, Reiter_Logos_inKalvoren, Reiter_Kalvoren_inLogos, Kalvoren_mit_Schatten, Reiter_Fotos_inLogos,
                Reiter_Fotos_inKalvoren);
    // Layers
    VB_CONTROLS(vb::PictureBox, Layer_Logoauswahl, Layer_Kalvoren);
    // Categories and caller groups
    VB_ARRAY_FROM(vb::ComboBox, 4, 2, ComboKategorien); // elements 2 and 3
    VB_CONTROLS(vb::Label, ComboKategorien_Textanzeige, ComboKategorien_Textanzeige_Kalvoren);
    VB_ARRAYS(vb::ComboBox, 2, ComboKategorien2);
    VB_ARRAYS(vb::Label, 2, ComboKategorien2_Textanzeige, ComboKategorien2_TextanzeigeShape);
    // Gallery
    VB_ARRAYS(vb::Image, 20, Logo_Vorschaubild, Logo_Vorschaubild_Bild);
    VB_ARRAYS(vb::Label, 20, Logo_Vorschaubild_Bildname);
    VB_CONTROLS(vb::ScrollBar, LogoScrollbalken);
    VB_CONTROLS(vb::FileListBox, Fileilistbox);
    VB_CONTROLS(vb::Image, Speichern, In_Zaroreriri_bearbeiten);
    // Phone display and transfer
    VB_ARRAYS(vb::PictureBox, 2, Gruen_Transferlogo_LogoBrowser);
    VB_CONTROLS(vb::Image, Gruen_Transferlogo_LogoBrowser_Rahmen);
    VB_ARRAYS(vb::Image, 2, Transfer, Loeschen);
    // Editor
    VB_CONTROLS(vb::PictureBox, Logo_Weiss_Grafik, Logo_Undo_Grafik, Logo_Raster_Grafik, Zoom, Malwerkzeug_Vorschau);
    VB_CONTROLS(vb::Image, Raster_Undo_Box, Testbild, Mitte_zentrierung, Mitte_zentrierung_vert);
    VB_CONTROLS(vb::Image, Logo_Stift, Logo_Radiegummi, Logo_Text, Logo_Linie, Logo_Linie_schwarz, Logo_Kreis, Logo_Kreis_schwarz, Logo_Quadrat,
                Logo_Rechteck_Schwarz);
    VB_CONTROLS(vb::Image, Logo_Neu, Logo_undo, Logo_invers, Logo_hori_spiegel, Logo_verti_spiegel, Logo_hoch_bit, Logo_runter_bit, Logo_links_bit,
                Logo_rechts_bit);
    VB_CONTROLS(vb::Image, Malfarbe_schwarz, Malfarbe_gruen, Malfarbe_gemischt);
    VB_CONTROLS(vb::Image, Kalvoren_Logo_Speichern, Laden, Laden_Fotos_Browser, Kalvoren_bearbeiten_zurueck);

    // The framed gallery slot, searched from slot 0 upward; -1 when none is framed.
    int gerahmterSlot() const;

    // The image buffer of the last load or transfer.
    std::unique_ptr<cDIBSection> Bildpuffer;

    // Frame handlers
    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_DblClick() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void Schliessen_Click();
    void Beenden2_Click();
    void minimieren_Click();
    void Hilfe_Click();
    void Logo_Click();
    void Einstellun_Click();
    void Titelzeile_MouseMove(int Button, int Shift, float X, float Y);
    void Layer_Kalvoren_MouseMove(int Button, int Shift, float X, float Y);

    // Categories
    void ComboKategorien_Click(short Index);
    void ComboKategorien2_Click(short Index);
    void ComboKategorien2_Change(short Index);

    // Gallery
    void Logo_Vorschaubild_Bild_Click(short Index);
    void Logo_Vorschaubild_Click(short Index);
    void Logo_Vorschaubild_Bild_DblClick(short Index);
    void Logo_Vorschaubild_DblClick(short Index);
    void Logo_Vorschaubild_Bildname_DblClick(short Index);
    void Logo_Vorschaubild_MouseMove(short Index, int Button, int Shift, float X, float Y);
    void LogoScrollbalken_Change();

    // Loading, tabs, saving
    void Laden_Click_Sub(QString Verzeichnis, bool DontShowKalvoren, bool DontShowSkallierungsAbfrage);
    void Layer_Kalvoren_Einblenden();
    void In_Zaroreriri_bearbeiten_Click();
    void Laden_Click();
    void Laden_Fotos_Browser_Click();
    void Laden_Fotos_Browser_Einsprung(QString& Dateiverzeichnis);
    void Reiter_Kalvoren_inLogos_Click();
    void Reiter_Logos_inKalvoren_Click();
    void Kalvoren_bearbeiten_zurueck_Click();
    void Reiter_Fotos_inKalvoren_Click();
    void Reiter_Fotos_inLogos_Click();
    void Kalvoren_Logo_Speichern_Click();
    void Speichern_Click();

    // Transfer
    void Transfer_Click(short Index);
    void Loeschen_Click(short Index);
    void Gruen_Transferlogo_LogoBrowser_Change(short Index);

    // Editor
    void Logo_Stift_Click();
    void Logo_Kreis_Click();
    void Logo_Kreis_schwarz_Click();
    void Logo_Quadrat_Click();
    void Logo_Rechteck_Schwarz_Click();
    void Logo_Linie_Click();
    void Logo_Text_Click();
    void Logo_Raster_Grafik_MouseDown(int Button, int Shift, float X, float Y);
    void Logo_Raster_Grafik_MouseMove(int Button, int Shift, float X, float Y);
    void Logo_Raster_Grafik_MouseUp(int Button, int Shift, float X, float Y);
    void Logo_Neu_Click();
    void Logo_undo_Click();
    void Malfarbe_schwarz_Click();
    void Malfarbe_gruen_Click();
    void Malfarbe_gemischt_Click();

    // The structures handed to the workspace's modules: the editor's surfaces and tool buttons,
    // the gallery, and where a picture is loaded (logo/Startbildschirm_<Concern>.cpp).
    Zaroreriri::Flaechen Editorflaechen();
    Logovoschau::Galerie Galerie() const;
    Logo_laden::Ladeziel Ladeziel();

protected:
    void Design() override;
    void Wire() override;

private:
    // Each workspace concern wires and designs its own controls, in its file under logo/.
    void wireGalerie();
    void designGalerie();
    void wireLaden();
    void designLaden();
    void wireSpeichern();
    void wireTransfer();
    void designTransfer();
    void wireWerkzeuge();
    void designWerkzeuge();
};

extern vb::Instance<StartbildschirmForm> Startbildschirm;
