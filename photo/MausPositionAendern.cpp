#include "photo/MausPositionAendern.h"

#include "frame/Parameter_und_Start.h"
#include "platform/window/Control.h"
#include "platform/window/Cursor.h"
#include "platform/window/Screen.h"

#include <cmath>

using namespace Parameter_und_Start;

namespace MausPositionAendern {

void Maus_einfangen(vb::Control& s) {
    if (s.Tag() == QLatin1String("Maus_captured")) return;
    s.setTag(QStringLiteral("Maus_captured"));
    Alter_Fangbereich = vb::GetClipCursor().value_or(QRect());
    // The control's own place on the screen, so window borders cannot shift it.
    const QPoint o = s.ScreenOrigin();
    const int w = int(std::lround(s.Width() / vb::Screen::TwipsPerPixelX()));
    const int h = int(std::lround(s.Height() / vb::Screen::TwipsPerPixelY()));
    Fangbereich = QRect(o, QSize(w, h));
    vb::ClipCursor(Fangbereich);
}

void Maus_freigeben(vb::Control& s) {
    vb::ClipCursor(Alter_Fangbereich.isNull() ? std::nullopt : std::optional<QRect>(Alter_Fangbereich));
    s.setTag(QString());
}

} // namespace MausPositionAendern
