#pragma once
#include "platform/window/Control.h"

class QLineEdit;
class QPlainTextEdit;

namespace vb {

// A text box, one line or several. Keys reach the window first, then KeyDown and KeyPress,
// either of which can swallow them by setting the code to 0.
class TextBox : public Control {
public:
    TextBox(Form& f, QString name, int index, bool multiLine);
    QString Text() const;
    void setText(const QString& t); // runs Change
    bool Locked() const { return m_locked; }
    void setLocked(bool l);
    int SelStart() const;
    void setSelStart(int s);
    int SelLength() const;
    void setSelLength(int n);
    bool IsWindowed() const override { return true; }
    // Delivers a key as the keyboard would (tests type through this).
    void SendKey(int qtKey, const QString& text, Qt::KeyboardModifiers mods = Qt::NoModifier);

private:
    QLineEdit* m_line = nullptr;
    QPlainTextEdit* m_multi = nullptr;
    bool m_locked = false;
    bool m_settingText = false;
};

} // namespace vb
