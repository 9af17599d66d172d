// One mouse move over the logo editor's raster with the pen (the pixel set, the raster redraw
// and the magnifier) on the largest logos, with the main window shown. The parts are measured
// alone beside it.
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "logo/Zaroreriri.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Cursor.h"
#include "platform/picture/Picture.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"

#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchProgram.h"
#include "platform/system/Seams.h"

using namespace Parameter_und_Start;

namespace {
// The editor with a white logo of category k (2: 101 x 43, 3: 96 x 65) and the pen pressed,
// on a standard screen, in a program folder of its own, with no window waiting for an answer.
vb::PictureBox& editorOeffnen(int k) {
    static QTemporaryDir programmordner;
    freshProgram(programmordner.path());
    SetSystemFolder(programmordner.path());
    vb::ScreenMetrics m;
    m.widthPx = 1024;
    m.heightPx = 768;
    m.dpi = 96;
    m.bitsPerPixel = 32;
    vb::seams().screen = m;
    vb::seams().dialog = [](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(); };
    vb::seams().modal = [](vb::Form& f) { f.Hide(); };
    Startbildschirm->Show();
    Startbildschirm->ComboKategorien[3]->setListIndex(k);
    QImage weiss(Logo_Breite, Logo_Hoehe, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    const QString pfad = Programmverzeichnis + QStringLiteral("weiss.bmp");
    vb::SavePicture(weiss, pfad);
    Startbildschirm->Laden_Click_Sub(pfad, false, true);
    vb::PictureBox& raster = *Startbildschirm->Logo_Raster_Grafik;
    Zaroreriri::Letzte_Mausposition_vergessen();
    vb::seams().cursor = raster.ScreenOrigin() + QPoint(5, 5);
    raster.FireMouseDown(1, 0, 5, 5);
    return raster;
}

// Raster positions of a stroke across the whole logo, one cell apart.
QPoint strichpunkt(int64_t i) {
    const int w = 4 * Logo_Breite, h = 4 * Logo_Hoehe;
    const int x = int((i * 4) % (2 * w)), y = int((i * 3) % (2 * h));
    return {x < w ? x : 2 * w - 1 - x, y < h ? y : 2 * h - 1 - y};
}

void BM_PenMove(benchmark::State& state) {
    vb::PictureBox& raster = editorOeffnen(int(state.range(0)));
    state.SetLabel(std::to_string(Logo_Breite) + " x " + std::to_string(Logo_Hoehe));
    int64_t i = 0;
    for (auto _ : state) {
        const QPoint p = strichpunkt(++i);
        vb::seams().cursor = raster.ScreenOrigin() + p;
        raster.FireMouseMove(1, 0, float(p.x()), float(p.y()));
    }
    vb::DestroyAllInstances();
}

void BM_Raster_zeichnen(benchmark::State& state) {
    editorOeffnen(int(state.range(0)));
    const Zaroreriri::Flaechen f = Startbildschirm->Editorflaechen();
    for (auto _ : state) Zaroreriri::Raster_zeichnen(f);
    vb::DestroyAllInstances();
}

void BM_Zoom_zeichnen(benchmark::State& state) {
    editorOeffnen(int(state.range(0)));
    const Zaroreriri::Flaechen f = Startbildschirm->Editorflaechen();
    int64_t i = 0;
    for (auto _ : state) {
        const QPoint p = strichpunkt(++i);
        Zaroreriri::Zoom_zeichnen(f, float(p.x()), float(p.y()));
    }
    vb::DestroyAllInstances();
}

void BM_DoEvents(benchmark::State& state) {
    editorOeffnen(int(state.range(0)));
    for (auto _ : state) vb::App::DoEvents();
    vb::DestroyAllInstances();
}
} // namespace

BENCHMARK(BM_PenMove)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Raster_zeichnen)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Zoom_zeichnen)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DoEvents)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
