// The main window: the phone display and the transfer to the phone.
#include "frame/Startbildschirm.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/cPalette.h"
#include "logo/DLL.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Skin.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;


void StartbildschirmForm::wireTransfer() {
    for (short i : {0, 1}) {
        Transfer[size_t(i)]->Click = [this, i] { Transfer_Click(i); };
        Loeschen[size_t(i)]->Click = [this, i] { Loeschen_Click(i); };
        Gruen_Transferlogo_LogoBrowser[size_t(i)]->Change = [this, i] { Gruen_Transferlogo_LogoBrowser_Change(i); };
    }
}

void StartbildschirmForm::designTransfer() {
    for (vb::PictureBox* p : Gruen_Transferlogo_LogoBrowser) {
        p->setScaleMode(vb::vbPixels);
        p->setBackColor(vb::Skin::Colour::DisplayGreen);
    }
}

void StartbildschirmForm::Transfer_Click(short) {
    const int w = int(Logo_Weiss_Grafik->ScaleWidth()), h = int(Logo_Weiss_Grafik->ScaleHeight());
    for (vb::PictureBox* anzeige : Gruen_Transferlogo_LogoBrowser) {
        // Cleared first, so that an earlier logo's black pixels do not stay in the display.
        anzeige->Cls();
        vb::StretchBlt(anzeige->hDC(), 0, 0, w, h, Logo_Weiss_Grafik->hDC(), 0, 0, w, h, vb::SRCAND);
        anzeige->Refresh();
    }
    const QString sende = Programmverzeichnis + QStringLiteral("send.bmp");
    // A work file that could not be written must not let an older "send.bmp" reach the phone:
    // nothing is sent and the transfer is reported as failed.
    bool geschrieben = false;
    vb::Try([&] {
        vb::SavePicture(Logo_Weiss_Grafik->Image(), sende);
        Bildpuffer = std::make_unique<cDIBSection>();
        Bildpuffer->CreateFromPicture(vb::LoadPicture(sende).Image());
        std::shared_ptr<cPalette> keinePalette;
        geschrieben = cDIBSectionSave().Save(sende, *Bildpuffer, keinePalette, 0, 0);
    });
    if (!geschrieben) {
        DLL::Uebertragungsfehler_melden();
        return;
    }
    DLL::Logo_senden(sende);
}

void StartbildschirmForm::Loeschen_Click(short) { DLL::Betreiberlogo_loeschen(); }

void StartbildschirmForm::Gruen_Transferlogo_LogoBrowser_Change(short Index) {
    if (Index != 0) return;
    vb::PictureBox* e0 = Gruen_Transferlogo_LogoBrowser[0];
    vb::PictureBox* e1 = Gruen_Transferlogo_LogoBrowser[1];
    e1->setWidth(e0->Width());
    e1->setHeight(e0->Height());
    Fenster::Steuerelement_zentrieren(*e1, *Gruen_Transferlogo_LogoBrowser_Rahmen, 0, 0);
}
