// Filling one page of thumbnails: the main window's gallery (20 logos) and the picker's browser
// on 20 photos of 4000 x 3000 pixels.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "logo/Fotovorschau.h"
#include "logo/Logovoschau.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Form.h"
#include "platform/system/MsgBox.h"

#include <QApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchProgram.h"

using namespace Parameter_und_Start;

namespace {
// One program folder for the whole run, with 20 logos of 96 x 65 and 20 photos.
class Programmordner {
public:
    static Programmordner& get() {
        static Programmordner o;
        return o;
    }
    QString pfad() const { return m_dir.path() + QLatin1Char('/'); }
    QString foto(int i) const { return pfad() + QStringLiteral("fotos/Foto%1.jpg").arg(i, 2, 10, QLatin1Char('0')); }

    void einrichten() const { freshProgram(m_dir.path()); }

private:
    Programmordner() {
        QDir(m_dir.path()).mkpath(QStringLiteral("logos/NSL7110"));
        QDir(m_dir.path()).mkpath(QStringLiteral("fotos"));
        for (int i = 0; i < 20; ++i) {
            QImage logo(96, 65, QImage::Format_Mono);
            logo.fill(1);
            QPainter p(&logo);
            p.setPen(Qt::color0);
            p.drawEllipse(10 + i, 5, 60, 50);
            p.end();
            logo.save(pfad() + QStringLiteral("logos/NSL7110/Logo%1.bmp").arg(i, 2, 10, QLatin1Char('0')), "BMP");

            QImage photo(4000, 3000, QImage::Format_RGB32);
            QPainter q(&photo);
            QLinearGradient g(0, 0, 4000, 3000);
            g.setColorAt(0, QColor::fromHsv(i * 18, 200, 120));
            g.setColorAt(1, Qt::yellow);
            q.fillRect(photo.rect(), g);
            q.setBrush(Qt::black);
            q.drawEllipse(800 + 50 * i, 600, 1600, 1400);
            q.end();
            photo.save(foto(i), "JPG", 90);
        }
    }
    QTemporaryDir m_dir;
};
} // namespace

static void BM_GalleryPageFill(benchmark::State& state) {
    Programmordner::get().einrichten();
    Startbildschirm->ComboKategorien[3]->setListIndex(3); // 96 x 65
    const Logovoschau::Galerie galerie = Startbildschirm->Galerie();
    for (auto _ : state) Logovoschau::Logovorschaubilder_laden(galerie);
    vb::DestroyAllInstances();
}
BENCHMARK(BM_GalleryPageFill)->Unit(benchmark::kMillisecond)->UseRealTime();

static void BM_BrowserPhotoPageFill(benchmark::State& state) {
    Programmordner::get().einrichten();
    Foto_Modus = true;
    const Fotovorschau::Slotsatz vorschau = Logo_Foto_Laden->Vorschau();
    Fotovorschau::Vorschau_Voreinstellung();
    Fotovorschau::Vorschau_Ordner_setzen(vorschau);
    for (auto _ : state) Fotovorschau::Vorschaubilder_fuellen(vorschau);
    vb::DestroyAllInstances();
}
BENCHMARK(BM_BrowserPhotoPageFill)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// One 12-megapixel photo as a thumbnail (reduced while decoding) and at its full size.
static void BM_PhotoDecode(benchmark::State& state) {
    const QString foto = Programmordner::get().foto(0);
    const short modus = short(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(Fotovorschau::Fotosammlung_Bild(foto, modus).Handle());
    state.SetLabel(modus == Fotovorschau::Modus_Vorschau ? "thumbnail" : "full size");
}
BENCHMARK(BM_PhotoDecode)->Arg(Fotovorschau::Modus_Vorschau)->Arg(Fotovorschau::Modus_Original)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
