#pragma once
// The splash window: shown at start-up until its timer finishes the start, and later as the
// about box and as the outro before quitting.
#include "platform/window/Form.h"

namespace vb {
class Image;
class PictureBox;
class Timer;
} // namespace vb

class IntroForm : public vb::Form {
public:
    IntroForm();

    VB_CONTROLS(vb::Timer, Splash);
    VB_CONTROLS(vb::Image, Image1);
    VB_CONTROLS(vb::Image, Image2);
    VB_CONTROLS(vb::PictureBox, Outro);
    bool Splash_Startlauf = false;
    // The start-up work has run; it runs once per run of the program, not at every load.
    bool Start_erledigt = false;

    void Form_Load() override;
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Click() override;
    void Form_KeyPress(int& KeyAscii) override;
    void Form_KeyDown(int& KeyCode, int Shift) override;
    void Image1_Click();
    void Image2_Click();
    void Outro_Click();
    void Splash_Timer();

protected:
    void Design() override;
    void Wire() override;
};

extern vb::Instance<IntroForm> Intro;

// The addresses the two pictures open.
extern const char* const kProduktseite;
extern const char* const kHomepage;
