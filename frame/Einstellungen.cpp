#include "frame/Einstellungen.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "photo/Fotoeditor.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/phone/PhoneLink.h"
#include "platform/window/Label.h"
#include "platform/window/Shape.h"
#include "platform/window/Skin.h"
#include "platform/window/Timer.h"
#include "platform/capture/Twain.h"
#include "platform/system/VBError.h"

#include <QPainter>
#include <array>

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<EinstellungenForm> Einstellungen;

namespace {
// 450 x 230 pixels: two columns of choices, the COM port and the scanner below them, the
// buttons at the bottom right. Captions without a text of their own are painted on the skin.
using Self = EinstellungenForm;

const vb::LayoutRow kLayout[] = {
    VB_ROW(Titelzeile, 0, 0, 6750, 405, "", "title"),
    VB_ROW(Schliessen, 6330, 38, 330, 330, "", "btn:close").Hover(400, 'S'),
    VB_ROW(Hersteller_Beschriftung, 300, 540, 3000, 240, "", "caption:Hersteller"),
    VB_ROW(Modell_Beschriftung, 3450, 540, 3000, 240, "", "caption:Modell"),
    VB_ROW(Vorad_Master_ComboKategorien_Label, 300, 780, 3000, 360, "", "combo"),
    VB_ROW(Vorad_Master_ComboKategorien, 300, 780, 3000, 360),
    VB_ROW(Vorad_Master_VoradTyp_ComboKategorien_Label, 3450, 780, 3000, 360, "", "combo"),
    VB_ROW(Vorad_Master_VoradTyp_ComboKategorien, 3450, 780, 3000, 360),
    VB_ROW(Netzbetreiber_Beschriftung, 300, 1230, 3000, 240, "", "caption:Netzbetreiber"),
    VB_ROW(Berechnungsart_Beschriftung, 3450, 1230, 3000, 240, "", "caption:Umrechnung von Fotos"),
    VB_ROW(Vorad_Master_ComboKategorien_Netzbetreiber_Label, 300, 1470, 3000, 360, "", "combo"),
    VB_ROW(Vorad_Master_ComboKategorien_Netzbetreiber, 300, 1470, 3000, 360),
    VB_ROW(Netzbtreiber_Maske, 270, 1200, 3060, 660, "", "own:hatch"),
    VB_ROW(Berechnungsart_Combobox_Label, 3450, 1470, 3000, 360, "", "combo"),
    VB_ROW(Berechnungsart_Combobox, 3450, 1470, 3000, 360),
    VB_ROW(COM_Beschriftung, 300, 1920, 3000, 240, "", "caption:COM-Port"),
    VB_ROW(Scanner_Beschriftung, 3450, 1920, 3000, 240, "", "caption:Scanner"),
    VB_ROW(COM_Port, 300, 2160, 1200, 360, "", "frame"),
    VB_ROW(PfeilHoch, 1590, 2190, 360, 300, "", "btn:up").Hover(406, 'S'),
    VB_ROW(PfeilRunter, 2010, 2190, 360, 300, "", "btn:down").Hover(407, 'S', "Logo_scroll_runter"),
    VB_ROW(Scannerquelle_festlegen, 3450, 2115, 2400, 450, "", "btn:scanner:Scannerquelle").Hover(808, 'S'),
    VB_ROW(Scannerquelle_Deaktiviert, 3450, 2115, 2400, 450).Hover(854, 'T'),
    VB_ROW(OK, 2700, 2790, 1800, 450, "", "btn:ok:OK").Hover(404, 'S'),
    VB_ROW(Abbrechen, 4650, 2790, 1800, 450, "", "btn:close:Abbrechen").Hover(405, 'S'),
    VB_ROW(InfoTimer, 0, 0, 0, 0),
};
// The operator codes (country 262, then the network) by list index.
const std::array<const char*, 4> kNetzbetreiber_Codes = {"26201", "26202", "26203", "26207"};

// The runtime's source choice; whatever it answers, the dialog goes on.
void scannerquelleWaehlen(EinstellungenForm& e) { vb::TWAIN_SelectImageSource(&e); }

// Ctrl+T also opens the photo editor's scan button.
void fotoeditorScannerFreigeben() {
    Fotoeditor->Scanner_Deaktiviert->setVisible(false);
    Fotoeditor->Bild_scannen_Fotos_Bearbeiten->setVisible(true);
}

// A caption read as a number: leading blanks, an optional sign and the digits up to the first
// other character; 0 when there are none.
int zahl(const QString& text) {
    const QString t = text.trimmed();
    int i = 0, sign = 1;
    if (i < t.size() && (t[i] == QLatin1Char('-') || t[i] == QLatin1Char('+'))) sign = t[i++] == QLatin1Char('-') ? -1 : 1;
    long long n = 0;
    for (; i < t.size() && t[i].isDigit() && n < 100000; ++i) n = n * 10 + t[i].digitValue();
    return int(sign * n);
}

// The disabled look of the scanner button: its face, faded into the window's body.
QImage deaktiviert(QSize px) {
    QImage img = vb::Skin::Face("btn:scanner:Scannerquelle", px, vb::Skin::Look::Normal);
    QPainter p(&img);
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    p.fillRect(img.rect(), QColor(0xDD, 0xE3, 0xE7, 170));
    return img;
}
} // namespace

EinstellungenForm::EinstellungenForm() : vb::Form(QStringLiteral("Einstellungen"), kLayout, 6750, 3450) {}

void EinstellungenForm::Design() {
    Titelzeile->setForeColor(vb::vbWhite);
    Titelzeile->setFontBold(true);
    for (vb::Shape* s : {Hersteller_Beschriftung, Modell_Beschriftung, Netzbetreiber_Beschriftung, Berechnungsart_Beschriftung, COM_Beschriftung,
                         Scanner_Beschriftung})
        s->setBorderWidth(0);
    // A design-time caption: no change event.
    auto change = std::move(COM_Port->Change);
    COM_Port->setCaption(QStringLiteral("1"));
    COM_Port->Change = std::move(change);
    COM_Port->setAlignment(2);
    COM_Port->setFontBold(true);
    COM_Port->setFontSize(10);
    for (vb::Label* l : {Vorad_Master_ComboKategorien_Label, Vorad_Master_VoradTyp_ComboKategorien_Label,
                         Vorad_Master_ComboKategorien_Netzbetreiber_Label, Berechnungsart_Combobox_Label})
        l->setFontSize(9);
    for (vb::ComboBox* c : {Vorad_Master_ComboKategorien, Vorad_Master_VoradTyp_ComboKategorien,
                            Vorad_Master_ComboKategorien_Netzbetreiber, Berechnungsart_Combobox})
        c->setVisible(false);
    Netzbtreiber_Maske->setVisible(false);
    Scannerquelle_Deaktiviert->setStretch(true);
    Scannerquelle_Deaktiviert->setPicture(vb::Picture(deaktiviert(QSize(vb::TwipsToPx(Scannerquelle_Deaktiviert->Width()),
                                                                          vb::TwipsToPx(Scannerquelle_Deaktiviert->Height())))));
    InfoTimer->setTimerEnabled(false);
    InfoTimer->setInterval(10000);
}

void EinstellungenForm::Wire() {
    COM_Port->Change = [this] { COM_Port_Change(); };
    PfeilHoch->Click = [this] { PfeilHoch_Click(); };
    PfeilRunter->Click = [this] { PfeilRunter_Click(); };
    Vorad_Master_ComboKategorien->Click = [this] { Vorad_Master_ComboKategorien_Click(); };
    Vorad_Master_VoradTyp_ComboKategorien->Click = [this] { Vorad_Master_VoradTyp_ComboKategorien_Click(); };
    Vorad_Master_ComboKategorien_Netzbetreiber->Click = [this] { Vorad_Master_ComboKategorien_Netzbetreiber_Click(); };
    Berechnungsart_Combobox->Click = [this] { Berechnungsart_Combobox_Click(); };
    Vorad_Master_ComboKategorien_Label->MouseMove = [this](int b, int s, float x, float y) {
        Vorad_Master_ComboKategorien_Label_MouseMove(b, s, x, y);
    };
    Vorad_Master_VoradTyp_ComboKategorien_Label->MouseMove = [this](int b, int s, float x, float y) {
        Vorad_Master_VoradTyp_ComboKategorien_Label_MouseMove(b, s, x, y);
    };
    Vorad_Master_ComboKategorien_Netzbetreiber_Label->MouseMove = [this](int b, int s, float x, float y) {
        Vorad_Master_ComboKategorien_Netzbetreiber_Label_MouseMove(b, s, x, y);
    };
    Berechnungsart_Combobox_Label->MouseMove = [this](int b, int s, float x, float y) {
        Berechnungsart_Combobox_Label_MouseMove(b, s, x, y);
    };
    Titelzeile->MouseMove = [this](int b, int s, float x, float y) { Titelzeile_MouseMove(b, s, x, y); };
    Scannerquelle_festlegen->Click = [this] { Scannerquelle_festlegen_Click(); };
    OK->Click = [this] { OK_Click(); };
    Abbrechen->Click = [this] { Abbrechen_Click(); };
    Schliessen->Click = [this] { Schliessen_Click(); };
    Schaltflaechen::Hover_verdrahten(*this);
    // The operator mask lies on the background: moving over it is moving over the window.
    Netzbtreiber_Maske->MouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
}

void EinstellungenForm::Form_Load() {
    Scannerquelle_Deaktiviert->setVisible(!Scanner_vorhanden);
    Scannerquelle_festlegen->setVisible(Scanner_vorhanden);
    COM_Port_Change();
    vb::Try([&] {
        Titelzeile->setCaption(LoadResString(800));
        setCaption(Titelzeile->Caption());
    });
}

void EinstellungenForm::Form_Activate() {
    Fenster::Fenster_abrunden(*this);
    setEnabled(true);
    vb::Try([&] {
        setLeft(Startbildschirm->Left() + Startbildschirm->Width() / 2 - Width() / 2);
        setTop(Startbildschirm->Top() + Startbildschirm->Height() / 2 - Height() / 2);
    });
    vb::App::DoEvents();
    Gesicherter_COM_Port = COM_Port->Caption();
    Gesicherter_Hersteller = short(Vorad_Master_ComboKategorien->ListIndex());
    Gesicherter_Netzbetreiber = short(Vorad_Master_ComboKategorien_Netzbetreiber->ListIndex());
}

void EinstellungenForm::COM_Port_Change() {
    vb::Try([&] { Startbildschirm->COM_Port->setCaption(COM_Port->Caption()); });
}

void EinstellungenForm::PfeilHoch_Click() {
    const int n = zahl(COM_Port->Caption());
    COM_Port->setCaption(n < 4 ? QString::number(n + 1) : QStringLiteral("1"));
}

void EinstellungenForm::PfeilRunter_Click() {
    const int n = zahl(COM_Port->Caption());
    COM_Port->setCaption(n == 1 ? QStringLiteral("4") : QString::number(n - 1));
}

void EinstellungenForm::Vorad_Master_ComboKategorien_Click() {
    StartbildschirmForm& haupt = *Startbildschirm;
    vb::ComboBox* modelle = Vorad_Master_VoradTyp_ComboKategorien;
    int erster = 0, anzahl = 0;
    if (Vorad_Master_ComboKategorien->ListIndex() == 0) {
        Vorad_Master_ComboKategorien_Netzbetreiber_Label->setVisible(true);
        haupt.Vorad_Master_ComboKategorien_Netzbetreiber_Label->setVisible(true);
        haupt.Netzbtreiber_Maske->setVisible(false);
        Netzbtreiber_Maske->setVisible(false);
        haupt.Netz_Raster->setVisible(false);
        erster = 510;
        anzahl = 7;
    } else {
        haupt.Netz_Raster->setVisible(true);
        Vorad_Master_ComboKategorien_Netzbetreiber->setVisible(false);
        Vorad_Master_ComboKategorien_Netzbetreiber_Label->setVisible(false);
        haupt.Vorad_Master_ComboKategorien_Netzbetreiber_Label->setVisible(false);
        haupt.Netzbtreiber_Maske->setVisible(true);
        Netzbtreiber_Maske->setVisible(true);
        erster = 519;
        anzahl = 4;
    }
    modelle->Clear();
    for (int i = 0; i < anzahl; ++i) vb::Try([&] { modelle->AddItem(LoadResString(erster + i)); });
    // The emptied list has no selection: choosing the first model runs its handler.
    vb::Try([&] { modelle->setListIndex(0); });
    Vorad_Master_ComboKategorien->setVisible(false);
    Vorad_Master_ComboKategorien_Label->setCaption(Vorad_Master_ComboKategorien->Text());
    haupt.Vorad_Master_ComboKategorien_Label->setCaption(Vorad_Master_ComboKategorien->Text());
}

void EinstellungenForm::Vorad_Master_VoradTyp_ComboKategorien_Click() {
    Vorad_Master_VoradTyp_ComboKategorien->setVisible(false);
    const QString t = Vorad_Master_VoradTyp_ComboKategorien->Text();
    Vorad_Master_VoradTyp_ComboKategorien_Label->setCaption(t);
    Startbildschirm->Vorad_Master_VoradTyp_ComboKategorien_Label->setCaption(t);
    // The phone link speaks the protocol of the phone shown here.
    vb::SetPhoneModel(Vorad_Master_ComboKategorien->ListIndex(), Vorad_Master_VoradTyp_ComboKategorien->ListIndex());
}

void EinstellungenForm::Vorad_Master_ComboKategorien_Netzbetreiber_Click() {
    const int i = Vorad_Master_ComboKategorien_Netzbetreiber->ListIndex();
    if (i >= 0 && i < int(kNetzbetreiber_Codes.size())) Netzbetreiber_Code = QString::fromLatin1(kNetzbetreiber_Codes[size_t(i)]);
    const QString t = Vorad_Master_ComboKategorien_Netzbetreiber->Text();
    Vorad_Master_ComboKategorien_Netzbetreiber_Label->setCaption(t);
    Startbildschirm->Vorad_Master_ComboKategorien_Netzbetreiber_Label->setCaption(t);
    Vorad_Master_ComboKategorien_Netzbetreiber->setVisible(false);
}

// The conversion method is chosen like the others: its label opens the list, a choice closes
// it and shows in the label.
void EinstellungenForm::Berechnungsart_Combobox_Click() {
    Berechnungsart_Combobox->setVisible(false);
    Berechnungsart_Combobox_Label->setCaption(Berechnungsart_Combobox->Text());
}

namespace {
void listeOeffnen(EinstellungenForm& f, vb::Label* label, vb::ComboBox* liste, int tooltip) {
    vb::ComboBox* const gruppe[] = {f.Vorad_Master_ComboKategorien, f.Vorad_Master_VoradTyp_ComboKategorien,
                                    f.Vorad_Master_ComboKategorien_Netzbetreiber, f.Berechnungsart_Combobox};
    Schaltflaechen::Liste_oeffnen(*label, *liste, tooltip, gruppe);
}
} // namespace

void EinstellungenForm::Vorad_Master_ComboKategorien_Label_MouseMove(int, int, float, float) {
    listeOeffnen(*this, Vorad_Master_ComboKategorien_Label, Vorad_Master_ComboKategorien, 806);
}
void EinstellungenForm::Vorad_Master_VoradTyp_ComboKategorien_Label_MouseMove(int, int, float, float) {
    listeOeffnen(*this, Vorad_Master_VoradTyp_ComboKategorien_Label, Vorad_Master_VoradTyp_ComboKategorien, 807);
}
void EinstellungenForm::Vorad_Master_ComboKategorien_Netzbetreiber_Label_MouseMove(int, int, float, float) {
    listeOeffnen(*this, Vorad_Master_ComboKategorien_Netzbetreiber_Label, Vorad_Master_ComboKategorien_Netzbetreiber, 809);
}
void EinstellungenForm::Berechnungsart_Combobox_Label_MouseMove(int, int, float, float) {
    listeOeffnen(*this, Berechnungsart_Combobox_Label, Berechnungsart_Combobox, 0);
}

void EinstellungenForm::Scannerquelle_festlegen_Click() { scannerquelleWaehlen(*this); }

void EinstellungenForm::OK_Click() {
    vb::Try([] { Startbildschirm->setEnabled(true); });
    vb::Try([&] { setze_Kategorien(); });
    vb::Try([&] { COM_Port_Nummer = short(zahl(COM_Port->Caption())); });
    Info_Modus = 1;
    vb::Try([&] { Hide(); });
}

void EinstellungenForm::Abbrechen_Click() {
    vb::Try([] { Startbildschirm->setEnabled(true); });
    // The categories follow the lists as they are now, before the restore.
    vb::Try([&] { setze_Kategorien(); });
    Info_Modus = 0;
    vb::Try([&] { COM_Port->setCaption(Gesicherter_COM_Port); });
    vb::Try([&] { Vorad_Master_ComboKategorien->setListIndex(Gesicherter_Hersteller); });
    vb::Try([&] { Vorad_Master_ComboKategorien_Netzbetreiber->setListIndex(Gesicherter_Netzbetreiber); });
    vb::Try([&] { Hide(); });
}

void EinstellungenForm::Schliessen_Click() { Abbrechen_Click(); }

void EinstellungenForm::Form_KeyDown(int& KeyCode, int) { Schaltflaechen::Hilfetaste(KeyCode); }

void EinstellungenForm::Form_KeyPress(int& KeyAscii) {
    if (KeyAscii != 20) return; // Ctrl+T: scanning although no scanner was found
    Scannerquelle_Deaktiviert->setVisible(false);
    Scannerquelle_festlegen->setVisible(true);
    Scannerquelle_festlegen->setEnabled(true);
    fotoeditorScannerFreigeben();
    Scanner_vorhanden = true;
}

void EinstellungenForm::Form_MouseMove(int Button, int, float, float) {
    Schaltflaechen::Fenster_ziehen(*this, Button);
    if (Hover_Objekt && Schaltflaechen::Bild(Hover_Objekt).Handle() != 0) {
        Hover_Name = Hover_Objekt->Name();
        Schaltflaechen::Bild_setzen(Hover_Objekt, vb::Picture());
        loesche_Comboboxen();
    }
}

void EinstellungenForm::Titelzeile_MouseMove(int Button, int, float, float) { Schaltflaechen::Fenster_ziehen(*this, Button); }

void EinstellungenForm::loesche_Comboboxen() {
    Vorad_Master_ComboKategorien->setVisible(false);
    Vorad_Master_VoradTyp_ComboKategorien->setVisible(false);
    Vorad_Master_ComboKategorien_Netzbetreiber->setVisible(false);
    Berechnungsart_Combobox->setVisible(false);
}

void EinstellungenForm::setze_Kategorien() {
    const int m = Vorad_Master_ComboKategorien->ListIndex();
    const int t = Vorad_Master_VoradTyp_ComboKategorien->ListIndex();
    int k = -1;
    if (t == 0 || t == 1 || t == 2 || t == 5 || t == 6) k = 7;
    if (t == 3 || t == 4) k = 8;
    if (m == 1 && t == 0) k = 0;
    if (m == 1 && (t == 1 || t == 2)) k = 1;
    if (m == 1 && t == 3) k = 2;
    if (k < 0) return;
    Startbildschirm->ComboKategorien[3]->setListIndex(k);
    Startbildschirm->ComboKategorien[2]->setListIndex(k);
}

void EinstellungenForm::Form_QueryUnload(int& Cancel, int) {
    // The window manager's close cancels the dialog and gives the main window back.
    Cancel = 1;
    if (Visible()) Abbrechen_Click();
}
