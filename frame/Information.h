#pragma once
// The program's own message window and one-line text input: the caller puts a mode and a text
// into the shared state, shows it modally and reads the answer from Info_Modus.
#include "platform/window/Form.h"

namespace vb {
class Image;
class Label;
class PictureBox;
class TextBox;
class Timer;
} // namespace vb

class InformationForm : public vb::Form {
public:
    InformationForm();

    VB_CONTROLS(vb::Label, Titelzeile);
    VB_CONTROLS(vb::TextBox, Infotext);
    VB_CONTROLS(vb::Image, OK);
    VB_CONTROLS(vb::Image, Abbrechen);
    VB_CONTROLS(vb::Image, Verzeichnis);
    VB_CONTROLS(vb::Image, Schliessen);
    VB_CONTROLS(vb::PictureBox, NurInfoShape);
    VB_CONTROLS(vb::PictureBox, Verzichnisshape);
    VB_CONTROLS(vb::TextBox, FocusDummy);
    VB_CONTROLS(vb::Timer, InfoTimer);

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Activate() override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Form_MouseMove(int Button, int Shift, float X, float Y) override;
    void OK_Click();
    void Abbrechen_Click();
    void Verzeichnis_Click();
    void Schliessen_Click();
    void InfoTimer_Timer();
    void Infotext_KeyPress(int& KeyAscii);
    void Infotext_KeyDown(int& KeyCode, int Shift);
    void Infotext_GotFocus();
    void Infotext_MouseMove(int Button, int Shift, float X, float Y);
    void Titelzeile_MouseMove(int Button, int Shift, float X, float Y);

protected:
    void Design() override;
    void Wire() override;
};

extern vb::Instance<InformationForm> Information;
