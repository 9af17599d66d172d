#include "platform/window/Keys.h"

#include <QKeyEvent>

namespace vb {

int VirtualKey(const QKeyEvent* e) {
    const int k = e->key();
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
    if ((k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9)) return k;
    switch (k) {
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Shift: return 16;
    case Qt::Key_Control: return 17;
    case Qt::Key_Alt: return 18;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Space: return 32;
    case Qt::Key_PageUp: return 33;
    case Qt::Key_PageDown: return 34;
    case Qt::Key_End: return 35;
    case Qt::Key_Home: return 36;
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Insert: return 45;
    case Qt::Key_Delete: return 46;
    default: return k & 0xFFFF;
    }
}

int KeyAscii(const QKeyEvent* e) {
    const int k = e->key();
    if ((e->modifiers() & Qt::ControlModifier) && k >= Qt::Key_A && k <= Qt::Key_Z) return k - Qt::Key_A + 1;
    if (k == Qt::Key_Backspace) return 8;
    if (k == Qt::Key_Return || k == Qt::Key_Enter) return 13;
    if (k == Qt::Key_Escape) return 27;
    if (k == Qt::Key_Tab) return 9;
    const QString t = e->text();
    if (t.isEmpty()) return 0;
    const char16_t c = t.at(0).unicode();
    // X11 gives Delete the text 127; it is an editing key, not a typed character.
    return (c >= 32 && c != 127) || c == 8 || c == 13 ? int(c) : 0;
}

} // namespace vb
