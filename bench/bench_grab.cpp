// Full-screen capture on a virtual X server at 1920 x 1080 and 3840 x 2160: the desktop read,
// shown frozen in a borderless window of the screen's size, a logo-sized area cut out 1:1 and
// written as "freeze.bmp". Started without a display, the program runs itself under xvfb-run once
// for each screen size.
#include "platform/Gdi.h"
#include "platform/Picture.h"
#include "platform/ScreenGrab.h"

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
    state.SetLabel(QStringLiteral("%1x%2").arg(screen->geometry().width()).arg(screen->geometry().height()).toStdString());
    // Something to see on the desktop.
    PictureWindow desktop;
    desktop.pic = QImage(screen->geometry().size(), QImage::Format_RGB32);
    QRandomGenerator rng(5);
    for (int y = 0; y < desktop.pic.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(desktop.pic.scanLine(y));
        for (int x = 0; x < desktop.pic.width(); ++x) line[x] = 0xFF000000u | (rng.generate() & 0xFFFFFFu);
    }
    desktop.setGeometry(screen->geometry());
    desktop.show();
    waitPainted(desktop);

    QTemporaryDir dir;
    const QString freeze = dir.filePath(QStringLiteral("freeze.bmp"));
    for (auto _ : state) {
        const vb::DisplayDC dc = vb::CreateDisplayDC();
        if (!dc) {
            state.SkipWithError(dc.Error.toStdString().c_str());
            break;
        }
        PictureWindow frozen;
        frozen.pic = dc.Image;
        frozen.setGeometry(vb::GetDesktopRect());
        frozen.show();
        waitPainted(frozen);
        QImage cut(96, 65, QImage::Format_RGB32);
        vb::StretchBlt(cut, 0, 0, 96, 65, frozen.pic, 400, 300, 96, 65, vb::SRCCOPY);
        vb::SavePicture(cut, freeze);
        frozen.hide();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_FullScreenCapture)->Unit(benchmark::kMillisecond)->MinTime(2);

// The desktop read alone.
void BM_DesktopRead(benchmark::State& state) {
    QScreen* screen = QGuiApplication::primaryScreen();
    state.SetLabel(QStringLiteral("%1x%2").arg(screen->geometry().width()).arg(screen->geometry().height()).toStdString());
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
