#include "photo/Logo_Foto_Laden.h"

#include "frame/Fenster.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Fotovorschau.h"
#include "platform/Colour.h"
#include "platform/FileListBox.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Screen.h"
#include "platform/ScrollBar.h"
#include "platform/VBError.h"

using vb::Kind;

vb::Instance<Logo_Foto_LadenForm> Logo_Foto_Laden;

namespace {
// Places in twips. The browser's grid: slot index = row * 5 + column.
const vb::LayoutItem kLayout[] = {
    {"Titelzeile", Kind::Label, -1, 0, 0, 9480, 405, "", "title"},
    {"Fotos_Vorschaubild", Kind::Image, 0, 180, 1095, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 1, 1950, 1080, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 2, 3720, 1095, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 3, 5475, 1095, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 4, 7245, 1095, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 5, 180, 2415, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 6, 1950, 2415, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 7, 3720, 2415, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 8, 5475, 2415, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 9, 7245, 2415, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 10, 180, 3735, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 11, 1950, 3735, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 12, 3720, 3735, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 13, 5475, 3735, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 14, 7245, 3735, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 15, 180, 5025, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 16, 1950, 5025, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 17, 3720, 5025, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 18, 5475, 5025, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 19, 7245, 5025, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 0, 285, 1200, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 1, 2055, 1185, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 2, 3825, 1200, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 3, 5580, 1200, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 4, 7350, 1200, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 5, 285, 2520, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 6, 2055, 2520, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 7, 3825, 2520, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 8, 5580, 2520, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 9, 7350, 2520, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 10, 285, 3840, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 11, 2055, 3840, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 12, 3825, 3840, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 13, 5580, 3840, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 14, 7350, 3840, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 15, 285, 5130, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 16, 2055, 5130, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 17, 3825, 5130, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 18, 5580, 5130, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 19, 7350, 5130, 1515, 900, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 0, 217.5, 2115, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 1, 1987.5, 2100, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 2, 3757.5, 2115, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 3, 5512.5, 2115, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 4, 7282.5, 2115, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 5, 217.5, 3435, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 6, 1987.5, 3435, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 7, 3757.5, 3435, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 8, 5512.5, 3435, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 9, 7282.5, 3435, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 10, 217.5, 4755, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 11, 1987.5, 4755, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 12, 3757.5, 4755, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 13, 5512.5, 4755, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 14, 7282.5, 4755, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 15, 217.5, 6045, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 16, 1987.5, 6045, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 17, 3757.5, 6045, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 18, 5512.5, 6045, 1650, 210, "", ""},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 19, 7282.5, 6045, 1650, 210, "", ""},
    {"FotosScrollbalken", Kind::ScrollBar, -1, 9090, 1215, 225, 5070, "", ""},
    {"Fileilistbox", Kind::FileListBox, -1, 0, 0, 1500, 1500, "", ""},
    {"File1", Kind::FileListBox, -1, 3240, 1095, 2775, 4200, "", ""},
};
} // namespace

Logo_Foto_LadenForm::Logo_Foto_LadenForm() : vb::Form(QStringLiteral("Logo_Foto_Laden"), kLayout, 9480, 7110) {}

void Logo_Foto_LadenForm::Wire() {
    Titelzeile = Get<vb::Label>("Titelzeile");
    for (int i = 0; i < kSlots; ++i) {
        const size_t k = size_t(i);
        Fotos_Vorschaubild[k] = Get<vb::Image>("Fotos_Vorschaubild", i);
        Fotos_Vorschaubild_Bild[k] = Get<vb::Image>("Fotos_Vorschaubild_Bild", i);
        Fotos_Vorschaubild_Bildname[k] = Get<vb::Label>("Fotos_Vorschaubild_Bildname", i);
    }
    FotosScrollbalken = Get<vb::ScrollBar>("FotosScrollbalken");
    Fileilistbox = Get<vb::FileListBox>("Fileilistbox");
    File1 = Get<vb::FileListBox>("File1");

    for (short i = 0; i < kSlots; ++i) {
        const size_t k = size_t(i);
        Fotos_Vorschaubild_Bild[k]->Click = [this, i] { Fotos_Vorschaubild_Bild_Click(i); };
        Fotos_Vorschaubild[k]->Click = [this, i] { Fotos_Vorschaubild_Click(i); };
        // The slot pictures stay disabled; the mouse reaches the frame beneath them.
        Fotos_Vorschaubild_Bild[k]->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    FotosScrollbalken->Change = [this] { FotosScrollbalken_Change(); };
}

void Logo_Foto_LadenForm::Design() {
    Titelzeile->setForeColor(vb::vbWhite);
    Titelzeile->setFontBold(true);
    Fileilistbox->setVisible(false);
    // The file tab's list; it is shown with its tab.
    File1->setVisible(false);
    for (vb::Label* l : Fotos_Vorschaubild_Bildname) {
        l->setAlignment(2);
        l->setFontSize(7);
    }
}

void Logo_Foto_LadenForm::Form_Load() {
    const double tpp = vb::Screen::TwipsPerPixelX();
    setHeight(7110.0 / 15 * tpp);
    setWidth(9480.0 / 15 * tpp);
    // Over the main window's settings button, where the picker opens.
    if (Startbildschirm.IsLoaded())
        Move(Startbildschirm->Left() + Startbildschirm->Einstellun->Left(), Startbildschirm->Top() + Startbildschirm->Einstellun->Top());
    vb::Try([&] { Titelzeile->setCaption(LoadResString(803)); });
    Fenster::Fenster_abrunden(*this);
}

void Logo_Foto_LadenForm::Fotos_Vorschaubild_Bild_Click(short Index) {
    Fotovorschau::Vorschaurahmen_zuruecksetzen(true);
    Fotos_Vorschaubild[size_t(Index)]->setBorderStyle(1);
    Fotos_Vorschaubild_Bild[size_t(Index)]->setBorderStyle(1);
}

void Logo_Foto_LadenForm::Fotos_Vorschaubild_Click(short Index) { Fotos_Vorschaubild_Bild_Click(Index); }

void Logo_Foto_LadenForm::FotosScrollbalken_Change() {
    Fotovorschau::Vorschaubilder_fuellen();
    Fotovorschau::Vorschaurahmen_zuruecksetzen(false);
}

void Logo_Foto_LadenForm::Reiter_Datei_Click() {
    File1->setPattern(QStringLiteral("*.jpg;*.bmp;*.wmf;*.ico"));
    Fileilistbox->setPattern(QStringLiteral("*.jpg;*.bmp;*.wmf;*.ico"));
}
