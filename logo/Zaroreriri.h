#pragma once
// The logo pixel editor: the raster view and its redraw, the one-level undo, the cursor cell,
// the drawing tools, the whole-logo operations and the magnifier. Its procedures work on the
// editor surfaces and tool buttons the window hands them.
#include <QPointF>
#include <QRect>
#include <array>

class QFont;

namespace vb {
class CommonDialog;
class Control;
class Image;
class PictureBox;
} // namespace vb

namespace Zaroreriri {

// The editor's surfaces and the tool buttons whose tags hold the chosen tool.
struct Flaechen {
    vb::PictureBox* Weiss = nullptr;   // the logo at 1:1, the copy that counts
    vb::PictureBox* Undo = nullptr;    // the undo copy
    vb::PictureBox* Raster = nullptr;  // four screen pixels per logo pixel, with the grid
    vb::PictureBox* Anzeige = nullptr; // the phone display of the editor
    vb::PictureBox* Zoom = nullptr;    // the magnifier
    vb::Image* Raster_Undo_Box = nullptr;
    vb::Image *Malfarbe_schwarz = nullptr, *Logo_Kreis_schwarz = nullptr, *Logo_Rechteck_Schwarz = nullptr;
    // The tools that Werkzeuge_zuruecksetzen puts back: text, pen, circle, rectangle, line.
    std::array<vb::Image*, 5> Werkzeuge{};
    const QFont* Schrift = nullptr; // the window's font, which the text tool writes with
    const vb::CommonDialog* Schriftdialog = nullptr; // its size places the text at the pointer
};

void Raster_zeichnen(const Flaechen& F);
void Undo_sichern(const Flaechen& F);
void Undo_wiederherstellen(const Flaechen& F);
// The cursor's cell relative to the given control (the raster), whatever lies under the cursor.
void Rasterposition_ermitteln(const vb::Control& Bezug);
void Werkzeuge_zuruecksetzen(const Flaechen& F);
void Punkt_setzen(const Flaechen& F);
void Kreis_zeichnen(const Flaechen& F);
void Rechteck_zeichnen(const Flaechen& F);
void Linie_zeichnen(const Flaechen& F);
void Text_zeichnen(const Flaechen& F);
void Logo_invertieren(const Flaechen& F);
void Logo_vertikal_spiegeln(const Flaechen& F);
void Logo_horizontal_spiegeln(const Flaechen& F);
void Logo_hoch_schieben(const Flaechen& F);
void Logo_runter_schieben(const Flaechen& F);
void Logo_links_schieben(const Flaechen& F);
void Logo_rechts_schieben(const Flaechen& F);
// The magnifier at the raster position (X, Y) of a mouse move.
void Zoom_zeichnen(const Flaechen& F, float X, float Y);
// Forgets the last cursor position (a fresh start for tests).
void Letzte_Mausposition_vergessen();

// What the magnifier shows for the raster position (X, Y): the part of the raster it enlarges
// (in raster pixels, held inside the raster) and the centre of its cursor mark.
struct Lupenbild {
    QRect Quelle;
    QPointF Kreuz;
};
// ZW, ZH: the magnifier's size; TPX, TPY: the screen's twips per pixel.
Lupenbild Lupe(double X, double Y, double ZW, double ZH, double TPX, double TPY, int Logo_Breite, int Logo_Hoehe);

} // namespace Zaroreriri
