#pragma once
// The persistent image of a window or picture box, with the drawing methods and properties
// that draw on it (back and fore colour, drawing mode, width and style, font).
#include "platform/picture/Colour.h"
#include "platform/picture/Gdi.h"
#include "platform/picture/Picture.h"

#include <QFont>
#include <QImage>
#include <functional>

namespace vb {

enum ScaleModeValue { vbTwips = 1, vbPixels = 3 };

class Surface {
public:
    virtual ~Surface() = default;

    long BackColor() const { return m_backColor; }
    void setBackColor(long c);
    long ForeColor() const { return m_foreColor; }
    void setForeColor(long c) { m_foreColor = c; }
    int DrawMode() const { return m_pen.drawMode; }
    void setDrawMode(int m) { m_pen.drawMode = m; }
    int DrawWidth() const { return m_pen.width; }
    void setDrawWidth(int w) { m_pen.width = w < 1 ? 1 : w; }
    int DrawStyle() const { return m_pen.style; }
    void setDrawStyle(int s) { m_pen.style = s; }
    bool AutoRedraw() const { return m_autoRedraw; }
    void setAutoRedraw(bool a) { m_autoRedraw = a; }
    int ScaleMode() const { return m_scaleMode; }
    void setScaleMode(int m) { m_scaleMode = m; }
    double ScaleWidth() const;  // in scale units
    double ScaleHeight() const;

    // The assigned picture; assigning one repaints the persistent image with it and runs Change.
    const vb::Picture& Picture() const { return m_picture; }
    void setPicture(const vb::Picture& p);
    // The persistent image as a picture object.
    vb::Picture Image() const { return vb::Picture(m_image); }
    // The drawing surface itself (device context).
    QImage& hDC() { return m_image; }
    const QImage& hDC() const { return m_image; }

    void Cls();
    void PSet(double x, double y);
    void PSet(double x, double y, long colour);
    void Line(double x1, double y1, double x2, double y2);
    void Line(double x1, double y1, double x2, double y2, long colour);
    void LineBox(double x1, double y1, double x2, double y2, long colour, bool filled);
    void Circle(double x, double y, double radius);
    void Circle(double x, double y, double radius, long colour);
    long Point(double x, double y) const; // -1 outside

    QFont& SurfaceFont() { return m_font; }

protected:
    // Size of the surface in pixels; called when the owner's size changes.
    void resizeSurface(int w, int h);
    virtual void surfaceChanged() {} // repaint the owner
    virtual void pictureChanged() {} // runs the Change event
    int toPx(double v) const;

private:
    Canvas canvas(long colour);
    QImage m_image{1, 1, QImage::Format_RGB32};
    vb::Picture m_picture;
    long m_backColor = 0xFFFFFF;
    long m_foreColor = 0;
    Pen m_pen;
    bool m_autoRedraw = true;
    int m_scaleMode = vbTwips;
    QFont m_font{QStringLiteral("Arial"), 8};
};

} // namespace vb
