#include "platform/Picture.h"

#include "platform/SafeFile.h"
#include "platform/VBError.h"
#include "platform/WmfRender.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <optional>
#include <atomic>
#include <cstring>
#include <sys/stat.h>

namespace vb {
namespace {
long nextHandle() {
    static std::atomic<long> h{1000};
    return ++h;
}
const QImage& nullImage() {
    static const QImage img;
    return img;
}

QImage readWmf(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray data = f.readAll();
    int w = 0, h = 0;
    unsigned char* rgba = nullptr;
    if (vorad_wmf_render(reinterpret_cast<const unsigned char*>(data.constData()), size_t(data.size()), 1024, &w, &h, &rgba) != 0 || !rgba)
        return {};
    QImage img(w, h, QImage::Format_RGBA8888);
    for (int y = 0; y < h; ++y) std::memcpy(img.scanLine(y), rgba + size_t(y) * size_t(w) * 4, size_t(w) * 4);
    vorad_wmf_free(rgba);
    // WMF pictures are drawn on white, as the runtime's picture control shows them.
    QImage out(w, h, QImage::Format_RGB32);
    out.fill(Qt::white);
    QPainter(&out).drawImage(0, 0, img);
    return out;
}
struct Merkmal {
    qint64 size = -1, mtimeNs = 0, ino = 0, dev = 0;
    bool operator==(const Merkmal&) const = default;
};
std::optional<Merkmal> merkmal(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return Merkmal{qint64(st.st_size), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec, qint64(st.st_ino), qint64(st.st_dev)};
}
struct Gemerkt {
    QString path;
    Merkmal merkmal;
    Picture picture;
};
std::optional<Gemerkt>& gemerkt() {
    static std::optional<Gemerkt> g;
    return g;
}
} // namespace

void RememberPicture(const QString& path, const Picture& picture) {
    const auto m = merkmal(path);
    if (!m || picture.IsEmpty()) {
        gemerkt().reset();
        return;
    }
    gemerkt() = Gemerkt{QFileInfo(path).absoluteFilePath(), *m, picture};
}
void ForgetPicture() { gemerkt().reset(); }

Picture::Picture(QImage image) {
    if (image.isNull()) return;
    if (image.format() != QImage::Format_RGB32 && image.format() != QImage::Format_ARGB32)
        image = image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    m_data = std::make_shared<const Data>(Data{std::move(image), nextHandle()});
}

const QImage& Picture::Image() const { return m_data ? m_data->image : nullImage(); }

Picture LoadPicture(const QString& path) {
    if (path.isEmpty()) return Picture();
    QFileInfo fi(path);
    if (const auto& g = gemerkt(); g && g->path == fi.absoluteFilePath() && merkmal(path) == g->merkmal) return g->picture;
    if (!fi.exists() || !fi.isFile()) throw VBError(53, QStringLiteral("LoadPicture"), QStringLiteral("File not found"));
    const QString ext = fi.suffix().toLower();
    QImage img;
    if (ext == QLatin1String("wmf")) {
        img = readWmf(path);
    } else {
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        const QSize sz = reader.size();
        if (sz.isValid() && qint64(sz.width()) * sz.height() > kMaxPicturePixels)
            throw VBError(481, QStringLiteral("LoadPicture"), QStringLiteral("Invalid picture"));
        img = reader.read();
        if (img.isNull() && ext == QLatin1String("wmf")) img = readWmf(path);
    }
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        throw VBError(481, QStringLiteral("LoadPicture"), QStringLiteral("Invalid picture"));
    return Picture(std::move(img));
}

void SavePicture(const QImage& image, const QString& path) {
    const int w = image.width(), h = image.height();
    const int stride = (w * 3 + 3) & ~3;
    const quint32 imageSize = quint32(stride) * quint32(h);
    QByteArray out(54 + int(imageSize), '\0');
    auto put16 = [&](int off, quint16 v) { out[off] = char(v & 255); out[off + 1] = char(v >> 8); };
    auto put32 = [&](int off, quint32 v) { for (int i = 0; i < 4; ++i) out[off + i] = char((v >> (8 * i)) & 255); };
    out[0] = 'B'; out[1] = 'M';
    put32(2, 54 + imageSize);
    put32(10, 54);
    put32(14, 40);
    put32(18, quint32(w));
    put32(22, quint32(h));
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const quint32*>(src.constScanLine(h - 1 - y));
        char* dst = out.data() + 54 + y * stride;
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = char(line[x] & 255);
            dst[3 * x + 1] = char((line[x] >> 8) & 255);
            dst[3 * x + 2] = char((line[x] >> 16) & 255);
        }
    }
    // The old file is replaced only by a whole new one, and a failed write is never success.
    if (!WriteFileAtomic(path, out))
        throw VBError(75, QStringLiteral("SavePicture"), QStringLiteral("Path/File access error"));
}

void SavePicture(const Picture& picture, const QString& path) { SavePicture(picture.Image(), path); }

} // namespace vb
