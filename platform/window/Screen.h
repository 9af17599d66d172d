#pragma once
// Screen metrics as the program queries them. Tests set an override to act as another display.
#include <QRect>
#include <optional>

namespace vb {

struct ScreenMetrics {
    int widthPx = 1024;
    int heightPx = 768;
    int dpi = 96;           // horizontal logical dots per inch (device capability 88)
    int bitsPerPixel = 32;  // device capability 12
    int planes = 1;         // device capability 14
};

namespace Screen {
ScreenMetrics Metrics();
// Twips per pixel: 1440 / dots per inch, rounded (15 at 96, 12 at 120).
int TwipsPerPixelX();
int TwipsPerPixelY();
double Width();  // twips
double Height(); // twips
// The area the desktop leaves free for windows (panels excluded), in pixels.
QRect AvailableArea();
} // namespace Screen

// Device capabilities of the display.
enum { BITSPIXEL = 12, PLANES = 14, LOGPIXELSX = 88, LOGPIXELSY = 90, HORZRES = 8, VERTRES = 10 };
int GetDeviceCaps(int index);

} // namespace vb
