// Pages of thumbnails on camera photos, and a picture whose decoding is costly on purpose:
// - the picker's browser on twenty photos of 24 and 48 megapixels, baseline and progressive, and
//   the main window's gallery on twenty 24-megapixel progressive ones: time to the first
//   thumbnail, time to the full page, the longest wait of a click made during the fill (run under
//   xvfb-run with QT_QPA_PLATFORM=xcb: xdotool clicks a slot every 50 ms; offscreen gives -1) and
//   the process's peak memory while the page fills,
// - a progressive JPEG with hundreds of repeated scans, loaded while a timer runs (its ticks show
//   that the window keeps answering), and one with a few dozen scans that still loads.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "logo/Fotovorschau.h"
#include "logo/Logovoschau.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/picture/Picture.h"
#include "platform/system/VBError.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <benchmark/benchmark.h>
#include <chrono>
#include <mutex>
#include <span>
#include <thread>
#include <unistd.h>

#include "BenchMain.h"
#include "BenchPhoto.h"
#include "BenchProgram.h"

using namespace Parameter_und_Start;

namespace {
constexpr int kFotos = 20;


// The last scan of a progressive JPEG repeated n times more: each costs a pass over the picture.
QByteArray repeatedScans(const QByteArray& jpg, int n) {
    const qsizetype sos = jpg.lastIndexOf(QByteArray("\xFF\xDA", 2)), eoi = jpg.lastIndexOf(QByteArray("\xFF\xD9", 2));
    QByteArray out = jpg.left(eoi);
    for (int i = 0; i < n; ++i) out += jpg.mid(sos, eoi - sos);
    return out + jpg.mid(eoi);
}

void write(const QString& path, const QByteArray& data) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(data);
}

// The kinds of page: 24 or 48 megapixels, baseline or progressive.
using benchphoto::Art;
constexpr Art kArten[] = {{6000, 4000, true, "24 MP progressive"},
                          {6000, 4000, false, "24 MP baseline"},
                          {8000, 6000, true, "48 MP progressive"},
                          {8000, 6000, false, "48 MP baseline"}};

// One program folder per kind: twenty camera photos (links to one file) in the photo collection
// and in the gallery's type folder; and the repeated-scan JPEGs.
class Folder {
public:
    static Folder& get() {
        static Folder o;
        return o;
    }
    QString path(int art) const { return m_dir.path() + QStringLiteral("/p%1/").arg(art); }
    void setUp(int art) const { freshProgram(m_dir.path() + QStringLiteral("/p%1").arg(art)); }
    qint64 photoBytes[std::size(kArten)] = {};
    qint64 scansBytes = 0, fewScansBytes = 0;
    QString scans() const { return m_dir.filePath(QStringLiteral("scans.jpg")); }
    QString fewScans() const { return m_dir.filePath(QStringLiteral("fewscans.jpg")); }

private:
    Folder() {
        QImage bild[2] = {benchphoto::cameraPicture(6000, 4000), benchphoto::cameraPicture(8000, 6000)};
        for (int a = 0; a < int(std::size(kArten)); ++a) {
            const QString p = path(a);
            QDir().mkpath(p + QStringLiteral("logos/NSL7110"));
            QDir().mkpath(p + QStringLiteral("fotos"));
            const QByteArray data = benchphoto::cameraJpeg(bild[kArten[a].width == 6000 ? 0 : 1], kArten[a].progressive);
            photoBytes[a] = data.size();
            const QString first = p + QStringLiteral("fotos/Foto00.jpg");
            write(first, data);
            for (int i = 0; i < kFotos; ++i) {
                const QString n = QStringLiteral("Foto%1.jpg").arg(i, 2, 10, QLatin1Char('0'));
                if (i) ::link(QFile::encodeName(first).constData(), QFile::encodeName(p + QStringLiteral("fotos/") + n).constData());
                ::link(QFile::encodeName(first).constData(), QFile::encodeName(p + QStringLiteral("logos/NSL7110/") + n).constData());
            }
        }
        const QImage klein = benchphoto::cameraPicture(1600, 1200);
        const QByteArray progressive = benchphoto::cameraJpeg(klein, true);
        const QByteArray many = repeatedScans(progressive, 400), few = repeatedScans(progressive, 40);
        scansBytes = many.size();
        fewScansBytes = few.size();
        write(scans(), many);
        write(fewScans(), few);
    }
    QTemporaryDir m_dir;
};


using Clock = std::chrono::steady_clock;
double msSince(Clock::time_point t0, Clock::time_point t) { return std::chrono::duration<double, std::milli>(t - t0).count(); }

// Clicks every 50 ms through the X server (xdotool), as a user does, by turns on two points (two
// slots, so that no two clicks make a double-click, which would take a photo), and takes the time
// each press reaches the program; only on a real display (xcb).
class Clicker : public QObject {
public:
    Clicker(QPoint a, QPoint b) {
        if (QGuiApplication::platformName() != QLatin1String("xcb")) return;
        m_on = true;
        qApp->installEventFilter(this);
        auto befehl = [](QPoint p) {
            return "xdotool mousemove " + std::to_string(p.x()) + " " + std::to_string(p.y()) + " click 1 >/dev/null 2>&1";
        };
        m_thread = std::thread([this, wege = std::array<std::string, 2>{befehl(a), befehl(b)}] {
            for (int n = 0; !m_stop; ++n) {
                std::system(wege[size_t(n % 2)].c_str());
                {
                    std::lock_guard lock(m_m);
                    m_sent.push_back(Clock::now());
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
        });
    }
    ~Clicker() override {
        stop();
        if (m_on) qApp->removeEventFilter(this);
    }
    // Stops clicking and waits for the clicks made to arrive; the longest wait in ms, -1 without
    // a display.
    double stop() {
        if (!m_on) return -1;
        if (m_thread.joinable()) {
            m_stop = true;
            m_thread.join();
            QElapsedTimer t;
            t.start();
            while (t.elapsed() < 3000 && int(m_got.size()) < sent()) QApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        std::lock_guard lock(m_m);
        double worst = 0;
        for (size_t i = 0; i < m_sent.size() && i < m_got.size(); ++i) worst = std::max(worst, msSince(m_sent[i], m_got[i]));
        return worst;
    }
    int sent() {
        std::lock_guard lock(m_m);
        return int(m_sent.size());
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        // One press reaches several objects (window, widget): counted once, at the window.
        if (e->type() == QEvent::MouseButtonPress && e->spontaneous() && o->isWindowType()) m_got.push_back(Clock::now());
        return false;
    }

private:
    bool m_on = false;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    std::mutex m_m;
    std::vector<Clock::time_point> m_sent, m_got;
};

// Fills a page once per iteration: time to the first thumbnail and to the full page (the slots
// are polled every millisecond, as timers run during a fill), the longest wait of a click made
// during the fill, and the peak memory.
template <class Fill>
void measurePage(benchmark::State& state, int art, Fill fill, std::span<vb::Image* const> bilder, vb::Form& window, QPoint click, QPoint click2) {
    double first = 0, page = 0, wait = -1, peak = 0;
    int filled = 0, widest = 0, clicks = 0;
    window.Show();
    QApplication::processEvents();
    for (auto _ : state) {
        for (vb::Image* b : bilder) b->setPicture(vb::Picture());
        QApplication::processEvents();
        Clicker clicker(window.Widget()->mapToGlobal(click), window.Widget()->mapToGlobal(click2));
        resetPeak();
        const Clock::time_point t0 = Clock::now();
        Clock::time_point t1{}, t2{};
        auto look = [&] {
            int n = 0;
            for (const vb::Image* b : bilder) n += b->Picture().IsEmpty() ? 0 : 1;
            if (n && t1 == Clock::time_point{}) t1 = Clock::now();
            if (n == int(bilder.size()) && t2 == Clock::time_point{}) t2 = Clock::now();
        };
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, look);
        poll.start(1);
        fill();
        const Clock::time_point returned = Clock::now();
        QElapsedTimer t;
        t.start();
        while (t2 == Clock::time_point{} && t.elapsed() < 10000) QApplication::processEvents(QEventLoop::AllEvents, 5);
        clicks = clicker.sent();
        wait = std::max(wait, clicker.stop());
        look();
        first += msSince(t0, t1 == Clock::time_point{} ? returned : t1);
        page += msSince(t0, t2 == Clock::time_point{} ? returned : t2);
        peak = std::max(peak, peakMB());
    }
    for (const vb::Image* b : bilder) {
        filled += b->Picture().IsEmpty() ? 0 : 1;
        widest = std::max(widest, b->Picture().Width());
    }
    const double n = double(state.iterations());
    state.counters["first_ms"] = first / n;
    state.counters["page_ms"] = page / n;
    state.counters["click_wait_max_ms"] = wait;
    state.counters["clicks"] = clicks;
    state.counters["peak_MB"] = peak;
    state.counters["photo_MB"] = double(Folder::get().photoBytes[art]) / (1 << 20);
    state.counters["slots_filled"] = filled;
    state.counters["slot_px_wide"] = widest;
    state.SetLabel(kArten[art].label);
    window.Hide();
}
} // namespace

static void BM_PickerPage(benchmark::State& state) {
    const int art = int(state.range(0));
    Folder::get().setUp(art);
    Foto_Modus = true;
    Fotovorschau::Vorschau_Voreinstellung();
    const Fotovorschau::Slotsatz vorschau = Logo_Foto_Laden->Vorschau();
    Logo_Foto_Laden->Reiter_Browser_Click();
    // The clicks land on the frames of slots 0 and 1: each selects its slot.
    measurePage(state, art, [&] { Fotovorschau::Vorschau_Ordner_setzen(vorschau); }, Logo_Foto_Laden->Fotos_Vorschaubild_Bild,
                *Logo_Foto_Laden, QPoint(15, 80), QPoint(133, 80));
    vb::DestroyAllInstances();
}
BENCHMARK(BM_PickerPage)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_GalleryPage(benchmark::State& state) {
    Folder::get().setUp(0);
    const Logovoschau::Galerie galerie = Startbildschirm->Galerie();
    // The type whose folder holds the photos; the clicks land on the frames of slots 0 and 1.
    measurePage(state, 0, [&] {
        Startbildschirm->ComboKategorien[3]->setListIndex(3);
        Logovoschau::Logovorschaubilder_laden(galerie);
    }, Startbildschirm->Logo_Vorschaubild_Bild, *Startbildschirm, QPoint(20, 130), QPoint(140, 130));
    vb::DestroyAllInstances();
}
BENCHMARK(BM_GalleryPage)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Loads a costly JPEG while a 10 ms timer runs; ticks per load show the window kept answering.
static void BM_RepeatedScanJpegWithTimer(benchmark::State& state) {
    Folder& folder = Folder::get();
    const bool many = state.range(0) != 0;
    const QString file = many ? folder.scans() : folder.fewScans();
    int ticks = 0, loaded = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    for (auto _ : state) {
        try {
            loaded += vb::LoadPicture(file).IsEmpty() ? 0 : 1;
        } catch (const vb::VBError&) {
        }
    }
    timer.stop();
    state.counters["ticks_per_load"] = double(ticks) / double(state.iterations());
    state.counters["loaded"] = double(loaded) / double(state.iterations());
    state.counters["file_KB"] = double(many ? folder.scansBytes : folder.fewScansBytes) / 1024;
    state.SetLabel(many ? "400 extra scans (refused)" : "40 extra scans (loads)");
}
BENCHMARK(BM_RepeatedScanJpegWithTimer)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
