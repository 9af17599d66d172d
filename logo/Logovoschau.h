#pragma once
// Logo types and the main window's gallery of shipped logos: the twin of the picker's browser
// (Fotovorschau) on the gallery's twenty slots.
#include "logo/Fotovorschau.h"

#include <QSize>

namespace vb {
class Label;
class Picture;
class PictureBox;
} // namespace vb

namespace Logovoschau {

// The gallery's controls: its slot set (Art Galerie) and the 1:1 logo that takes the selected
// thumbnail.
struct Galerie {
    Fotovorschau::Slotsatz Slots;
    vb::PictureBox* Logo_Weiss_Grafik = nullptr;
};

// Sets the current logo type from its category index and shows its size in Logo_Groesse.
void LogoTyp_setzen(short Index, vb::Label& Logo_Groesse);
inline void Logovorschau_ausblenden(const Galerie& G) { Fotovorschau::Vorschaubilder_ausblenden(G.Slots); }
inline void Logovorschau_leeren(const Galerie& G) { Fotovorschau::Vorschaubilder_leeren(G.Slots); }
void Logovorschau_Groesse_setzen(const Galerie& G);
inline void Logovorschau_fuellen(const Galerie& G) { Fotovorschau::Vorschau_Ordner_setzen(G.Slots); }
inline void Logovorschaubilder_laden(const Galerie& G) { Fotovorschau::Vorschaubilder_fuellen(G.Slots); }
void Logovorschau_auswaehlen(const Galerie& G, bool Keine_Vorauswahl);
// The selected logo into the 1:1 logo, which takes the current type's size first.
void Logo_uebernehmen(vb::PictureBox& Logo_Weiss_Grafik, const vb::Picture& Bild);

// The size of a gallery thumbnail for a logo of Breite x Hoehe pixels: one screen pixel per
// logo pixel, at most 101 x 60.
QSize Vorschaugroesse(int Breite, int Hoehe);

} // namespace Logovoschau
