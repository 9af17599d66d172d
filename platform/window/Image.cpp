#include "platform/window/Image.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/window/Screen.h"

#include <QPainter>

namespace vb {

Image::Image(Form& f, QString name, int index) : Control(f, Kind::Image, std::move(name), index) {
    setWidget(new ControlWidget(*this, f.ClientWidget()));
}

void Image::fitToPicture() {
    if (m_stretch || m_picture.IsEmpty()) return;
    const int tpp = Screen::TwipsPerPixelX();
    if (Width() != m_picture.Width() * tpp || Height() != m_picture.Height() * tpp)
        Move(Left(), Top(), double(m_picture.Width()) * tpp, double(m_picture.Height()) * tpp);
}

void Image::setPicture(const vb::Picture& p) {
    m_picture = p;
    fitToPicture();
    Refresh();
}

void Image::setStretch(bool s) {
    m_stretch = s;
    fitToPicture();
    Refresh();
}

void Image::Paint(QPainter& p) {
    const QRect r = Widget()->rect();
    if (!m_picture.IsEmpty()) {
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        if (m_stretch) p.drawImage(r, m_picture.Image());
        else p.drawImage(0, 0, m_picture.Image());
    }
    if (m_borderStyle == 1) {
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(0, 0, -1, -1));
    }
}

} // namespace vb
