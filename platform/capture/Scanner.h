#pragma once
// Scanners through SANE. Every SANE call runs on one worker thread of its own (SANE is not
// thread-safe, and a backend may block for long), so the user-interface thread only waits as
// long as it chooses to; results come back on the thread of a context object.
#include <QImage>
#include <QList>
#include <QMap>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>

namespace vb::Scanner {

struct Device {
    QString name, vendor, model, type;
    QString Label() const; // "vendor model (name)" for lists
};

// What the scan window offers for a device: its modes (SANE's own names) and resolutions.
struct Options {
    QStringList modes;
    QString mode; // current
    QList<int> resolutions;
    int resolution = 0; // current, 0 when the device has no resolution option
};

struct Request {
    QString device, mode; // an empty mode keeps the device's own
    int resolution = 0;   // 0 keeps the device's own
};

// True when the program was built with SANE.
bool Usable();

// Lists the devices, waiting at most timeoutMs; nullopt when SANE cannot be used or does not
// answer in time. localOnly leaves out network scanners (and their lookups).
std::optional<QList<Device>> ListDevices(bool localOnly, int timeoutMs);

// The asynchronous forms: done runs on context's thread, and not at all once context is gone.
void ListDevicesAsync(QObject* context, bool localOnly, std::function<void(std::optional<QList<Device>>)> done);
void OptionsAsync(QObject* context, const QString& device, std::function<void(std::optional<Options>, QString error)> done);

// One scan. progress gets 0 to 1000, or -1 while a device that does not know the length reads; done gets the picture, or a null picture with the reason
// (empty when cancelled).
class Scan {
public:
    struct Result {
        QImage image;
        QString error;
        bool cancelled = false;
    };
    static std::shared_ptr<Scan> Start(const Request& r, QObject* context, std::function<void(int)> progress,
                                       std::function<void(const Result&)> done);
    // Asks the device to stop; the done callback still follows (cancelled).
    void Cancel();

    struct State;
    explicit Scan(std::shared_ptr<State> s) : m_s(std::move(s)) {}

private:
    std::shared_ptr<State> m_s;
};

// German names of SANE's scan modes ("Color" gives "Farbe").
QString ModeName(const QString& saneMode);

// The source the user chose last (kept in the key-value store); "" when none. Setting it
// answers false when the store could not take it.
QString DefaultSource();
bool SetDefaultSource(const QString& device);

// Tests: SANE reads only the configuration files given here (name, contents), from a folder of
// the process's own; an empty set configures no scanner. SANE starts afresh. SANE fixes its
// configuration folder at its first start, so this must come before any other call.
void UseConfiguration(const QMap<QString, QByteArray>& files);
// Ends the SANE session, so the next call starts it again with the current configuration.
void Reset();

} // namespace vb::Scanner
