#pragma once
// A borderless top-level window built from its layout table. It is loaded on first use, shown
// modeless or modally (a nested event loop until it is hidden), and never destroyed by Unload,
// so references to its controls stay valid; loading it again restores its design.
#include "platform/window/Control.h"
#include "platform/window/Layout.h"
#include "platform/picture/Surface.h"

#include <QEventLoop>
#include <array>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace vb {

class Form;

class FormWidget : public QWidget {
public:
    explicit FormWidget(Form& f);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseDoubleClickEvent(QMouseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void closeEvent(QCloseEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void moveEvent(QMoveEvent*) override;

private:
    Form& m_f;
};

enum { vbModeless = 0, vbModal = 1 };
enum { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
enum { vbFormControlMenu = 0, vbFormCode = 1 };

class Form : public Surface {
public:
    // A window whose rows bind its controls to its members (see Layout.h).
    Form(QString name, std::span<const LayoutRow> layout, double widthTwips, double heightTwips);
    // A window of plain rows without members (the picture store, tests' small windows).
    Form(QString name, std::span<const LayoutItem> layout, double widthTwips, double heightTwips);
    ~Form() override;

    const QString& Name() const { return m_name; }
    QString Caption() const;
    void setCaption(const QString& c);

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void Move(double left, double top);

    int PaletteMode() const { return m_paletteMode; }
    void setPaletteMode(int m) { m_paletteMode = m; }
    bool Visible() const;
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool e);
    // Mouse pointer over the window: 0 default, 2 cross, 3 I-beam, 11 hourglass (1 to 15).
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int p);
    int WindowState() const;
    void setWindowState(int s);
    void setTopmost(bool on);
    // Cuts the window to a rounded rectangle of w x h pixels with the given corner ellipse.
    void SetRoundRegion(int w, int h, int ellipseW, int ellipseH);

    bool IsLoaded() const { return m_loaded; }
    void Load();   // runs Form_Load when not loaded, then the window's adaptation to the screen
    // Loads the window and adapts it to the screen with `adapt`. The window keeps the adaptation
    // and repeats it after every later load, whoever loads it, so it has one size at every load.
    void LoadAdapted(std::function<void(Form&)> adapt);
    void Show(int modal = vbModeless);
    void Hide();
    void Unload();
    bool IsModalShowing() const { return m_modalLoop != nullptr; }
    bool ShownOnce() const { return m_shownOnce; } // shown at least once since it was created

    // Controls in the window's control order.
    const std::vector<Control*>& Controls() const { return m_order; }
    Control* Find(const QString& name, int index = -1) const;
    template <class T>
    T* Get(const char* name, int index = -1) const {
        return dynamic_cast<T*>(Find(QString::fromLatin1(name), index));
    }
    // Adds a row of the window's own (no container, no member) after its table: the picture store
    // derives some of its pictures from the buttons that ask for them. Two rows of one name are a fault.
    Control* AddRow(const LayoutItem& row);
    // The rows, one per control (grids expanded), in the window's control order.
    std::span<const LayoutItem> LayoutTable() const { return m_items; }

    FormWidget* Widget() const { return m_widget.get(); }
    QWidget* ClientWidget() const { return m_widget.get(); }
    // Lets the window manager move the window with the mouse until the button is released.
    void BeginSystemMove();

    // Keys: the window sees each key first (as with key preview), then the control with the focus.
    bool DispatchKey(Control* target, int keyCode, int shift, int& keyAscii);

    virtual void Form_Load() {}
    virtual void Form_Activate() {}
    virtual void Form_Resize() {}
    virtual void Form_Click() {}
    virtual void Form_DblClick() {}
    virtual void Form_MouseDown(int, int, float, float) {}
    virtual void Form_MouseMove(int, int, float, float) {}
    virtual void Form_MouseUp(int, int, float, float) {}
    virtual void Form_KeyDown(int&, int) {}
    virtual void Form_KeyPress(int&) {}
    virtual void Form_Unload() {}
    // Before a close from outside (the window manager's close): Cancel nonzero keeps the window.
    virtual void Form_QueryUnload(int& /*Cancel*/, int /*UnloadMode*/) {}

protected:
    // Design-time properties beyond the layout table; runs at every load.
    virtual void Design() {}
    // Wires the handlers to the controls; runs once, after the rows have set the members.
    virtual void Wire() {}
    // Control members announce themselves (VB_CONTROLS, VB_ARRAYS), so that a member without a
    // row is reported when the window loads.
    template <class T>
    T* DeclareControl(T** slot, const char* name) {
        m_declared.push_back({slot, name, -1});
        return nullptr;
    }
    template <class T, std::size_t N>
    std::array<T*, N> DeclareControls(std::array<T*, N>* members, const char* name, std::size_t first = 0) {
        for (std::size_t i = first; i < N; ++i) m_declared.push_back({&(*members)[i], name, int(i)});
        return {};
    }
    void surfaceChanged() override;

private:
    friend class FormWidget;
    void build();
    void applyDesign();
    QRect pixelGeometry() const; // the window's place and size in pixels, from its twips
    void applyWindowGeometry();
    void keepInsideScreen();
    QString m_name;
    std::vector<LayoutItem> m_items;
    std::vector<Binder> m_binders; // per item
    struct Declared {
        const void* slot;
        const char* name;
        int index;
    };
    std::vector<Declared> m_declared;
    double m_designW, m_designH;
    double m_left = 0, m_top = 0, m_width, m_height;
    int m_paletteMode = 1;
    bool m_enabled = true;
    int m_mousePointer = 0;
    bool m_loaded = false;
    bool m_built = false;
    bool m_shownOnce = false;
    bool m_settingGeometry = false;
    std::function<void(Form&)> m_adapt;
    std::unique_ptr<FormWidget> m_widget;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::vector<Control*> m_order;
    std::map<std::pair<QString, int>, Control*> m_byName;
    QEventLoop* m_modalLoop = nullptr;
    std::optional<quint64> m_movedAtPress; // the press that started the last system move
};

// Called whenever a window is shown modally, after its activation: tests answer dialogs here.
using ModalHook = std::function<void(Form&)>;

// All windows that exist, most recently shown first.
std::vector<Form*> AllForms();

// Destroys every window instance (tests start each case with fresh windows).
void DestroyAllInstances();
void RegisterInstance(std::function<void()> destroy);

// The program-wide instance of a window, created and loaded on first reference.
template <class T>
class Instance {
public:
    T* operator->() { return &get(); }
    T& operator*() { return get(); }
    T& get() {
        if (!m_p) {
            m_p = std::make_unique<T>();
            RegisterInstance([this] { m_p.reset(); });
        }
        if (!m_p->IsLoaded()) m_p->Load();
        return *m_p;
    }
    bool IsLoaded() const { return m_p && m_p->IsLoaded(); }
    T* Peek() const { return m_p.get(); } // without loading
    void Destroy() { m_p.reset(); }        // tests only: a fresh window next time

private:
    std::unique_ptr<T> m_p;
};

} // namespace vb
