// Opening a 4000 x 3000 JPEG in the photo editor (the entry pair: processing host, fitted view,
// logo-size picture, three conversions) beside one plain decode of the same file; and a refill
// of the six-slot strip with such photos.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "photo/Fotoeditor.h"
#include "photo/Fotovorschau_Editor_6.h"
#include "platform/App.h"
#include "platform/ComboBox.h"
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

#include "BenchMain.h"
#include "platform/Seams.h"

namespace {
// A program folder with a collection of six 4000 x 3000 JPEGs made from a shipped photo.
struct Umgebung {
    QTemporaryDir dir;
    QString foto;
    Umgebung() {
        vb::seams().programFolder = dir.path();
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

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
