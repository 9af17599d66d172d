#include "logo/Zaroreriri.h"

namespace Zaroreriri {
void Raster_zeichnen() {}
void Undo_sichern() {}
void Undo_wiederherstellen() {}
void Rasterposition_ermitteln() {}
void Werkzeuge_zuruecksetzen() {}
void Punkt_setzen() {}
void Kreis_zeichnen() {}
void Rechteck_zeichnen() {}
void Linie_zeichnen() {}
void Text_zeichnen() {}
void Logo_invertieren() {}
void Logo_vertikal_spiegeln() {}
void Logo_horizontal_spiegeln() {}
void Logo_hoch_schieben() {}
void Logo_runter_schieben() {}
void Logo_links_schieben() {}
void Logo_rechts_schieben() {}
void Zoom_zeichnen(float, float) {}
void Letzte_Mausposition_vergessen() {}
} // namespace Zaroreriri
