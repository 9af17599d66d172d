#include "platform/picture/Surface.h"

#include "platform/window/Screen.h"

#include <QPainter>
#include <cmath>

namespace vb {

int Surface::toPx(double v) const {
    // Scale coordinates fall on the pixel that contains them.
    const double px = m_scaleMode == vbPixels ? v : v / Screen::TwipsPerPixelX();
    return int(std::floor(px + 1e-9));
}

double Surface::ScaleWidth() const { return m_scaleMode == vbPixels ? m_image.width() : double(m_image.width()) * Screen::TwipsPerPixelX(); }
double Surface::ScaleHeight() const { return m_scaleMode == vbPixels ? m_image.height() : double(m_image.height()) * Screen::TwipsPerPixelY(); }

void Surface::setBackColor(long c) {
    m_backColor = c;
    Cls();
}

void Surface::resizeSurface(int w, int h) {
    w = std::max(1, w);
    h = std::max(1, h);
    if (w == m_image.width() && h == m_image.height()) return;
    QImage next(w, h, QImage::Format_RGB32);
    next.fill(ToQColor(m_backColor));
    {
        QPainter p(&next);
        p.drawImage(0, 0, m_image);
    }
    m_image = std::move(next);
    surfaceChanged();
}

void Surface::setPicture(const vb::Picture& p) {
    m_picture = p;
    const QImage& img = p.Image();
    if (!p.IsEmpty() && img.size() == m_image.size() && img.format() == QImage::Format_RGB32) {
        // A picture of the surface's own size is shared until something draws on it.
        m_image = img;
    } else {
        m_image.fill(ToQColor(m_backColor));
        if (!p.IsEmpty()) {
            QPainter painter(&m_image);
            painter.drawImage(0, 0, img);
        }
    }
    surfaceChanged();
    pictureChanged();
}

void Surface::Cls() {
    m_image.fill(ToQColor(m_backColor));
    if (!m_picture.IsEmpty()) {
        QPainter painter(&m_image);
        painter.drawImage(0, 0, m_picture.Image());
    }
    surfaceChanged();
}

Canvas Surface::canvas(long colour) {
    Pen pen = m_pen;
    pen.colour = colour;
    return Canvas(m_image, pen);
}

void Surface::PSet(double x, double y) { PSet(x, y, m_foreColor); }
void Surface::PSet(double x, double y, long colour) {
    // A point is one pixel whatever the drawing width is, as the logo editor's pen needs.
    Pen pen = m_pen;
    pen.colour = colour;
    pen.width = 1;
    Canvas(m_image, pen).Point(toPx(x), toPx(y));
    surfaceChanged();
}
void Surface::Line(double x1, double y1, double x2, double y2) { Line(x1, y1, x2, y2, m_foreColor); }
void Surface::Line(double x1, double y1, double x2, double y2, long colour) {
    canvas(colour).Line(toPx(x1), toPx(y1), toPx(x2), toPx(y2));
    surfaceChanged();
}
void Surface::LineBox(double x1, double y1, double x2, double y2, long colour, bool filled) {
    if (filled) canvas(colour).FillBox(toPx(x1), toPx(y1), toPx(x2), toPx(y2), colour);
    else canvas(colour).Box(toPx(x1), toPx(y1), toPx(x2), toPx(y2));
    surfaceChanged();
}
void Surface::Circle(double x, double y, double r) { Circle(x, y, r, m_foreColor); }
void Surface::Circle(double x, double y, double r, long colour) {
    const double rp = m_scaleMode == vbPixels ? r : r / Screen::TwipsPerPixelX();
    canvas(colour).Circle(toPx(x), toPx(y), rp);
    surfaceChanged();
}
long Surface::Point(double x, double y) const {
    const int px = toPx(x), py = toPx(y);
    if (px < 0 || py < 0 || px >= m_image.width() || py >= m_image.height()) return -1;
    return FromPixel(m_image.pixel(px, py));
}

} // namespace vb
