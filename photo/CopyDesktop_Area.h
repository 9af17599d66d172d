#pragma once
// The desktop copy for callers outside the capture window, and the capture of the screen area
// under the photo editor's cut-out frame.
#include <QString>

namespace vb {
class Control;
class Image;
class PictureBox;
} // namespace vb

namespace CopyDesktop_Area {

// Sizes objTo to the desktop and copies the desktop's pixels into it; the reason when the screen
// cannot be read, else "".
QString CopyWholeDesktop(vb::PictureBox& objTo);

// The photo editor's controls the area capture works with.
struct Fotobereich {
    vb::Control& Bildschirmshape_Master; // the frame
    vb::PictureBox& Undo_Buffer;         // receives the whole desktop
    vb::Image& Lasso;                    // receives the framed area
};
// Captures the screen area under the frame 1:1 into "freeze.bmp" in the program folder; the
// reason when the screen cannot be read or the file not written, else "" (nothing is written).
QString CopyDesktopArea(const Fotobereich& b);

} // namespace CopyDesktop_Area
