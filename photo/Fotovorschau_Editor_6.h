#pragma once
// The photo strip of the photo editor: six slots in one column over the shipped photo
// collection, one slot per small scroll step. The twin of the picker's browser: the same
// procedures of Fotovorschau on the strip's controls.
#include "logo/Fotovorschau.h"

namespace Fotovorschau_Editor_6 {

// The strip's controls: frames, pictures and (hidden) name labels of the slots, its scroll bar
// and the hidden list of its folder, with Art Streifen.
using Streifen = Fotovorschau::Slotsatz;

// A small step of one slot, pages ending at slot 5.
void Editorvorschau_Voreinstellung();
inline void Editorvorschaubilder_ausblenden(const Streifen& S) { Fotovorschau::Vorschaubilder_ausblenden(S); }
inline void Editorvorschaubilder_leeren(const Streifen& S) { Fotovorschau::Vorschaubilder_leeren(S); }
inline void Editorvorschau_Ordner_setzen(const Streifen& S) { Fotovorschau::Vorschau_Ordner_setzen(S); }
inline void Editorvorschaubilder_fuellen(const Streifen& S) { Fotovorschau::Vorschaubilder_fuellen(S); }
inline void Editorvorschaurahmen_zuruecksetzen(const Streifen& S, bool Keine_Vorauswahl) {
    Fotovorschau::Vorschaurahmen_zuruecksetzen(S, Keine_Vorauswahl);
}
// The framed slot (0 to 5), -1 when none is framed.
inline int Gerahmter_Slot(const Streifen& S) { return Fotovorschau::Gerahmter_Slot(S); }

} // namespace Fotovorschau_Editor_6
