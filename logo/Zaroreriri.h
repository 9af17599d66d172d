#pragma once
// The logo pixel editor: the raster view and its redraw, the one-level undo, the cursor cell,
// the drawing tools, the whole-logo operations and the magnifier.
namespace vb {
class Control;
}

namespace Zaroreriri {
void Raster_zeichnen();
void Undo_sichern();
void Undo_wiederherstellen();
// The cursor's cell relative to the given control (the raster), whatever lies under the cursor.
void Rasterposition_ermitteln(const vb::Control& Bezug);
void Werkzeuge_zuruecksetzen();
void Punkt_setzen();
void Kreis_zeichnen();
void Rechteck_zeichnen();
void Linie_zeichnen();
void Text_zeichnen();
void Logo_invertieren();
void Logo_vertikal_spiegeln();
void Logo_horizontal_spiegeln();
void Logo_hoch_schieben();
void Logo_runter_schieben();
void Logo_links_schieben();
void Logo_rechts_schieben();
// The magnifier at the raster position (X, Y) of a mouse move.
void Zoom_zeichnen(float X, float Y);
// Forgets the last cursor position (a fresh start for tests).
void Letzte_Mausposition_vergessen();
} // namespace Zaroreriri
