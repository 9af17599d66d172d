#pragma once
// The settings file "param.ini": one line of five digits, written at quit and read at start.
namespace vb {
class ComboBox;
class Label;
} // namespace vb

namespace Variablen_Sichern_laden {
// The settings dialog's controls that the file keeps.
struct Felder {
    vb::Label* COM_Port = nullptr;
    vb::ComboBox *Hersteller = nullptr, *Modell = nullptr, *Netzbetreiber = nullptr, *Berechnungsart = nullptr;
};
void Variablen_sichern(const Felder& e);
void Variablen_laden(const Felder& e);
} // namespace Variablen_Sichern_laden
