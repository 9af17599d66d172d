#include "platform/window/ComboBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/system/VBError.h"

#include <QComboBox>
#include <QSignalBlocker>

namespace vb {

ComboBox::ComboBox(Form& f, QString name, int index) : Control(f, Kind::ComboBox, std::move(name), index) {
    m_box = new QComboBox(f.ClientWidget());
    m_box->setMouseTracking(true);
    m_box->installEventFilter(new NativeEventFilter(*this, m_box));
    QObject::connect(m_box, QOverload<int>::of(&QComboBox::activated), [this](int i) { Choose(i); });
    setWidget(m_box);
}

void ComboBox::sync() {
    QSignalBlocker block(m_box);
    m_box->setCurrentIndex(m_index);
}

void ComboBox::AddItem(const QString& item) {
    m_items << item;
    QSignalBlocker block(m_box);
    m_box->addItem(item);
    m_box->setCurrentIndex(m_index);
}

void ComboBox::Clear() {
    m_items.clear();
    m_index = -1;
    QSignalBlocker block(m_box);
    m_box->clear();
}

void ComboBox::setListIndex(int i) {
    if (i < -1 || i >= ListCount()) throw VBError(380, QStringLiteral("ComboBox"), QStringLiteral("Invalid property value"));
    if (i == m_index) return;
    m_index = i;
    sync();
    if (Click) Click();
}

void ComboBox::Choose(int i) {
    if (i < 0 || i >= ListCount()) return;
    m_index = i;
    sync();
    if (Click) Click();
}

} // namespace vb
