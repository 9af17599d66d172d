#pragma once
// The picture prompt: asks for a picture file and remembers it in Bilddatei_Pfad. And the steps
// every "save as BMP" button shares: the name asked for, the question before replacing a file,
// the report of success.
#include <QString>

namespace Datei_Laden_Speichern {
QString Bilddatei_laden();

// The save dialog on the proposed name, BMP only; raises cdlCancel when the user cancels.
QString Bmp_Speichername(const QString& Vorschlag);
// Asks before replacing a file; false when the user keeps the old one.
bool Ueberschreiben_erlaubt(const QString& Name);
void Erfolg_melden(const QString& Name);
// A copy of Quelle under a name the user gives (its own name with "H"); true when it is written
// and reported. With Fehler_melden a source that is gone or a copy that cannot be written is
// reported too.
bool Kopie_speichern(const QString& Quelle, bool Fehler_melden = false);
} // namespace Datei_Laden_Speichern
