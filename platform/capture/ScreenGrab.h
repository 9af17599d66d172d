#pragma once
// The desktop's pixels. On X11 the program reads the screens itself; in a Wayland session, where
// a program cannot, it asks the desktop portal for a screenshot. The desktop is the union of all
// screens. Tests supply the desktop or the portal's bus.
#include <QImage>
#include <QRect>
#include <QString>
#include <optional>

namespace vb {

// The desktop window's rectangle in pixels: the bounding rectangle of all screens.
QRect GetDesktopRect();

// A device context of the whole display: the desktop's picture at the moment it is created,
// its top-left pixel the desktop's top-left corner; parts no screen covers are black. When no
// picture can be had, Image is null and Error says why (in German).
struct DisplayDC {
    QImage Image;
    QString Error;
    explicit operator bool() const { return !Image.isNull(); }
};
DisplayDC CreateDisplayDC();

} // namespace vb
