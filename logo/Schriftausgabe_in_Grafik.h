#pragma once
// Text drawn into a picture surface with the font of the active window, without smoothing,
// so that a logo stays black and white.
#include <QString>

class QFont;
class QImage;

namespace Schriftausgabe_in_Grafik {
// Fensterschrift: the active window's font (name, bold, italic, underline); Farbe: the text colour.
void Text_in_Grafik_ausgeben(QImage& hDC, int x, int y, short Winkel, short Groesse, const QString& Text, const QFont& Fensterschrift,
                             long Farbe);
} // namespace Schriftausgabe_in_Grafik
