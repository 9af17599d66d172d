#pragma once
// The mouse cursor and the window under it. Tests place the cursor through Seams::cursor.
#include <QPoint>
#include <QRect>
#include <optional>

namespace vb {
class Form;
class Control;

// A window in the platform's sense: a window or a control with a window of its own.
struct WindowRef {
    Form* form = nullptr;
    Control* control = nullptr; // nullptr: the window itself
    explicit operator bool() const { return form != nullptr; }
};

QPoint GetCursorPos();
WindowRef WindowFromPoint(QPoint screen);
QPoint ScreenToClient(const WindowRef& w, QPoint screen);
// Keeps the cursor inside a rectangle of screen pixels (an empty optional frees it).
void ClipCursor(std::optional<QRect> r);
std::optional<QRect> GetClipCursor();
} // namespace vb
