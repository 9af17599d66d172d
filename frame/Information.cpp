#include "frame/Information.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/TextBox.h"
#include "platform/window/Timer.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<InformationForm> Information;

namespace {
using Self = InformationForm;

const vb::LayoutRow kLayout[] = {
    VB_ROW(Titelzeile, 0, 0, 6750, 405, "", "title"),
    VB_ROW(Schliessen, 6330, 38, 330, 330, "", "btn:close").Hover(400, 'S'),
    VB_ROW(Infotext, 300, 630, 6150, 1650, "", "multi"),
    VB_ROW(OK, 300, 2490, 1800, 450, "", "btn:ok:OK").Hover(404, 'S'),
    VB_ROW(Abbrechen, 2475, 2490, 1800, 450, "", "btn:close:Abbrechen").Hover(405, 'S'),
    VB_ROW(Verzeichnis, 4650, 2490, 1800, 450, "", "btn:folder:Verzeichnis").Hover(435, 'S'),
    VB_ROW(NurInfoShape, 2475, 2490, 1800, 450, "", "layer"),
    VB_ROW(Verzichnisshape, 4650, 2490, 1800, 450, "", "layer"),
    VB_ROW(FocusDummy, -3000, 0, 300, 300),
    VB_ROW(InfoTimer, 0, 0, 0, 0),
};
} // namespace

InformationForm::InformationForm() : vb::Form(QStringLiteral("Information"), kLayout, 6750, 3150) {}

void InformationForm::Design() {
    Titelzeile->setForeColor(vb::vbWhite);
    Titelzeile->setFontBold(true);
    Infotext->setLocked(true);
    Infotext->setFontSize(10);
    InfoTimer->setTimerEnabled(false);
    InfoTimer->setInterval(10000);
    NurInfoShape->setVisible(false);
    Verzichnisshape->setVisible(true);
    setCaption(QStringLiteral("Information"));
    // Placed where the design puts it: the middle of the screen.
    Move((vb::Screen::Width() - Width()) / 2, (vb::Screen::Height() - Height()) / 2);
}

void InformationForm::Wire() {
    OK->Click = [this] { OK_Click(); };
    Abbrechen->Click = [this] { Abbrechen_Click(); };
    Verzeichnis->Click = [this] { Verzeichnis_Click(); };
    Schliessen->Click = [this] { Schliessen_Click(); };
    InfoTimer->Tick = [this] { InfoTimer_Timer(); };
    Infotext->KeyPress = [this](int& k) { Infotext_KeyPress(k); };
    Infotext->KeyDown = [this](int& k, int s) { Infotext_KeyDown(k, s); };
    Infotext->GotFocus = [this] { Infotext_GotFocus(); };
    Infotext->MouseMove = [this](int b, int s, float x, float y) { Infotext_MouseMove(b, s, x, y); };
    Titelzeile->MouseMove = [this](int b, int s, float x, float y) { Titelzeile_MouseMove(b, s, x, y); };
    Schaltflaechen::Hover_verdrahten(*this);
    // Covers take no clicks: the buttons under them are closed.
    NurInfoShape->MouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
    Verzichnisshape->MouseMove = NurInfoShape->MouseMove;
}

void InformationForm::Form_Load() {
    setWindowState(vb::vbNormal);
    Infotext->setText(Info_Text);
}

void InformationForm::Form_Activate() {
    Fenster::Fenster_abrunden(*this);
    Infotext->setText(Info_Text);
    NurInfoShape->setVisible(Info_Modus == 2);
    Verzichnisshape->setVisible(Info_Modus != 4);
    if (!Infotext->Locked()) {
        vb::Try([&] { Titelzeile->setCaption(LoadResString(802)); });
        Infotext->setSelStart(0);
        Infotext->setSelLength(int(Infotext->Text().size()));
        Infotext->SetFocus();
    } else {
        vb::Try([&] { Titelzeile->setCaption(LoadResString(801)); });
        FocusDummy->SetFocus();
    }
}

void InformationForm::OK_Click() {
    Info_Modus = 1;
    Hide();
}
void InformationForm::Abbrechen_Click() {
    Info_Modus = 0;
    Hide();
}
void InformationForm::Verzeichnis_Click() {
    Info_Modus = 4;
    Hide();
}
void InformationForm::Schliessen_Click() {
    if (Info_Modus == 2) OK_Click();
    else Abbrechen_Click();
}

void InformationForm::InfoTimer_Timer() {
    InfoTimer->setTimerEnabled(false);
    Info_Modus = 0;
    Hide();
}

void InformationForm::Form_KeyDown(int& KeyCode, int) { Schaltflaechen::Hilfetaste(KeyCode); }

void InformationForm::Form_MouseMove(int Button, int, float, float) {
    Schaltflaechen::Fenster_ziehen(*this, Button);
    Schaltflaechen::Hover_zuruecksetzen(false);
}

void InformationForm::Titelzeile_MouseMove(int Button, int, float, float) { Schaltflaechen::Fenster_ziehen(*this, Button); }

void InformationForm::Infotext_KeyPress(int& KeyAscii) {
    if (KeyAscii == vb::vbKeyReturn) {
        KeyAscii = 0;
        return;
    }
    if (KeyAscii != vb::vbKeyBack && Infotext->Text().size() >= 22) KeyAscii = 0;
}

void InformationForm::Infotext_KeyDown(int&, int) { Infotext->Refresh(); }

void InformationForm::Infotext_GotFocus() {
    vb::Try([&] {
        if (Startbildschirm->Logo_Text->Tag() == QLatin1String("0")) FocusDummy->SetFocus();
    });
}

void InformationForm::Infotext_MouseMove(int, int, float, float) {
    vb::Try([&] {
        if (Infotext->Text() == LoadResString(48)) {
            Infotext->setText(Letzte_Texteingabe);
            Infotext->SetFocus();
            Infotext->setSelStart(0);
            Infotext->setSelLength(int(Infotext->Text().size()));
        }
    });
}

void InformationForm::Form_QueryUnload(int& Cancel, int) {
    // The window manager's close answers as Abbrechen does.
    Cancel = 1;
    if (Visible()) Abbrechen_Click();
}
