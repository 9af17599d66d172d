#include "platform/window/Label.h"

#include "platform/picture/Colour.h"
#include "platform/window/ComboBox.h"
#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"

#include <QPainter>

namespace vb {

Label::Label(Form& f, QString name, int index) : Control(f, Kind::Label, std::move(name), index) {
    setWidget(new ControlWidget(*this, f.ClientWidget()));
}

void Label::setCaption(const QString& c) {
    if (c == m_caption) return;
    m_caption = c;
    Refresh();
    if (Change) Change();
}

QRect Label::TextRect() const {
    const QRect r = Widget()->rect();
    return m_listLook ? ListTextRect(r.size()) : r.adjusted(2, 0, -2, 0);
}

void Label::Paint(QPainter& p) {
    const QRect r = Widget()->rect();
    if (m_backStyle == 1) p.fillRect(r, ToQColor(m_backColor));
    p.setPen(ToQColor(m_foreColor));
    p.setFont(Font());
    const int align = (m_alignment == 1 ? Qt::AlignRight : m_alignment == 2 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter |
                      (m_listLook ? Qt::TextSingleLine : Qt::TextWordWrap);
    p.drawText(TextRect(), align, m_caption);
}

} // namespace vb
