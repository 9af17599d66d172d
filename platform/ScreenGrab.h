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

// Tests: the desktop is this picture (a null picture: the screen cannot be read); nullopt
// gives the real screens again.
void SetDesktopOverride(std::optional<QImage> desktop);
// Tests: ask the screenshot portal on the bus at this address (as in a Wayland session) and
// wait at most timeoutMs for its answer; nullopt: decide by the session again.
void SetPortalOverride(std::optional<QString> busAddress, int timeoutMs = 60000);

} // namespace vb
