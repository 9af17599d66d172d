#include "photo/Logo_Foto_Laden.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "logo/Fotovorschau.h"
#include "logo/Logo_laden.h"
#include "platform/window/App.h"
#include "platform/picture/Colour.h"
#include "platform/window/DirListBox.h"
#include "platform/window/DriveListBox.h"
#include "platform/window/Keys.h"
#include "platform/window/PictureBox.h"
#include "platform/window/TextBox.h"
#include "platform/window/Timer.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/system/VBError.h"

#include <QDir>
#include <utility>

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<Logo_Foto_LadenForm> Logo_Foto_Laden;

namespace {
// Places in twips. The browser's grid: slot index = row * 5 + column.
using Self = Logo_Foto_LadenForm;

const vb::LayoutRow kLayout[] = {
    VB_ROW(Titelzeile, 0, 0, 9480, 405, "", "title"),
    VB_ELEM(Schliessen, 0, 9090, 38, 330, 330, "", "btn:close").Hover(400, 'S'),
    VB_ROW(Reiter_Datei, 180, 540, 1800, 420, "", "tab:Datei").Hover(827, 'S'),
    VB_ROW(Reiter_Browser, 2040, 540, 1800, 420, "", "tab:Browser").Hover(828, 'S'),
    VB_ROW(Foto_Perspektivisch_Skallieren, 180, 6540, 1800, 450, "", "btn:rect:Einpassen").Hover(847, 'G'),
    VB_ROW(Foto_Strecht_Skallieren, 2040, 6540, 1800, 450, "", "btn:rectfill:Verzerren").Hover(848, 'G'),
    VB_ROW(Uebernehmen, 5520, 6540, 1800, 450, "", "btn:ok:Übernehmen").Hover(826, 'S'),
    VB_ROW(Abbrechen, 7380, 6540, 1800, 450, "", "btn:close:Abbrechen").Hover(405, 'S', "Abbrechen2"),
    VB_GRID(Fotos_Vorschaubild, {180, 1950, 3720, 5475, 7245}, {1095, 2415, 3735, 5025}, 1725, 1275, "", "frame").Place(1, 1950, 1080),
    VB_GRID(Fotos_Vorschaubild_Bild, {285, 2055, 3825, 5580, 7350}, {1200, 2520, 3840, 5130}, 1515, 900, "", "").Place(1, 2055, 1185),
    VB_GRID(Fotos_Vorschaubild_Bildname, {217.5, 1987.5, 3757.5, 5512.5, 7282.5}, {2115, 3435, 4755, 6045}, 1650, 210, "", "").Place(1, 1987.5, 2100),
    VB_ROW(FotosScrollbalken, 9090, 1215, 225, 5070, "", ""),
    VB_ROW(Fileilistbox, 0, 0, 1500, 1500, "", ""),
    // The file tab: a layer over the browser.
    VB_ROW(Layer_Logo_FotoLaden_B, 0, 990, 9480, 5430, "", "layer"),
    VB_ROW(Drive1, 180, 90, 3000, 330, "Layer_Logo_FotoLaden_B"),
    VB_ROW(Dir1, 180, 540, 3000, 4200, "Layer_Logo_FotoLaden_B").Hover(830, 'T'),
    VB_ROW(File1, 3330, 90, 2700, 4650, "Layer_Logo_FotoLaden_B").Hover(829, 'T'),
    VB_ROW(DateiManuelleAuswahl, 180, 4860, 5850, 330, "Layer_Logo_FotoLaden_B"),
    VB_ROW(Vorschaubild_B, 6210, 90, 3090, 2010, "Layer_Logo_FotoLaden_B", "frame").Hover(832, 'T'),
    VB_ROW(Vorschaubild_B_Bild, 6255, 135, 3000, 1900, "Layer_Logo_FotoLaden_B"),
    VB_ROW(Vorschaubild_B_Test, 6255, 135, 300, 300, "Layer_Logo_FotoLaden_B"),
};

const char* const kDateiMuster = "*.jpg;*.bmp;*.wmf;*.ico";
const char* const kBrowserMuster = "*.jpg;*.bmp;*.wmf;*.ico;V_*.bin";

// A file in a folder; a folder that already ends with "/" (the root) takes no second one.
QString verbinden(const QString& ordner, const QString& name) {
    return ordner.endsWith(QLatin1Char('/')) ? ordner + name : ordner + QLatin1Char('/') + name;
}

} // namespace

Logo_Foto_LadenForm::Logo_Foto_LadenForm() : vb::Form(QStringLiteral("Logo_Foto_Laden"), kLayout, 9480, 7110) {}

void Logo_Foto_LadenForm::Wire() {
    Titelzeile->MouseMove = [this](int b, int s, float x, float y) { Titelzeile_MouseMove(b, s, x, y); };
    Layer_Logo_FotoLaden_B->MouseMove = [this](int b, int s, float x, float y) { Layer_Logo_FotoLaden_B_MouseMove(b, s, x, y); };
    Drive1->Change = [this] { Drive1_Change(); };
    Dir1->Change = [this] { Dir1_Change(); };
    File1->PathChange = [this] { File1_PathChange(); };
    File1->Click = [this] { File1_Click(); };
    File1->DblClick = [this] { Uebernehmen_Click(); };
    Reiter_Datei->Click = [this] { Reiter_Datei_Click(); };
    Reiter_Browser->Click = [this] { Reiter_Browser_Click(); };
    Foto_Perspektivisch_Skallieren->Click = [this] { Foto_Perspektivisch_Skallieren_Click(); };
    Foto_Strecht_Skallieren->Click = [this] { Foto_Strecht_Skallieren_Click(); };
    Uebernehmen->Click = [this] { Uebernehmen_Click(); };
    Abbrechen->Click = [this] { Abbrechen_Click(); };
    Schliessen[0]->Click = [this] { Schliessen_Click(0); };
    Schaltflaechen::Hover_verdrahten(*this);

    for (short i = 0; i < kSlots; ++i) {
        const size_t k = size_t(i);
        Fotos_Vorschaubild_Bild[k]->Click = [this, i] { Fotos_Vorschaubild_Bild_Click(i); };
        Fotos_Vorschaubild[k]->Click = [this, i] { Fotos_Vorschaubild_Click(i); };
        Fotos_Vorschaubild[k]->DblClick = [this] { Uebernehmen_Click(); };
        Fotos_Vorschaubild_Bild[k]->DblClick = [this] { Uebernehmen_Click(); };
        Fotos_Vorschaubild_Bildname[k]->DblClick = [this] { Uebernehmen_Click(); };
        Fotos_Vorschaubild[k]->MouseMove = [this, i](int b, int s, float x, float y) { Fotos_Vorschaubild_MouseMove(i, b, s, x, y); };
        // The slot pictures stay disabled; the mouse reaches the frame beneath them.
        Fotos_Vorschaubild_Bild[k]->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    FotosScrollbalken->Change = [this] { FotosScrollbalken_Change(); };
}

void Logo_Foto_LadenForm::Design() {
    Titelzeile->setForeColor(vb::vbWhite);
    Titelzeile->setFontBold(true);
    Fileilistbox->setVisible(false);
    Vorschaubild_B_Test->setVisible(false);
    Vorschaubild_B_Bild->setVisible(false);
    // The browser lies beneath; the file tab shows when a caller asks for it.
    Layer_Logo_FotoLaden_B->setVisible(false);
    // The file tab starts in the user's home folder; its lists keep their place between requests.
    if (File1->Path().isEmpty()) {
        // Quietly: no preview and no message before the window is asked for.
        const auto change = std::exchange(Dir1->Change, nullptr);
        const auto pathChange = std::exchange(File1->PathChange, nullptr);
        const auto click = std::exchange(File1->Click, nullptr);
        Dir1->setPath(QDir::homePath());
        File1->setPath(Dir1->Path());
        Dir1->Change = change;
        File1->PathChange = pathChange;
        File1->Click = click;
    }
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
    Drive1->setDrive(File1->Path());
}

void Logo_Foto_LadenForm::Fotos_Vorschaubild_Bild_Click(short Index) {
    Fotovorschau::Vorschaurahmen_zuruecksetzen(Vorschau(), true);
    Fotos_Vorschaubild[size_t(Index)]->setBorderStyle(1);
    Fotos_Vorschaubild_Bild[size_t(Index)]->setBorderStyle(1);
}

void Logo_Foto_LadenForm::Fotos_Vorschaubild_Click(short Index) { Fotos_Vorschaubild_Bild_Click(Index); }

void Logo_Foto_LadenForm::FotosScrollbalken_Change() {
    Fotovorschau::Vorschaubilder_fuellen(Vorschau());
    Fotovorschau::Vorschaurahmen_zuruecksetzen(Vorschau(), false);
}

void Logo_Foto_LadenForm::Form_Activate() {
    if (Startbildschirm.IsLoaded())
        Move(Startbildschirm->Left() + Startbildschirm->Einstellun->Left(), Startbildschirm->Top() + Startbildschirm->Einstellun->Top());
    Foto_Perspektivisch_Skallieren->setTag(QString());
    Foto_Perspektivisch_Skallieren->setPicture(vb::Picture());
    Foto_Strecht_Skallieren->setTag(QStringLiteral("1"));
    if (vb::Control* src = Schaltflaechenlader->Find(QStringLiteral("Foto_Strecht_Skallieren")))
        Foto_Strecht_Skallieren->setPicture(Schaltflaechen::Bild(src));
    Perspektivisch_Skalieren = false;
    // The list's first file is shown, as after a change of folder.
    File1_PathChange();
}

void Logo_Foto_LadenForm::Form_KeyDown(int& KeyCode, int) { Schaltflaechen::Hilfetaste(KeyCode); }

void Logo_Foto_LadenForm::Form_MouseMove(int Button, int, float, float) {
    Schaltflaechen::Fenster_ziehen(*this, Button);
    Schaltflaechen::Hover_zuruecksetzen(true);
    Schaltflaechen::Gruppe_zeigen(*this);
}

void Logo_Foto_LadenForm::Titelzeile_MouseMove(int Button, int, float, float) { Schaltflaechen::Fenster_ziehen(*this, Button); }

void Logo_Foto_LadenForm::Layer_Logo_FotoLaden_B_MouseMove(int Button, int, float, float) {
    Schaltflaechen::Fenster_ziehen(*this, Button);
    Schaltflaechen::Hover_zuruecksetzen(true);
    vb::Try([&] { Drive1->setToolTipText(LoadResString(831)); });
    Schaltflaechen::Gruppe_zeigen(*this);
}

void Logo_Foto_LadenForm::Drive1_Change() {
    if (Gemeinsam.Laufwerk_zuruecksetzen) return;
    const QString laufwerk = Drive1->Drive();
    if (!vb::DriveReady(laufwerk)) {
        // Not ready: the lists keep the old drive, and so does the drive list.
        Gemeinsam.Laufwerk_zuruecksetzen = true;
        Drive1->setDrive(Dir1->Path());
        Gemeinsam.Laufwerk_zuruecksetzen = false;
        return;
    }
    Dir1->ReRead();
    File1->setPath(laufwerk);
    File1->ReRead();
    Dir1->setPath(laufwerk);
    Dir1->ReRead();
    DateiManuelleAuswahl->setText(File1->FileName());
    vb::App::DoEvents();
}

void Logo_Foto_LadenForm::Dir1_Change() {
    File1->setPath(Dir1->Path());
    DateiManuelleAuswahl->setText(File1->FileName());
}

void Logo_Foto_LadenForm::File1_PathChange() {
    if (File1->ListCount() > 0) {
        Auswahl_abgebrochen = false;
        if (File1->ListIndex() == 0) File1_Click();
        else File1->setListIndex(0);
    } else {
        Auswahl_abgebrochen = true;
    }
}

void Logo_Foto_LadenForm::File1_Click() {
    Vorschaubild_B_Bild->setVisible(false);
    Vorschaubild_B_Bild->setStretch(false);
    Vorschaubild_B_Test->setPicture(vb::Picture());
    vb::App::DoEvents();
    const QString name = File1->FileName();
    if (name.isEmpty()) return;
    // The preview needs no more than a reduced decode; a file that is no picture stays empty.
    // The folder the list shows: during a drive change the folder list still names the old one.
    Vorschaubild_B_Test->setPicture(Fotovorschau::Fotosammlung_Bild(verbinden(File1->Path(), name), Fotovorschau::Modus_Vorschau));
    vb::App::DoEvents();
    if (Vorschaubild_B_Test->Picture().IsEmpty()) {
        File1->setFileName(QString());
        Auswahl_abgebrochen = true;
        Logo_laden::Ungueltiges_Bildformat_melden();
        return;
    }
    Auswahl_abgebrochen = false;
    DateiManuelleAuswahl->setText(name);
    Vorschaubild_B_Bild->setPicture(Vorschaubild_B_Test->Picture());
    const double tpp = vb::Screen::TwipsPerPixelX();
    vb::Try([&] { Fenster::Bild_einpassen(*Vorschaubild_B_Bild, 203 * tpp, 127 * tpp); });
    vb::Try([&] { Fenster::Steuerelement_zentrieren(*Vorschaubild_B_Bild, *Vorschaubild_B, 0, 0); });
    vb::App::DoEvents();
    Vorschaubild_B_Bild->setVisible(true);
}

void Logo_Foto_LadenForm::Reiter_Datei_Click() {
    File1->setPattern(QString::fromLatin1(kDateiMuster));
    Fileilistbox->setPattern(QString::fromLatin1(kDateiMuster));
    vb::App::DoEvents();
    Layer_Logo_FotoLaden_B->setVisible(true);
    vb::App::DoEvents();
    File1_PathChange();
}

void Logo_Foto_LadenForm::Reiter_Browser_Click() {
    File1->setPattern(QString::fromLatin1(kBrowserMuster));
    Fileilistbox->setPattern(QString::fromLatin1(kBrowserMuster));
    Layer_Logo_FotoLaden_B->setVisible(false);
}

void Logo_Foto_LadenForm::Fotos_Vorschaubild_MouseMove(short Index, int, int, float X, float Y) {
    if (Index < 0 || Index >= kSlots) return;
    Schaltflaechen::Rahmen_hervorheben(*Fotos_Vorschaubild[size_t(Index)], X, Y);
}

namespace {
// A fit button chosen: it is marked and lit, the other not; the fit follows it.
void passungWaehlen(Logo_Foto_LadenForm& F, bool perspektivisch) {
    F.Foto_Perspektivisch_Skallieren->setTag(perspektivisch ? QStringLiteral("1") : QStringLiteral("0"));
    F.Foto_Strecht_Skallieren->setTag(perspektivisch ? QStringLiteral("0") : QStringLiteral("1"));
    Schaltflaechen::Hover_zuruecksetzen(true);
    Schaltflaechen::Gruppe_zeigen(F);
    Perspektivisch_Skalieren = perspektivisch;
}
} // namespace

void Logo_Foto_LadenForm::Foto_Perspektivisch_Skallieren_Click() { passungWaehlen(*this, true); }

void Logo_Foto_LadenForm::Foto_Strecht_Skallieren_Click() { passungWaehlen(*this, false); }

void Logo_Foto_LadenForm::Uebernehmen_Click() {
    if (!Layer_Logo_FotoLaden_B->Visible()) {
        // Browser tab: the framed thumbnail. Without one (an empty slot, or none framed after
        // paging) there is nothing to take and the picker stays open.
        int slot = -1;
        for (int i = 0; i < kSlots && slot < 0; ++i)
            if (Fotos_Vorschaubild[size_t(i)]->BorderStyle() == 1) slot = i;
        if (slot < 0 || Fotos_Vorschaubild_Bild[size_t(slot)]->ToolTipText().isEmpty()) return;
        const QString pfad = Fotos_Vorschaubild_Bild[size_t(slot)]->ToolTipText();
        // A thumbnail chosen here is a valid choice, whatever the file tab held before.
        Auswahl_abgebrochen = false;
        if (!Foto_Modus) {
            Bilddatei_Pfad = pfad;
        } else {
            Vorschaubild_B_Test->setPicture(vb::Picture());
            Fotovorschau::Fotosammlung_Bild_laden(pfad, *Vorschaubild_B_Test, Fotovorschau::Modus_Foto);
            if (Vorschaubild_B_Test->Picture().IsEmpty()) {
                // The photo cannot be read (gone since the page was filled).
                Auswahl_abgebrochen = true;
                Logo_laden::Ungueltiges_Bildformat_melden();
                return;
            }
            if (!Logo_laden::Foto_als_Arbeitsdatei(Vorschaubild_B_Test->Picture())) {
                Auswahl_abgebrochen = true;
                return;
            }
        }
    } else {
        // After a file that is no picture (or in a folder without pictures) nothing is taken.
        if (Auswahl_abgebrochen || File1->FileName().isEmpty()) {
            Auswahl_abgebrochen = true;
            Hide();
            return;
        }
        Bilddatei_Pfad = verbinden(File1->Path(), File1->FileName());
    }
    Hide();
}

void Logo_Foto_LadenForm::Abbrechen_Click() {
    Auswahl_abgebrochen = true;
    Hide();
}

void Logo_Foto_LadenForm::Schliessen_Click(short) { Hide(); }
