#include "platform/window/ScrollBar.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/system/VBError.h"

#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace vb {

ScrollBar::ScrollBar(Form& f, QString name, int index, bool vertical) : Control(f, Kind::ScrollBar, std::move(name), index) {
    m_bar = new QScrollBar(vertical ? Qt::Vertical : Qt::Horizontal, f.ClientWidget());
    m_bar->setMouseTracking(true);
    m_bar->installEventFilter(new NativeEventFilter(*this, m_bar));
    QObject::connect(m_bar, &QScrollBar::valueChanged, [this](int v) {
        if (v == m_value) return;
        m_value = v;
        if (Change) Change();
    });
    sync();
    setWidget(m_bar);
}

void ScrollBar::sync() {
    QSignalBlocker block(m_bar);
    m_bar->setRange(std::min(m_min, m_max), std::max(m_min, m_max));
    m_bar->setSingleStep(m_small);
    m_bar->setPageStep(m_large);
    m_bar->setValue(m_value);
}

void ScrollBar::setMin(int v) { m_min = v; if (m_value < std::min(m_min, m_max)) m_value = std::min(m_min, m_max); sync(); }
void ScrollBar::setMax(int v) { m_max = v; if (m_value > std::max(m_min, m_max)) m_value = std::max(m_min, m_max); sync(); }
void ScrollBar::setSmallChange(int v) { m_small = std::max(1, v); sync(); }
void ScrollBar::setLargeChange(int v) { m_large = std::max(1, v); sync(); }
void ScrollBar::setValue(int v) {
    if (v < std::min(m_min, m_max) || v > std::max(m_min, m_max))
        throw VBError(380, QStringLiteral("ScrollBar"), QStringLiteral("Invalid property value"));
    if (v == m_value) return;
    m_value = v;
    sync();
    if (Change) Change();
}

} // namespace vb
