#pragma once
// The settings file "param.ini": one line of five digits, written at quit and read at start.
namespace Variablen_Sichern_laden {
void Variablen_sichern();
void Variablen_laden();
} // namespace Variablen_Sichern_laden
