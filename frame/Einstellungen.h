#pragma once
// The settings dialog: COM port, phone maker and model, network operator, conversion method
// and the scanner source.
#include "frame/Variablen_Sichern_laden.h"
#include "platform/window/Form.h"

namespace vb {
class Shape;
class ComboBox;
class Image;
class Label;
class Timer;
} // namespace vb

class EinstellungenForm : public vb::Form {
public:
    EinstellungenForm();

    VB_CONTROLS(vb::Label, Titelzeile);

    // Painted captions

    VB_CONTROLS(vb::Shape, Hersteller_Beschriftung, Modell_Beschriftung, Netzbetreiber_Beschriftung, Berechnungsart_Beschriftung, COM_Beschriftung, Scanner_Beschriftung);
    VB_CONTROLS(vb::Label, COM_Port);
    VB_CONTROLS(vb::Image, PfeilHoch, PfeilRunter);
    VB_CONTROLS(vb::ComboBox, Vorad_Master_ComboKategorien);
    VB_CONTROLS(vb::Label, Vorad_Master_ComboKategorien_Label);
    VB_CONTROLS(vb::ComboBox, Vorad_Master_VoradTyp_ComboKategorien);
    VB_CONTROLS(vb::Label, Vorad_Master_VoradTyp_ComboKategorien_Label);
    VB_CONTROLS(vb::ComboBox, Vorad_Master_ComboKategorien_Netzbetreiber);
    VB_CONTROLS(vb::Label, Vorad_Master_ComboKategorien_Netzbetreiber_Label);
    VB_CONTROLS(vb::Image, Netzbtreiber_Maske);
    VB_CONTROLS(vb::ComboBox, Berechnungsart_Combobox);
    VB_CONTROLS(vb::Label, Berechnungsart_Combobox_Label);
    VB_CONTROLS(vb::Image, Scannerquelle_festlegen, Scannerquelle_Deaktiviert);
    VB_CONTROLS(vb::Image, OK, Abbrechen, Schliessen);
    VB_CONTROLS(vb::Timer, InfoTimer);

    QString Gesicherter_COM_Port;
    short Gesicherter_Hersteller = 0;
    short Gesicherter_Netzbetreiber = 0;

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void COM_Port_Change();
    void PfeilHoch_Click();
    void PfeilRunter_Click();
    void Vorad_Master_ComboKategorien_Click();
    void Vorad_Master_VoradTyp_ComboKategorien_Click();
    void Vorad_Master_ComboKategorien_Netzbetreiber_Click();
    void Berechnungsart_Combobox_Click();
    void Vorad_Master_ComboKategorien_Label_MouseMove(int Button, int Shift, float X, float Y);
    void Vorad_Master_VoradTyp_ComboKategorien_Label_MouseMove(int Button, int Shift, float X, float Y);
    void Vorad_Master_ComboKategorien_Netzbetreiber_Label_MouseMove(int Button, int Shift, float X, float Y);
    void Berechnungsart_Combobox_Label_MouseMove(int Button, int Shift, float X, float Y);
    void Titelzeile_MouseMove(int Button, int Shift, float X, float Y);
    void Scannerquelle_festlegen_Click();
    void OK_Click();
    void Abbrechen_Click();
    void Schliessen_Click();

    void loesche_Comboboxen();
    // The controls the settings file keeps.
    Variablen_Sichern_laden::Felder Gesicherte_Felder() const {
        return {COM_Port, Vorad_Master_ComboKategorien, Vorad_Master_VoradTyp_ComboKategorien, Vorad_Master_ComboKategorien_Netzbetreiber,
                Berechnungsart_Combobox};
    }
    void setze_Kategorien();

protected:
    void Design() override;
    void Wire() override;
};

extern vb::Instance<EinstellungenForm> Einstellungen;
