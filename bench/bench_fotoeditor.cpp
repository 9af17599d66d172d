// Opening a 4000 x 3000 JPEG in the photo editor (the entry pair: processing host, fitted view,
// logo-size picture, three conversions) beside one plain decode of the same file; a refill of
// the six-slot strip with such photos; and the editor's step from choosing a filter to the
// filtered picture on screen (host, work files, reopen, previews) for a 2048-pixel photo and a
// 12-megapixel one.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "photo/Fotoeditor.h"
#include "photo/Fotovorschau_Editor_6.h"
#include "platform/App.h"
#include "platform/ComboBox.h"
#include "platform/Image.h"
#include "platform/FileListBox.h"
#include "platform/Form.h"
#include "platform/Picture.h"
#include "platform/ScrollBar.h"

#include <QCoreApplication>
#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>
#include <string>

#include "BenchMain.h"

namespace {
// A program folder with a collection of six 4000 x 3000 JPEGs made from a shipped photo.
struct Umgebung {
    QTemporaryDir dir;
    QString foto;
    Umgebung() {
        vb::App::SetPath(dir.path());
        Parameter_und_Start::Grundzustand();
        Parameter_und_Start::Programmverzeichnis = dir.path() + QLatin1Char('/');
        QDir(dir.path()).mkpath(QStringLiteral("fotos"));
        const QImage quelle(QCoreApplication::applicationDirPath() + QStringLiteral("/fotos/Garten.jpg"));
        const QImage gross = quelle.scaled(4000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        for (int i = 0; i < 6; ++i) gross.save(dir.filePath(QStringLiteral("fotos/foto%1.jpg").arg(i)), "JPG", 90);
        foto = dir.filePath(QStringLiteral("fotos/foto0.jpg"));
        Startbildschirm->ComboKategorien[3]->setListIndex(2); // 101 x 43
    }
    ~Umgebung() { vb::DestroyAllInstances(); }
};
} // namespace

static void BM_PlainDecode4000x3000(benchmark::State& state) {
    Umgebung u;
    const QString foto = u.foto;
    for (auto _ : state) {
        QImageReader r(foto);
        benchmark::DoNotOptimize(r.read());
    }
}
BENCHMARK(BM_PlainDecode4000x3000)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_OpenInPhotoEditor4000x3000(benchmark::State& state) {
    Umgebung u;
    const QString foto = u.foto;
    FotoeditorForm& F = *Fotoeditor;
    for (auto _ : state) {
        vb::ForgetPicture();
        F.In_Fotoeditor_bearbeiten_Einsprung(foto);
        F.Laden_Click_Sub(foto);
    }
}
BENCHMARK(BM_OpenInPhotoEditor4000x3000)->Unit(benchmark::kMillisecond)->Iterations(5);

static void BM_StripRefillSix4000x3000(benchmark::State& state) {
    Umgebung u;
    FotoeditorForm& F = *Fotoeditor;
    const auto s = F.Streifen();
    Fotovorschau_Editor_6::Editorvorschau_Voreinstellung();
    Fotovorschau_Editor_6::Editorvorschau_Ordner_setzen(s);
    for (auto _ : state) Fotovorschau_Editor_6::Editorvorschaubilder_fuellen(s);
}
BENCHMARK(BM_StripRefillSix4000x3000)->Unit(benchmark::kMillisecond)->Iterations(5);

// The filter rows of the editor's lists: Filter1, Filter2, Filter3.
struct Filterzeile {
    const char* name;
    int f1, f2, f3;
};
constexpr Filterzeile kZeilen[] = {
    {"Bild_invertieren", 0, 2, 0}, {"Graustufen", 0, 3, 0}, {"SW-Rasterung", 0, 4, 0}, {"wenig_weichzeichnen", 1, 0, 0},
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
