#pragma once
// The capture window: a frozen copy of the desktop over the whole screen, on which the user marks
// the area that becomes the photo, in one of three ways (CaptureMode).
#include "platform/window/Form.h"

#include <QString>

namespace vb {
class PictureBox;
class Shape;
} // namespace vb

// The capture request, set before the capture window opens.
enum eCaptureMode : short { BildAusschnitt = 1, BildLogoLupe = 2, BildKomplett = 3 };

class BildschirmfreezeForm : public vb::Form {
public:
    BildschirmfreezeForm();

    VB_CONTROLS(vb::PictureBox, Bildschirmfoto);
    VB_CONTROLS(vb::PictureBox, Bildschirmfoto_Copybuffer);
    VB_CONTROLS(vb::Shape, Bildschirmshape);

    void Form_Load() override;
    void Form_Activate() override;
    // Escape and the window manager's close cancel the capture.
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // Shows the window over the frozen desktop; when the desktop cannot be read, brings the
    // windows back and says why instead.
    void Erfassen();
    // Ends the capture without taking anything: the windows come back as they were.
    void Abbrechen();
    // Sizes objTo to the desktop and copies the desktop's pixels into it; the reason when the
    // screen cannot be read, else "".
    QString CopyDesktop(vb::PictureBox& objTo);
    void Bildschirmfoto_MouseDown(int Button, int Shift, float X, float Y);
    void Bildschirmfoto_MouseMove(int Button, int Shift, float X, float Y);
    void Bildschirmfoto_MouseUp(int Button, int Shift, float X, float Y);

protected:
    void Design() override;
    void Wire() override;

private:
    QString m_fehler; // why the desktop could not be read at this load, else ""
};

extern vb::Instance<BildschirmfreezeForm> Bildschirmfreeze;

// The photo editor and the main window back to normal, the photo editor in front.
void Fenster_wiederherstellen();
