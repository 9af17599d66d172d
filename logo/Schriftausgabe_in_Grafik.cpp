#include "logo/Schriftausgabe_in_Grafik.h"

#include <QImage>

namespace Schriftausgabe_in_Grafik {
void Text_in_Grafik_ausgeben(QImage&, int, int, short, short, const QString&) {}
} // namespace Schriftausgabe_in_Grafik
