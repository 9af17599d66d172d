#pragma once
// The Qt widget behind a drawn control: paints through the control and passes the mouse on.
#include <QWidget>

namespace vb {
class Control;

int MouseButtons(Qt::MouseButtons b);
int ShiftState(Qt::KeyboardModifiers m);

class ControlWidget : public QWidget {
public:
    ControlWidget(Control& c, QWidget* parent);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;

private:
    Control& m_c;
};

// Mouse moves, presses and focus of native widgets (text boxes, lists, scroll bars).
// It belongs to the widget it watches.
class NativeEventFilter : public QObject {
public:
    NativeEventFilter(Control& c, QObject* watched) : QObject(watched), m_c(c) {}
    bool eventFilter(QObject* o, QEvent* e) override;

private:
    Control& m_c;
};
} // namespace vb
