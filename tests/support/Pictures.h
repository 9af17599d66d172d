#pragma once
// Pictures for tests: a pattern no two places of which look alike, a grey ramp, and a picture
// file as read by the program, in 32-bit RGB.
#include "platform/picture/Picture.h"

#include <QImage>
#include <QRandomGenerator>
#include <QString>

inline QImage RandomPattern(QSize size, quint32 seed) {
    QImage img(size, QImage::Format_RGB32);
    QRandomGenerator rng(seed);
    for (int y = 0; y < img.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < img.width(); ++x) line[x] = 0xFF000000u | (rng.generate() & 0xFFFFFFu);
    }
    return img;
}

// Grey from black at the left edge to white at the right, the same in every row.
inline QImage GreyRamp(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int g = x * 255 / (w - 1);
            img.setPixel(x, y, qRgb(g, g, g));
        }
    return img;
}

inline QImage LoadRgb32(const QString& path) { return vb::LoadPicture(path).Image().convertToFormat(QImage::Format_RGB32); }
