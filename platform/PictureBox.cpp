#include "platform/PictureBox.h"

#include "platform/ControlWidget.h"
#include "platform/Form.h"
#include "platform/Screen.h"

#include <QPainter>
#include <QPainterPath>
#include <QRegion>

namespace vb {

PictureBox::PictureBox(Form& f, QString name, int index) : Control(f, Kind::PictureBox, std::move(name), index) {
    auto* w = new ControlWidget(*this, f.ClientWidget());
    w->setAttribute(Qt::WA_OpaquePaintEvent);
    setWidget(w);
}

double PictureBox::EventUnitTwips() const { return ScaleMode() == vbPixels ? Screen::TwipsPerPixelX() : 1.0; }

void PictureBox::geometryChanged() { resizeSurface(TwipsToPx(Width()), TwipsToPx(Height())); }

void PictureBox::Paint(QPainter& p) {
    p.drawImage(0, 0, hDC());
    if (m_borderStyle == 1) {
        p.setPen(Qt::black);
        p.drawRect(Widget()->rect().adjusted(0, 0, -1, -1));
    }
}

void PictureBox::SetRoundRegion(int w, int h, int ew, int eh) {
    QPainterPath path;
    path.addRoundedRect(QRectF(0, 0, w, h), ew / 2.0, eh / 2.0);
    Widget()->setMask(QRegion(path.toFillPolygon().toPolygon()));
}

} // namespace vb
