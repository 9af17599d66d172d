#include "platform/capture/Scanner.h"

#include "platform/picture/Picture.h"
#include "platform/system/Registry.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QPointer>

#include <QHash>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <future>
#include <mutex>
#include <thread>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#ifdef VORAD_HAVE_SANE
#include <sane/sane.h>
#include <sane/saneopts.h>
#endif

namespace vb::Scanner {
namespace {

const QString kStoreKey = QStringLiteral("Software\\Scanner");
const QString kStoreValue = QStringLiteral("Standardquelle");

// One thread makes every SANE call, in the order they were asked for. It is never joined: a
// backend that blocks must not hold up the end of the program.
class Worker {
public:
    Worker() { std::thread([this] { run(); }).detach(); }
    void post(std::function<void()> task) {
        {
            std::lock_guard lock(m_mutex);
            m_tasks.push_back(std::move(task));
        }
        m_wake.notify_one();
    }

private:
    void run() {
#if defined(__SANITIZE_ADDRESS__)
        // Backends keep memory past sane_exit and are unloaded before the leak check could name
        // them; what they keep is not the program's to free.
        __lsan_disable();
#endif
        for (;;) {
            std::function<void()> task;
            {
                std::unique_lock lock(m_mutex);
                m_wake.wait(lock, [this] { return !m_tasks.empty(); });
                task = std::move(m_tasks.front());
                m_tasks.pop_front();
            }
            task();
        }
    }
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::function<void()>> m_tasks;
};

Worker& worker() {
    static Worker* w = new Worker; // lives as long as the process
    return *w;
}

// Runs f on the user-interface thread while context still exists.
void deliver(const std::shared_ptr<QPointer<QObject>>& context, std::function<void()> f) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) return;
    QMetaObject::invokeMethod(
        app, [context, f = std::move(f)] { if (!context->isNull()) f(); }, Qt::QueuedConnection);
}

#ifdef VORAD_HAVE_SANE
// Worker-thread state.
bool g_initialised = false;

bool ensureSane() {
    if (g_initialised) return true;
    SANE_Int version = 0;
    g_initialised = sane_init(&version, nullptr) == SANE_STATUS_GOOD;
    return g_initialised;
}

void endSane() {
    if (g_initialised) sane_exit();
    g_initialised = false;
}

QString statusText(SANE_Status s) {
    switch (s) {
    case SANE_STATUS_UNSUPPORTED: return QStringLiteral("Der Scanner unterstützt diesen Vorgang nicht.");
    case SANE_STATUS_CANCELLED: return QStringLiteral("Der Scanvorgang wurde abgebrochen.");
    case SANE_STATUS_DEVICE_BUSY: return QStringLiteral("Der Scanner ist belegt.");
    case SANE_STATUS_INVAL: return QStringLiteral("Der Scanner lehnt diese Einstellung ab.");
    case SANE_STATUS_JAMMED: return QStringLiteral("Im Papiereinzug des Scanners klemmt ein Blatt.");
    case SANE_STATUS_NO_DOCS: return QStringLiteral("Im Papiereinzug des Scanners liegt kein Blatt.");
    case SANE_STATUS_COVER_OPEN: return QStringLiteral("Der Deckel des Scanners ist offen.");
    case SANE_STATUS_IO_ERROR: return QStringLiteral("Die Verbindung zum Scanner ist gestört.");
    case SANE_STATUS_NO_MEM: return QStringLiteral("Für den Scan ist nicht genug Speicher frei.");
    case SANE_STATUS_ACCESS_DENIED: return QStringLiteral("Der Zugriff auf den Scanner wurde verweigert.");
    default: return QStringLiteral("Der Scanner meldet einen Fehler.");
    }
}

QList<Device> listDevices(bool localOnly) {
    QList<Device> out;
    if (!ensureSane()) return out;
    const SANE_Device** list = nullptr;
    if (sane_get_devices(&list, localOnly ? SANE_TRUE : SANE_FALSE) != SANE_STATUS_GOOD || !list) return out;
    for (int i = 0; list[i]; ++i) {
        const SANE_Device* d = list[i];
        out.push_back({QString::fromUtf8(d->name ? d->name : ""), QString::fromUtf8(d->vendor ? d->vendor : ""),
                       QString::fromUtf8(d->model ? d->model : ""), QString::fromUtf8(d->type ? d->type : "")});
    }
    return out;
}

int optionCount(SANE_Handle h) {
    SANE_Int n = 0;
    if (sane_control_option(h, 0, SANE_ACTION_GET_VALUE, &n, nullptr) != SANE_STATUS_GOOD) return 0;
    return n;
}

int findOption(SANE_Handle h, const char* name) {
    const int n = optionCount(h);
    for (int i = 1; i < n; ++i) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, i);
        if (d && d->name && std::strcmp(d->name, name) == 0 && SANE_OPTION_IS_ACTIVE(d->cap)) return i;
    }
    return -1;
}

bool isResolution(const SANE_Option_Descriptor* d) {
    return (d->type == SANE_TYPE_INT || d->type == SANE_TYPE_FIXED) && d->size == SANE_Int(sizeof(SANE_Word));
}
int toDpi(const SANE_Option_Descriptor* d, SANE_Word w) {
    return d->type == SANE_TYPE_FIXED ? int(SANE_UNFIX(w) + 0.5) : int(w);
}
SANE_Word fromDpi(const SANE_Option_Descriptor* d, int dpi) { return d->type == SANE_TYPE_FIXED ? SANE_FIX(dpi) : dpi; }

Options readOptions(SANE_Handle h) {
    Options o;
    const int mi = findOption(h, SANE_NAME_SCAN_MODE);
    if (mi > 0) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, mi);
        if (d->type == SANE_TYPE_STRING && d->constraint_type == SANE_CONSTRAINT_STRING_LIST && d->size > 0) {
            for (const SANE_String_Const* s = d->constraint.string_list; s && *s; ++s) o.modes << QString::fromUtf8(*s);
            std::vector<char> buf(size_t(d->size) + 1, '\0');
            if (sane_control_option(h, mi, SANE_ACTION_GET_VALUE, buf.data(), nullptr) == SANE_STATUS_GOOD)
                o.mode = QString::fromUtf8(buf.data());
        }
    }
    const int ri = findOption(h, SANE_NAME_SCAN_RESOLUTION);
    if (ri > 0) {
        const SANE_Option_Descriptor* d = sane_get_option_descriptor(h, ri);
        if (isResolution(d)) {
            SANE_Word cur = 0;
            if (sane_control_option(h, ri, SANE_ACTION_GET_VALUE, &cur, nullptr) == SANE_STATUS_GOOD) o.resolution = toDpi(d, cur);
            if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST && d->constraint.word_list) {
                const SANE_Word* w = d->constraint.word_list;
                for (int i = 1; i <= w[0] && i <= 256; ++i) o.resolutions << toDpi(d, w[i]);
            } else if (d->constraint_type == SANE_CONSTRAINT_RANGE && d->constraint.range) {
                const SANE_Range* r = d->constraint.range;
                const int lo = toDpi(d, r->min), hi = toDpi(d, r->max);
                for (int dpi : {75, 100, 150, 200, 300, 400, 600, 1200})
                    if (dpi >= lo && dpi <= hi) o.resolutions << dpi;
            }
            if (o.resolution > 0 && !o.resolutions.contains(o.resolution)) o.resolutions << o.resolution;
            std::sort(o.resolutions.begin(), o.resolutions.end());
        }
    }
    return o;
}

void applyRequest(SANE_Handle h, const Request& r) {
    if (!r.mode.isEmpty()) {
        const int mi = findOption(h, SANE_NAME_SCAN_MODE);
        const SANE_Option_Descriptor* d = mi > 0 ? sane_get_option_descriptor(h, mi) : nullptr;
        if (d && d->type == SANE_TYPE_STRING && SANE_OPTION_IS_SETTABLE(d->cap) && d->size > 0) {
            std::vector<char> buf(size_t(d->size), '\0');
            const QByteArray m = r.mode.toUtf8();
            std::memcpy(buf.data(), m.constData(), std::min(size_t(m.size()), buf.size() - 1));
            sane_control_option(h, mi, SANE_ACTION_SET_VALUE, buf.data(), nullptr);
        }
    }
    // The mode may change which options exist, so the resolution is looked up afterwards.
    if (r.resolution > 0) {
        const int ri = findOption(h, SANE_NAME_SCAN_RESOLUTION);
        const SANE_Option_Descriptor* d = ri > 0 ? sane_get_option_descriptor(h, ri) : nullptr;
        if (d && isResolution(d) && SANE_OPTION_IS_SETTABLE(d->cap)) {
            SANE_Word w = fromDpi(d, r.resolution);
            sane_control_option(h, ri, SANE_ACTION_SET_VALUE, &w, nullptr);
        }
    }
}

struct Frame {
    SANE_Parameters p{};
    std::vector<uchar> data;
};

int sample(const Frame& f, qsizetype line, qsizetype index) {
    const uchar* row = f.data.data() + line * f.p.bytes_per_line;
    switch (f.p.depth) {
    case 1: return (row[index / 8] >> (7 - index % 8)) & 1 ? 0 : 255; // a set bit is black
    case 16: {
        quint16 v;
        std::memcpy(&v, row + 2 * index, 2);
        return v >> 8;
    }
    default: return row[index];
    }
}

QImage toImage(const std::vector<Frame>& frames) {
    const int w = frames.front().p.pixels_per_line;
    qsizetype lines = -1;
    for (const Frame& f : frames) {
        const qsizetype l = qsizetype(f.data.size()) / f.p.bytes_per_line;
        lines = lines < 0 ? l : std::min(lines, l);
    }
    if (w <= 0 || lines <= 0) return QImage();
    QImage img(w, int(lines), QImage::Format_RGB32);
    img.fill(Qt::white);
    for (const Frame& f : frames) {
        for (qsizetype y = 0; y < lines; ++y) {
            auto* out = reinterpret_cast<QRgb*>(img.scanLine(int(y)));
            for (int x = 0; x < w; ++x) {
                QRgb& px = out[x];
                switch (f.p.format) {
                case SANE_FRAME_GRAY: {
                    const int v = sample(f, y, x);
                    px = qRgb(v, v, v);
                    break;
                }
                case SANE_FRAME_RGB:
                    px = qRgb(sample(f, y, 3 * x), sample(f, y, 3 * x + 1), sample(f, y, 3 * x + 2));
                    break;
                case SANE_FRAME_RED: px = qRgb(sample(f, y, x), qGreen(px), qBlue(px)); break;
                case SANE_FRAME_GREEN: px = qRgb(qRed(px), sample(f, y, x), qBlue(px)); break;
                case SANE_FRAME_BLUE: px = qRgb(qRed(px), qGreen(px), sample(f, y, x)); break;
                default: break;
                }
            }
        }
    }
    return img;
}

bool supported(const SANE_Parameters& p) {
    const bool format = p.format == SANE_FRAME_GRAY || p.format == SANE_FRAME_RGB || p.format == SANE_FRAME_RED ||
                        p.format == SANE_FRAME_GREEN || p.format == SANE_FRAME_BLUE;
    const int channels = p.format == SANE_FRAME_RGB ? 3 : 1;
    return format && (p.depth == 1 || p.depth == 8 || p.depth == 16) && p.pixels_per_line > 0 &&
           qint64(p.bytes_per_line) * 8 >= qint64(p.pixels_per_line) * channels * p.depth;
}
#endif // VORAD_HAVE_SANE

} // namespace

struct Scan::State {
    std::mutex mutex; // guards handle against a cancel from the user-interface thread
#ifdef VORAD_HAVE_SANE
    SANE_Handle handle = nullptr;
#endif
    std::atomic<bool> cancelled{false};
};

QString Device::Label() const {
    QString s = (vendor + QLatin1Char(' ') + model).trimmed();
    return s.isEmpty() ? name : s + QStringLiteral(" (") + name + QLatin1Char(')');
}

bool Usable() {
#ifdef VORAD_HAVE_SANE
    return true;
#else
    return false;
#endif
}

std::optional<QList<Device>> ListDevices(bool localOnly, int timeoutMs) {
#ifdef VORAD_HAVE_SANE
    auto promise = std::make_shared<std::promise<QList<Device>>>();
    std::future<QList<Device>> result = promise->get_future();
    worker().post([promise, localOnly] { promise->set_value(listDevices(localOnly)); });
    if (result.wait_for(std::chrono::milliseconds(timeoutMs)) != std::future_status::ready) return std::nullopt;
    return result.get();
#else
    Q_UNUSED(localOnly);
    Q_UNUSED(timeoutMs);
    return std::nullopt;
#endif
}

void ListDevicesAsync(QObject* context, bool localOnly, std::function<void(std::optional<QList<Device>>)> done) {
    auto ctx = std::make_shared<QPointer<QObject>>(context);
#ifdef VORAD_HAVE_SANE
    worker().post([ctx, localOnly, done] {
        const bool ok = ensureSane();
        QList<Device> list = listDevices(localOnly);
        deliver(ctx, [done, ok, list] { done(ok ? std::optional(list) : std::nullopt); });
    });
#else
    Q_UNUSED(localOnly);
    deliver(ctx, [done] { done(std::nullopt); });
#endif
}

void OptionsAsync(QObject* context, const QString& device, std::function<void(std::optional<Options>, QString)> done) {
    auto ctx = std::make_shared<QPointer<QObject>>(context);
#ifdef VORAD_HAVE_SANE
    worker().post([ctx, device, done] {
        std::optional<Options> o;
        QString error;
        SANE_Handle h = nullptr;
        if (!ensureSane()) error = QStringLiteral("SANE kann nicht gestartet werden.");
        else if (const SANE_Status s = sane_open(device.toUtf8().constData(), &h); s != SANE_STATUS_GOOD) error = statusText(s);
        else {
            o = readOptions(h);
            sane_close(h);
        }
        deliver(ctx, [done, o, error] { done(o, error); });
    });
#else
    Q_UNUSED(device);
    deliver(ctx, [done] { done(std::nullopt, QStringLiteral("Dieses Programm wurde ohne Scannerunterstützung gebaut.")); });
#endif
}

std::shared_ptr<Scan> Scan::Start(const Request& r, QObject* context, std::function<void(int)> progress,
                                  std::function<void(const Result&)> done) {
    auto state = std::make_shared<State>();
    auto ctx = std::make_shared<QPointer<QObject>>(context);
#ifdef VORAD_HAVE_SANE
    worker().post([state, ctx, r, progress, done] {
        Result result;
        auto finish = [&] {
            if (state->cancelled) {
                result.cancelled = true;
                result.image = QImage();
                result.error.clear();
            }
            deliver(ctx, [done, result] { done(result); });
        };
        if (state->cancelled) return finish();
        if (!ensureSane()) {
            result.error = QStringLiteral("SANE kann nicht gestartet werden.");
            return finish();
        }
        SANE_Handle h = nullptr;
        if (const SANE_Status s = sane_open(r.device.toUtf8().constData(), &h); s != SANE_STATUS_GOOD) {
            result.error = statusText(s);
            return finish();
        }
        {
            std::lock_guard lock(state->mutex);
            state->handle = h;
        }
        applyRequest(h, r);

        // A picture larger than the program can load is refused while it is read.
        const qint64 maxBytes = kMaxPicturePixels * 3;
        std::vector<Frame> frames;
        qint64 total = 0;
        int lastPermille = -2;
        QString error;
        for (int frameNo = 0; error.isEmpty() && !state->cancelled && frameNo < 3; ++frameNo) {
            SANE_Status s = sane_start(h);
            if (s != SANE_STATUS_GOOD) {
                error = statusText(s);
                break;
            }
            Frame f;
            if ((s = sane_get_parameters(h, &f.p)) != SANE_STATUS_GOOD) {
                error = statusText(s);
                break;
            }
            if (!supported(f.p)) {
                error = QStringLiteral("Der Scanner liefert das Bild in einer Form, die dieses Programm nicht lesen kann.");
                break;
            }
            const bool separate = f.p.format == SANE_FRAME_RED || f.p.format == SANE_FRAME_GREEN || f.p.format == SANE_FRAME_BLUE;
            const int frameCount = separate ? 3 : 1;
            const qint64 expected = f.p.lines > 0 ? qint64(f.p.bytes_per_line) * f.p.lines : -1;
            std::vector<uchar> chunk(256 * 1024);
            for (;;) {
                SANE_Int len = 0;
                s = sane_read(h, chunk.data(), SANE_Int(chunk.size()), &len);
                if (s == SANE_STATUS_EOF) break;
                if (s != SANE_STATUS_GOOD) {
                    error = statusText(s);
                    break;
                }
                if (state->cancelled) break;
                if (len <= 0) {
                    std::this_thread::sleep_for(std::chrono::milliseconds(2));
                    continue;
                }
                total += len;
                if (total > maxBytes) {
                    error = QStringLiteral("Das gescannte Bild ist zu groß. Wählen Sie eine kleinere Auflösung.");
                    break;
                }
                f.data.insert(f.data.end(), chunk.data(), chunk.data() + len);
                if (expected <= 0 && progress && lastPermille != -1) {
                    // A length the device does not know: the progress only shows that it reads.
                    lastPermille = -1;
                    deliver(ctx, [progress] { progress(-1); });
                }
                if (expected > 0 && progress) {
                    const qint64 part = std::min<qint64>(qint64(f.data.size()) * 1000 / expected, 1000);
                    const int permille = int((frameNo * 1000 + part) / frameCount);
                    if (permille != lastPermille) {
                        lastPermille = permille;
                        deliver(ctx, [progress, permille] { progress(permille); });
                    }
                }
            }
            const bool last = f.p.last_frame != SANE_FALSE;
            frames.push_back(std::move(f));
            if (last) break;
        }
        {
            std::lock_guard lock(state->mutex);
            sane_cancel(h);
            sane_close(h);
            state->handle = nullptr;
        }
        if (error.isEmpty() && !state->cancelled) {
            result.image = frames.empty() ? QImage() : toImage(frames);
            if (result.image.isNull()) error = QStringLiteral("Der Scanner hat kein Bild geliefert.");
        }
        result.error = error;
        finish();
    });
#else
    Q_UNUSED(r);
    Q_UNUSED(progress);
    deliver(ctx, [done] { done({QImage(), QStringLiteral("Dieses Programm wurde ohne Scannerunterstützung gebaut."), false}); });
#endif
    return std::make_shared<Scan>(state);
}

void Scan::Cancel() {
    m_s->cancelled = true;
#ifdef VORAD_HAVE_SANE
    // sane_cancel is the one call SANE allows from another thread while a read is running.
    std::lock_guard lock(m_s->mutex);
    if (m_s->handle) sane_cancel(m_s->handle);
#endif
}

QString ModeName(const QString& m) {
    static const QHash<QString, QString> names = {
        {QStringLiteral("Color"), QStringLiteral("Farbe")},
        {QStringLiteral("Gray"), QStringLiteral("Graustufen")},
        {QStringLiteral("Lineart"), QStringLiteral("Strichzeichnung")},
        {QStringLiteral("Halftone"), QStringLiteral("Raster")},
        {QStringLiteral("Color Lineart"), QStringLiteral("Farbige Strichzeichnung")},
        {QStringLiteral("Color Halftone"), QStringLiteral("Farbiges Raster")},
        {QStringLiteral("Binary"), QStringLiteral("Schwarzweiß")},
    };
    return names.value(m, m);
}

QString DefaultSource() { return Registry::Value(kStoreKey, kStoreValue).toString(); }
bool SetDefaultSource(const QString& device) { return Registry::SetValue(kStoreKey, kStoreValue, device); }

void UseConfiguration(const QMap<QString, QByteArray>& files) {
#ifdef VORAD_HAVE_SANE
    static QTemporaryDir folder;
    // The environment is written once, on the caller's thread: a write while other threads read
    // it (a process being spawned, a font lookup) can hand them a freed block.
    const QByteArray configDir = QFile::encodeName(folder.path());
    if (qgetenv("SANE_CONFIG_DIR") != configDir) qputenv("SANE_CONFIG_DIR", configDir);
    worker().post([files, path = folder.path()] {
        endSane();
        QDir dir(path);
        for (const QString& name : dir.entryList(QDir::Files)) dir.remove(name);
        for (auto it = files.begin(); it != files.end(); ++it) {
            QFile f(dir.filePath(it.key()));
            if (f.open(QIODevice::WriteOnly)) f.write(it.value());
        }
    });
#else
    Q_UNUSED(files);
#endif
}

void Reset() {
#ifdef VORAD_HAVE_SANE
    worker().post([] { endSane(); });
#endif
}

} // namespace vb::Scanner
