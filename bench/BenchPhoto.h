#pragma once
// The 4000 x 3000 photo the imaging benchmarks share, and ImageMagick beside them.
#include "imaging/cDIBSection.h"

#include <QImage>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

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

// A fresh copy of the photo for operations that change their input.
inline void copyPhoto(const cDIBSection& photo, cDIBSection& d) {
    if (d.Width() != photo.Width() || d.Height() != photo.Height()) d.Create(photo.Width(), photo.Height());
    std::memcpy(d.DIBSectionBitsPtr(), photo.DIBSectionBitsPtr(), size_t(photo.ImageSize()));
}

} // namespace benchphoto
