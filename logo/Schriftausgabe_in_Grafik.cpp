#include "logo/Schriftausgabe_in_Grafik.h"

#include "platform/picture/Colour.h"

#include <QImage>
#include <QPainter>
#include <cstdlib>

namespace Schriftausgabe_in_Grafik {

void Text_in_Grafik_ausgeben(QImage& hDC, int x, int y, short Winkel, short Groesse, const QString& Text, const QFont& fensterSchrift,
                             long Farbe) {
    if (Text.isEmpty() || hDC.isNull()) return;

    QFont schrift(fensterSchrift.family());
    schrift.setBold(fensterSchrift.bold());
    schrift.setItalic(fensterSchrift.italic());
    schrift.setUnderline(fensterSchrift.underline());
    schrift.setStrikeOut(false);
    // Groesse is the character height in pixels; 0 keeps the font's default height.
    if (Groesse != 0) schrift.setPixelSize(std::abs(int(Groesse)));
    // Unsmoothed glyphs keep the logo black and white.
    schrift.setStyleStrategy(QFont::StyleStrategy(QFont::NoAntialias | QFont::NoSubpixelAntialias));

    QPainter p(&hDC);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    p.setFont(schrift);
    p.setPen(vb::ToQColor(Farbe));
    // (x, y) is the top-left corner of the text; the angle turns it counter-clockwise about it.
    p.translate(x, y);
    if (Winkel != 0) p.rotate(-double(Winkel));
    p.drawText(QPoint(0, p.fontMetrics().ascent()), Text);
}

} // namespace Schriftausgabe_in_Grafik
