#include "photo/Fotovorschau_Editor_6.h"

#include "frame/Parameter_und_Start.h"

using namespace Parameter_und_Start;

namespace Fotovorschau_Editor_6 {

void Editorvorschau_Voreinstellung() {
    Browser_Schrittweite = 1;
    Browser_Seitenende = 5;
}

} // namespace Fotovorschau_Editor_6
