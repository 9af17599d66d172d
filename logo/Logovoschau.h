#pragma once
// Logo types and the main window's gallery of shipped logos.
namespace Logovoschau {
void LogoTyp_setzen(short Index);
void Logovorschau_ausblenden();
void Logovorschau_leeren();
void Logovorschau_Groesse_setzen();
void Logovorschau_fuellen();
void Logovorschaubilder_laden();
void Logovorschau_auswaehlen(bool Keine_Vorauswahl);
} // namespace Logovoschau
