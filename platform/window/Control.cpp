#include "platform/window/Control.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Cursor.h"
#include "platform/window/Form.h"
#include "platform/window/Screen.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegion>
#include <QToolTip>
#include <cmath>

namespace vb {

int TwipsToPx(double twips) { return int(std::lround(twips / Screen::TwipsPerPixelX())); }

int MouseButtons(Qt::MouseButtons b) {
    int r = 0;
    if (b & Qt::LeftButton) r |= vbLeftButton;
    if (b & Qt::RightButton) r |= vbRightButton;
    if (b & Qt::MiddleButton) r |= vbMiddleButton;
    return r;
}
int ShiftState(Qt::KeyboardModifiers m) {
    int r = 0;
    if (m & Qt::ShiftModifier) r |= vbShiftMask;
    if (m & Qt::ControlModifier) r |= vbCtrlMask;
    if (m & Qt::AltModifier) r |= vbAltMask;
    return r;
}

void ApplyMousePointer(QWidget* w, int p) {
    static const Qt::CursorShape kZeiger[] = {Qt::ArrowCursor,     Qt::ArrowCursor,   Qt::CrossCursor,   Qt::IBeamCursor,
                                              Qt::ArrowCursor,     Qt::SizeAllCursor, Qt::SizeBDiagCursor, Qt::SizeVerCursor,
                                              Qt::SizeFDiagCursor, Qt::SizeHorCursor, Qt::UpArrowCursor, Qt::WaitCursor,
                                              Qt::ForbiddenCursor, Qt::BusyCursor,    Qt::WhatsThisCursor, Qt::SizeAllCursor};
    if (!w) return;
    if (p >= 1 && p <= 15) w->setCursor(kZeiger[p]);
    else w->unsetCursor();
}

ControlWidget::ControlWidget(Control& c, QWidget* parent) : QWidget(parent), m_c(c) { setMouseTracking(true); }

void ControlWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    m_c.Paint(p);
}

QPointF EventPosition(QPointF pixels, double unitTwips) {
    return {pixels.x() * Screen::TwipsPerPixelX() / unitTwips, pixels.y() * Screen::TwipsPerPixelY() / unitTwips};
}

void SetRoundRegion(QWidget& widget, int w, int h, int ellipseW, int ellipseH) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, w, h), ellipseW / 2.0, ellipseH / 2.0);
    widget.setMask(QRegion(path.toFillPolygon().toPolygon()));
}

static float evX(const Control& c, const QMouseEvent* e) { return float(EventPosition(e->position(), c.EventUnitTwips()).x()); }
static float evY(const Control& c, const QMouseEvent* e) { return float(EventPosition(e->position(), c.EventUnitTwips()).y()); }

void ControlWidget::mousePressEvent(QMouseEvent* e) {
    m_c.FireMouseDown(MouseButtons(e->button()), ShiftState(e->modifiers()), evX(m_c, e), evY(m_c, e));
}
void ControlWidget::mouseMoveEvent(QMouseEvent* e) {
    m_c.FireMouseMove(MouseButtons(e->buttons()), ShiftState(e->modifiers()), evX(m_c, e), evY(m_c, e));
}
void ControlWidget::mouseReleaseEvent(QMouseEvent* e) {
    const bool inside = rect().contains(e->position().toPoint());
    m_c.FireMouseUp(MouseButtons(e->button()), ShiftState(e->modifiers()), evX(m_c, e), evY(m_c, e));
    if (inside && e->button() == Qt::LeftButton) m_c.FireClick();
}
void ControlWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_c.FireDblClick();
}

bool NativeEventFilter::eventFilter(QObject* o, QEvent* e) {
    auto* w = qobject_cast<QWidget*>(o);
    auto pos = [&](QMouseEvent* me) {
        const QPoint p = w ? w->mapTo(m_c.Widget(), me->position().toPoint()) : me->position().toPoint();
        const QPointF t = EventPosition(p, m_c.EventUnitTwips());
        return std::pair<float, float>(float(t.x()), float(t.y()));
    };
    switch (e->type()) {
    case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        auto [x, y] = pos(me);
        m_c.FireMouseMove(MouseButtons(me->buttons()), ShiftState(me->modifiers()), x, y);
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* me = static_cast<QMouseEvent*>(e);
        auto [x, y] = pos(me);
        m_c.FireMouseDown(MouseButtons(me->button()), ShiftState(me->modifiers()), x, y);
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* me = static_cast<QMouseEvent*>(e);
        auto [x, y] = pos(me);
        m_c.FireMouseUp(MouseButtons(me->button()), ShiftState(me->modifiers()), x, y);
        break;
    }
    case QEvent::FocusIn:
        if (m_c.GotFocus) m_c.GotFocus();
        break;
    case QEvent::FocusOut:
        if (m_c.LostFocus) m_c.LostFocus();
        break;
    default: break;
    }
    return false;
}

Control::Control(Form& form, Kind kind, QString name, int index)
    : m_form(form), m_kind(kind), m_name(std::move(name)), m_index(index), m_font(QStringLiteral("Arial"), 8) {}

Control::~Control() {
    Drag(0); // a control that goes away while dragged drops nothing
    // The widget outlives its control (the window's widget deletes it later, and a focused one
    // still gets its focus-out then): its event filters must not call back into this control.
    if (!m_widget) return;
    for (QObject* o : m_widget->findChildren<QObject*>())
        if (auto* f = dynamic_cast<NativeEventFilter*>(o)) delete f;
}

void Control::setWidget(QWidget* w) {
    m_widget = w;
    if (!w) return;
    w->setFont(m_font);
    w->setVisible(m_visible);
    w->setEnabled(m_enabled);
    applyGeometry();
}

void Control::SetContainer(Control* container) {
    m_container = container;
    if (m_widget) {
        m_widget->setParent(container && container->Widget() ? container->Widget() : m_form.ClientWidget());
        m_widget->setVisible(m_visible);
        applyGeometry();
    }
}

void Control::applyGeometry() {
    if (m_widget) m_widget->setGeometry(TwipsToPx(m_left), TwipsToPx(m_top), std::max(0, TwipsToPx(m_width)), std::max(0, TwipsToPx(m_height)));
    geometryChanged();
}

void Control::setLeft(double v) { m_left = v; applyGeometry(); }
void Control::setTop(double v) { m_top = v; applyGeometry(); }
void Control::setWidth(double v) { m_width = v; applyGeometry(); }
void Control::setHeight(double v) { m_height = v; applyGeometry(); }
void Control::Move(double l, double t, double w, double h) {
    m_left = l; m_top = t; m_width = w; m_height = h;
    applyGeometry();
}

void Control::setVisible(bool v) {
    m_visible = v;
    if (m_widget) m_widget->setVisible(v);
}
void Control::setMousePointer(int p) {
    m_mousePointer = p;
    ApplyMousePointer(m_widget, p);
}

void Control::setEnabled(bool v) {
    m_enabled = v;
    if (m_widget) m_widget->setEnabled(v);
}
void Control::setToolTipText(const QString& t) {
    m_toolTip = t;
    if (m_widget) m_widget->setToolTip(t);
}
void Control::setFontName(const QString& n) { m_font.setFamily(n); if (m_widget) m_widget->setFont(m_font); fontChanged(); }
void Control::setFontSize(double pt) { if (pt > 0) m_font.setPointSizeF(pt); if (m_widget) m_widget->setFont(m_font); fontChanged(); }
void Control::setFontBold(bool b) { m_font.setBold(b); if (m_widget) m_widget->setFont(m_font); fontChanged(); }
void Control::setFontItalic(bool b) { m_font.setItalic(b); if (m_widget) m_widget->setFont(m_font); fontChanged(); }

void Control::Refresh() { if (m_widget) m_widget->update(); }
void Control::SetFocus() { if (m_widget) m_widget->setFocus(Qt::OtherFocusReason); }
void Control::ZOrder(int position) {
    if (!m_widget) return;
    if (position == 0) m_widget->raise();
    else m_widget->lower();
}

QPoint Control::ScreenOrigin() const { return m_widget ? m_widget->mapToGlobal(QPoint(0, 0)) : QPoint(); }
double Control::EventUnitTwips() const { return 1.0; }

void Control::FireMouseDown(int b, int s, float x, float y) { if (m_enabled && MouseDown) MouseDown(b, s, x, y); }
void Control::FireMouseMove(int b, int s, float x, float y) {
    if (!m_enabled) return;
    // Tooltips are set while the mouse moves over a control; show the new text at once.
    const QString before = m_toolTip;
    if (MouseMove) MouseMove(b, s, x, y);
    if (m_widget && m_toolTip != before && m_widget->underMouse() && !m_toolTip.isEmpty())
        QToolTip::showText(QCursor::pos(), m_toolTip, m_widget);
}
void Control::FireMouseUp(int b, int s, float x, float y) { if (m_enabled && MouseUp) MouseUp(b, s, x, y); }
void Control::FireClick() { if (m_enabled && Click) Click(); }
void Control::FireDblClick() { if (m_enabled && DblClick) DblClick(); }
void Control::FireDragDrop(Control& source, float x, float y) {
    if (m_enabled && DragDrop) DragDrop(source, x, y);
}

namespace {
// The control being dragged; a mouse release anywhere drops it.
class Ziehen : public QObject {
public:
    Control* quelle = nullptr;
    bool eventFilter(QObject*, QEvent* e) override {
        if (quelle && e->type() == QEvent::MouseButtonRelease) quelle->Drag(2);
        return false;
    }
};
Ziehen& ziehen() {
    static Ziehen* z = [] {
        auto* p = new Ziehen;
        if (qApp) qApp->installEventFilter(p);
        return p;
    }();
    return *z;
}

// The visible control under a point of the screen, the innermost first.
Control* controlAt(QPoint global) {
    for (Form* f : AllForms()) {
        QWidget* top = f->Widget();
        if (!top || !top->isVisible()) continue;
        const QPoint lokal = top->mapFromGlobal(global);
        if (!top->rect().contains(lokal)) continue;
        for (QWidget* w = top->childAt(lokal); w && w != top; w = w->parentWidget())
            for (Control* c : f->Controls())
                if (c->Widget() == w && c->Visible()) return c;
        return nullptr;
    }
    return nullptr;
}
} // namespace

void Control::Drag(int action) {
    Ziehen& z = ziehen();
    if (action == 1) {
        z.quelle = this;
        return;
    }
    if (z.quelle != this) return;
    z.quelle = nullptr;
    if (action != 2) return;
    const QPoint at = GetCursorPos();
    Control* ziel = controlAt(at);
    if (!ziel) return;
    const QPointF p = EventPosition(QPointF(ziel->Widget()->mapFromGlobal(at)), ziel->EventUnitTwips());
    ziel->FireDragDrop(*this, float(p.x()), float(p.y()));
}

} // namespace vb
