#pragma once
// Pixel-exact drawing on picture surfaces (QImage, Format_RGB32): block transfers with raster
// operations, and pen primitives that honour a drawing mode the way the display driver does
// (each pixel of a primitive is touched once; lines leave out their end point).
#include <QFont>
#include <QImage>
#include <QString>
#include <cstdint>

namespace vb {

enum RasterOp : uint32_t {
    SRCCOPY = 0xCC0020, SRCAND = 0x8800C6, SRCPAINT = 0xEE0086, SRCINVERT = 0x660046,
    DSTINVERT = 0x550009, NOTSRCCOPY = 0x330008, BLACKNESS = 0x000042, WHITENESS = 0xFF0062,
};

// Negative extents mirror; parts of the source outside its picture leave the destination as it
// was; the destination is clipped to its picture. Source and destination may be the same surface.
bool StretchBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, int sw, int sh, uint32_t rop);
bool BitBlt(QImage& dst, int x, int y, int w, int h, const QImage& src, int sx, int sy, uint32_t rop);

// Drawing modes of a pen.
enum DrawModeValue { vbBlackness = 1, vbNotCopyPen = 4, vbInvert = 6, vbXorPen = 7, vbCopyPen = 13, vbWhiteness = 16 };

struct Pen {
    long colour = 0;        // colour value
    int drawMode = vbCopyPen;
    int width = 1;
    int style = 0;          // 0 solid; dashes are drawn solid (wide pens ignore styles anyway)
};

class Canvas {
public:
    Canvas(QImage& surface, const Pen& pen) : m_img(surface), m_pen(pen), m_w(surface.width()), m_h(surface.height()) {}
    void Point(int x, int y);                        // one pixel, drawing mode applied
    void Line(int x1, int y1, int x2, int y2);       // end point left out; a zero-length line sets its point
    void Circle(int cx, int cy, double radius);      // outline, pen width honoured
    void Box(int x1, int y1, int x2, int y2);        // outline of the rectangle, corners included
    void FillBox(int x1, int y1, int x2, int y2, long colour); // solid, copy mode
private:
    void plot(int x, int y);
    void paint(uint32_t* p) const; // one pixel through the drawing mode
    uint32_t* row(int y);
    void stamp(int x, int y);
    QImage& m_img;
    Pen m_pen;
    int m_w, m_h;
    uchar* m_bits = nullptr; // m_img's pixels, detached at the first plot
    qsizetype m_bpl = 0;
};

} // namespace vb
