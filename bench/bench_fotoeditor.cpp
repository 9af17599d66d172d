// Opening a camera photo in the photo editor (the entry pair: processing host, fitted view,
// logo-size picture, three conversions) beside one plain decode of the same file, for 24- and
// 48-megapixel photos, baseline and progressive, with the process's peak memory; a refill of the
// six-slot strip with such photos; and the editor's step from choosing a filter to the filtered
// picture on screen (host, work files, reopen, previews) for a 2048-pixel photo and a
// 12-megapixel one.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "photo/Fotoeditor.h"
#include "photo/Fotovorschau_Editor_6.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/picture/Picture.h"
#include "platform/window/ScrollBar.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "BenchMain.h"
#include "BenchPhoto.h"
#include "BenchProgram.h"
#include "platform/system/Seams.h"

namespace {
// The photos: 24 MP baseline and progressive, 48 MP baseline and progressive.
using benchphoto::Art;
constexpr Art kArten[] = {{6000, 4000, false, "24 MP baseline"},
                          {6000, 4000, true, "24 MP progressive"},
                          {8000, 6000, false, "48 MP baseline"},
                          {8000, 6000, true, "48 MP progressive"}};

// The camera photos of each kind, made once per run; the pictures themselves are not kept, so
// that the peak memory counts the program's work alone.
const QByteArray& fotoDaten(int art) {
    static QByteArray daten[std::size(kArten)];
    if (daten[art].isEmpty()) {
        const QImage b = benchphoto::cameraPicture(kArten[art].width, kArten[art].height);
        for (int a = 0; a < int(std::size(kArten)); ++a)
            if (kArten[a].width == kArten[art].width) daten[a] = benchphoto::cameraJpeg(b, kArten[a].progressive);
    }
    return daten[art];
}

// A program folder with a collection of six camera photos of one kind.
struct Umgebung {
    QTemporaryDir dir;
    QString foto;
    // art < 0: no collection, only the program folder.
    explicit Umgebung(int art = -1) {
        vb::seams().programFolder = dir.path();
        Parameter_und_Start::Grundzustand();
        Parameter_und_Start::Programmverzeichnis = dir.path() + QLatin1Char('/');
        QDir(dir.path()).mkpath(QStringLiteral("fotos"));
        for (int i = 0; art >= 0 && i < 6; ++i) {
            QFile f(dir.filePath(QStringLiteral("fotos/foto%1.jpg").arg(i)));
            if (f.open(QIODevice::WriteOnly)) f.write(fotoDaten(art));
        }
        foto = dir.filePath(QStringLiteral("fotos/foto0.jpg"));
        Startbildschirm->ComboKategorien[3]->setListIndex(2); // 101 x 43
    }
    ~Umgebung() { vb::DestroyAllInstances(); }
};
} // namespace

// Qt's own full decode, without its allocation limit (a 48-megapixel photo is over it).
static void BM_PlainDecode(benchmark::State& state) {
    Umgebung u(int(state.range(0)));
    const QString foto = u.foto;
    QImageReader::setAllocationLimit(0);
    for (auto _ : state) {
        QImageReader r(foto);
        benchmark::DoNotOptimize(r.read());
    }
    QImageReader::setAllocationLimit(128);
    state.SetLabel(kArten[state.range(0)].label);
}
BENCHMARK(BM_PlainDecode)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

// opened: 1 when the editor shows the photo (a refused photo leaves it empty).
static void BM_OpenInPhotoEditor(benchmark::State& state) {
    Umgebung u(int(state.range(0)));
    const QString foto = u.foto;
    FotoeditorForm& F = *Fotoeditor;
    resetPeak();
    for (auto _ : state) {
        vb::ForgetPicture();
        F.Fotos_Bearbeiten_Bildimage->setPicture(vb::Picture());
        F.In_Fotoeditor_bearbeiten_Einsprung(foto);
        F.Laden_Click_Sub(foto);
    }
    state.counters["opened"] = F.Fotos_Bearbeiten_Bildimage->Picture().IsEmpty() ? 0 : 1;
    state.counters["peak_MB"] = peakMB();
    state.counters["photo_MB"] = double(fotoDaten(int(state.range(0))).size()) / (1 << 20);
    state.SetLabel(kArten[state.range(0)].label);
}
BENCHMARK(BM_OpenInPhotoEditor)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

static void BM_StripRefillSix(benchmark::State& state) {
    Umgebung u(int(state.range(0)));
    FotoeditorForm& F = *Fotoeditor;
    const auto s = F.Streifen();
    Fotovorschau_Editor_6::Editorvorschau_Voreinstellung();
    Fotovorschau_Editor_6::Editorvorschau_Ordner_setzen(s);
    resetPeak();
    for (auto _ : state) Fotovorschau_Editor_6::Editorvorschaubilder_fuellen(s);
    state.counters["peak_MB"] = peakMB();
    state.SetLabel(kArten[state.range(0)].label);
}
BENCHMARK(BM_StripRefillSix)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->Iterations(3);

// The filter rows of the editor's lists: Filter1, Filter2, Filter3.
struct Filterzeile {
    const char* name;
    int f1, f2, f3;
};
constexpr Filterzeile kZeilen[] = {
    {"Bild_abdunkeln", 0, 0, 0}, {"Bild_invertieren", 0, 2, 0}, {"Graustufen", 0, 3, 0}, {"SW-Rasterung", 0, 4, 0}, {"wenig_weichzeichnen", 1, 0, 0},
    {"unscharf_maskieren", 1, 1, 2}, {"Relief", 1, 2, 0}, {"Stoerungen_hinzufuegen", 1, 2, 1}, {"Kantenbetonung_normal", 1, 2, 2},
};

static void BM_FilterStep(benchmark::State& state, int breite, int hoehe, const Filterzeile* z) {
    Umgebung u;
    const QImage quelle(QCoreApplication::applicationDirPath() + QStringLiteral("/fotos/Garten.jpg"));
    const QString foto = u.dir.filePath(QStringLiteral("schritt.jpg"));
    quelle.scaled(breite, hoehe, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).save(foto, "JPG", 90);
    FotoeditorForm& F = *Fotoeditor;
    F.In_Fotoeditor_bearbeiten_Einsprung(foto);
    F.Laden_Click_Sub(foto);
    F.Filter1->setListIndex(z->f1);
    F.Filter2->setListIndex(z->f2);
    if (z->f1 == 1) F.Filter3->setListIndex(z->f3);
    for (auto _ : state) {
        F.Filter_anwenden_Click();
        benchmark::DoNotOptimize(F.Fotos_Bearbeiten_Bildimage->Picture());
    }
    state.counters["photo_px"] = double(F.Fotos_Bearbeiten_Bildimage->Picture().Width());
}

int main(int argc, char** argv) {
    for (const Filterzeile& z : kZeilen) {
        benchmark::RegisterBenchmark((std::string("BM_FilterStep2048x1536/") + z.name).c_str(), BM_FilterStep, 2048, 1536, &z)
            ->Unit(benchmark::kMillisecond)->Iterations(3);
        benchmark::RegisterBenchmark((std::string("BM_FilterStep12MP/") + z.name).c_str(), BM_FilterStep, 4000, 3000, &z)
            ->Unit(benchmark::kMillisecond)->Iterations(3);
    }
    return runBenchmarks(argc, argv);
}
