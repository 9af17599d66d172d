#include "platform/window/Shape.h"

#include "platform/picture/Colour.h"
#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"

#include <QPainter>

namespace vb {

Shape::Shape(Form& f, QString name, int index) : Control(f, Kind::Shape, std::move(name), index) {
    auto* w = new ControlWidget(*this, f.ClientWidget());
    w->setAttribute(Qt::WA_TransparentForMouseEvents);
    setWidget(w);
}

void Shape::Paint(QPainter& p) {
    const QRect r = Widget()->rect();
    if (m_fillStyle == 0) p.fillRect(r, ToQColor(m_fill));
    if (m_borderWidth > 0) {
        p.setPen(QPen(ToQColor(m_border), m_borderWidth));
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

} // namespace vb
