#include "platform/window/Cursor.h"

#include "platform/window/Control.h"
#include "platform/window/Form.h"
#include "platform/system/Seams.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>

#ifdef VORAD_HAVE_XCB
#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#endif

namespace vb {
namespace {
std::optional<QPoint>& cursorOverride() { return seams().cursor; }
std::optional<QRect>& clip() { return seams().cursorClip; }

#ifdef VORAD_HAVE_XCB
// On X11 the cursor is held by a pointer grab confined to an input-only window that covers the
// rectangle; the window lies below all others, so it takes no events from the program's windows.
struct X11Fang {
    xcb_connection_t* conn = nullptr;
    xcb_window_t window = 0;
};
X11Fang& x11Fang() {
    static X11Fang f;
    return f;
}

xcb_connection_t* x11() {
    auto* app = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    return app ? app->connection() : nullptr;
}

void x11Freigeben() {
    X11Fang& f = x11Fang();
    if (!f.window) return;
    xcb_ungrab_pointer(f.conn, XCB_CURRENT_TIME);
    xcb_destroy_window(f.conn, f.window);
    xcb_flush(f.conn);
    f = X11Fang();
}

// While a button is held the toolkit's input extension holds the pointer in a grab of its own
// kind, which a core grab cannot replace; the program's own grab is given up first.
void x11EigenenGriffLoesen(xcb_connection_t* conn) {
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn, &xcb_input_id);
    if (!ext || !ext->present) return;
    auto* zeiger = xcb_input_xi_get_client_pointer_reply(conn, xcb_input_xi_get_client_pointer(conn, XCB_NONE), nullptr);
    if (!zeiger) return;
    xcb_input_xi_ungrab_device(conn, XCB_CURRENT_TIME, zeiger->deviceid);
    std::free(zeiger);
}

xcb_grab_pointer_reply_t* x11Greifen(xcb_connection_t* conn, xcb_window_t root, xcb_window_t fang) {
    const uint16_t maske = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
    return xcb_grab_pointer_reply(
        conn, xcb_grab_pointer(conn, 1, root, maske, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC, fang, XCB_NONE, XCB_CURRENT_TIME), nullptr);
}

// False when the server refuses the grab (another program holds the pointer).
bool x11Einfangen(const QRect& r) {
    x11Freigeben();
    xcb_connection_t* conn = x11();
    if (!conn) return false;
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(conn)).data;
    if (!screen) return false;
    const xcb_window_t w = xcb_generate_id(conn);
    const uint32_t overrideRedirect[] = {1};
    xcb_create_window(conn, XCB_COPY_FROM_PARENT, w, screen->root, int16_t(r.x()), int16_t(r.y()), uint16_t(std::max(1, r.width())),
                      uint16_t(std::max(1, r.height())), 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT,
                      XCB_CW_OVERRIDE_REDIRECT, overrideRedirect);
    const uint32_t unten[] = {XCB_STACK_MODE_BELOW};
    xcb_configure_window(conn, w, XCB_CONFIG_WINDOW_STACK_MODE, unten);
    xcb_map_window(conn, w);
    xcb_grab_pointer_reply_t* antwort = x11Greifen(conn, screen->root, w);
    if (antwort && antwort->status == XCB_GRAB_STATUS_ALREADY_GRABBED) {
        std::free(antwort);
        x11EigenenGriffLoesen(conn);
        antwort = x11Greifen(conn, screen->root, w);
    }
    const bool ok = antwort && antwort->status == XCB_GRAB_STATUS_SUCCESS;
    std::free(antwort);
    if (!ok) {
        xcb_destroy_window(conn, w);
        xcb_flush(conn);
        return false;
    }
    x11Fang() = {conn, w};
    return true;
}
#endif

// A confinement lasts no longer than the press that took it: a release that leaves no button
// held, or the program losing the focus, ends it, whatever the handlers do.
class Pressende : public QObject {
public:
    Pressende() {
        qApp->installEventFilter(this);
        connect(qApp, &QGuiApplication::applicationStateChanged, this, [](Qt::ApplicationState s) {
            if (s != Qt::ApplicationActive && clip()) ClipCursor(std::nullopt);
        });
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(e)->buttons() == Qt::NoButton && clip()) ClipCursor(std::nullopt);
        return false;
    }
};
void pressendeBeachten() {
    static Pressende* p = qApp ? new Pressende : nullptr;
    (void)p;
}
} // namespace

QPoint GetCursorPos() { return cursorOverride() ? *cursorOverride() : QCursor::pos(); }

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
    if (r) pressendeBeachten();
    clip() = r;
#ifdef VORAD_HAVE_XCB
    // The real cursor only; where the platform refuses, the caller's own clamping still holds.
    if (r && !cursorOverride()) x11Einfangen(*r);
    else x11Freigeben();
#endif
    if (r && !cursorOverride()) {
        const QPoint p = QCursor::pos();
        QCursor::setPos(std::clamp(p.x(), r->left(), r->right()), std::clamp(p.y(), r->top(), r->bottom()));
    }
}
std::optional<QRect> GetClipCursor() { return clip(); }

} // namespace vb
