#pragma once
// Window helpers shared by every window: loading and scaling to the screen, rounded regions,
// centring one control over another and fitting a picture into a box.
namespace vb {
class Form;
class Control;
class Image;
class PictureBox;
} // namespace vb

namespace Fenster {
void Formular_laden(vb::Form& F);
void Fenster_skalieren(vb::Form& F);
// One control as Fenster_skalieren adapts it (on a screen of 96 dots per inch this changes nothing
// but the font size).
void Steuerelement_skalieren(vb::Control& C);
void Fenster_abrunden(vb::Form& F);
void Bildfeld_abrunden(vb::PictureBox& P);
void Steuerelement_zentrieren(vb::Control& C, vb::Control& R, short dy, short dx);
void Bild_einpassen(vb::Image& B, double maxW, double maxH);
} // namespace Fenster
