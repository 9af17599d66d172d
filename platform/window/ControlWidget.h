#pragma once
// The Qt widget behind a drawn control: paints through the control and passes the mouse on.
#include <QWidget>

class QComboBox;

namespace vb {
class Control;

int MouseButtons(Qt::MouseButtons b);
int ShiftState(Qt::KeyboardModifiers m);
// A mouse position in a widget's pixels as its events report it: in twips divided by the unit's
// twips (1 for twips, the twips per pixel for pixels).
QPointF EventPosition(QPointF pixels, double unitTwips);
// Cuts a widget to a rectangle w x h pixels whose corners are arcs of an ellipse ew x eh.
void SetRoundRegion(QWidget& widget, int w, int h, int ellipseW, int ellipseH);
// Shows the runtime's mouse pointer code (1 arrow, 2 cross, 3 I-beam, ... 11 hourglass, 15 size
// all) over the widget; 0 and unknown codes leave the widget's default.
void ApplyMousePointer(QWidget* w, int pointer);

// Makes the open list of a drop-down at least as wide as its widest entry needs, whatever the
// width of the closed list; called whenever its entries change.
void FitDropDown(QComboBox& box);

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
