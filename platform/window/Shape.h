#pragma once
#include "platform/window/Control.h"

namespace vb {

// A rectangle drawn on its container.
class Shape : public Control {
public:
    Shape(Form& f, QString name, int index);
    long BorderColor() const { return m_border; }
    void setBorderColor(long c) { m_border = c; Refresh(); }
    long FillColor() const { return m_fill; }
    void setFillColor(long c) { m_fill = c; Refresh(); }
    int FillStyle() const { return m_fillStyle; }
    void setFillStyle(int s) { m_fillStyle = s; Refresh(); } // 0 solid, 1 transparent
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int w) { m_borderWidth = w; Refresh(); }
    bool HasFont() const override { return false; }
    void Paint(QPainter& p) override;

private:
    long m_border = 0, m_fill = 0;
    int m_fillStyle = 1, m_borderWidth = 1;
};

} // namespace vb
