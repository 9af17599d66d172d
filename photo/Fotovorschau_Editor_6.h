#pragma once
// The photo strip of the photo editor: six slots in one column over the shipped photo
// collection, one slot per small scroll step. The twin of the picker's browser (Fotovorschau)
// on the controls it is handed.
#include <span>

namespace vb {
class FileListBox;
class Image;
class Label;
class ScrollBar;
} // namespace vb

namespace Fotovorschau_Editor_6 {

// The strip's controls: frames, pictures and (hidden) name labels of the slots, its scroll bar
// and the hidden list of its folder.
struct Streifen {
    std::span<vb::Image* const> Rahmen, Bilder;
    std::span<vb::Label* const> Namen;
    vb::ScrollBar* Scrollbalken;
    vb::FileListBox* Liste;
};

void Editorvorschau_Voreinstellung();
void Editorvorschaubilder_ausblenden(const Streifen& S);
void Editorvorschaubilder_leeren(const Streifen& S);
void Editorvorschau_Ordner_setzen(const Streifen& S);
void Editorvorschaubilder_fuellen(const Streifen& S);
void Editorvorschaurahmen_zuruecksetzen(const Streifen& S, bool Keine_Vorauswahl);
// The framed slot (0 to 5), -1 when none is framed.
int Gerahmter_Slot(const Streifen& S);

} // namespace Fotovorschau_Editor_6
