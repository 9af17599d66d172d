#include "platform/window/PictureBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/window/Screen.h"

#include <QPainter>

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

void PictureBox::SetRoundRegion(int w, int h, int ew, int eh) { vb::SetRoundRegion(*Widget(), w, h, ew, eh); }

} // namespace vb
