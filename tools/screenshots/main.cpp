// Pictures of every window in its typical states at 96 and 120 dpi, for comparing the layout
// before and after a change of the code (tools/compare-screenshots.sh).
//
//   screenshots <output folder>
//
// The program runs its real start-up and handlers on a private program folder, store, home and
// desktop picture, rendered offscreen, so two runs give the same pictures.
#include "frame/Einstellungen.h"
#include "frame/Information.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "photo/Bildschirmfreeze.h"
#include "photo/Fotoeditor.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/capture/Scanner.h"
#include "platform/system/Seams.h"
#include "platform/window/Timer.h"
#include "platform/system/VBError.h"
#include "tests/support/QuietSeams.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLockFile>
#include <QPixmap>
#include <QRandomGenerator>
#include <QWidget>
#include <cstdio>
#include <functional>

using namespace Parameter_und_Start;

namespace {

// Fixed paths: folder names show in the file lists, so every run uses the same ones.
const QString kRoot = QStringLiteral("/tmp/vorad-screenshots");

QString g_out;
int g_dpi = 96;
int g_count = 0;
bool g_failed = false;

void settle() {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void shoot(vb::Form& f, const QString& state) {
    settle();
    const QString name = QStringLiteral("%1/%2-%3-%4dpi.png").arg(g_out, f.Name(), state).arg(g_dpi);
    const QImage img = f.Widget()->grab().toImage();
    if (img.isNull() || !img.save(name, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
        g_failed = true;
        return;
    }
    ++g_count;
}

// A step that fails must not take the later pictures with it.
void step(const char* what, const std::function<void()>& f) {
    try {
        f();
    } catch (const vb::App::Ended&) {
        std::fprintf(stderr, "%s: the program ended\n", what);
        g_failed = true;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", what, e.what());
        g_failed = true;
    }
}

void copyTree(const QString& from, const QString& to) {
    QDirIterator it(from, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString q = it.next();
        const QString z = to + q.mid(from.size());
        QDir().mkpath(QFileInfo(z).path());
        QFile::copy(q, z);
    }
}

// The desktop the capture window freezes: a fixed pattern.
QImage desktop(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    QRandomGenerator rng(7);
    for (int y = 0; y < h; ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x) line[x] = 0xFF000000u | ((x * 255 / w) << 16) | ((y * 255 / h) << 8) | (rng.generate() & 0x3F);
    }
    return img;
}

// A state label the modal hook uses for the windows it is shown.
QString g_modalState;

void modalHook(vb::Form& f) {
    const QString n = f.Name();
    if (n == QLatin1String("Information")) {
        shoot(f, g_modalState);
        Information->Abbrechen_Click();
    } else if (n == QLatin1String("Logo_Foto_Laden")) {
        shoot(f, g_modalState + QStringLiteral("-datei"));
        Logo_Foto_Laden->Reiter_Browser_Click();
        shoot(f, g_modalState + QStringLiteral("-browser"));
        Logo_Foto_Laden->Abbrechen_Click();
    } else if (n == QLatin1String("Einstellungen")) {
        shoot(f, g_modalState);
        Einstellungen->Abbrechen_Click();
    } else {
        shoot(f, g_modalState);
    }
    if (f.Visible()) f.Hide();
}

void hover(vb::Form& f, vb::Control* c, vb::Control* background, const QString& state) {
    c->FireMouseMove(0, 0, 15, 15);
    shoot(f, QStringLiteral("hover-") + state);
    background->FireMouseMove(0, 0, 15, 15);
}

void run(int dpi) {
    g_dpi = dpi;
    const QString folder = kRoot + QStringLiteral("/program/");
    QDir(kRoot + QStringLiteral("/program")).removeRecursively();
    QDir().mkpath(folder + QStringLiteral("etc"));
    const QString shipped = QCoreApplication::applicationDirPath();
    for (const char* sub : {"logos", "fotos"}) copyTree(shipped + QLatin1Char('/') + QLatin1String(sub), folder + QLatin1String(sub));
    QFile::copy(shipped + QStringLiteral("/vorad.hlp"), folder + QStringLiteral("vorad.hlp"));

    vb::DestroyAllInstances();
    Grundzustand();
    UseTestSeams(folder);
    vb::Seams& s = vb::seams();
    s.endHandler = [](int) { throw vb::App::Ended{0}; };
    s.volumes = std::vector<vb::Volume>{{QStringLiteral("/"), QStringLiteral("ext4"), QString()}};
    vb::ScreenMetrics m;
    m.widthPx = 1024;
    m.heightPx = 768;
    m.dpi = dpi;
    m.bitsPerPixel = 32;
    s.screen = m;
    s.cursor = QPoint(1000, 700);
    s.desktop = desktop(1024, 768);
    s.rnd = [] { return 0.5; };
    s.modal = modalHook;

    // Start-up: the first-start message, the splash, then the settings dialog over the main window.
    g_modalState = QStringLiteral("erststart");
    step("start", [] { Main(); });
    step("splash", [] { shoot(*Intro, QStringLiteral("splash")); });
    step("settings", [] {
        Intro->Splash->Fire();
        shoot(*Einstellungen, QStringLiteral("start"));
        shoot(*Startbildschirm, QStringLiteral("start-disabled"));
        Einstellungen->OK_Click();
    });

    StartbildschirmForm& F = *Startbildschirm;
    step("gallery", [&] {
        shoot(F, QStringLiteral("galerie"));
        for (int k = 0; k < F.ComboKategorien[3]->ListCount(); ++k) {
            F.ComboKategorien[3]->setListIndex(k);
            shoot(F, QStringLiteral("galerie-typ%1").arg(k));
        }
        F.ComboKategorien[3]->setListIndex(7);
        F.Logo_Vorschaubild_Bild_Click(2);
        shoot(F, QStringLiteral("galerie-auswahl"));
    });
    step("hover", [&] {
        vb::Control* bg = F.Layer_Logoauswahl;
        hover(F, F.Schliessen, bg, QStringLiteral("schliessen"));
        hover(F, F.minimieren, bg, QStringLiteral("minimieren"));
        hover(F, F.Hilfe, bg, QStringLiteral("hilfe"));
        hover(F, F.Einstellun, bg, QStringLiteral("einstellungen"));
        hover(F, F.Reiter_Kalvoren_inLogos, bg, QStringLiteral("reiter-kalvoren"));
        hover(F, F.Reiter_Fotos_inLogos, bg, QStringLiteral("reiter-fotos"));
        hover(F, F.Speichern, bg, QStringLiteral("speichern"));
        hover(F, F.Transfer[0], bg, QStringLiteral("senden"));
        hover(F, F.Logo_Vorschaubild[5], bg, QStringLiteral("rahmen5"));
    });
    step("settings dialog", [&] {
        g_modalState = QStringLiteral("dialog");
        F.Einstellun_Click();
    });
    step("messages", [] {
        const int modi[] = {1, 2, 4};
        for (int modus : modi) {
            Info_Text = LoadResString(21);
            Info_Modus = modus;
            g_modalState = QStringLiteral("modus%1").arg(modus);
            Information->Show(vb::vbModal);
        }
    });
    step("about", [&] {
        F.Logo_Click();
        shoot(*Intro, QStringLiteral("info"));
        Intro->Splash->setTimerEnabled(false);
        Intro->Hide();
    });
    step("editor", [&] {
        F.In_Zaroreriri_bearbeiten_Click();
        shoot(F, QStringLiteral("editor"));
        vb::Control* bg = F.Layer_Kalvoren;
        hover(F, F.Logo_Stift, bg, QStringLiteral("stift"));
        hover(F, F.Kalvoren_bearbeiten_zurueck, bg, QStringLiteral("zurueck"));
        F.Logo_Quadrat_Click();
        shoot(F, QStringLiteral("editor-rechteck"));
    });
    step("picker", [&] {
        g_modalState = QStringLiteral("logo");
        F.Laden_Click();
    });
    step("photo editor", [&] {
        F.Laden_Fotos_Browser_Click();
        shoot(*Fotoeditor, QStringLiteral("foto"));
        shoot(F, QStringLiteral("fotomodus"));
        g_modalState = QStringLiteral("foto");
        Fotoeditor->Laden_Fotos_Browser_bearbeiten_Click();
    });
    step("capture", [] {
        Fotoeditor->Kasten_Fotoeditor_BildLogoLupe_Click();
        BildschirmfreezeForm& b = *Bildschirmfreeze;
        shoot(b, QStringLiteral("lupe"));
        vb::seams().cursor = b.Bildschirmfoto->ScreenOrigin() + QPoint(300, 200);
        b.Bildschirmfoto_MouseMove(0, 0, 300 * 15, 200 * 15);
        shoot(b, QStringLiteral("lupe-rahmen"));
        b.Bildschirmfoto_MouseUp(1, 0, 300 * 15, 200 * 15);
        shoot(*Fotoeditor, QStringLiteral("erfasst"));
    });
    // The outro, then the quit question, answered with Abbrechen.
    step("quit", [&] {
        g_modalState = QStringLiteral("beenden");
        F.Beenden2_Click();
    });
    vb::DestroyAllInstances();
    Grundzustand();
    vb::ResetSeams();
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes on masks and raising say nothing about the pictures.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtWarningMsg && msg.startsWith(QLatin1String("This plugin does not support"))) return;
        std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    // Nothing of the user's: home, runtime folder and configuration are the tool's own.
    QDir().mkpath(kRoot + QStringLiteral("/home"));
    QDir().mkpath(kRoot + QStringLiteral("/runtime"));
    QFile::setPermissions(kRoot + QStringLiteral("/runtime"), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("HOME", (kRoot + QStringLiteral("/home")).toUtf8());
    qputenv("XDG_RUNTIME_DIR", (kRoot + QStringLiteral("/runtime")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (kRoot + QStringLiteral("/home/.config")).toUtf8());
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: screenshots <output folder>\n");
        return 2;
    }
    g_out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    QDir().mkpath(g_out);
    // One run at a time uses the fixed folders.
    QLockFile lock(QDir::tempPath() + QStringLiteral("/vorad-screenshots.lock"));
    lock.setStaleLockTime(0);
    if (!lock.lock()) {
        std::fprintf(stderr, "cannot lock the screenshot folder\n");
        return 1;
    }
    for (int dpi : {96, 120}) run(dpi);
    std::printf("%d pictures in %s\n", g_count, qPrintable(g_out));
    return g_failed ? 1 : 0;
}
