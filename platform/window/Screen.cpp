#include "platform/window/Screen.h"

#include "platform/system/Seams.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace vb {
namespace {
std::optional<ScreenMetrics>& override_() { return seams().screen; }
} // namespace

namespace Screen {
ScreenMetrics Metrics() {
    if (override_()) return *override_();
    ScreenMetrics m;
    if (auto* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr) {
        m.widthPx = s->geometry().width();
        m.heightPx = s->geometry().height();
        m.dpi = int(std::lround(s->logicalDotsPerInchX()));
        m.bitsPerPixel = s->depth();
    }
    return m;
}
int TwipsPerPixelX() {
    const int dpi = Metrics().dpi;
    return dpi > 0 ? int(std::lround(1440.0 / dpi)) : 15;
}
int TwipsPerPixelY() { return TwipsPerPixelX(); }
double Width() { return double(Metrics().widthPx) * TwipsPerPixelX(); }
double Height() { return double(Metrics().heightPx) * TwipsPerPixelY(); }
QRect AvailableArea() {
    if (override_()) return QRect(0, 0, override_()->widthPx, override_()->heightPx);
    auto* s = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::primaryScreen() : nullptr;
    return s ? s->availableGeometry() : QRect();
}
} // namespace Screen

int GetDeviceCaps(int index) {
    const ScreenMetrics m = Screen::Metrics();
    switch (index) {
    case BITSPIXEL: return m.bitsPerPixel;
    case PLANES: return m.planes;
    case LOGPIXELSX:
    case LOGPIXELSY: return m.dpi;
    case HORZRES: return m.widthPx;
    case VERTRES: return m.heightPx;
    default: return 0;
    }
}

} // namespace vb
