// Pages of thumbnails on large photos, and a picture whose decoding is costly on purpose:
// - the main window's gallery and the picker's browser on twenty 24-megapixel photos (time and
//   the process's peak memory while the page fills),
// - a progressive JPEG with hundreds of repeated scans, loaded while a timer runs (its ticks show
//   that the window keeps answering), and one with a few dozen scans that still loads.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "logo/Fotovorschau.h"
#include "logo/Logovoschau.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/App.h"
#include "platform/ComboBox.h"
#include "platform/Form.h"
#include "platform/Image.h"
#include "platform/Picture.h"
#include "platform/VBError.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchProgram.h"

using namespace Parameter_und_Start;

namespace {
constexpr int kFotos = 20;

QImage photo(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient g(0, 0, w, h);
    g.setColorAt(0, QColor(40, 90, 160));
    g.setColorAt(1, Qt::yellow);
    p.fillRect(img.rect(), g);
    p.setBrush(Qt::black);
    for (int i = 0; i < 12; ++i) p.drawEllipse(w * i / 13, h / 4 + (i % 3) * h / 8, w / 10, h / 3);
    p.end();
    return img;
}

QByteArray jpeg(const QImage& img, bool progressive) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, "jpeg");
    w.setQuality(90);
    w.setProgressiveScanWrite(progressive);
    w.write(img);
    return b.data();
}

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

// One program folder for the run: twenty 6000 x 4000 photos in the gallery's type folder and in
// the photo collection, and the repeated-scan JPEGs.
class Folder {
public:
    static Folder& get() {
        static Folder o;
        return o;
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    void setUp() const { freshProgram(m_dir.path()); }
    qint64 photoBytes = 0, scansBytes = 0, fewScansBytes = 0;

private:
    Folder() {
        QDir(m_dir.path()).mkpath(QStringLiteral("logos/NSL7110"));
        QDir(m_dir.path()).mkpath(QStringLiteral("fotos"));
        const QByteArray big = jpeg(photo(6000, 4000), false);
        photoBytes = big.size();
        for (int i = 0; i < kFotos; ++i) {
            write(path() + QStringLiteral("logos/NSL7110/Foto%1.jpg").arg(i, 2, 10, QLatin1Char('0')), big);
            write(path() + QStringLiteral("fotos/Foto%1.jpg").arg(i, 2, 10, QLatin1Char('0')), big);
        }
        const QByteArray progressive = jpeg(photo(1600, 1200), true);
        const QByteArray scans = repeatedScans(progressive, 400), fewScans = repeatedScans(progressive, 40);
        scansBytes = scans.size();
        fewScansBytes = fewScans.size();
        write(path() + QStringLiteral("scans.jpg"), scans);
        write(path() + QStringLiteral("fewscans.jpg"), fewScans);
    }
    QTemporaryDir m_dir;
};

// The process's peak resident memory since the last reset, in megabytes.
void resetPeak() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}
double peakMB() { return statusMB("VmHWM:"); }
double currentMB() { return statusMB("VmRSS:"); }

// Runs fill once per iteration and reports the process's peak memory over the fills and how far
// it rose above what the process held before.
// pictures: the page's picture controls; the count of filled ones and their largest picture show
// that the page holds thumbnails of every photo.
template <class Fill, class Pictures> void measurePage(benchmark::State& state, Fill fill, Pictures pictures) {
    const double before = currentMB();
    resetPeak();
    for (auto _ : state) fill();
    state.counters["peak_MB"] = peakMB();
    state.counters["rise_MB"] = peakMB() - before;
    state.counters["photo_KB"] = double(Folder::get().photoBytes) / 1024;
    int filled = 0, widest = 0;
    for (const vb::Image* b : pictures()) {
        filled += b->Picture().IsEmpty() ? 0 : 1;
        widest = std::max(widest, b->Picture().Width());
    }
    state.counters["slots_filled"] = filled;
    state.counters["slot_px_wide"] = widest;
}
} // namespace

static void BM_GalleryPage24Megapixel(benchmark::State& state) {
    Folder::get().setUp();
    const Logovoschau::Galerie galerie = Startbildschirm->Galerie();
    measurePage(state, [&] {
        Startbildschirm->ComboKategorien[3]->setListIndex(3); // the type whose folder holds the photos
        Logovoschau::Logovorschaubilder_laden(galerie);
    }, [] { return Startbildschirm->Logo_Vorschaubild_Bild; });
    vb::DestroyAllInstances();
}
BENCHMARK(BM_GalleryPage24Megapixel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_PickerPage24Megapixel(benchmark::State& state) {
    Folder::get().setUp();
    Foto_Modus = true;
    Fotovorschau::Vorschau_Voreinstellung();
    const Fotovorschau::Slotsatz vorschau = Logo_Foto_Laden->Vorschau();
    measurePage(state, [&] { Fotovorschau::Vorschau_Ordner_setzen(vorschau); }, [] { return Logo_Foto_Laden->Fotos_Vorschaubild_Bild; });
    vb::DestroyAllInstances();
}
BENCHMARK(BM_PickerPage24Megapixel)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// Loads a costly JPEG while a 10 ms timer runs; ticks per load show the window kept answering.
static void BM_RepeatedScanJpegWithTimer(benchmark::State& state) {
    Folder& folder = Folder::get();
    const bool many = state.range(0) != 0;
    const QString file = folder.path() + (many ? QStringLiteral("scans.jpg") : QStringLiteral("fewscans.jpg"));
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
