// The photo editor's filters on a 4000 x 3000 photo, like against like:
// - our operation alone, as the processing host runs it, "warm" (buffers in use) and "fresh"
//   (right after the host reopened the photo, as the editor does after every filter), against
//   the same operation of libvips and OpenCV in this process on buffers in use (when the
//   benchmark build found them);
// - our whole process (read the BMP, filter, write the BMP) against ImageMagick's whole process
//   on the same file.
// At the end a table of medians and ratios per row; a ratio below 1 means we are faster.
// The peers first: glib names a member like a keyword macro of Qt.
#if defined(HAVE_VIPS)
#include <vips/vips.h>
#endif
#if defined(HAVE_OPENCV)
#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#endif

#include "BenchPhoto.h"
#include "imaging/cDIBSection.h"
#include "imaging/cImageProcessDIB.h"
#include "imaging/mfrmMain.h"
#include "platform/system/MsgBox.h"
#include "platform/system/Seams.h"

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <malloc.h>
#include <map>
#include <optional>
#include <string>
#include <vector>


namespace {

using namespace benchphoto;

PhotoFixture& fx() {
    static PhotoFixture f;
    return f;
}

// The peers' operations: source and target are 3-channel pictures of the photo's size (blue,
// green, red, rows as our buffer holds them); the target may be written as the peer likes.
struct Peer {
    std::function<void(const cDIBSection& src, cDIBSection& dst)> run;
};

#if defined(HAVE_OPENCV)
cv::Mat mat(const cDIBSection& d) {
    return cv::Mat(d.Height(), d.Width(), CV_8UC3, const_cast<uint8_t*>(d.DIBSectionBitsPtr()), size_t(d.BytesPerScanLine()));
}
Peer cvKernel(std::vector<float> k, float weight, double delta = 0) {
    const int n = int(std::lround(std::sqrt(double(k.size()))));
    for (float& v : k) v /= weight;
    cv::Mat kernel = cv::Mat(n, n, CV_32F, k.data()).clone();
    return {[kernel, delta](const cDIBSection& s, cDIBSection& d) {
        cv::Mat out = mat(d);
        cv::filter2D(mat(s), out, -1, kernel, cv::Point(-1, -1), delta);
    }};
}
#endif

#if defined(HAVE_VIPS)
// Runs a vips operation from the photo into the target's memory.
Peer vipsOp(std::function<VipsImage*(VipsImage*)> op) {
    return {[op](const cDIBSection& s, cDIBSection& d) {
        VipsImage* in = vips_image_new_from_memory(s.DIBSectionBitsPtr(), size_t(s.ImageSize()), s.Width(), s.Height(), 3, VIPS_FORMAT_UCHAR);
        VipsImage* out = op(in);
        // vips writes its result into memory of its own (from the heap, so in use after the first run).
        (void)d;
        size_t length = 0;
        void* bytes = out ? vips_image_write_to_memory(out, &length) : nullptr;
        g_free(bytes);
        if (out) g_object_unref(out);
        g_object_unref(in);
    }};
}
VipsImage* vipsMask(int n, const std::vector<double>& k, double scale, double offset = 0) {
    VipsImage* m = vips_image_new_matrix_from_array(n, n, k.data(), int(k.size()));
    vips_image_set_double(m, "scale", scale);
    vips_image_set_double(m, "offset", offset);
    return m;
}
Peer vipsConv(int n, std::vector<double> k, double scale, double offset = 0) {
    return vipsOp([n, k, scale, offset](VipsImage* in) {
        VipsImage* m = vipsMask(n, k, scale, offset);
        VipsImage* out = nullptr;
        vips_conv(in, &out, m, "precision", VIPS_PRECISION_INTEGER, nullptr);
        g_object_unref(m);
        return out;
    });
}
Peer vipsRank(int index) {
    return vipsOp([index](VipsImage* in) {
        VipsImage* out = nullptr;
        vips_rank(in, &out, 3, 3, index, nullptr);
        return out;
    });
}
#endif

// One row of the photo editor's lists: the host's entry and index, the peers, ImageMagick's
// arguments.
struct Row {
    const char* name;
    int entry; // 0 colours, 1 low pass, 2 high pass, 3 special
    int16_t index;
    std::optional<Peer> vips, cv;
    const char* imageMagick;
};

void runEntry(mfrmMainHost& host, int entry, int16_t index) {
    switch (entry) {
    case 0: host.mnuColors_Einstieg(index); break;
    case 1: host.mnuLowPass_Einsprung(index); break;
    case 2: host.mnuHighPass_Einsprung(index); break;
    default: host.mnuSpecial_Einsprung(index); break;
    }
}

const std::vector<Row>& rows() {
    static const std::vector<Row> list = [] {
        std::vector<Row> r = {
            {"Bild abdunkeln", 0, 0, {}, {}, "-evaluate Multiply 0.94117647"},
            {"Bild aufhellen", 0, 1, {}, {}, "-modulate 120"},
            {"Bild invertieren", 0, 5, {}, {}, "-negate"},
            {"Graustufen", 0, 7, {}, {}, "-colorspace Gray"},
            {"SW-Rasterung", 0, 8, {}, {}, "-dither FloydSteinberg -monochrome"},
            {"wenig weichzeichnen", 1, 0, {}, {}, "-define convolve:scale=! -convolve 1,1,1,1,4,1,1,1,1"},
            {"stark weichzeichnen", 1, 1, {}, {}, "-define convolve:scale=! -convolve 1,1,1,1,1,1,2,2,2,1,1,2,12,2,1,1,2,2,2,1,1,1,1,1,1"},
            {"Kanten unscharf", 1, 2, {}, {}, "-define convolve:scale=! -convolve 1,1,1,1,1,1,1,1,1"},
            {"Kanten stark unscharf", 1, 3, {}, {}, "-define convolve:scale=! -convolve 1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1,1"},
            {"wenig scharfzeichnen", 2, 0, {}, {}, "-define convolve:scale=! -convolve -1,-1,-1,-1,15,-1,-1,-1,-1"},
            {"stark scharfzeichnen", 2, 1, {}, {}, "-convolve 0,-1,0,-1,5,-1,0,-1,0"},
            {"unscharf maskieren", 2, 2, {}, {}, "-define convolve:scale=! -convolve -1,-1,-1,-1,17,-1,-1,-1,-1"},
            {"Relief", 3, 0, {}, {}, "-define convolve:bias=50% -convolve -1,0,0,0,0,0,0,0,1"},
            {"Stoerungen hinzufuegen", 3, 2, {}, {}, "+noise Uniform"},
            {"Kantenbetonung normal", 3, 4, {}, {}, "-statistic Minimum 3x3"},
            {"Kantenbetonung mittel", 3, 5, {}, {}, "-statistic Mean 3x3"},
            {"Kantenbetonung stark", 3, 6, {}, {}, "-statistic Maximum 3x3"},
        };
        const std::vector<float> pyr3 = {1, 1, 1, 1, 4, 1, 1, 1, 1};
        const std::vector<float> pyr5 = {1, 1, 1, 1, 1, 1, 2, 2, 2, 1, 1, 2, 12, 2, 1, 1, 2, 2, 2, 1, 1, 1, 1, 1, 1};
        const std::vector<float> sharp = {-1, -1, -1, -1, 15, -1, -1, -1, -1};
        const std::vector<float> sharp2 = {0, -1, 0, -1, 5, -1, 0, -1, 0};
        const std::vector<float> unsharp = {-1, -1, -1, -1, 17, -1, -1, -1, -1};
        const std::vector<float> emboss = {-1, 0, 0, 0, 0, 0, 0, 0, 1};
#if defined(HAVE_OPENCV)
        auto at = [&](const char* n) -> Row& {
            for (Row& row : r)
                if (std::strcmp(row.name, n) == 0) return row;
            return r.front();
        };
        at("Bild abdunkeln").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            mat(s).convertTo(out, -1, 240.0 / 255.0);
        }};
        at("Bild aufhellen").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat hls, out = mat(d);
            cv::cvtColor(mat(s), hls, cv::COLOR_BGR2HLS);
            cv::transform(hls, hls, cv::Matx33f(1, 0, 0, 0, 1.2f, 0, 0, 0, 1));
            cv::cvtColor(hls, out, cv::COLOR_HLS2BGR);
        }};
        at("Bild invertieren").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::bitwise_not(mat(s), out);
        }};
        // Grey into one channel: the peer writes a third of what we write.
        at("Graustufen").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out(d.Height(), d.Width(), CV_8UC1, d.DIBSectionBitsPtr());
            cv::cvtColor(mat(s), out, cv::COLOR_BGR2GRAY);
        }};
        at("wenig weichzeichnen").cv = cvKernel(pyr3, 12);
        at("stark weichzeichnen").cv = cvKernel(pyr5, 44);
        at("Kanten unscharf").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::blur(mat(s), out, cv::Size(3, 3));
        }};
        at("Kanten stark unscharf").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::blur(mat(s), out, cv::Size(5, 5));
        }};
        at("wenig scharfzeichnen").cv = cvKernel(sharp, 7);
        at("stark scharfzeichnen").cv = cvKernel(sharp2, 1);
        // 2 x picture - box blur is one 3 x 3 kernel.
        at("unscharf maskieren").cv = cvKernel(unsharp, 9);
        at("Relief").cv = cvKernel(emboss, 1, 127);
        // Noise on 80 % of the pixels: the selection numbers, the noise numbers, the masked add.
        at("Stoerungen hinzufuegen").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat sel(s.Height(), s.Width(), CV_32F), noise(s.Height(), s.Width(), CV_16SC3), mask, out = mat(d);
            cv::randu(sel, 0.0, 100.0);
            cv::randu(noise, cv::Scalar::all(-12), cv::Scalar::all(13));
            cv::compare(sel, 20.0, mask, cv::CMP_GT);
            mat(s).copyTo(out);
            cv::add(mat(s), noise, out, mask, CV_8U);
        }};
        at("Kantenbetonung normal").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::erode(mat(s), out, cv::Mat());
        }};
        at("Kantenbetonung mittel").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::blur(mat(s), out, cv::Size(3, 3));
        }};
        at("Kantenbetonung stark").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::dilate(mat(s), out, cv::Mat());
        }};
#endif
#if defined(HAVE_VIPS)
        auto atV = [&](const char* n) -> Row& {
            for (Row& row : r)
                if (std::strcmp(row.name, n) == 0) return row;
            return r.front();
        };
        auto d = [](const std::vector<float>& k) { return std::vector<double>(k.begin(), k.end()); };
        atV("Bild abdunkeln").vips = vipsOp([](VipsImage* in) {
            VipsImage* out = nullptr;
            vips_linear1(in, &out, 240.0 / 255.0, 0.0, "uchar", TRUE, nullptr);
            return out;
        });
        atV("Bild invertieren").vips = vipsOp([](VipsImage* in) {
            VipsImage* out = nullptr;
            vips_invert(in, &out, nullptr);
            return out;
        });
        atV("Graustufen").vips = vipsOp([](VipsImage* in) {
            VipsImage *srgb = nullptr, *out = nullptr;
            vips_copy(in, &srgb, "interpretation", VIPS_INTERPRETATION_sRGB, nullptr);
            vips_colourspace(srgb, &out, VIPS_INTERPRETATION_B_W, nullptr);
            g_object_unref(srgb);
            return out;
        });
        atV("wenig weichzeichnen").vips = vipsConv(3, d(pyr3), 12);
        atV("stark weichzeichnen").vips = vipsConv(5, d(pyr5), 44);
        atV("Kanten unscharf").vips = vipsConv(3, std::vector<double>(9, 1.0), 9);
        atV("Kanten stark unscharf").vips = vipsConv(5, std::vector<double>(25, 1.0), 25);
        atV("wenig scharfzeichnen").vips = vipsConv(3, d(sharp), 7);
        atV("stark scharfzeichnen").vips = vipsConv(3, d(sharp2), 1);
        atV("unscharf maskieren").vips = vipsConv(3, d(unsharp), 9);
        atV("Relief").vips = vipsConv(3, d(emboss), 1, 127);
        atV("Kantenbetonung normal").vips = vipsRank(0);
        atV("Kantenbetonung mittel").vips = vipsConv(3, std::vector<double>(9, 1.0), 9);
        atV("Kantenbetonung stark").vips = vipsRank(8);
#endif
        return r;
    }();
    return list;
}

// Ours, warm: the host's operation on a photo whose buffers have been in use.
void oursWarm(benchmark::State& state, const Row* row) {
    mfrmMainHost host;
    host.OpenFile(fx().input, false);
    for (auto _ : state) {
        state.PauseTiming();
        fx().copyInto(*host.m_cDIB);
        state.ResumeTiming();
        runEntry(host, row->entry, row->index);
    }
}

// Ours, fresh: right after the host opened the photo file again, as the editor has it.
void oursFresh(benchmark::State& state, const Row* row) {
    mfrmMainHost host;
    host.OpenFile(fx().input, false);
    runEntry(host, row->entry, row->index);
    for (auto _ : state) {
        state.PauseTiming();
        host.OpenFile(fx().input, false);
        state.ResumeTiming();
        runEntry(host, row->entry, row->index);
    }
}

void peer(benchmark::State& state, const Peer* p) {
    cDIBSection dst;
    dst.Create(kWidth, kHeight);
    p->run(fx().photo, dst);
    for (auto _ : state) p->run(fx().photo, dst);
}

// Whole processes on the photo file: this program in its filter mode, and ImageMagick.
void oursProcess(benchmark::State& state, const Row* row) {
    const QString out = fx().dir.filePath(QStringLiteral("ours_out.bmp"));
    const std::string cmd = QStringLiteral("%1 --filter-row %2 %3 %4 >/dev/null 2>&1")
                                .arg(QCoreApplication::applicationFilePath())
                                .arg(int(row - rows().data()))
                                .arg(fx().input, out)
                                .toStdString();
    for (auto _ : state)
        if (std::system(cmd.c_str()) != 0) {
            state.SkipWithError("filter run failed");
            break;
        }
}
void imageMagick(benchmark::State& state, const Row* row) {
    timeImageMagick(state, fx(), QString::fromLatin1(row->imageMagick), QStringLiteral("BMP3:"));
}

// Medians by benchmark name, and the table at the end.
class TableReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred && r.aggregate_name == "median") m_ms[r.run_name.function_name] = r.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        auto ms = [&](const std::string& n) { return m_ms.count(n) ? m_ms[n] : -1.0; };
        auto cell = [](double v) { return v < 0 ? std::string("-") : std::to_string(v).substr(0, std::to_string(v).find('.') + 2); };
        auto ratio = [](double a, double b) { return a < 0 || b <= 0 ? std::string("-") : std::to_string(a / b).substr(0, 4); };
        std::printf("\nOperation alone, median ms (ours as the host runs it; peers in this process, buffers in use):\n");
        std::printf("%-24s %9s %9s %9s %9s %11s %11s\n", "row", "warm", "fresh", "libvips", "OpenCV", "warm/best", "fresh/best");
        for (const Row& r : rows()) {
            const std::string n = r.name;
            const double w = ms("warm/" + n), f = ms("fresh/" + n), v = ms("libvips/" + n), c = ms("OpenCV/" + n);
            double best = -1;
            for (double p : {v, c})
                if (p > 0 && (best < 0 || p < best)) best = p;
            std::printf("%-24s %9s %9s %9s %9s %11s %11s\n", n.c_str(), cell(w).c_str(), cell(f).c_str(), cell(v).c_str(),
                        cell(c).c_str(), ratio(w, best).c_str(), ratio(f, best).c_str());
        }
        std::printf("\nWhole process (read the BMP, filter, write the BMP), median ms:\n");
        std::printf("%-24s %9s %12s %7s\n", "row", "ours", "ImageMagick", "ratio");
        for (const Row& r : rows()) {
            const std::string n = r.name;
            const double o = ms("process/" + n), im = ms("ImageMagick/" + n);
            std::printf("%-24s %9s %12s %7s\n", n.c_str(), cell(o).c_str(), cell(im).c_str(), ratio(o, im).c_str());
        }
    }

private:
    std::map<std::string, double> m_ms;
};

// A 24-bit BMP read straight into a buffer: its rows are stored as the buffer holds them.
bool readBmp24(const QString& path, cDIBSection& d) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return false;
    const QByteArray head = f.read(54);
    if (head.size() != 54 || head[0] != 'B' || head[1] != 'M') return false;
    auto u32 = [&](int o) { return uint32_t(uint8_t(head[o])) | uint32_t(uint8_t(head[o + 1])) << 8 | uint32_t(uint8_t(head[o + 2])) << 16 | uint32_t(uint8_t(head[o + 3])) << 24; };
    const int w = int(u32(18)), h = int(u32(22)), bits = uint8_t(head[28]) | uint8_t(head[29]) << 8;
    if (bits != 24 || u32(30) != 0 || w <= 0 || h <= 0 || !d.Create(w, h) || !f.seek(u32(10))) return false;
    return f.read(reinterpret_cast<char*>(d.DIBSectionBitsPtr()), d.ImageSize()) == d.ImageSize();
}

// The filter mode, our whole process: the photo file read into the host's buffers, one row run
// as the host runs it, the photo written back.
int filterRow(int index, const QString& in, const QString& out) {
    if (index < 0 || index >= int(rows().size())) return 2;
    mfrmMainHost host;
    host.m_cDIB = std::make_unique<cDIBSection>();
    host.m_cDIBBuffer = std::make_unique<cDIBSection>();
    if (!readBmp24(in, *host.m_cDIB) || !host.m_cDIBBuffer->Create(host.m_cDIB->Width(), host.m_cDIB->Height())) return 1;
    runEntry(host, rows()[size_t(index)].entry, rows()[size_t(index)].index);
    return host.m_cDIB->SavePicture(out) ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    vb::seams().msgBox = [](const QString& text, int, const QString&) {
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return int(vb::vbOK);
    };
    if (argc == 5 && std::strcmp(argv[1], "--filter-row") == 0)
        return filterRow(std::atoi(argv[2]), QString::fromLocal8Bit(argv[3]), QString::fromLocal8Bit(argv[4]));
    // The peers allocate their pictures with malloc: kept in the heap, they stay in use.
    mallopt(M_MMAP_THRESHOLD, 512 << 20);
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
#if defined(HAVE_VIPS)
    if (VIPS_INIT(argv[0])) return 1;
    vips_cache_set_max(0);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    auto add = [](const std::string& name, auto fn, auto arg, int iterations) {
        benchmark::RegisterBenchmark(name.c_str(), fn, arg)
            ->Iterations(iterations)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    for (const Row& r : rows()) {
        add(std::string("warm/") + r.name, oursWarm, &r, 3);
        add(std::string("fresh/") + r.name, oursFresh, &r, 3);
        if (r.vips) add(std::string("libvips/") + r.name, peer, &*r.vips, 3);
        if (r.cv) add(std::string("OpenCV/") + r.name, peer, &*r.cv, 3);
        add(std::string("process/") + r.name, oursProcess, &r, 1);
        add(std::string("ImageMagick/") + r.name, imageMagick, &r, 1);
    }
    fx();
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
