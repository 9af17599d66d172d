// Image library on a 4000 x 3000 photo, each operation beside the nearest ImageMagick command run
// as a process on the same picture. Prints the ratios at the end.
#include "imaging/cColourReduceDIB.h"
#include "BenchPhoto.h"
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/cPalette.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>

namespace {

using namespace benchphoto;

// The photo and the 16-colour palette as a map picture for ImageMagick.
struct Fixture : PhotoFixture {
    QString map16;

    Fixture() {
        map16 = dir.filePath("map16.png");
        cPalette p;
        p.Create16Colour();
        QImage map(16, 1, QImage::Format_RGB32);
        for (int i = 0; i < 16; ++i) map.setPixel(i, 0, qRgb(p.Red(i + 1), p.Green(i + 1), p.Blue(i + 1)));
        map.save(map16);
    }
};

Fixture& fx() {
    static Fixture f;
    return f;
}

void imageMagick(benchmark::State& state, const QString& operation) { timeImageMagick(state, fx(), operation); }

void BM_GrayScale(benchmark::State& state) {
    cDIBSection d;
    for (auto _ : state) {
        state.PauseTiming();
        fx().copyInto(d);
        state.ResumeTiming();
        cColourReduceDIB().GrayScale(d);
    }
}
void BM_IM_GrayScale(benchmark::State& state) { imageMagick(state, QStringLiteral("-colorspace Gray")); }

void BM_BlackAndWhite(benchmark::State& state) {
    cDIBSection d, to;
    to.Create(kWidth, kHeight);
    for (auto _ : state) {
        state.PauseTiming();
        fx().copyInto(d);
        state.ResumeTiming();
        cColourReduceDIB().BlackAndWhite(d, to);
    }
}
void BM_IM_BlackAndWhite(benchmark::State& state) { imageMagick(state, QStringLiteral("-dither FloydSteinberg -monochrome")); }

void BM_ApplyPalette16(benchmark::State& state) {
    cDIBSection d, to;
    to.Create(kWidth, kHeight);
    cPalette pal;
    pal.Create16Colour();
    for (auto _ : state) {
        state.PauseTiming();
        fx().copyInto(d);
        state.ResumeTiming();
        cColourReduceDIB().ApplyPalette(d, to, pal, true);
    }
}
void BM_IM_ApplyPalette16(benchmark::State& state) {
    imageMagick(state, QStringLiteral("-dither FloydSteinberg -remap %1").arg(fx().map16));
}

void BM_CreateOptimal(benchmark::State& state) {
    for (auto _ : state) {
        cPalette pal;
        pal.CreateOptimal(fx().photo, 236, 6);
        benchmark::DoNotOptimize(pal.Count());
    }
}
void BM_IM_CreateOptimal(benchmark::State& state) { imageMagick(state, QStringLiteral("-colors 236")); }

void BM_Resample(benchmark::State& state) {
    for (auto _ : state) {
        auto half = fx().photo.Resample(kHeight / 2, kWidth / 2);
        benchmark::DoNotOptimize(half.get());
    }
}
void BM_IM_Resample(benchmark::State& state) { imageMagick(state, QStringLiteral("-resize 50%")); }

// Save(depth, method): method 2 is the reduction the program asks for, method 0 the plain writer.
void BM_Save(benchmark::State& state) {
    const int depth = int(state.range(0)), method = int(state.range(1));
    const QString out = fx().dir.filePath("ours.bmp");
    cDIBSection d;
    for (auto _ : state) {
        state.PauseTiming();
        fx().copyInto(d);
        std::shared_ptr<cPalette> pal;
        state.ResumeTiming();
        if (!cDIBSectionSave().Save(out, d, pal, depth, method)) state.SkipWithError("save failed");
    }
}

#define IMAGING_BENCH(fn) BENCHMARK(fn)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime()
IMAGING_BENCH(BM_GrayScale);
IMAGING_BENCH(BM_IM_GrayScale);
IMAGING_BENCH(BM_BlackAndWhite);
IMAGING_BENCH(BM_IM_BlackAndWhite);
IMAGING_BENCH(BM_ApplyPalette16);
IMAGING_BENCH(BM_IM_ApplyPalette16);
IMAGING_BENCH(BM_CreateOptimal);
IMAGING_BENCH(BM_IM_CreateOptimal);
IMAGING_BENCH(BM_Resample);
IMAGING_BENCH(BM_IM_Resample);
BENCHMARK(BM_Save)
    ->ArgsProduct({{0, 1, 2}, {0, 2}})
    ->Args({3, 0})
    ->ArgNames({"depth", "method"})
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    fx();
    RatioReporter reporter({"GrayScale", "BlackAndWhite", "ApplyPalette16", "CreateOptimal", "Resample"}, "BM_", "BM_IM_");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
