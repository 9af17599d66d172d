#include "frame/Variablen_Sichern_laden.h"

namespace Variablen_Sichern_laden {
void Variablen_sichern() {}
void Variablen_laden() {}
} // namespace Variablen_Sichern_laden
