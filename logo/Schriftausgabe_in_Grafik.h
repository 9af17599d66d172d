#pragma once
// Text drawn into a picture surface with the font of the active window, without smoothing,
// so that a logo stays black and white.
#include <QString>

class QImage;

namespace Schriftausgabe_in_Grafik {
void Text_in_Grafik_ausgeben(QImage& hDC, int x, int y, short Winkel, short Groesse, const QString& Text);
} // namespace Schriftausgabe_in_Grafik
