#pragma once
// Logo types and the main window's gallery of shipped logos.
namespace vb {
class Picture;
}

namespace Logovoschau {
void LogoTyp_setzen(short Index);
void Logovorschau_ausblenden();
void Logovorschau_leeren();
void Logovorschau_Groesse_setzen();
void Logovorschau_fuellen();
void Logovorschaubilder_laden();
void Logovorschau_auswaehlen(bool Keine_Vorauswahl);
// The selected logo into the 1:1 logo, which takes the current type's size first.
void Logo_uebernehmen(const vb::Picture& Bild);
} // namespace Logovoschau
