#include "platform/window/ComboBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/system/VBError.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace vb {

namespace {
QRect closedListPart(QSize px, QStyle::SubControl part) {
    QStyleOptionComboBox opt;
    opt.rect = QRect(QPoint(0, 0), px);
    opt.frame = true;
    opt.editable = false;
    opt.subControls = QStyle::SC_All;
    return QApplication::style()->subControlRect(QStyle::CC_ComboBox, &opt, part, nullptr);
}
} // namespace

// The style draws the text one pixel inside its edit field.
QRect ListTextRect(QSize px) { return closedListPart(px, QStyle::SC_ComboBoxEditField).adjusted(1, 0, -1, 0); }
QRect ListArrowRect(QSize px) { return closedListPart(px, QStyle::SC_ComboBoxArrow); }

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
    FitDropDown(*m_box);
}

void FitDropDown(QComboBox& box) {
    QAbstractItemView* v = box.view();
    int w = v->sizeHintForColumn(0) + 2 * v->frameWidth();
    if (box.count() > box.maxVisibleItems()) w += v->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, v);
    v->setMinimumWidth(w);
}

void ComboBox::Clear() {
    m_items.clear();
    m_index = -1;
    QSignalBlocker block(m_box);
    m_box->clear();
    FitDropDown(*m_box);
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
