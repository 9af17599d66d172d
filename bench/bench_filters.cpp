// The photo editor's filters on a 4000 x 3000 photo, like against like:
// - our operation alone, as the processing host runs it, "warm" (buffers in use) and "fresh"
//   (right after the host reopened the photo, as the editor does after every filter), against
//   the same operation of libvips and OpenCV in this process on buffers in use (when the
//   benchmark build found them);
// - our whole process (read the BMP, filter, write the BMP) against ImageMagick's whole process
//   on the same file.
// Each peer writes what we write (three channels, grey too) and its result is checked against
// ours once (counter "off": the largest difference in levels); a peer off by more than its
// operation's rounding allows is reported as an error instead of timed.
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
#include "platform/picture/Bmp.h"
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
// After the warm-up the peer's result is checked against ours inside the border ring (where
// peers and we treat the edge differently): every byte within tolerance once a peer's byte
// below atLeast is taken as atLeast (our emboss clamps before it adds 127, the peers after).
struct Peer {
    using Op = std::function<void(const cDIBSection& src, cDIBSection& dst)>;
    Op run;
    // Writes the result into dst for the check where run leaves it elsewhere.
    Op capture = {};
    int tolerance = 1;
    int atLeast = 0;
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
// Runs a vips operation on the photo. vips writes its result into memory of its own (from the
// heap, so in use after the first run); for the check it is copied into the target.
Peer vipsOp(std::function<VipsImage*(VipsImage*)> op) {
    auto run = [op](const cDIBSection& s, cDIBSection& d, bool keep) {
        VipsImage* in = vips_image_new_from_memory(s.DIBSectionBitsPtr(), size_t(s.ImageSize()), s.Width(), s.Height(), 3, VIPS_FORMAT_UCHAR);
        VipsImage* out = op(in);
        size_t length = 0;
        auto* bytes = static_cast<const uint8_t*>(out ? vips_image_write_to_memory(out, &length) : nullptr);
        const size_t line = size_t(d.Width()) * 3;
        if (keep && bytes && length == line * size_t(d.Height()))
            for (int y = 0; y < d.Height(); ++y) std::memcpy(d.DIBSectionBitsPtr() + int64_t(y) * d.BytesPerScanLine(), bytes + line * size_t(y), line);
        g_free(const_cast<uint8_t*>(bytes));
        if (out) g_object_unref(out);
        g_object_unref(in);
    };
    return {[run](const cDIBSection& s, cDIBSection& d) { run(s, d, false); }, [run](const cDIBSection& s, cDIBSection& d) { run(s, d, true); }};
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
        [[maybe_unused]] auto at = [&](const char* n) -> Row& {
            for (Row& row : r)
                if (std::strcmp(row.name, n) == 0) return row;
            return r.front();
        };
#if defined(HAVE_OPENCV)
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
        // Its hue and saturation are held in 8 bits between the conversions.
        at("Bild aufhellen").cv->tolerance = 8;
        at("Bild invertieren").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat out = mat(d);
            cv::bitwise_not(mat(s), out);
        }};
        // Grey into one channel and that spread over three, as we write it: the fastest of the
        // ways OpenCV has (a 3 x 3 transform or a merge of three planes take longer). Its weights
        // are 0.299, 0.587 and 0.114, so its grey differs from ours by up to 31 levels.
        at("Graustufen").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            static cv::Mat grey(s.Height(), s.Width(), CV_8UC1);
            cv::Mat out = mat(d);
            cv::cvtColor(mat(s), grey, cv::COLOR_BGR2GRAY);
            cv::cvtColor(grey, out, cv::COLOR_GRAY2BGR);
        }};
        at("Graustufen").cv->tolerance = 31;
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
        at("Relief").cv->atLeast = 127;
        // Noise on 80 % of the pixels: the selection numbers, the noise numbers, the masked add.
        at("Stoerungen hinzufuegen").cv = Peer{[](const cDIBSection& s, cDIBSection& d) {
            cv::Mat sel(s.Height(), s.Width(), CV_32F), noise(s.Height(), s.Width(), CV_16SC3), mask, out = mat(d);
            cv::randu(sel, 0.0, 100.0);
            cv::randu(noise, cv::Scalar::all(-12), cv::Scalar::all(13));
            cv::compare(sel, 20.0, mask, cv::CMP_GT);
            mat(s).copyTo(out);
            cv::add(mat(s), noise, out, mask, CV_8U);
        }};
        // Noise of -12 to 13 levels on both sides, on pixels chosen at random.
        at("Stoerungen hinzufuegen").cv->tolerance = 25;
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
        auto d = [](const std::vector<float>& k) { return std::vector<double>(k.begin(), k.end()); };
        at("Bild abdunkeln").vips = vipsOp([](VipsImage* in) {
            VipsImage* out = nullptr;
            vips_linear1(in, &out, 240.0 / 255.0, 0.0, "uchar", TRUE, nullptr);
            return out;
        });
        at("Bild invertieren").vips = vipsOp([](VipsImage* in) {
            VipsImage* out = nullptr;
            vips_invert(in, &out, nullptr);
            return out;
        });
        at("Graustufen").vips = vipsOp([](VipsImage* in) {
            VipsImage *srgb = nullptr, *out = nullptr;
            vips_copy(in, &srgb, "interpretation", VIPS_INTERPRETATION_sRGB, nullptr);
            VipsImage* grey = nullptr;
            vips_colourspace(srgb, &grey, VIPS_INTERPRETATION_B_W, nullptr);
            g_object_unref(srgb);
            // One band spread over three, as we write it.
            if (grey) {
                VipsImage* bands[3] = {grey, grey, grey};
                vips_bandjoin(bands, &out, 3, nullptr);
                g_object_unref(grey);
            }
            return out;
        });
        // vips takes the luminance of linear light, gamma-encoded again: its grey lies up to
        // about 60 levels from ours.
        at("Graustufen").vips->tolerance = 64;
        at("wenig weichzeichnen").vips = vipsConv(3, d(pyr3), 12);
        at("stark weichzeichnen").vips = vipsConv(5, d(pyr5), 44);
        at("Kanten unscharf").vips = vipsConv(3, std::vector<double>(9, 1.0), 9);
        at("Kanten stark unscharf").vips = vipsConv(5, std::vector<double>(25, 1.0), 25);
        at("wenig scharfzeichnen").vips = vipsConv(3, d(sharp), 7);
        at("stark scharfzeichnen").vips = vipsConv(3, d(sharp2), 1);
        at("unscharf maskieren").vips = vipsConv(3, d(unsharp), 9);
        at("Relief").vips = vipsConv(3, d(emboss), 1, 127);
        at("Relief").vips->atLeast = 127;
        at("Kantenbetonung normal").vips = vipsRank(0);
        at("Kantenbetonung mittel").vips = vipsConv(3, std::vector<double>(9, 1.0), 9);
        at("Kantenbetonung stark").vips = vipsRank(8);
#endif
        return r;
    }();
    return list;
}

// Ours, warm: the host's operation on a photo whose buffers have been in use (a first run
// untimed, as for the peers).
void oursWarm(benchmark::State& state, const Row* row) {
    mfrmMainHost host;
    host.OpenFile(fx().input, false);
    runEntry(host, row->entry, row->index);
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

// Our result of a row on the photo, the host's as the editor runs it (the last row asked for).
const cDIBSection& oursResult(const Row* row) {
    static const Row* last = nullptr;
    static mfrmMainHost host;
    if (last != row) {
        host.OpenFile(fx().input, false);
        runEntry(host, row->entry, row->index);
        last = row;
    }
    return *host.m_cDIB;
}

// The largest difference of a byte of the peer's result from ours, inside the border ring, on
// every 7th pixel of every 5th row.
int largestDifference(const Peer& p, const cDIBSection& theirs, const cDIBSection& ours) {
    constexpr int kRing = 4;
    int most = 0;
    for (int y = kRing; y < theirs.Height() - kRing; y += 5) {
        const uint8_t* a = theirs.DIBSectionBitsPtr() + int64_t(y) * theirs.BytesPerScanLine();
        const uint8_t* b = ours.DIBSectionBitsPtr() + int64_t(y) * ours.BytesPerScanLine();
        for (int x = kRing; x < theirs.Width() - kRing; x += 7)
            for (int c = 0; c < 3; ++c) most = std::max(most, std::abs(std::max<int>(a[3 * x + c], p.atLeast) - b[3 * x + c]));
    }
    return most;
}

void peer(benchmark::State& state, const Peer* p, const Row* row) {
    cDIBSection dst;
    dst.Create(kWidth, kHeight);
    static std::map<const Peer*, int> checked;
    if (!checked.count(p)) {
        (p->capture ? p->capture : p->run)(fx().photo, dst);
        checked[p] = largestDifference(*p, dst, oursResult(row));
    }
    const int most = checked[p];
    if (most > p->tolerance) {
        state.SkipWithError(("result off ours by " + std::to_string(most) + " levels").c_str());
        return;
    }
    state.counters["off"] = most;
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
    const QByteArray head = f.read(vb::Bmp::FileHeader::kSize + vb::Bmp::InfoHeader::kSize);
    if (head.size() != vb::Bmp::FileHeader::kSize + vb::Bmp::InfoHeader::kSize) return false;
    const auto* bytes = reinterpret_cast<const uint8_t*>(head.constData());
    const auto file = vb::Bmp::FileHeader::Read(bytes);
    const vb::Bmp::InfoHeader info = vb::Bmp::InfoHeader::Read(bytes + vb::Bmp::FileHeader::kSize);
    if (!file || info.bitCount != 24 || info.compression != 0 || info.width <= 0 || info.height <= 0 || !d.Create(info.width, info.height) ||
        !f.seek(file->bitsOffset))
        return false;
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
    auto add = [](const std::string& name, int iterations, auto fn, auto... args) {
        benchmark::RegisterBenchmark(name.c_str(), fn, args...)
            ->Iterations(iterations)->Repetitions(5)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();
    };
    for (const Row& r : rows()) {
        add(std::string("warm/") + r.name, 3, oursWarm, &r);
        add(std::string("fresh/") + r.name, 3, oursFresh, &r);
        if (r.vips) add(std::string("libvips/") + r.name, 3, peer, &*r.vips, &r);
        if (r.cv) add(std::string("OpenCV/") + r.name, 3, peer, &*r.cv, &r);
        add(std::string("process/") + r.name, 1, oursProcess, &r);
        add(std::string("ImageMagick/") + r.name, 1, imageMagick, &r);
    }
    fx();
    TableReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
