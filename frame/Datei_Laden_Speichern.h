#pragma once
// The picture prompt: asks for a picture file and remembers it in Bilddatei_Pfad.
#include <QString>

namespace Datei_Laden_Speichern {
QString Bilddatei_laden();
} // namespace Datei_Laden_Speichern
