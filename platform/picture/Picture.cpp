#include "platform/picture/Picture.h"

#include "platform/picture/Bmp.h"
#include "platform/picture/PictureJpegDc.h"
#include "platform/system/SafeFile.h"
#include "platform/system/VBError.h"
#include "platform/picture/WmfRender.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPainter>
#include <QThread>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <map>
#include <optional>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <cstring>
#include <cstdlib>
#include <algorithm>
#include <sys/stat.h>
#include <vector>

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

QImage readWmf(const QByteArray& data, int maxSide) {
    int w = 0, h = 0;
    unsigned char* rgba = nullptr;
    if (vorad_wmf_render(reinterpret_cast<const unsigned char*>(data.constData()), size_t(data.size()), maxSide, &w, &h, &rgba) != 0 || !rgba)
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

// The kinds the runtime reads, told by their content and never by the file's name, so that no
// other installed decoder is reachable behind a ".bmp" or ".jpg".
enum class Art { Keine, Bmp, Jpeg, Gif, Ico, Png, Wmf };
constexpr qint64 kMaxDateiBytes = qint64(256) << 20;
// Real progressive photos have about ten scans; each scan costs a pass over the whole picture.
constexpr int kMaxJpegScans = 64;
// No real picture takes this long; the window keeps answering meanwhile.
constexpr int kMaxLadezeitMs = 20000;
const QByteArray kPngSignatur("\x89PNG\r\n\x1a\n", 8);

quint16 le16(const QByteArray& d, qsizetype i) { return quint16(quint8(d[i]) | (quint8(d[i + 1]) << 8)); }
quint32 le32(const QByteArray& d, qsizetype i) { return quint32(le16(d, i)) | (quint32(le16(d, i + 2)) << 16); }
quint32 be32(const QByteArray& d, qsizetype i) {
    return (quint32(quint8(d[i])) << 24) | (quint32(quint8(d[i + 1])) << 16) | (quint32(quint8(d[i + 2])) << 8) | quint8(d[i + 3]);
}

Art artNachInhalt(const QByteArray& d) {
    if (d.size() >= 2 && d.startsWith("BM")) return Art::Bmp;
    if (d.size() >= 3 && quint8(d[0]) == 0xFF && quint8(d[1]) == 0xD8 && quint8(d[2]) == 0xFF) return Art::Jpeg;
    if (d.startsWith("GIF87a") || d.startsWith("GIF89a")) return Art::Gif;
    if (d.startsWith(kPngSignatur)) return Art::Png;
    if (d.size() >= 6 && le16(d, 0) == 0 && le16(d, 2) == 1 && le16(d, 4) > 0) return Art::Ico;
    // Placeable metafile, or a plain one: type 1 or 2, header of 9 words, version 1 or 3.
    if (d.size() >= 4 && quint8(d[0]) == 0xD7 && quint8(d[1]) == 0xCD && quint8(d[2]) == 0xC6 && quint8(d[3]) == 0x9A) return Art::Wmf;
    if (d.size() >= 18 && (le16(d, 0) == 1 || le16(d, 0) == 2) && le16(d, 2) == 9 && (le16(d, 4) == 0x100 || le16(d, 4) == 0x300)) return Art::Wmf;
    return Art::Keine;
}

// Counts the scans of a JPEG by its markers; false when there are more than a photo has.
bool jpegScansInGrenzen(const QByteArray& d) {
    int scans = 0;
    JpegSegments(d, [&](quint8 m, qsizetype, qsizetype) { return m != 0xDA || ++scans <= kMaxJpegScans; });
    return scans <= kMaxJpegScans;
}

// What decoding a JPEG costs beyond its pixels: a progressive one keeps every coefficient of the
// whole picture until its last scan (2 bytes each, each component at its own sampling).
struct JpegKopf {
    bool progressiv = false;
    qint64 koeffizientenBytes = 0;
};
JpegKopf jpegKopf(const QByteArray& d) {
    JpegKopf k;
    JpegSegments(d, [&](quint8 m, qsizetype von, qsizetype bis) {
        const bool sof = IsJpegFrame(m);
        if (!sof) return m != 0xDA;
        if (bis - von < 10) return false;
        const auto* p = reinterpret_cast<const quint8*>(d.constData()) + von;
        const qint64 h = (p[5] << 8) | p[6], w = (p[7] << 8) | p[8];
        const int nf = p[9];
        if (bis - von < 10 + 3 * nf) return false;
        k.progressiv = m == 0xC2 || m == 0xC6 || m == 0xCA || m == 0xCE;
        int hmax = 1, vmax = 1;
        for (int c = 0; c < nf; ++c) {
            hmax = std::max(hmax, p[11 + 3 * c] >> 4);
            vmax = std::max(vmax, p[11 + 3 * c] & 15);
        }
        for (int c = 0; c < nf; ++c) {
            const int hs = std::max(1, p[11 + 3 * c] >> 4), vs = std::max(1, p[11 + 3 * c] & 15);
            k.koeffizientenBytes += ((w * hs / hmax + 7) / 8 * 8) * ((h * vs / vmax + 7) / 8 * 8) * 2;
        }
        return false;
    });
    return k;
}

// A progressive JPEG without the AC scans of its full-resolution components. Decoded at an eighth
// of its size, a JPEG gives each 8 x 8 block of such a component its mean, the DC coefficient
// alone, so those scans, most of the file and of the work, would be decoded for nothing.
// Subsampled components (the colour of most photos) are decoded from more of their coefficients
// and keep all their scans.
QByteArray jpegOhneAcScans(const QByteArray& d) {
    const auto* p = reinterpret_cast<const quint8*>(d.constData());
    std::map<int, int> abtastung; // component id -> h * 16 + v
    int hmax = 1, vmax = 1;
    QByteArray out = d.left(2);
    JpegSegments(d, [&](quint8 m, qsizetype von, qsizetype bis) {
        const bool sof = IsJpegFrame(m);
        if (sof && bis - von >= 10) {
            for (int c = 0; c < p[von + 9] && von + 12 + 3 * c <= bis; ++c) {
                const int hv = p[von + 11 + 3 * c];
                abtastung[p[von + 10 + 3 * c]] = hv;
                hmax = std::max(hmax, hv >> 4);
                vmax = std::max(vmax, hv & 15);
            }
        }
        if (m == 0xDA && bis - von >= 5) {
            const int ns = p[von + 4];
            const qsizetype ss = von + 5 + 2 * qsizetype(ns);
            // The first pass over the lowest AC band stays: without any AC coefficient the
            // decoder would smooth the blocks' means, which the whole file does not.
            bool voll = ss + 2 < bis && p[ss] != 0 && !(p[ss] == 1 && (p[ss + 2] >> 4) == 0);
            for (int c = 0; voll && c < ns; ++c) {
                const auto it = abtastung.find(p[von + 5 + 2 * c]);
                voll = it != abtastung.end() && (it->second >> 4) == hmax && (it->second & 15) == vmax;
            }
            if (voll) return true;
        }
        out += d.mid(von, bis - von);
        return true;
    });
    if (!out.endsWith(QByteArray("\xFF\xD9", 2))) out += QByteArray("\xFF\xD9", 2);
    return out;
}

// The memory decodings may hold at once, beside the pictures the program keeps: a decoding waits
// until its share is free (one that needs more than all of it waits until it runs alone), so that
// a page of large photos decoded side by side stays within bounds.
constexpr qint64 kDekodierBudget = qint64(200) << 20;
class Speicherbudget {
public:
    class Anteil {
    public:
        Anteil(Speicherbudget& b, qint64 n) : m_b(b), m_n(n) {}
        Anteil(const Anteil&) = delete;
        ~Anteil() {
            std::lock_guard lock(m_b.m_m);
            m_b.m_frei += m_n;
            m_b.m_cv.notify_all();
        }

    private:
        Speicherbudget& m_b;
        qint64 m_n;
    };
    static Speicherbudget& get() {
        static Speicherbudget b;
        return b;
    }
    // Waits for n bytes of the budget.
    qint64 warten(qint64 n) {
        n = std::clamp<qint64>(n, 0, kDekodierBudget);
        std::unique_lock lock(m_m);
        m_cv.wait(lock, [&] { return m_frei >= n; });
        m_frei -= n;
        return n;
    }

private:
    std::mutex m_m;
    std::condition_variable m_cv;
    qint64 m_frei = kDekodierBudget;
};

// The reduction Qt's JPEG decoder applies while decoding for a wanted size: 1/2, 1/4 or 1/8,
// whichever keeps the picture at least the wanted size.
int jpegTeiler(QSize sz, QSize ziel) {
    const int t = std::min(sz.width() / std::max(1, ziel.width()), sz.height() / std::max(1, ziel.height()));
    return t >= 8 ? 8 : t >= 4 ? 4 : t >= 2 ? 2 : 1;
}

// A PNG keeps only the chunks that make up its pixels; each must lie inside the data, so that no
// chunk claiming gigabytes, nor any text or profile to inflate, reaches the decoder. Empty when
// the chunks do not fit.
QByteArray pngBereinigt(const QByteArray& d) {
    static const char* const kNoetig[] = {"IHDR", "PLTE", "tRNS", "IDAT", "IEND"};
    QByteArray out = kPngSignatur;
    qsizetype i = kPngSignatur.size();
    while (i + 12 <= d.size()) {
        const quint32 len = be32(d, i);
        if (len > quint32(d.size() - i - 12)) return {};
        const QByteArray typ = d.mid(i + 4, 4);
        const qsizetype ganz = 12 + qsizetype(len);
        for (const char* t : kNoetig)
            if (typ == t) out += d.mid(i, ganz);
        i += ganz;
        if (typ == "IEND") return out;
    }
    return {};
}

// An icon whose entries are PNGs gets the same check on each of them.
bool icoInGrenzen(const QByteArray& d) {
    const int n = le16(d, 4);
    if (6 + qsizetype(n) * 16 > d.size()) return false;
    for (int k = 0; k < n; ++k) {
        const qsizetype e = 6 + qsizetype(k) * 16;
        const quint32 groesse = le32(d, e + 8), ab = le32(d, e + 12);
        if (ab > quint32(d.size()) || groesse > quint32(d.size()) - ab) return false;
        const QByteArray eintrag = d.mid(ab, groesse);
        if (eintrag.startsWith(kPngSignatur) && pngBereinigt(eintrag) != eintrag) return false;
    }
    return true;
}

// The size a picture of size sz is decoded at for a box; sz itself when it needs no reduction.
// Covering keeps both sides at least the box's, unless that would cost more than four boxes (a
// very long strip), and reduces only pictures of at least twice the box.
QSize zielgroesse(QSize sz, QSize box, Qt::AspectRatioMode modus) {
    if (!box.isValid() || box.isEmpty() || !sz.isValid() || sz.isEmpty()) return sz;
    if (modus == Qt::KeepAspectRatioByExpanding) {
        QSize z = sz.scaled(box, Qt::KeepAspectRatioByExpanding);
        if (qint64(z.width()) * z.height() > 4 * qint64(box.width()) * box.height()) z = sz.scaled(box * 2, Qt::KeepAspectRatio);
        if (sz.width() < 2 * z.width() && sz.height() < 2 * z.height()) return sz;
        return z.expandedTo(QSize(1, 1));
    }
    if (sz.width() <= box.width() && sz.height() <= box.height()) return sz;
    return sz.scaled(box, modus).expandedTo(QSize(1, 1));
}

// Decodes within the bounds; box, when valid, asks for a picture reduced to it.
QImage dekodieren(const QByteArray& roh, Art art, QSize box, Qt::AspectRatioMode modus) {
    if (art == Art::Wmf) {
        const QSize seite = zielgroesse(QSize(1024, 1024), box, modus);
        return readWmf(roh, std::max(seite.width(), seite.height()));
    }
    if (art == Art::Jpeg && !jpegScansInGrenzen(roh)) return {};
    if (art == Art::Ico && !icoInGrenzen(roh)) return {};
    QByteArray data = art == Art::Png ? pngBereinigt(roh) : roh;
    if (data.isEmpty()) return {};
    // The program's own bound on pixels decides, not Qt's default limit on an image's memory
    // (128 MB: about 33 megapixels), which would refuse ordinary photos of modern phones.
    static const bool grenze = [] {
        QImageReader::setAllocationLimit(int((kMaxPicturePixels * 4 >> 20) + 1));
        return true;
    }();
    (void)grenze;
    static const char* const kFormat[] = {"", "bmp", "jpeg", "gif", "ico", "png", ""};
    QBuffer puffer;
    puffer.setData(data);
    puffer.open(QIODevice::ReadOnly);
    QImageReader reader(&puffer, kFormat[int(art)]);
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    QSize sz = reader.size();
    // A top-down BMP is reported with a negative height; its rows are read all the same.
    if (art == Art::Bmp) sz = QSize(std::abs(sz.width()), std::abs(sz.height()));
    if (!sz.isValid() || sz.isEmpty() || qint64(sz.width()) * sz.height() > kMaxPicturePixels) return {};
    const QSize ziel = zielgroesse(sz, box, modus);
    // What the decoding holds at once: the file, the picture it gives, and for a progressive
    // JPEG all of its coefficients.
    qint64 bedarf = roh.size() + qint64(ziel.width()) * ziel.height() * 4;
    QSize gelesen = ziel;
    if (art == Art::Jpeg) {
        const JpegKopf k = jpegKopf(roh);
        const int t = ziel != sz ? jpegTeiler(sz, ziel) : 1;
        if (k.progressiv && t == 8) {
            // The blocks' means straight from the DC scans: no coefficient buffer of the whole
            // picture, a few percent of the work.
            QImage achtel;
            {
                Speicherbudget& budget = Speicherbudget::get();
                const Speicherbudget::Anteil anteil(budget, budget.warten(roh.size() + qint64(sz.width() / 8 + 1) * (sz.height() / 8 + 1) * 8));
                achtel = JpegDcPicture(roh);
            }
            if (!achtel.isNull()) return achtel.size() == ziel ? achtel : achtel.scaled(ziel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
            data = jpegOhneAcScans(roh);
            puffer.close();
            puffer.setData(data);
            puffer.open(QIODevice::ReadOnly);
            reader.setDevice(&puffer);
            // Exactly an eighth, so that the decoder takes the DC coefficients alone.
            gelesen = QSize((sz.width() + 7) / 8, (sz.height() + 7) / 8);
        }
        bedarf += (k.progressiv ? k.koeffizientenBytes : 0) + qint64(sz.width() / t) * (sz.height() / t) * 4;
    } else if (ziel != sz) {
        bedarf += qint64(sz.width()) * sz.height() * 4;
    }
    Speicherbudget& budget = Speicherbudget::get();
    const Speicherbudget::Anteil anteil(budget, budget.warten(bedarf));
    // The JPEG decoder reduces while it decodes; other kinds are reduced after.
    if (ziel != sz && art == Art::Jpeg) reader.setScaledSize(gelesen);
    QImage img = reader.read();
    if (!img.isNull() && ziel != sz && img.size() != ziel) img = img.scaled(ziel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return img;
}

// Runs the decoding beside the user-interface thread, which meanwhile keeps repainting and
// running its timers (input waits until the picture is there). A decoding past the time bound
// is given up; its thread ends on its own within the work bound.
QImage imHintergrund(std::function<QImage()> arbeit) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app || QThread::currentThread() != app->thread()) return arbeit();
    struct Stand {
        std::mutex m;
        std::condition_variable cv;
        bool fertig = false;
        QImage bild;
        QEventLoop* schleife = nullptr; // read and written on the user-interface thread only
    };
    auto stand = std::make_shared<Stand>();
    // Threads of their own, kept between pictures; a decoding given up still holds one.
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(4);
        p->setExpiryTimeout(60000);
        return p;
    }();
    pool->start([stand, arbeit = std::move(arbeit)] {
        QImage b;
        try {
            b = arbeit();
        } catch (...) {
        }
        {
            std::lock_guard lock(stand->m);
            stand->bild = std::move(b);
            stand->fertig = true;
            stand->cv.notify_all();
        }
        // Wakes the waiting loop, if it still waits, instead of letting it poll.
        QMetaObject::invokeMethod(QCoreApplication::instance(), [stand] {
            if (stand->schleife) stand->schleife->quit();
        }, Qt::QueuedConnection);
    });
    auto fertig = [&] {
        std::lock_guard lock(stand->m);
        return stand->fertig;
    };
    {
        // Most pictures are there at once; only a longer decoding runs the nested loop.
        std::unique_lock lock(stand->m);
        stand->cv.wait_for(lock, std::chrono::milliseconds(10), [&] { return stand->fertig; });
    }
    if (!fertig()) {
        QEventLoop schleife;
        QTimer frist;
        frist.setSingleShot(true);
        QObject::connect(&frist, &QTimer::timeout, &schleife, &QEventLoop::quit);
        frist.start(kMaxLadezeitMs);
        stand->schleife = &schleife;
        // A wake-up posted before this point is handled inside the loop; one after the loop is
        // gone finds no loop.
        if (!fertig()) schleife.exec(QEventLoop::ExcludeUserInputEvents);
        stand->schleife = nullptr;
    }
    std::lock_guard lock(stand->m);
    if (!stand->fertig) return {};
    return std::move(stand->bild);
}

Picture laden(const QString& path, QSize box, Qt::AspectRatioMode modus) {
    if (path.isEmpty()) return Picture();
    QFileInfo fi(path);
    if (!fi.exists() || !fi.isFile()) throw VBError(53, QStringLiteral("LoadPicture"), QStringLiteral("File not found"));
    const std::optional<QByteArray> data = ReadRegularFile(path, kMaxDateiBytes);
    const Art art = data ? artNachInhalt(*data) : Art::Keine;
    QImage img;
    if (art != Art::Keine) img = imHintergrund([d = *data, art, box, modus] { return dekodieren(d, art, box, modus); });
    if (img.isNull() || img.width() <= 0 || img.height() <= 0)
        throw VBError(481, QStringLiteral("LoadPicture"), QStringLiteral("Invalid picture"));
    return Picture(std::move(img));
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
    if (const auto& g = gemerkt(); g && g->path == QFileInfo(path).absoluteFilePath() && merkmal(path) == g->merkmal) return g->picture;
    return laden(path, QSize(), Qt::IgnoreAspectRatio);
}

QSize ThumbnailSize(QSize size, QSize box, Qt::AspectRatioMode mode) { return zielgroesse(size, box, mode); }

Picture LoadThumbnail(const QString& path, QSize box, Qt::AspectRatioMode mode) { return laden(path, box, mode); }

struct PictureBatch::State {
    std::atomic<bool> dropped{false};
    int pending = 0; // user-interface thread only
    QEventLoop* loop = nullptr;
};

namespace {
// Thumbnail work, one thread per core and at most eight; the user-interface thread's own loads
// keep their pool.
QThreadPool& batchPool() {
    static QThreadPool* pool = [] {
        auto* p = new QThreadPool;
        p->setMaxThreadCount(std::clamp(QThread::idealThreadCount(), 1, 8));
        p->setExpiryTimeout(30000);
        return p;
    }();
    return *pool;
}
} // namespace

PictureBatch::PictureBatch() : m_state(std::make_shared<State>()) {}
PictureBatch::~PictureBatch() { Drop(); }

void PictureBatch::Add(std::function<QImage()> make, std::function<void(const Picture&)> done) {
    QCoreApplication* app = QCoreApplication::instance();
    auto state = m_state;
    auto deliver = [state, done = std::move(done)](QImage img) {
        --state->pending;
        if (!state->dropped) done(Picture(std::move(img)));
        if (state->loop && (state->pending == 0 || state->dropped)) state->loop->quit();
    };
    ++state->pending;
    if (!app) {
        QImage img;
        try {
            img = make();
        } catch (...) {
        }
        deliver(std::move(img));
        return;
    }
    batchPool().start([state, app, make = std::move(make), deliver = std::move(deliver)]() mutable {
        QImage img;
        // A page already left costs no more decoding.
        if (!state->dropped) {
            try {
                img = make();
            } catch (...) {
            }
        }
        QMetaObject::invokeMethod(app, [deliver = std::move(deliver), img = std::move(img)]() mutable { deliver(std::move(img)); },
                                  Qt::QueuedConnection);
    });
}

void PictureBatch::Drop() {
    m_state->dropped = true;
    if (m_state->loop) m_state->loop->quit();
}

bool PictureBatch::Dropped() const { return m_state->dropped; }

int PictureBatch::Pending() const { return m_state->pending; }

void PictureBatch::Wait() {
    auto state = m_state;
    if (state->pending == 0 || state->dropped || state->loop) return;
    QEventLoop loop;
    state->loop = &loop;
    loop.exec(QEventLoop::AllEvents);
    state->loop = nullptr;
}

void SavePicture(const QImage& image, const QString& path) {
    const int w = image.width(), h = image.height();
    const int stride = int(Bmp::Stride(w, 24));
    Bmp::InfoHeader info;
    info.width = w;
    info.height = h;
    info.bitCount = 24;
    info.imageSize = quint32(stride) * quint32(h);
    uint8_t kopf[Bmp::InfoHeader::kSize];
    info.Write(kopf);
    std::vector<uint8_t> rows(info.imageSize);
    const QImage src = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const quint32*>(src.constScanLine(h - 1 - y));
        uint8_t* dst = rows.data() + size_t(y) * size_t(stride);
        for (int x = 0; x < w; ++x) {
            dst[3 * x] = uint8_t(line[x] & 255);
            dst[3 * x + 1] = uint8_t((line[x] >> 8) & 255);
            dst[3 * x + 2] = uint8_t((line[x] >> 16) & 255);
        }
    }
    // The old file is replaced only by a whole new one, and a failed write is never success.
    if (Bmp::WriteFile(path, kopf, rows) != Replacement::Done)
        throw VBError(75, QStringLiteral("SavePicture"), QStringLiteral("Path/File access error"));
}

void SavePicture(const Picture& picture, const QString& path) { SavePicture(picture.Image(), path); }

} // namespace vb
