// Start-up up to the first shown window (the splash), with fresh windows each time.
#include "frame/Parameter_und_Start.h"
#include "platform/window/App.h"
#include "platform/window/Form.h"
#include "platform/system/MsgBox.h"
#include "platform/system/SingleInstance.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include "BenchMain.h"
#include "BenchProgram.h"

static void BM_StartupToFirstWindow(benchmark::State& state) {
    QTemporaryDir dir;
    QFile(dir.filePath(QStringLiteral("param.ini"))).open(QIODevice::WriteOnly);
    freshProgram(dir.path());
    vb::seams().modal = [](vb::Form& f) { f.Hide(); };
    for (auto _ : state) {
        Parameter_und_Start::Grundzustand();
        Parameter_und_Start::Main();
        QApplication::processEvents();
        state.PauseTiming();
        vb::SingleInstance::Release();
        vb::DestroyAllInstances();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupToFirstWindow)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) { return runBenchmarks(argc, argv); }
