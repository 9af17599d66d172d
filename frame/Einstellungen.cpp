#include "frame/Einstellungen.h"

#include "platform/ComboBox.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Timer.h"

using vb::Kind;

vb::Instance<EinstellungenForm> Einstellungen;

namespace {
const vb::LayoutItem kLayout[] = {
    {"Titelzeile", Kind::Label, -1, 0, 0, 6750, 405, "", "title"},
    {"COM_Port", Kind::Label, -1, 300, 600, 600, 300},
    {"PfeilHoch", Kind::Image, -1, 1000, 600, 360, 300, "", "btn:up"},
    {"PfeilRunter", Kind::Image, -1, 1400, 600, 360, 300, "", "btn:down"},
    {"Vorad_Master_ComboKategorien", Kind::ComboBox, -1, 300, 1100, 2400, 360},
    {"Vorad_Master_ComboKategorien_Label", Kind::Label, -1, 300, 1100, 2400, 360, "", "combo"},
    {"Vorad_Master_VoradTyp_ComboKategorien", Kind::ComboBox, -1, 3000, 1100, 2400, 360},
    {"Vorad_Master_VoradTyp_ComboKategorien_Label", Kind::Label, -1, 3000, 1100, 2400, 360, "", "combo"},
    {"Vorad_Master_ComboKategorien_Netzbetreiber", Kind::ComboBox, -1, 300, 1600, 2400, 360},
    {"Vorad_Master_ComboKategorien_Netzbetreiber_Label", Kind::Label, -1, 300, 1600, 2400, 360, "", "combo"},
    {"Netzbtreiber_Maske", Kind::Image, -1, 280, 1580, 2440, 400, "", "own:hatch"},
    {"Berechnungsart_Combobox", Kind::ComboBox, -1, 3000, 1600, 2400, 360},
    {"Berechnungsart_Combobox_Label", Kind::Label, -1, 3000, 1600, 2400, 360},
    {"Scannerquelle_festlegen", Kind::Image, -1, 300, 2100, 2400, 450, "", "btn:scanner:Scannerquelle"},
    {"Scannerquelle_Deaktiviert", Kind::Image, -1, 300, 2100, 2400, 450, "", "own:cover"},
    {"OK", Kind::Image, -1, 300, 2700, 1800, 450, "", "btn:ok:OK"},
    {"Abbrechen", Kind::Image, -1, 2475, 2700, 1800, 450, "", "btn:close:Abbrechen"},
    {"Schliessen", Kind::Image, -1, 6330, 38, 330, 330, "", "btn:close"},
    {"InfoTimer", Kind::Timer, -1, 0, 0, 0, 0},
};
} // namespace

EinstellungenForm::EinstellungenForm() : vb::Form(QStringLiteral("Einstellungen"), kLayout, 6750, 3450) {}
void EinstellungenForm::Design() {}
void EinstellungenForm::Wire() {
    Titelzeile = Get<vb::Label>("Titelzeile");
    COM_Port = Get<vb::Label>("COM_Port");
    PfeilHoch = Get<vb::Image>("PfeilHoch");
    PfeilRunter = Get<vb::Image>("PfeilRunter");
    Vorad_Master_ComboKategorien = Get<vb::ComboBox>("Vorad_Master_ComboKategorien");
    Vorad_Master_ComboKategorien_Label = Get<vb::Label>("Vorad_Master_ComboKategorien_Label");
    Vorad_Master_VoradTyp_ComboKategorien = Get<vb::ComboBox>("Vorad_Master_VoradTyp_ComboKategorien");
    Vorad_Master_VoradTyp_ComboKategorien_Label = Get<vb::Label>("Vorad_Master_VoradTyp_ComboKategorien_Label");
    Vorad_Master_ComboKategorien_Netzbetreiber = Get<vb::ComboBox>("Vorad_Master_ComboKategorien_Netzbetreiber");
    Vorad_Master_ComboKategorien_Netzbetreiber_Label = Get<vb::Label>("Vorad_Master_ComboKategorien_Netzbetreiber_Label");
    Netzbtreiber_Maske = Get<vb::Image>("Netzbtreiber_Maske");
    Berechnungsart_Combobox = Get<vb::ComboBox>("Berechnungsart_Combobox");
    Berechnungsart_Combobox_Label = Get<vb::Label>("Berechnungsart_Combobox_Label");
    Scannerquelle_festlegen = Get<vb::Image>("Scannerquelle_festlegen");
    Scannerquelle_Deaktiviert = Get<vb::Image>("Scannerquelle_Deaktiviert");
    OK = Get<vb::Image>("OK");
    Abbrechen = Get<vb::Image>("Abbrechen");
    Schliessen = Get<vb::Image>("Schliessen");
    InfoTimer = Get<vb::Timer>("InfoTimer");
}
void EinstellungenForm::Form_Load() {}
void EinstellungenForm::Form_Activate() {}
void EinstellungenForm::Form_KeyDown(int&, int) {}
void EinstellungenForm::Form_KeyPress(int&) {}
void EinstellungenForm::Form_MouseMove(int, int, float, float) {}
void EinstellungenForm::COM_Port_Change() {}
void EinstellungenForm::PfeilHoch_Click() {}
void EinstellungenForm::PfeilRunter_Click() {}
void EinstellungenForm::Vorad_Master_ComboKategorien_Click() {}
void EinstellungenForm::Vorad_Master_VoradTyp_ComboKategorien_Click() {}
void EinstellungenForm::Vorad_Master_ComboKategorien_Netzbetreiber_Click() {}
void EinstellungenForm::Scannerquelle_festlegen_Click() {}
void EinstellungenForm::OK_Click() {}
void EinstellungenForm::Abbrechen_Click() {}
void EinstellungenForm::Schliessen_Click() {}
void EinstellungenForm::loesche_Comboboxen() {}
void EinstellungenForm::setze_Kategorien() {}
