#include "platform/Cursor.h"

#include "platform/Control.h"
#include "platform/Form.h"
#include "platform/Seams.h"

#include <QCursor>
#include <QGuiApplication>
#include <QWidget>

namespace vb {
namespace {
std::optional<QPoint>& cursorOverride() { return seams().cursor; }
std::optional<QRect>& clip() { return seams().cursorClip; }
} // namespace

QPoint GetCursorPos() { return cursorOverride() ? *cursorOverride() : QCursor::pos(); }

void SetCursorPos(std::optional<QPoint> p) { cursorOverride() = p; }

WindowRef WindowFromPoint(QPoint screen) {
    for (Form* f : AllForms()) {
        QWidget* top = f->Widget();
        if (!top || !top->isVisible()) continue;
        const QPoint local = top->mapFromGlobal(screen);
        if (!top->rect().contains(local)) continue;
        if (!top->mask().isEmpty() && !top->mask().contains(local)) continue;
        // The deepest visible child, then up to the first one that is a window of its own.
        for (QWidget* w = top->childAt(local); w && w != top; w = w->parentWidget()) {
            if (auto* c = static_cast<Control*>(w->property("vbControl").value<void*>()); c && c->IsWindowed())
                return {f, c};
        }
        return {f, nullptr};
    }
    return {};
}

QPoint ScreenToClient(const WindowRef& w, QPoint screen) {
    if (!w) return screen;
    if (w.control) return screen - w.control->ScreenOrigin();
    return w.form->Widget()->mapFromGlobal(screen);
}

void ClipCursor(std::optional<QRect> r) {
    clip() = r;
    if (r && !cursorOverride()) {
        const QPoint p = QCursor::pos();
        QCursor::setPos(std::clamp(p.x(), r->left(), r->right()), std::clamp(p.y(), r->top(), r->bottom()));
    }
}
std::optional<QRect> GetClipCursor() { return clip(); }

} // namespace vb
