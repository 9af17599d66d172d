#include "platform/window/Form.h"

#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/ControlWidget.h"
#include "platform/window/DirListBox.h"
#include "platform/window/DriveListBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Cursor.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/window/Shape.h"
#include "platform/window/Skin.h"
#include "platform/window/TextBox.h"
#include "platform/window/Timer.h"

#include <QApplication>
#include <QScreen>
#include "platform/system/Seams.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace vb {
namespace {
ModalHook& modalHook() { return seams().modal; }
std::vector<Form*>& registry() {
    static std::vector<Form*> r;
    return r;
}
void bringToFront(Form* f) {
    auto& r = registry();
    r.erase(std::remove(r.begin(), r.end(), f), r.end());
    r.insert(r.begin(), f);
}

std::unique_ptr<Control> createControl(Form& f, const LayoutItem& it) {
    const QString name = QString::fromLatin1(it.name);
    switch (it.kind) {
    case Kind::Label: return std::make_unique<Label>(f, name, it.index);
    case Kind::Image: return std::make_unique<Image>(f, name, it.index);
    case Kind::PictureBox: return std::make_unique<PictureBox>(f, name, it.index);
    case Kind::TextBox: return std::make_unique<TextBox>(f, name, it.index, std::strstr(it.face, "multi") != nullptr);
    case Kind::Timer: return std::make_unique<Timer>(f, name, it.index);
    case Kind::Shape: return std::make_unique<Shape>(f, name, it.index);
    case Kind::ComboBox: return std::make_unique<ComboBox>(f, name, it.index);
    case Kind::ScrollBar: return std::make_unique<ScrollBar>(f, name, it.index, it.height > it.width);
    case Kind::FileListBox: return std::make_unique<FileListBox>(f, name, it.index);
    case Kind::DirListBox: return std::make_unique<DirListBox>(f, name, it.index);
    case Kind::DriveListBox: return std::make_unique<DriveListBox>(f, name, it.index);
    }
    return nullptr;
}
} // namespace

namespace {
std::vector<std::function<void()>>& instances() {
    static std::vector<std::function<void()>> v;
    return v;
}
} // namespace
void RegisterInstance(std::function<void()> destroy) { instances().push_back(std::move(destroy)); }
void DestroyAllInstances() {
    auto all = std::move(instances());
    instances().clear();
    // Windows made later are destroyed first, as their controls may refer to earlier ones.
    for (auto it = all.rbegin(); it != all.rend(); ++it) (*it)();
}
std::vector<Form*> AllForms() { return registry(); }

FormWidget::FormWidget(Form& f) : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), m_f(f) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

void FormWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_f.hDC());
}

static double unitTwips(const Form& f) { return f.ScaleMode() == vbPixels ? Screen::TwipsPerPixelX() : 1.0; }
static float fx(const Form& f, const QMouseEvent* e) { return float(EventPosition(e->position(), unitTwips(f)).x()); }
static float fy(const Form& f, const QMouseEvent* e) { return float(EventPosition(e->position(), unitTwips(f)).y()); }

void FormWidget::mousePressEvent(QMouseEvent* e) { m_f.Form_MouseDown(MouseButtons(e->button()), ShiftState(e->modifiers()), fx(m_f, e), fy(m_f, e)); }
void FormWidget::mouseMoveEvent(QMouseEvent* e) { m_f.Form_MouseMove(MouseButtons(e->buttons()), ShiftState(e->modifiers()), fx(m_f, e), fy(m_f, e)); }
void FormWidget::mouseReleaseEvent(QMouseEvent* e) {
    m_f.Form_MouseUp(MouseButtons(e->button()), ShiftState(e->modifiers()), fx(m_f, e), fy(m_f, e));
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) m_f.Form_Click();
}
void FormWidget::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) m_f.Form_DblClick();
}
void FormWidget::keyPressEvent(QKeyEvent* e) {
    int ascii = KeyAscii(e);
    m_f.DispatchKey(nullptr, VirtualKey(e), ShiftState(e->modifiers()), ascii);
}
void FormWidget::closeEvent(QCloseEvent* e) {
    // The program decides what a close from outside means; windows without an answer of their
    // own are hidden.
    e->ignore();
    int cancel = 0;
    m_f.Form_QueryUnload(cancel, vbFormControlMenu);
    if (cancel == 0) m_f.Hide();
}
void FormWidget::resizeEvent(QResizeEvent*) {}
void FormWidget::moveEvent(QMoveEvent*) {
    if (m_f.m_settingGeometry) return;
    const int tpp = Screen::TwipsPerPixelX();
    m_f.m_left = double(pos().x()) * tpp;
    m_f.m_top = double(pos().y()) * tpp;
}

namespace {
class PressCounter;
PressCounter& pressCounter();
} // namespace

Form::Form(QString name, std::span<const LayoutRow> layout, double w, double h)
    : m_name(std::move(name)), m_designW(w), m_designH(h), m_width(w), m_height(h) {
    for (const LayoutRow& r : layout) {
        if (r.lefts.n == 0) {
            m_items.push_back(r.item);
            m_binders.push_back(r.bind);
            continue;
        }
        for (int row = 0; row < r.tops.n; ++row)
            for (int col = 0; col < r.lefts.n; ++col) {
                LayoutItem it = r.item;
                it.index = row * r.lefts.n + col;
                it.left = r.lefts.v[col];
                it.top = r.tops.v[row];
                for (const GridPlace& p : r.places)
                    if (p.index == it.index) {
                        it.left = p.left;
                        it.top = p.top;
                    }
                m_items.push_back(it);
                m_binders.push_back(r.bind);
            }
    }
    pressCounter();
    m_widget = std::make_unique<FormWidget>(*this);
    registry().push_back(this);
}

Form::Form(QString name, std::span<const LayoutItem> layout, double w, double h)
    : m_name(std::move(name)), m_items(layout.begin(), layout.end()), m_binders(layout.size(), nullptr), m_designW(w), m_designH(h),
      m_width(w), m_height(h) {
    pressCounter();
    m_widget = std::make_unique<FormWidget>(*this);
    registry().push_back(this);
}

Form::~Form() {
    auto& r = registry();
    r.erase(std::remove(r.begin(), r.end(), this), r.end());
    if (m_modalLoop) m_modalLoop->quit();
    // Controls' widgets are children of the window's widget; release ours first.
    m_controls.clear();
}

void Form::build() {
    // A table that does not fit the window's members is a fault of the program: it is reported
    // here, when the window loads, rather than at the first use of the control.
    auto fault = [this](const LayoutItem& it, const char* what) {
        QString where = QString::fromLatin1(it.name);
        if (it.index >= 0) where += QStringLiteral("(%1)").arg(it.index);
        throw std::logic_error(QStringLiteral("%1: %2 %3").arg(m_name, where, QLatin1String(what)).toStdString());
    };
    std::vector<const void*> bound;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const LayoutItem& it = m_items[i];
        auto c = createControl(*this, it);
        Control* raw = c.get();
        if (raw->Widget()) raw->Widget()->setProperty("vbControl", QVariant::fromValue(static_cast<void*>(raw)));
        if (!m_byName.emplace(std::pair{raw->Name(), raw->Index()}, raw).second) fault(it, "has two rows");
        if (*it.container) {
            const Control* box = Find(QString::fromLatin1(it.container));
            if (!box || box->ControlKind() != Kind::PictureBox) fault(it, "lies in no picture box listed before it");
        }
        if (m_binders[i]) {
            const void* slot = m_binders[i](*this, raw, it.index);
            if (!slot) fault(it, "has an index its member does not hold");
            if (std::none_of(m_declared.begin(), m_declared.end(), [slot](const Declared& d) { return d.slot == slot; }))
                fault(it, "binds a member that is not declared as a control");
            bound.push_back(slot);
        }
        m_order.push_back(raw);
        m_controls.push_back(std::move(c));
    }
    for (const Declared& d : m_declared)
        if (std::find(bound.begin(), bound.end(), d.slot) == bound.end()) fault(LayoutItem{d.name, Kind::Label, d.index, 0, 0, 0, 0}, "has no row");
    m_built = true;
    Wire();
}

Control* Form::AddRow(const LayoutItem& it) {
    if (*it.container) throw std::logic_error(QStringLiteral("%1: %2 is added into a container").arg(m_name, QLatin1String(it.name)).toStdString());
    if (!m_built) build();
    auto c = createControl(*this, it);
    Control* raw = c.get();
    if (raw->Widget()) raw->Widget()->setProperty("vbControl", QVariant::fromValue(static_cast<void*>(raw)));
    if (!m_byName.emplace(std::pair{raw->Name(), raw->Index()}, raw).second)
        throw std::logic_error(QStringLiteral("%1: %2 has two rows").arg(m_name, QLatin1String(it.name)).toStdString());
    m_items.push_back(it);
    m_binders.push_back(nullptr);
    m_order.push_back(raw);
    m_controls.push_back(std::move(c));
    if (m_loaded) {
        // Placed as a load places the rows of the table.
        raw->SetContainer(nullptr);
        raw->Move(it.left, it.top, it.width, it.height);
        raw->setVisible(true);
        raw->setEnabled(true);
        if (raw->IsWindowed() && raw->Widget()) raw->Widget()->raise();
        Skin::PaintControl(*this, m_items.back());
    }
    return raw;
}

void Form::applyDesign() {
    m_width = m_designW;
    m_height = m_designH;
    m_paletteMode = 1;
    for (size_t i = 0; i < m_items.size(); ++i) {
        const LayoutItem& it = m_items[i];
        Control* c = m_order[i];
        Control* container = *it.container ? Find(QString::fromLatin1(it.container)) : nullptr;
        c->SetContainer(container);
        c->Move(it.left, it.top, it.width, it.height);
        c->setVisible(true);
        c->setEnabled(true);
    }
    // Controls with windows of their own lie above the drawn ones of the same container.
    for (Control* c : m_order)
        if (c->IsWindowed() && c->Widget()) c->Widget()->raise();
    Design();
    applyWindowGeometry();
    Skin::Paint(*this);
}

void Form::Load() {
    if (m_loaded) return;
    if (!m_built) build();
    applyDesign();
    m_loaded = true;
    m_shownOnce = false;
    Form_Load();
    if (m_adapt) m_adapt(*this);
}

void Form::LoadAdapted(std::function<void(Form&)> adapt) {
    m_adapt = std::move(adapt);
    if (m_loaded) m_adapt(*this);
    else Load();
}

QString Form::Caption() const { return m_widget->windowTitle(); }
void Form::setCaption(const QString& c) { m_widget->setWindowTitle(c); }

QRect Form::pixelGeometry() const {
    const int tpp = Screen::TwipsPerPixelX();
    const int w = std::max(1, int(std::lround(m_width / tpp))), h = std::max(1, int(std::lround(m_height / tpp)));
    return QRect(int(std::lround(m_left / tpp)), int(std::lround(m_top / tpp)), w, h);
}

void Form::applyWindowGeometry() {
    const QRect g = pixelGeometry();
    m_settingGeometry = true;
    m_widget->setGeometry(g);
    m_settingGeometry = false;
    resizeSurface(g.width(), g.height());
}

// A window that opens partly off the screen is moved in, no further than needed, into the area
// the desktop leaves free (panels excluded); one larger than that area keeps its top left inside.
void Form::keepInsideScreen() {
    const QRect frei = Screen::AvailableArea();
    if (frei.isEmpty()) return;
    const QRect g = pixelGeometry();
    const int nx = std::max(frei.left(), std::min(g.x(), frei.right() + 1 - g.width()));
    const int ny = std::max(frei.top(), std::min(g.y(), frei.bottom() + 1 - g.height()));
    if (nx == g.x() && ny == g.y()) return;
    const int tpp = Screen::TwipsPerPixelX();
    m_left = double(nx) * tpp;
    m_top = double(ny) * tpp;
    applyWindowGeometry();
}

void Form::setLeft(double v) { m_left = v; applyWindowGeometry(); }
void Form::setTop(double v) { m_top = v; applyWindowGeometry(); }
void Form::Move(double l, double t) { m_left = l; m_top = t; applyWindowGeometry(); }
void Form::setWidth(double v) {
    const bool changed = v != m_width;
    m_width = v;
    applyWindowGeometry();
    if (changed && m_loaded) Form_Resize();
}
void Form::setHeight(double v) {
    const bool changed = v != m_height;
    m_height = v;
    applyWindowGeometry();
    if (changed && m_loaded) Form_Resize();
}

bool Form::Visible() const { return m_widget->isVisible(); }
void Form::setMousePointer(int p) {
    m_mousePointer = p;
    ApplyMousePointer(m_widget.get(), p);
}

void Form::setEnabled(bool e) {
    m_enabled = e;
    m_widget->setEnabled(e);
}
int Form::WindowState() const { return m_widget->isMinimized() ? vbMinimized : m_widget->isMaximized() ? vbMaximized : vbNormal; }
void Form::setWindowState(int s) {
    if (s == vbMinimized) m_widget->setWindowState(m_widget->windowState() | Qt::WindowMinimized);
    else m_widget->setWindowState(m_widget->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized));
}
void Form::setTopmost(bool on) {
    // Changing the flag hides and shows the window again; unchanged, it is left alone.
    if (m_widget->windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) return;
    const bool vis = m_widget->isVisible();
    m_widget->setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (vis) m_widget->show();
}

void Form::SetRoundRegion(int w, int h, int ew, int eh) { vb::SetRoundRegion(*m_widget, w, h, ew, eh); }

void Form::surfaceChanged() { m_widget->update(); }

void Form::Show(int modal) {
    Load();
    const bool wasVisible = m_widget->isVisible();
    if (modal == vbModal) m_widget->setWindowModality(Qt::ApplicationModal);
    m_widget->show();
    bringToFront(this);
    if (!m_shownOnce) {
        m_shownOnce = true;
        Form_Resize();
    }
    if (!wasVisible || modal == vbModal) Form_Activate();
    if (!wasVisible) keepInsideScreen();
    if (modal != vbModal) return;
    if (modalHook()) modalHook()(*this);
    if (!m_widget->isVisible()) {
        m_widget->setWindowModality(Qt::NonModal);
        return;
    }
    QEventLoop loop;
    QEventLoop* outer = m_modalLoop;
    m_modalLoop = &loop;
    loop.exec(QEventLoop::DialogExec);
    m_modalLoop = outer;
}

void Form::Hide() {
    m_widget->hide();
    m_widget->setWindowModality(Qt::NonModal);
    if (m_modalLoop) m_modalLoop->quit();
}

void Form::Unload() {
    if (!m_loaded) return;
    Form_Unload();
    Hide();
    m_loaded = false;
}

Control* Form::Find(const QString& name, int index) const {
    auto it = m_byName.find({name, index});
    return it == m_byName.end() ? nullptr : it->second;
}

namespace {
// Counts mouse presses anywhere in the program. While the window manager moves a window it
// holds the pointer, so the release never reaches us and later moves still report the button.
class PressCounter : public QObject {
public:
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonPress) ++presses;
        return false;
    }
    quint64 presses = 0;
};
PressCounter& pressCounter() {
    static PressCounter* c = [] {
        auto* p = new PressCounter;
        if (qApp) qApp->installEventFilter(p);
        return p;
    }();
    return *c;
}
} // namespace

void Form::BeginSystemMove() {
    // One move per press: a second one would leave the window following the pointer after
    // the button is released.
    const quint64 press = pressCounter().presses;
    if (m_movedAtPress && *m_movedAtPress == press) return;
    m_movedAtPress = press;
    if (seams().systemMove) seams().systemMove(*this);
    else if (auto* h = m_widget->windowHandle()) h->startSystemMove();
}

bool Form::DispatchKey(Control* target, int keyCode, int shift, int& keyAscii) {
    const int code0 = keyCode, ascii0 = keyAscii;
    Form_KeyDown(keyCode, shift);
    if (target && keyCode != 0 && target->KeyDown) target->KeyDown(keyCode, shift);
    if (keyAscii != 0) {
        Form_KeyPress(keyAscii);
        if (target && keyAscii != 0 && target->KeyPress) target->KeyPress(keyAscii);
    }
    return (ascii0 != 0 && keyAscii == 0) || (ascii0 == 0 && code0 != 0 && keyCode == 0);
}

} // namespace vb
