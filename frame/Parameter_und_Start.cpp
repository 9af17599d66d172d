#include "frame/Parameter_und_Start.h"

#include "frame/Fenster.h"
#include "frame/Information.h"
#include "frame/Intro.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/system/Language.h"
#include "platform/window/App.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/system/MsgBox.h"
#include "platform/window/PictureBox.h"
#include "platform/capture/Scanner.h"
#include "platform/window/Screen.h"
#include "platform/system/Seams.h"
#include "platform/system/Shell.h"
#include "platform/system/SingleInstance.h"
#include "platform/system/VBError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cmath>

namespace Parameter_und_Start {

Zustand Gemeinsam;

namespace {
QString& systemFolder() { return vb::seams().systemFolder; }
// How long the start waits for SANE to list its scanners; a backend that takes longer (a
// network scanner that does not answer) counts as no scanner.
constexpr int kScannersucheMs = 3000;
} // namespace

QString Instanzname(const QString& programmordner) {
    const QByteArray pfad = QFile::encodeName(QDir(programmordner).canonicalPath().isEmpty() ? QDir(programmordner).absolutePath()
                                                                                        : QDir(programmordner).canonicalPath());
    return QStringLiteral("vorad-logo-kalvoren-") +
           QString::fromLatin1(QCryptographicHash::hash(pfad, QCryptographicHash::Sha1).toHex().left(16));
}

void Vordergrund_holen() {
    // The window the user last had on top: a modal one first, it stays above its owner.
    vb::Form* oben = nullptr;
    for (vb::Form* f : vb::AllForms())
        if (f->Visible() && f->IsModalShowing()) {
            oben = f;
            break;
        }
    if (!oben)
        for (vb::Form* f : vb::AllForms())
            if (f->Visible()) {
                oben = f;
                break;
            }
    // Once the splash has shown it, the main window comes back when minimised or hidden.
    if (Startbildschirm.IsLoaded() && Startbildschirm->ShownOnce()) {
        if (Startbildschirm->WindowState() == vb::vbMinimized) Startbildschirm->setWindowState(vb::vbNormal);
        if (!Startbildschirm->Visible()) vb::Try([] { Startbildschirm->Show(vb::vbModeless); });
        if (!oben) oben = &*Startbildschirm;
    }
    if (!oben) return;
    if (oben->WindowState() == vb::vbMinimized) oben->setWindowState(vb::vbNormal);
    oben->Widget()->raise();
    oben->Widget()->activateWindow();
}

void SetSystemFolder(const QString& folder) { systemFolder() = folder; }
QString Windowsverzeichnis_ermitteln() { return systemFolder().left(255); }

long Farbanzahl() {
    const int bits = std::min(vb::GetDeviceCaps(vb::BITSPIXEL), 24);
    return long(std::lround(std::pow(2.0, bits) * vb::GetDeviceCaps(vb::PLANES)));
}
bool KleineSchriftarten() { return vb::GetDeviceCaps(vb::LOGPIXELSX) == 96; }
bool GrosseSchriftarten() { return vb::GetDeviceCaps(vb::LOGPIXELSX) == 120; }

void Grundzustand() { Gemeinsam = Zustand{}; }

void Main() {
    // Before any window or message box: the toolkit's own texts in German.
    vb::InstallGermanTranslations();
    Perspektivisch_Skalieren = false;
    // A second start brings the running program to the front and ends without a window.
    // One instance per user and program folder: it owns the work files and the settings file there.
    if (vb::SingleInstance::AnotherIsRunning(Instanzname(vb::App::Path()), Vordergrund_holen)) vb::App::End(0);

    const QString titel = LoadResString(104);
    if (vb::Screen::Width() / vb::Screen::TwipsPerPixelX() < 800) {
        vb::MsgBox(LoadResString(121), vb::vbCritical, titel);
        vb::Shell::StartDisplaySettings();
        vb::App::End(0);
    }
    if (!KleineSchriftarten() && !GrosseSchriftarten()) vb::MsgBox(LoadResString(120), vb::vbInformation, titel);
    if (Farbanzahl() < 257) vb::MsgBox(LoadResString(122), vb::vbInformation, titel);

    Programmverzeichnis = vb::App::Path();
    if (!Programmverzeichnis.endsWith(QLatin1Char('/'))) Programmverzeichnis += QLatin1Char('/');
    COM_Port_Nummer = 1;
    // The first reference loads the main window; its load handler runs here.
    Hover_Objekt = Startbildschirm->Schliessen;
    vb::App::DoEvents();
    Letzte_Texteingabe.clear();
    Malfarbe = 0;
    Netzbetreiber_Code = QStringLiteral("01");
    Fenster::Formular_laden(*Information);
    vb::App::DoEvents();
    Fenster::Formular_laden(*Startbildschirm);
    const double tpp = vb::Screen::TwipsPerPixelX();
    Startbildschirm->setHeight(8700.0 / 15 * tpp);
    Startbildschirm->setWidth(12000.0 / 15 * tpp);
    vb::App::DoEvents();
    vb::PictureBox* layer = Startbildschirm->Layer_Kalvoren;
    layer->setLeft(Startbildschirm->Width() - layer->Width());
    layer->setTop(Startbildschirm->Height() - layer->Height());

    // Scanning can work when SANE lists at least one scanner attached to this computer.
    Scanner_vorhanden = false;
    if (const auto geraete = vb::Scanner::ListDevices(true, kScannersucheMs); geraete && !geraete->isEmpty())
        Scanner_vorhanden = true;

    if (!QFileInfo::exists(Programmverzeichnis + QStringLiteral("param.ini")) && !Scanner_vorhanden) {
        Info_Text = LoadResString(853);
        Info_Modus = 2;
        Information->Show(vb::vbModal);
        Information->Unload();
    }
    COM_Port_offen = false;

    Fenster::Formular_laden(*Intro);
    Intro->Show(vb::vbModeless);
    vb::App::DoEvents();
    Startbildschirm->setLeft(vb::Screen::Width() / 2 - Startbildschirm->Width() / 2);
    Startbildschirm->setTop(vb::Screen::Height() / 2 - Startbildschirm->Height() / 2);
    Schrift_Name = QStringLiteral("Arial");
    Schrift_Groesse = QStringLiteral("9");
}

} // namespace Parameter_und_Start
