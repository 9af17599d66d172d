// The photo editor's filters on a 4000 x 3000 photo: each entry of its lists (as the processing
// host runs it on the engine) and Colourise, beside the nearest ImageMagick command run as a
// process on the same picture. Prints the ratios at the end.
#include "BenchPhoto.h"
#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace benchphoto;

using Fixture = PhotoFixture;

Fixture& fx() {
    static Fixture f;
    return f;
}

// One entry: our operation on the photo and its buffer, and ImageMagick's arguments.
struct Entry {
    const char* name;
    std::function<void(cImageProcessDIB&, cDIBSection&, cDIBSection&)> ours;
    const char* imageMagick;
};

void filterType(cImageProcessDIB& e, cDIBSection& d, cDIBSection& b, int type) {
    e.FilterType(type);
    e.ProcessImage(d, b);
}

const std::vector<Entry>& entries() {
    static const std::vector<Entry> list = {
        {"abdunkeln", [](auto& e, auto& d, auto&) { e.Fade(d, 240); }, "-evaluate Multiply 0.94117647"},
        {"aufhellen", [](auto& e, auto& d, auto&) { e.Lighten(d, 20); }, "-modulate 120"},
        {"invertieren",
         [](auto& e, auto& d, auto& b) {
             e.AddImages(d, b, -1, -255, -255, -255, 0, 0, 0, 0);
             d.LoadPictureBlt(b);
         },
         "-negate"},
        {"Graustufen", [](auto& e, auto& d, auto&) { e.GrayScale(d); }, "-colorspace Gray"},
        {"SW-Rasterung", [](auto& e, auto& d, auto& b) { e.BlackAndWhite(d, b); }, "-dither FloydSteinberg -monochrome"},
        {"wenig_weich", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 3); },
         "-define convolve:scale=! -convolve 1,1,1,1,4,1,1,1,1"},
        {"stark_weich", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 4); },
         "-define convolve:scale=! -convolve 1,1,1,1,1,1,2,2,2,1,1,2,12,2,1,1,2,2,2,1,1,1,1,1,1"},
        {"Kanten_unscharf", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 1); },
         "-define convolve:scale=! -convolve 1,1,1,1,1,1,1,1,1"},
        {"Kanten_stark_unscharf", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 2); },
         "-define convolve:scale=! -convolve 1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1"},
        {"wenig_scharf", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 5); },
         "-define convolve:scale=! -convolve -1,-1,-1,-1,15,-1,-1,-1,-1"},
        {"stark_scharf", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 6); },
         "-convolve 0,-1,0,-1,5,-1,0,-1,0"},
        {"unscharf_maskieren", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 7); },
         "-define convolve:scale=! -convolve -1,-1,-1,-1,17,-1,-1,-1,-1"},
        {"Relief", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 8); },
         "-define convolve:bias=50% -convolve -1,0,0,0,0,0,0,0,1"},
        {"Stoerungen", [](auto& e, auto& d, auto&) { e.AddNoise(d, 20, true); }, "+noise Uniform"},
        {"Kanten_normal", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 10); }, "-statistic Minimum 3x3"},
        {"Kanten_mittel", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 9); }, "-statistic Mean 3x3"},
        {"Kanten_stark", [](auto& e, auto& d, auto& b) { filterType(e, d, b, 11); }, "-statistic Maximum 3x3"},
        {"Colourise", [](auto& e, auto& d, auto&) { e.Colourise(d, 1.0f, 0.5f); },
         "-colorspace HSL -channel R -evaluate set 16.667% +channel -colorspace sRGB"},
    };
    return list;
}

void ours(benchmark::State& state, const Entry* entry) {
    cDIBSection d, b;
    b.Create(kWidth, kHeight);
    for (auto _ : state) {
        state.PauseTiming();
        fx().copyInto(d);
        state.ResumeTiming();
        cImageProcessDIB e;
        entry->ours(e, d, b);
    }
}

void imageMagick(benchmark::State& state, const Entry* entry) {
    timeImageMagick(state, fx(), QString::fromLatin1(entry->imageMagick), QStringLiteral("BMP3:"));
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    for (const Entry& e : entries()) {
        benchmark::RegisterBenchmark((std::string("ours/") + e.name).c_str(), ours, &e)
            ->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
        benchmark::RegisterBenchmark((std::string("IM/") + e.name).c_str(), imageMagick, &e)
            ->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
    }
    fx();
    std::vector<std::string> names;
    for (const Entry& e : entries()) names.emplace_back(e.name);
    RatioReporter reporter(names, "ours/", "IM/");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
