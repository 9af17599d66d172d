// Full-screen capture on a virtual X server at 1920 x 1080 and 3840 x 2160, as the photo editor's
// capture button runs it: the desktop read, shown frozen in the capture window over the whole
// screen, a frame of the logo's size cut out 1:1, "freeze.bmp" written and opened in the photo
// editor. Started without a display, the program runs itself under xvfb-run once
// for each screen size.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "photo/Bildschirmfreeze.h"
#include "photo/Fotoeditor.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Cursor.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/capture/ScreenGrab.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <cstdio>

#include "BenchMain.h"
#include "BenchProgram.h"
#include "platform/system/Seams.h"

namespace {

class PictureWindow : public QWidget {
public:
    PictureWindow() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {}
    QImage pic;

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, pic);
    }
};

void waitPainted(QWidget& w) {
    QElapsedTimer t;
    t.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed()) && t.elapsed() < 5000) QApplication::processEvents();
    QApplication::processEvents();
}

void BM_FullScreenCapture(benchmark::State& state) {
    QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen->geometry().size();
    // A process (read, show frozen, cut out, save, open in the editor); BM_DesktopRead is its first step alone.
    state.SetLabel(QStringLiteral("%1x%2, process: whole capture").arg(size.width()).arg(size.height()).toStdString());
    QTemporaryDir dir;
    freshProgram(dir.path());
    vb::seams().modal = [](vb::Form& f) { f.Hide(); };
    vb::ScreenMetrics m;
    m.widthPx = size.width();
    m.heightPx = size.height();
    vb::seams().screen = m;
    Startbildschirm->Show();
    Startbildschirm->ComboKategorien[3]->setListIndex(7);
    // Something to see on the desktop, and a photo in the editor.
    PictureWindow desktop;
    desktop.pic = QImage(size, QImage::Format_RGB32);
    QRandomGenerator rng(5);
    for (int y = 0; y < desktop.pic.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(desktop.pic.scanLine(y));
        for (int x = 0; x < desktop.pic.width(); ++x) line[x] = 0xFF000000u | (rng.generate() & 0xFFFFFFu);
    }
    desktop.pic.copy(0, 0, 640, 480).save(dir.filePath(QStringLiteral("foto.bmp")), "BMP");
    Fotoeditor->Show();
    Fotoeditor->In_Fotoeditor_bearbeiten_Einsprung(dir.filePath(QStringLiteral("foto.bmp")));
    Fotoeditor->Laden_Click_Sub(dir.filePath(QStringLiteral("foto.bmp")));
    desktop.setGeometry(screen->geometry());
    desktop.show();
    waitPainted(desktop);

    for (auto _ : state) {
        // The capture button: the frozen desktop over the whole screen.
        Fotoeditor->Kasten_Fotoeditor_BildLogoLupe->FireClick();
        BildschirmfreezeForm& b = *Bildschirmfreeze;
        waitPainted(*b.Widget());
        // The frame of the logo's size at (400, 300), taken: "freeze.bmp" opened in the editor.
        vb::seams().cursor = b.Bildschirmfoto->ScreenOrigin() + QPoint(400, 300);
        b.Bildschirmfoto_MouseMove(0, 0, 400 * 15, 300 * 15);
        b.Bildschirmfoto_MouseUp(1, 0, 400 * 15, 300 * 15);
        QApplication::processEvents();
        // The desktop picture on top again for the next round.
        state.PauseTiming();
        desktop.raise();
        waitPainted(desktop);
        state.ResumeTiming();
    }
    vb::seams().cursor = std::nullopt;
    vb::DestroyAllInstances();
    vb::seams().screen = std::nullopt;
}
BENCHMARK(BM_FullScreenCapture)->Unit(benchmark::kMillisecond)->MinTime(2);

// The desktop read alone.
void BM_DesktopRead(benchmark::State& state) {
    QScreen* screen = QGuiApplication::primaryScreen();
    state.SetLabel(QStringLiteral("%1x%2, operation: desktop read").arg(screen->geometry().width()).arg(screen->geometry().height()).toStdString());
    for (auto _ : state) benchmark::DoNotOptimize(vb::CreateDisplayDC());
}
BENCHMARK(BM_DesktopRead)->Unit(benchmark::kMillisecond)->MinTime(2);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("VORAD_BENCH_SCREEN")) {
        int rc = 0;
        for (const char* size : {"1920x1080", "3840x2160"}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert(QStringLiteral("VORAD_BENCH_SCREEN"), QString::fromLatin1(size));
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
            p.setProcessEnvironment(env);
            p.setProcessChannelMode(QProcess::ForwardedChannels);
            QStringList args = {QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 %1x24").arg(QLatin1String(size)),
                                QString::fromLocal8Bit(argv[0])};
            for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
            p.start(QStringLiteral("xvfb-run"), args);
            if (!p.waitForFinished(-1) || p.exitCode() != 0) rc = 1;
        }
        return rc;
    }
    return runBenchmarks(argc, argv);
}
