#include "platform/window/TextBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/window/Keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace vb {
namespace {
class KeyFilter : public NativeEventFilter {
public:
    KeyFilter(Control& c, QObject* watched) : NativeEventFilter(c, watched), m_c(c) {}
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(e);
            int ascii = KeyAscii(ke);
            return m_c.Parent().DispatchKey(&m_c, VirtualKey(ke), ShiftState(ke->modifiers()), ascii);
        }
        return NativeEventFilter::eventFilter(o, e);
    }

private:
    Control& m_c;
};
} // namespace

TextBox::TextBox(Form& f, QString name, int index, bool multiLine) : Control(f, Kind::TextBox, std::move(name), index) {
    QWidget* w;
    if (multiLine) {
        m_multi = new QPlainTextEdit(f.ClientWidget());
        m_multi->setFrameStyle(0);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        m_multi->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        QObject::connect(m_multi, &QPlainTextEdit::textChanged, [this] { if (!m_settingText && Change) Change(); });
        w = m_multi;
        m_multi->viewport()->setMouseTracking(true);
        m_multi->viewport()->installEventFilter(new NativeEventFilter(*this, m_multi->viewport()));
    } else {
        m_line = new QLineEdit(f.ClientWidget());
        m_line->setFrame(false);
        QObject::connect(m_line, &QLineEdit::textChanged, [this] { if (!m_settingText && Change) Change(); });
        w = m_line;
    }
    w->setMouseTracking(true);
    w->installEventFilter(new KeyFilter(*this, w));
    setWidget(w);
}

QString TextBox::Text() const { return m_multi ? m_multi->toPlainText() : m_line->text(); }

void TextBox::setText(const QString& t) {
    if (t == Text()) return;
    m_settingText = true;
    if (m_multi) m_multi->setPlainText(t);
    else m_line->setText(t);
    m_settingText = false;
    if (Change) Change();
}

void TextBox::setLocked(bool l) {
    m_locked = l;
    if (m_multi) m_multi->setReadOnly(l);
    else m_line->setReadOnly(l);
}

int TextBox::SelStart() const {
    if (m_multi) return m_multi->textCursor().selectionStart();
    return m_line->hasSelectedText() ? m_line->selectionStart() : m_line->cursorPosition();
}
int TextBox::SelLength() const {
    if (m_multi) {
        const QTextCursor c = m_multi->textCursor();
        return c.selectionEnd() - c.selectionStart();
    }
    return int(m_line->selectedText().size());
}
void TextBox::setSelStart(int s) {
    s = std::clamp(s, 0, int(Text().size()));
    if (m_multi) {
        QTextCursor c = m_multi->textCursor();
        c.setPosition(s);
        m_multi->setTextCursor(c);
    } else {
        m_line->setCursorPosition(s);
    }
}
void TextBox::setSelLength(int n) {
    const int s = SelStart();
    const int e = std::clamp(s + n, 0, int(Text().size()));
    if (m_multi) {
        QTextCursor c = m_multi->textCursor();
        c.setPosition(s);
        c.setPosition(e, QTextCursor::KeepAnchor);
        m_multi->setTextCursor(c);
    } else {
        m_line->setSelection(s, e - s);
    }
}

void TextBox::SendKey(int qtKey, const QString& text, Qt::KeyboardModifiers mods) {
    QKeyEvent press(QEvent::KeyPress, qtKey, mods, text);
    QApplication::sendEvent(Widget(), &press);
    QKeyEvent release(QEvent::KeyRelease, qtKey, mods, text);
    QApplication::sendEvent(Widget(), &release);
}

} // namespace vb
