#pragma once
#include "platform/window/Control.h"
#include "platform/picture/Picture.h"

namespace vb {

// An image control: a picture drawn on its container, stretched or at its own size (then the
// control takes the picture's size). Without a picture it is transparent.
class Image : public Control {
public:
    Image(Form& f, QString name, int index);
    const vb::Picture& Picture() const { return m_picture; }
    void setPicture(const vb::Picture& p);
    bool Stretch() const { return m_stretch; }
    void setStretch(bool s);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int b) { m_borderStyle = b; Refresh(); }
    bool HasStretch() const override { return true; }
    bool HasFont() const override { return false; }
    void Paint(QPainter& p) override;

private:
    void fitToPicture();
    vb::Picture m_picture;
    bool m_stretch = false;
    int m_borderStyle = 0;
};

} // namespace vb
