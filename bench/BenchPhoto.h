#pragma once
// The 4000 x 3000 photo the imaging benchmarks share, and ImageMagick beside them.
#include "imaging/cDIBSection.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace benchphoto {

constexpr int kWidth = 4000, kHeight = 3000;
inline const char* const kConvert = "convert-im6.q16";

// Smooth ramps with noise: a stand-in photo when ImageMagick cannot make its plasma.
inline QImage synthetic() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    std::mt19937 rng(1);
    for (int y = 0; y < kHeight; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < kWidth; ++x) {
            const int n = int(rng() % 21) - 10;
            line[x] = qRgb(std::clamp(x * 255 / kWidth + n, 0, 255), std::clamp(y * 255 / kHeight - n, 0, 255),
                           std::clamp((x + y) * 255 / (kWidth + kHeight) + n, 0, 255));
        }
    }
    return img;
}

inline int runConvert(const QString& args) {
    const std::string cmd = std::string(kConvert) + " " + args.toStdString() + " >/dev/null 2>&1";
    return std::system(cmd.c_str());
}

// A photo as a camera takes it: a shipped photo scaled up to the sensor's size, with the grain of
// a sensor (luminance noise of a few levels and a little colour noise, the same on every run),
// written as a baseline or progressive JPEG of quality 90. A 24-megapixel photo comes to about
// 7 MB, a 48-megapixel one to about 12 MB, as a phone's or camera's own files.
inline QImage cameraPicture(int width, int height) {
    QImage src(QCoreApplication::applicationDirPath() + QStringLiteral("/fotos/Garten.jpg"));
    if (src.isNull()) src = synthetic();
    QImage img = src.convertToFormat(QImage::Format_RGB32).scaled(width, height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    uint64_t state = 0x9E3779B97F4A7C15ull;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return state;
    };
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<uint32_t*>(img.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const uint64_t r = next();
            // Sums of uniform numbers: about normal, sigma near 5 levels for luminance, 2 for colour.
            const int luma = int((r & 255) + ((r >> 8) & 255) + ((r >> 16) & 255)) / 16 - 24;
            const int cr = int(((r >> 24) & 31) + ((r >> 29) & 31)) / 8 - 4, cb = int(((r >> 34) & 31) + ((r >> 39) & 31)) / 8 - 4;
            const QRgb p = line[x];
            line[x] = qRgb(std::clamp(qRed(p) + luma + cr, 0, 255), std::clamp(qGreen(p) + luma, 0, 255), std::clamp(qBlue(p) + luma + cb, 0, 255));
        }
    }
    return img;
}
// A kind of camera photo: its size and JPEG encoding, with the label the benchmarks print.
struct Art {
    int width, height;
    bool progressive;
    const char* label;
};
inline QByteArray cameraJpeg(const QImage& picture, bool progressive) {
    QBuffer b;
    b.open(QIODevice::WriteOnly);
    QImageWriter w(&b, "jpeg");
    w.setQuality(90);
    w.setProgressiveScanWrite(progressive);
    w.write(picture);
    return b.data();
}

// A fresh copy of the photo for operations that change their input.
inline void copyPhoto(const cDIBSection& photo, cDIBSection& d) {
    if (d.Width() != photo.Width() || d.Height() != photo.Height()) d.Create(photo.Width(), photo.Height());
    std::memcpy(d.DIBSectionBitsPtr(), photo.DIBSectionBitsPtr(), size_t(photo.ImageSize()));
}

// The photo in memory and as a BMP file in a folder of its own, made by ImageMagick when it is
// there (a plasma fractal looks enough like a photo: smooth areas, many colours, some noise).
struct PhotoFixture {
    QTemporaryDir dir;
    QString input;
    cDIBSection photo;
    bool haveConvert = false;

    PhotoFixture() {
        input = dir.filePath("photo.bmp");
        haveConvert = std::system((std::string(kConvert) + " -version >/dev/null 2>&1").c_str()) == 0;
        if (haveConvert)
            run(QStringLiteral("-seed 4711 -size %1x%2 plasma:fractal -type TrueColor BMP3:%3").arg(kWidth).arg(kHeight).arg(input));
        QImage img(input);
        if (img.isNull()) img = synthetic();
        photo.CreateFromPicture(img);
        if (!QFile::exists(input)) photo.SavePicture(input);
    }
    int run(const QString& args) const { return runConvert(args); }
    void copyInto(cDIBSection& d) const { copyPhoto(photo, d); }
};

// Times ImageMagick's operation on the photo file, written to a file named outPrefix + its path
// (a format prefix such as "BMP3:" where wanted).
inline void timeImageMagick(benchmark::State& state, const PhotoFixture& f, const QString& operation,
                            const QString& outPrefix = QString()) {
    if (!f.haveConvert) {
        state.SkipWithError("convert-im6.q16 not found");
        return;
    }
    const QString out = outPrefix + f.dir.filePath("im_out.bmp");
    for (auto _ : state) {
        if (f.run(QStringLiteral("%1 %2 %3").arg(f.input, operation, out)) != 0) {
            state.SkipWithError("convert failed");
            break;
        }
    }
}

// Console output as usual, plus the ratio of each of our runs to its ImageMagick counterpart, the
// two found by their benchmark names: prefix + name + "/iterations:3/real_time".
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::vector<std::string> names, std::string ours, std::string imageMagick)
        : m_names(std::move(names)), m_ours(std::move(ours)), m_im(std::move(imageMagick)) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs)
            if (!r.error_occurred) m_ms[r.benchmark_name()] = r.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        std::printf("\n%-24s %10s %14s %8s\n", "", "ours ms", "ImageMagick ms", "ratio");
        const std::string suffix = "/iterations:3/real_time";
        for (const std::string& n : m_names) {
            const auto o = m_ms.find(m_ours + n + suffix);
            const auto im = m_ms.find(m_im + n + suffix);
            if (o == m_ms.end() || im == m_ms.end()) continue;
            std::printf("%-24s %10.1f %14.1f %7.1fx\n", n.c_str(), o->second, im->second, im->second / o->second);
        }
    }

private:
    std::vector<std::string> m_names;
    std::string m_ours, m_im;
    std::map<std::string, double> m_ms;
};

} // namespace benchphoto
