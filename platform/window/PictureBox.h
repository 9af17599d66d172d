#pragma once
#include "platform/window/Control.h"
#include "platform/picture/Surface.h"

namespace vb {

// A picture box: a window of its own with a persistent image to draw on; it can also contain
// other controls (the layers of a window).
class PictureBox : public Control, public Surface {
public:
    PictureBox(Form& f, QString name, int index);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int b) { m_borderStyle = b; Refresh(); }
    bool IsWindowed() const override { return true; }
    double EventUnitTwips() const override;
    void Paint(QPainter& p) override;
    // Region of the control's window: a rectangle with rounded corners (0: plain).
    void SetRoundRegion(int w, int h, int ellipseW, int ellipseH);

protected:
    void geometryChanged() override;
    void surfaceChanged() override { Refresh(); }
    void pictureChanged() override { if (Change) Change(); }

private:
    int m_borderStyle = 0;
};

} // namespace vb
