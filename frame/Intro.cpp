#include "frame/Intro.h"

#include "platform/Image.h"
#include "platform/PictureBox.h"
#include "platform/Timer.h"

using vb::Kind;

vb::Instance<IntroForm> Intro;
const char* const kProduktseite = "https://vorad-logo-kalvoren.example/produkt";
const char* const kHomepage = "https://vorad-logo-kalvoren.example/";

namespace {
const vb::LayoutItem kLayout[] = {
    {"Splash", Kind::Timer, -1, 0, 0, 0, 0},
    {"Image1", Kind::Image, -1, 300, 3900, 2400, 450, "", "btn:about:Produktseite"},
    {"Image2", Kind::Image, -1, 4200, 3900, 2400, 450, "", "btn:about:Homepage"},
    {"Outro", Kind::PictureBox, -1, 0, 0, 6900, 4500},
};
} // namespace

IntroForm::IntroForm() : vb::Form(QStringLiteral("Intro"), kLayout, 6900, 4500) {}
void IntroForm::Design() {}
void IntroForm::Wire() {
    Splash = Get<vb::Timer>("Splash");
    Image1 = Get<vb::Image>("Image1");
    Image2 = Get<vb::Image>("Image2");
    Outro = Get<vb::PictureBox>("Outro");
}
void IntroForm::Form_Load() {}
void IntroForm::Form_Activate() {}
void IntroForm::Form_Resize() {}
void IntroForm::Form_Click() {}
void IntroForm::Form_KeyPress(int&) {}
void IntroForm::Form_KeyDown(int&, int) {}
void IntroForm::Image1_Click() {}
void IntroForm::Image2_Click() {}
void IntroForm::Outro_Click() {}
void IntroForm::Splash_Timer() {}
