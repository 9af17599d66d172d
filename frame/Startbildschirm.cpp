#include "frame/Startbildschirm.h"

#include "frame/Einstellungen.h"
#include "frame/Fenster.h"
#include "frame/Information.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "frame/Variablen_Sichern_laden.h"
#include "imaging/cDIBSection.h"
#include "logo/DLL.h"
#include "logo/Zaroreriri.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/window/Timer.h"
#include "platform/system/VBError.h"
#include "platform/window/Skin.h"

#include <QDir>
#include <cmath>

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<StartbildschirmForm> Startbildschirm;

namespace {
using Self = StartbildschirmForm;

// Places in twips; faces are painted into the window's and the layers' backgrounds.
const vb::LayoutRow kLayout[] = {
    VB_ROW(Titelzeile, 0, 0, 12000, 450, "", "title"),
    VB_ROW(Schliessen, 11610, 60, 330, 330, "", "btn:close").Hover(400, 'S'),
    VB_ROW(Beenden2, 11220, 60, 330, 330, "", "btn:exit").Hover(400, 'S'),
    VB_ROW(minimieren, 10830, 60, 330, 330, "", "btn:min").Hover(101, 'S', "Mittelbutton"),
    VB_ROW(Hilfe, 10440, 60, 330, 330, "", "btn:help").Hover(401, 'S'),
    VB_ROW(Einstellun, 10050, 60, 330, 330, "", "btn:settings").Hover(402, 'S'),
    VB_ROW(Logo, 9660, 60, 330, 330, "", "btn:about").Hover(403, 'S'),
    vb::Decor("Reiter_Logos_Vordergrund", Kind::Shape, 120, 780, 1800, 420, "", "tabon:Logos"),
    VB_ROW(Logos_mit_Schatten, 120, 780, 1800, 420, "", "tab:Logos"),
    VB_ROW(Reiter_Logos_inKalvoren, 120, 780, 1800, 420, "", "").Hover(811, 'S'),
    VB_ROW(Reiter_Kalvoren_inLogos, 1980, 780, 1800, 420, "", "tab:Kalvoren").Hover(812, 'S'),
    VB_ROW(Kalvoren_mit_Schatten, 1980, 780, 1800, 420, "", "tabon:Kalvoren"),
    VB_ROW(Reiter_Fotos_inLogos, 3840, 780, 1800, 420, "", "tab:Fotos").Hover(0, 'H'),
    VB_ROW(Reiter_Fotos_inKalvoren, 3840, 780, 1800, 420, "", "tab:Fotos").Hover(0, 'H'),
    VB_ROW(Logo_Groesse, 5760, 840, 1200, 300, "", ""),
    vb::Decor("Telefon_Rahmen", Kind::Shape, 7050, 510, 4830, 660, "", "panel"),
    VB_ROW(Vorad_Master_ComboKategorien_Label, 7140, 540, 1350, 300, "", ""),
    VB_ROW(Vorad_Master_VoradTyp_ComboKategorien_Label, 8520, 540, 1650, 300, "", ""),
    VB_ROW(COM_Port, 11100, 540, 690, 300, "", "caption:COM"),
    VB_ROW(Vorad_Master_ComboKategorien_Netzbetreiber_Label, 7140, 840, 3000, 300, "", ""),
    VB_ROW(Netzbtreiber_Maske, 7110, 825, 3750, 330, "", "own:mask"),
    VB_ROW(Netz_Raster, 10200, 840, 1590, 300, "", "own:hatch"),
    VB_ROW(Layer_Logoauswahl, 0, 1200, 12000, 7500, "", "layer"),
    VB_ROW(Layer_Kalvoren, 0, 1200, 12000, 7500, "", "layer"),
    VB_ROW(ComboKategorien_Textanzeige, 180, 120, 8400, 360, "Layer_Logoauswahl", "combo"),
    VB_ELEM(ComboKategorien, 3, 180, 120, 8400, 360, "Layer_Logoauswahl", ""),
    VB_ELEM(ComboKategorien2_Textanzeige, 0, 8700, 120, 2100, 360, "Layer_Logoauswahl", "combo"),
    VB_ELEM(ComboKategorien2_TextanzeigeShape, 0, 8700, 120, 2100, 360, "Layer_Logoauswahl", "panel"),
    VB_ELEM(ComboKategorien2, 0, 8700, 120, 2100, 360, "Layer_Logoauswahl", ""),
    VB_GRID(Logo_Vorschaubild, {180, 1980, 3780, 5580, 7380}, {600, 2100, 3600, 5100}, 1725, 1275, "Layer_Logoauswahl", "frame"),
    VB_GRID(Logo_Vorschaubild_Bild, {285, 2085, 3885, 5685, 7485}, {705, 2205, 3705, 5205}, 1515, 900, "Layer_Logoauswahl", ""),
    VB_GRID(Logo_Vorschaubild_Bildname, {225, 2025, 3825, 5625, 7425}, {1650, 3150, 4650, 6150}, 1635, 210, "Layer_Logoauswahl", ""),
    VB_ROW(LogoScrollbalken, 9180, 600, 240, 5775, "Layer_Logoauswahl", ""),
    VB_ROW(Fileilistbox, 0, 0, 1500, 1500, "Layer_Logoauswahl", ""),
    vb::Decor("Vorschau_Rahmen", Kind::Shape, 9600, 600, 2250, 1575, "Layer_Logoauswahl", "display"),
    VB_ELEM(Gruen_Transferlogo_LogoBrowser, 0, 9960, 900, 1515, 975, "Layer_Logoauswahl", ""),
    VB_ELEM(Transfer, 0, 9675, 2400, 2100, 450, "Layer_Logoauswahl", "btn:send:Senden").Hover(411, 'S'),
    VB_ELEM(Loeschen, 0, 9675, 2940, 2100, 450, "Layer_Logoauswahl", "btn:delete:Betreiberlogo").Hover(412, 'S'),
    VB_ROW(Speichern, 9675, 3480, 2100, 450, "Layer_Logoauswahl", "btn:save:Speichern").Hover(813, 'S'),
    VB_ROW(In_Zaroreriri_bearbeiten, 9675, 4020, 2100, 450, "Layer_Logoauswahl", "btn:edit:Bearbeiten").Hover(814, 'S'),
    VB_ROW(ComboKategorien_Textanzeige_Kalvoren, 180, 120, 8400, 360, "Layer_Kalvoren", "combo"),
    VB_ELEM(ComboKategorien, 2, 180, 120, 8400, 360, "Layer_Kalvoren", ""),
    VB_ELEM(ComboKategorien2_Textanzeige, 1, 8700, 120, 2100, 360, "Layer_Kalvoren", "combo"),
    VB_ELEM(ComboKategorien2_TextanzeigeShape, 1, 8700, 120, 2100, 360, "Layer_Kalvoren", "panel"),
    VB_ELEM(ComboKategorien2, 1, 8700, 120, 2100, 360, "Layer_Kalvoren", ""),
    VB_ROW(Logo_Stift, 180, 600, 600, 600, "Layer_Kalvoren", "btn:pen").Hover(419, 'S'),
    VB_ROW(Logo_Linie, 180, 1230, 600, 600, "Layer_Kalvoren", "btn:line").Hover(423, 'S'),
    VB_ROW(Logo_Kreis, 180, 1860, 600, 600, "Layer_Kalvoren", "btn:circle").Hover(421, 'S'),
    VB_ROW(Logo_Kreis_schwarz, 180, 2490, 600, 600, "Layer_Kalvoren", "btn:disc").Hover(822, 'S'),
    VB_ROW(Logo_Quadrat, 180, 3120, 600, 600, "Layer_Kalvoren", "btn:rect").Hover(422, 'S'),
    VB_ROW(Logo_Rechteck_Schwarz, 180, 3750, 600, 600, "Layer_Kalvoren", "btn:rectfill").Hover(821, 'S'),
    VB_ROW(Logo_Text, 180, 4380, 600, 600, "Layer_Kalvoren", "btn:text").Hover(416, 'S'),
    VB_ROW(Logo_Radiegummi, 180, 600, 600, 600, "Layer_Kalvoren", "").Hover(0, 'H'),
    VB_ROW(Logo_Linie_schwarz, 180, 1230, 600, 600, "Layer_Kalvoren", "").Hover(0, 'H'),
    VB_ROW(Logo_Neu, 840, 600, 600, 600, "Layer_Kalvoren", "btn:new").Hover(420, 'S'),
    VB_ROW(Logo_undo, 840, 1230, 600, 600, "Layer_Kalvoren", "btn:undo").Hover(424, 'S'),
    VB_ROW(Logo_invers, 840, 1860, 600, 600, "Layer_Kalvoren", "btn:invert").Hover(415, 'S'),
    VB_ROW(Logo_hori_spiegel, 840, 2490, 600, 600, "Layer_Kalvoren", "btn:mirrorh").Hover(414, 'S'),
    VB_ROW(Logo_verti_spiegel, 840, 3120, 600, 600, "Layer_Kalvoren", "btn:mirrorv").Hover(413, 'S'),
    VB_ROW(Raster_Undo_Box, 840, 1230, 600, 600, "Layer_Kalvoren", "own:cover"),
    VB_ROW(Logo_hoch_bit, 840, 5100, 600, 600, "Layer_Kalvoren", "btn:up").Hover(418, 'S'),
    VB_ROW(Logo_links_bit, 180, 5730, 600, 600, "Layer_Kalvoren", "btn:left").Hover(418, 'S'),
    VB_ROW(Logo_rechts_bit, 1500, 5730, 600, 600, "Layer_Kalvoren", "btn:right").Hover(418, 'S'),
    VB_ROW(Logo_runter_bit, 840, 6360, 600, 600, "Layer_Kalvoren", "btn:down").Hover(418, 'S'),
    VB_ROW(Malfarbe_schwarz, 1500, 600, 600, 600, "Layer_Kalvoren", "btn:black").Hover(824, 'G'),
    VB_ROW(Malfarbe_gruen, 1500, 1230, 600, 600, "Layer_Kalvoren", "btn:green").Hover(823, 'G'),
    VB_ROW(Malfarbe_gemischt, 1500, 1860, 600, 600, "Layer_Kalvoren", "btn:mixed").Hover(825, 'G'),
    VB_ROW(Malwerkzeug_Vorschau, 1500, 3120, 600, 600, "Layer_Kalvoren", ""),
    vb::Decor("Raster_Rahmen", Kind::Shape, 2250, 600, 6750, 4500, "Layer_Kalvoren", "well"),
    VB_ROW(Mitte_zentrierung, 5400, 2850, 450, 150, "Layer_Kalvoren", ""),
    VB_ROW(Mitte_zentrierung_vert, 5625, 2700, 150, 450, "Layer_Kalvoren", ""),
    VB_ROW(Logo_Raster_Grafik, 3465, 2430, 4320, 840, "Layer_Kalvoren", ""),
    vb::Decor("Logo_Rahmen_1zu1", Kind::Shape, 2250, 5250, 6750, 2100, "Layer_Kalvoren", "frame"),
    VB_ROW(Logo_Weiss_Grafik, 2400, 5400, 1080, 210, "Layer_Kalvoren", ""),
    VB_ROW(Logo_Undo_Grafik, 2400, 5400, 1080, 210, "Layer_Kalvoren", ""),
    VB_ROW(Testbild, 2400, 5400, 1080, 210, "Layer_Kalvoren", ""),
    VB_ROW(Zoom, 9420, 600, 2175, 1065, "Layer_Kalvoren", ""),
    VB_ROW(Gruen_Transferlogo_LogoBrowser_Rahmen, 9150, 1800, 2700, 1650, "Layer_Kalvoren", "display"),
    VB_ELEM(Gruen_Transferlogo_LogoBrowser, 1, 9960, 2130, 1080, 210, "Layer_Kalvoren", "").Hover(816, 'T'),
    VB_ELEM(Transfer, 1, 9450, 3750, 2100, 450, "Layer_Kalvoren", "btn:send:Senden").Hover(411, 'S'),
    VB_ELEM(Loeschen, 1, 9450, 4290, 2100, 450, "Layer_Kalvoren", "btn:delete:Betreiberlogo").Hover(412, 'S'),
    VB_ROW(Kalvoren_Logo_Speichern, 9450, 4830, 2100, 450, "Layer_Kalvoren", "btn:save:Speichern").Hover(820, 'S'),
    VB_ROW(Laden, 9450, 5370, 2100, 450, "Layer_Kalvoren", "btn:open:Logo laden").Hover(818, 'S'),
    VB_ROW(Laden_Fotos_Browser, 9450, 5910, 2100, 450, "Layer_Kalvoren", "btn:photo:Foto laden").Hover(819, 'S'),
    VB_ROW(Kalvoren_bearbeiten_zurueck, 9450, 6450, 2100, 450, "Layer_Kalvoren", "btn:back:Zurück").Hover(0, 'H'),
};

// Work files removed at quit, in this order.
const char* const kArbeitsdateien[] = {"test.bmp", "dither.bmp", "sw.bmp", "scan.bmp", "send.bmp", "temp_scan.bmp", "scan_temp.bmp",
                                       "muster.bmp", "freeze.bmp", "undo.bmp", "raster.bmp", "foto.bmp", "foto_s.bmp"};

void alleListenSchliessen(StartbildschirmForm& F) {
    for (vb::ComboBox* c : {F.ComboKategorien[2], F.ComboKategorien[3], F.ComboKategorien2[0], F.ComboKategorien2[1]}) c->setVisible(false);
}
} // namespace

StartbildschirmForm::StartbildschirmForm() : vb::Form(QStringLiteral("Startbildschirm"), kLayout, 12000, 8700) {}
StartbildschirmForm::~StartbildschirmForm() = default;

void StartbildschirmForm::Wire() {
    // Frame
    Schliessen->Click = [this] { Schliessen_Click(); };
    Beenden2->Click = [this] { Beenden2_Click(); };
    minimieren->Click = [this] { minimieren_Click(); };
    Hilfe->Click = [this] { Hilfe_Click(); };
    Logo->Click = [this] { Logo_Click(); };
    Einstellun->Click = [this] { Einstellun_Click(); };
    Titelzeile->MouseMove = [this](int b, int s, float x, float y) { Titelzeile_MouseMove(b, s, x, y); };
    Layer_Kalvoren->MouseMove = [this](int b, int s, float x, float y) { Layer_Kalvoren_MouseMove(b, s, x, y); };
    // The gallery layer lies over the window's background and acts as it.
    Layer_Logoauswahl->MouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
    Layer_Logoauswahl->DblClick = [this] { Form_DblClick(); };
    Schaltflaechen::Hover_verdrahten(*this);

    wireGalerie();
    wireLaden();
    wireSpeichern();
    wireTransfer();
    wireWerkzeuge();
}

void StartbildschirmForm::Design() {
    setCaption(QStringLiteral("Vorad Logo-Kalvoren"));
    Titelzeile->setForeColor(vb::vbWhite);
    Titelzeile->setFontBold(true);
    Titelzeile->setFontSize(10);
    COM_Port->setCaption(QStringLiteral("1"));
    COM_Port->setAlignment(1);
    Logo_Groesse->setAlignment(2);
    Logo_Groesse->setFontBold(true);
    alleListenSchliessen(*this);
    Netzbtreiber_Maske->setVisible(false);
    Netz_Raster->setVisible(false);

    designGalerie();
    designLaden();
    designTransfer();
    designWerkzeuge();
}

void StartbildschirmForm::Form_Load() {
    vb::App::SetHelpFile(Programmverzeichnis + QStringLiteral("vorad.hlp"));
    Logo_Zeichenflaeche = Gruen_Transferlogo_LogoBrowser[1];
    vb::Try([&] { Titelzeile->setCaption(LoadResString(804)); });
    vb::Try([&] { setCaption(LoadResString(104)); });
    for (int i = 1; i <= 9; ++i)
        vb::Try([&] {
            const QString t = LoadResString(189 + i);
            ComboKategorien[2]->AddItem(t);
            ComboKategorien[3]->AddItem(t);
        });
    for (int i = 1; i <= 5; ++i)
        vb::Try([&] {
            const QString t = LoadResString(302 + i);
            ComboKategorien2[0]->AddItem(t);
            ComboKategorien2[1]->AddItem(t);
        });
    vb::Try([&] { ComboKategorien2[0]->setListIndex(0); });
    vb::Try([&] { ComboKategorien2[1]->setListIndex(0); });
    Fenster::Bildfeld_abrunden(*Zoom);
    for (vb::Label* l : Logo_Vorschaubild_Bildname) l->setCaption(QString());
    vb::Try([&] { ComboKategorien_Textanzeige->setCaption(LoadResString(190)); });
    // The chosen tool and paint colour show their pictures from the start.
    if (vb::Control* s = Schaltflaechenlader->Find(QStringLiteral("Logo_Stift"))) Malwerkzeug_Vorschau->setPicture(Schaltflaechen::Bild(s));
    if (vb::Control* s = Schaltflaechenlader->Find(QStringLiteral("Malfarbe_schwarz"))) Malfarbe_schwarz->setPicture(Schaltflaechen::Bild(s));
}

void StartbildschirmForm::Schliessen_Click() {
    vb::Try([&] { Info_Text = LoadResString(21); });
    Info_Modus = 1;
    vb::Try([&] { Information->Show(vb::vbModal); });
    if (Info_Modus == 0) return;
    vb::Try([] { DLL::COM_Port_freigeben(); });
    vb::Try([] { Variablen_Sichern_laden::Variablen_sichern(Einstellungen->Gesicherte_Felder()); });
    // The list's names are matched without regard to case; only plain files directly in the
    // program folder are touched.
    vb::Try([] {
        const QDir dir(Programmverzeichnis);
        const QStringList present = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
        for (const char* name : kArbeitsdateien)
            for (const QString& f : present)
                if (f.compare(QLatin1String(name), Qt::CaseInsensitive) == 0) QFile::remove(dir.filePath(f));
    });
    vb::App::End(0);
}

void StartbildschirmForm::Beenden2_Click() {
    vb::Try([] {
        Intro->Splash->setTimerEnabled(false);
        Intro->Splash->setInterval(4000);
        Intro->Splash->setTimerEnabled(true);
        Intro->Show(vb::vbModal);
    });
    Schliessen_Click();
}

void StartbildschirmForm::minimieren_Click() { setWindowState(vb::vbMinimized); }

void StartbildschirmForm::Hilfe_Click() { Schaltflaechen::Hilfe_zeigen(); }

void StartbildschirmForm::Logo_Click() {
    vb::Try([] {
        Intro->Splash->setTimerEnabled(false);
        Intro->Splash->setInterval(2500);
        Intro->Show(vb::vbModeless);
        Intro->Splash->setTimerEnabled(true);
    });
}

void StartbildschirmForm::Einstellun_Click() {
    vb::Try([] {
        Einstellungen->setEnabled(true);
        Einstellungen->Show(vb::vbModal);
    });
}

void StartbildschirmForm::Form_DblClick() {
    setLeft(vb::Screen::Width() / 2 - Width() / 2);
    setTop(vb::Screen::Height() / 2 - Height() / 2);
}

void StartbildschirmForm::Form_KeyDown(int& KeyCode, int) { Schaltflaechen::Hilfetaste(KeyCode); }

void StartbildschirmForm::Form_MouseMove(int Button, int, float, float) {
    Schaltflaechen::Fenster_ziehen(*this, Button);
    alleListenSchliessen(*this);
    Schaltflaechen::Hover_zuruecksetzen(true);
}

void StartbildschirmForm::Titelzeile_MouseMove(int Button, int, float, float) { Schaltflaechen::Fenster_ziehen(*this, Button); }

void StartbildschirmForm::Layer_Kalvoren_MouseMove(int, int, float, float) {
    Schaltflaechen::Hover_zuruecksetzen(false);
    alleListenSchliessen(*this);
    Schaltflaechen::Gruppe_zeigen(*this);
}

void StartbildschirmForm::Form_QueryUnload(int& Cancel, int UnloadMode) {
    // The window manager's close quits as the close button does, after its question.
    Cancel = 1;
    if (UnloadMode == vb::vbFormControlMenu) Schliessen_Click();
}
