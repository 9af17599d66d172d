#pragma once
// Base of every control: geometry in twips relative to its container, the common properties,
// and the events, delivered through handlers that the owning window assigns.
#include <QFont>
#include <QString>
#include <QWidget>
#include <functional>

namespace vb {

class Form;

enum class Kind { Label, Image, PictureBox, TextBox, Timer, Shape, ComboBox, ScrollBar, FileListBox, DirListBox, DriveListBox };

// Mouse buttons and shift keys as event arguments.
enum { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };
enum { vbShiftMask = 1, vbCtrlMask = 2, vbAltMask = 4 };

using MouseHandler = std::function<void(int Button, int Shift, float X, float Y)>;
using KeyDownHandler = std::function<void(int& KeyCode, int Shift)>;
using KeyPressHandler = std::function<void(int& KeyAscii)>;

class Control {
public:
    Control(Form& form, Kind kind, QString name, int index);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    Form& Parent() const { return m_form; }
    Kind ControlKind() const { return m_kind; }
    const QString& Name() const { return m_name; }
    int Index() const { return m_index; } // -1 outside control arrays
    Control* Container() const { return m_container; }
    void SetContainer(Control* container); // nullptr: the window itself

    double Left() const { return m_left; }
    double Top() const { return m_top; }
    double Width() const { return m_width; }
    double Height() const { return m_height; }
    void setLeft(double v);
    void setTop(double v);
    void setWidth(double v);
    void setHeight(double v);
    void Move(double left, double top, double width, double height);

    bool Visible() const { return m_visible; }
    void setVisible(bool v);
    bool Enabled() const { return m_enabled; }
    void setEnabled(bool v);
    // Mouse pointer over the control: 0 default, 2 cross, 3 I-beam, 11 hourglass (1 to 15).
    int MousePointer() const { return m_mousePointer; }
    void setMousePointer(int p);
    const QString& Tag() const { return m_tag; }
    void setTag(const QString& t) { m_tag = t; }
    const QString& ToolTipText() const { return m_toolTip; }
    void setToolTipText(const QString& t);

    QString FontName() const { return m_font.family(); }
    void setFontName(const QString& n);
    double FontSize() const { return m_font.pointSizeF(); }
    void setFontSize(double pt);
    bool FontBold() const { return m_font.bold(); }
    void setFontBold(bool b);
    bool FontItalic() const { return m_font.italic(); }
    void setFontItalic(bool b);
    const QFont& Font() const { return m_font; }
    // Image controls have a Stretch property; the scaling of windows asks for it.
    virtual bool HasStretch() const { return false; }
    virtual bool HasFont() const { return true; }
    // Controls with a window of their own (picture boxes, text boxes, lists); labels, images and
    // shapes are drawn on their container and are never "the window under the cursor".
    virtual bool IsWindowed() const { return false; }

    void Refresh();
    void SetFocus();
    void ZOrder(int position = 0); // 0: to the front

    QWidget* Widget() const { return m_widget; }
    // Position of the control's client area on the screen, in pixels.
    QPoint ScreenOrigin() const;
    // Event coordinates: twips per event unit (picture boxes in pixels report 1).
    virtual double EventUnitTwips() const;

    std::function<void()> Click, DblClick, Change, GotFocus, LostFocus;
    MouseHandler MouseDown, MouseMove, MouseUp;
    KeyDownHandler KeyDown;
    KeyPressHandler KeyPress;
    // Another control was dragged and dropped onto this one at X, Y (this control's units).
    std::function<void(Control& source, float X, float Y)> DragDrop;

    // Dragging this control: 1 begins (the next mouse release drops it), 2 drops it now onto the
    // control under the cursor, 0 cancels.
    void Drag(int action = 1);

    // Called by the widgets; tests call them to act as the user.
    void FireMouseDown(int button, int shift, float x, float y);
    void FireMouseMove(int button, int shift, float x, float y);
    void FireMouseUp(int button, int shift, float x, float y);
    void FireClick();
    void FireDblClick();
    void FireDragDrop(Control& source, float x, float y);

    virtual void Paint(class QPainter&) {}

protected:
    void setWidget(QWidget* w);
    virtual void geometryChanged() {}
    virtual void fontChanged() {}
    void applyGeometry();

private:
    Form& m_form;
    Kind m_kind;
    QString m_name;
    int m_index;
    Control* m_container = nullptr;
    QWidget* m_widget = nullptr;
    double m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    bool m_visible = true, m_enabled = true;
    int m_mousePointer = 0;
    QString m_tag, m_toolTip;
    QFont m_font;
};

// Pixels for a length in twips on the current screen.
int TwipsToPx(double twips);

} // namespace vb
