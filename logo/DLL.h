#pragma once
// The calls into the phone link: send a logo, delete the operator logo, release the port.
#include <QString>

namespace DLL {
void Logo_senden(const QString& Pfad);
void Betreiberlogo_loeschen();
void COM_Port_freigeben();
// Message 301: the logo did not reach the phone.
void Uebertragungsfehler_melden();
} // namespace DLL
