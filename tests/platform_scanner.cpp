// Scanning through SANE's test device: the device list, the source choice, the scan window,
// cancel and device errors.
#include "platform/picture/Picture.h"
#include "platform/system/Registry.h"
#include "platform/capture/Scanner.h"
#include "platform/capture/Twain.h"
#include "support/Fixture.h"
#include "platform/system/Seams.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>

namespace {

class ScannerTest : public ProgramTest {
protected:
    // A private SANE configuration with the test backend and the given lines of its test.conf.
    // Also written to a folder of the test's own for the reference front end.
    QString useTestDevice(const QStringList& settings = {}, int devices = 1) {
        QStringList lines = {QStringLiteral("number_of_devices %1").arg(devices), QStringLiteral("test-picture \"Color pattern\""),
                             QStringLiteral("resolution 50")};
        lines += settings;
        const QMap<QString, QByteArray> files = {{QStringLiteral("dll.conf"), "test\n"},
                                                 {QStringLiteral("test.conf"), (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8()}};
        vb::Scanner::UseConfiguration(files);
        const QString cfg = file(QStringLiteral("sane"));
        QDir().mkpath(cfg);
        for (auto it = files.begin(); it != files.end(); ++it) write(cfg + QLatin1Char('/') + it.key(), QString::fromUtf8(it.value()));
        return cfg;
    }
    static void write(const QString& path, const QString& text) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text.toUtf8());
    }
    static QByteArray bytes(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    // The picture SANE's own command-line front end reads with the same settings.
    static QImage reference(const QString& cfg, const QStringList& args) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("SANE_CONFIG_DIR"), cfg);
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("scanimage"), QStringList{QStringLiteral("-d"), QStringLiteral("test:0"), QStringLiteral("--format=pnm")} + args);
        if (!p.waitForFinished(30000)) return QImage();
        return QImage::fromData(p.readAllStandardOutput()).convertToFormat(QImage::Format_RGB32);
    }
};

TEST_F(ScannerTest, ListsTheConfiguredDevicesOnly) {
    // The fixture's configuration names no backend.
    auto none = vb::Scanner::ListDevices(true, 5000);
    ASSERT_TRUE(none);
    EXPECT_TRUE(none->isEmpty());
    useTestDevice({}, 2);
    auto two = vb::Scanner::ListDevices(true, 5000);
    ASSERT_TRUE(two);
    ASSERT_EQ(two->size(), 2);
    EXPECT_EQ(two->at(0).name, QStringLiteral("test:0"));
    EXPECT_EQ(two->at(1).name, QStringLiteral("test:1"));
}

TEST_F(ScannerTest, NetworkBackendDoesNotHoldUpTheLocalList) {
    // An address that never answers.
    vb::Scanner::UseConfiguration({{QStringLiteral("dll.conf"), "net\ntest\n"},
                                   {QStringLiteral("net.conf"), "connect_timeout = 2\n10.255.255.1\n"},
                                   {QStringLiteral("test.conf"), "number_of_devices 1\n"}});
    QElapsedTimer t;
    t.start();
    auto list = vb::Scanner::ListDevices(true, 3000);
    EXPECT_LT(t.elapsed(), 3500);
    if (list) {
        ASSERT_EQ(list->size(), 1);
        EXPECT_EQ(list->front().name, QStringLiteral("test:0"));
    }
}

TEST_F(ScannerTest, SourceChoiceKeepsTheChosenDevice) {
    useTestDevice({}, 2);
    // Cancel keeps what was there.
    vb::Scanner::SetDefaultSource(QStringLiteral("test:0"));
    vb::seams().scanSourceWindow = [](vb::ScanSourceWindow& w) {
        EXPECT_EQ(w.DeviceCount(), 2);
        w.setCurrentRow(1);
        w.Abbrechen_Click();
    };
    EXPECT_EQ(vb::TWAIN_SelectImageSource(nullptr), 0);
    EXPECT_EQ(vb::Scanner::DefaultSource(), QStringLiteral("test:0"));

    vb::seams().scanSourceWindow = [](vb::ScanSourceWindow& w) {
        w.setCurrentRow(1);
        w.Auswaehlen_Click();
    };
    EXPECT_EQ(vb::TWAIN_SelectImageSource(nullptr), 1);
    EXPECT_EQ(vb::Scanner::DefaultSource(), QStringLiteral("test:1"));
    EXPECT_EQ(vb::Registry::Value(QStringLiteral("Software\\Scanner"), QStringLiteral("Standardquelle")).toString(),
              QStringLiteral("test:1"));

    // The scan window starts on the chosen device.
    QString device;
    vb::seams().scanWindow = [&](vb::ScanWindow& w, vb::ScanWindow::Event e) {
        if (e != vb::ScanWindow::Event::Ready) return;
        device = w.Device();
        w.Abbrechen_Click();
    };
    EXPECT_NE(vb::TWAIN_AcquireToFilename(nullptr, file(QStringLiteral("Scan_Temp.bmp"))), 0);
    EXPECT_EQ(device, QStringLiteral("test:1"));
}

TEST_F(ScannerTest, SourceChoiceWithoutDevices) {
    QString status;
    int count = -1;
    vb::seams().scanSourceWindow = [&](vb::ScanSourceWindow& w) {
        status = w.StatusText();
        count = w.DeviceCount();
        w.Auswaehlen_Click(); // nothing to choose
        if (w.isVisible()) w.close();
    };
    EXPECT_EQ(vb::TWAIN_SelectImageSource(nullptr), 0);
    EXPECT_EQ(count, 0);
    EXPECT_EQ(status, QStringLiteral("Es wurde kein Scanner gefunden."));
    EXPECT_TRUE(vb::Scanner::DefaultSource().isEmpty());
}

TEST_F(ScannerTest, ScanWritesWhatTheDeviceReads) {
    struct Case {
        const char* name;
        QStringList settings; // test.conf
        QString mode;
        QStringList scanimage;
    };
    const Case cases[] = {
        {"colour", {}, QStringLiteral("Color"), {QStringLiteral("--mode"), QStringLiteral("Color")}},
        {"grey", {}, QStringLiteral("Gray"), {QStringLiteral("--mode"), QStringLiteral("Gray")}},
        {"line art", {QStringLiteral("depth 1")}, QStringLiteral("Gray"), {QStringLiteral("--mode"), QStringLiteral("Gray"), QStringLiteral("--depth"), QStringLiteral("1")}},
        {"three passes", {QStringLiteral("three-pass true")}, QStringLiteral("Color"),
         {QStringLiteral("--mode"), QStringLiteral("Color"), QStringLiteral("--three-pass=yes")}},
        {"unknown length", {QStringLiteral("hand-scanner true")}, QStringLiteral("Color"),
         {QStringLiteral("--mode"), QStringLiteral("Color"), QStringLiteral("--hand-scanner=yes")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString cfg = useTestDevice(c.settings);
        QStringList modes;
        int progressEvents = 0;
        vb::seams().scanWindow = [&](vb::ScanWindow& w, vb::ScanWindow::Event e) {
            if (e == vb::ScanWindow::Event::Progress) ++progressEvents;
            if (e != vb::ScanWindow::Event::Ready) return;
            modes = w.Modes();
            w.setMode(c.mode);
            w.setResolution(75);
            w.Scannen_Click();
        };
        const QString out = file(QStringLiteral("Scan_Temp.bmp"));
        ASSERT_EQ(vb::TWAIN_AcquireToFilename(nullptr, out), 0);
        EXPECT_EQ(modes, (QStringList{QStringLiteral("Gray"), QStringLiteral("Color")}));
        EXPECT_GT(progressEvents, 0);
        const QImage expected = reference(cfg, c.scanimage + QStringList{QStringLiteral("--resolution"), QStringLiteral("75")});
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(bytes(out).left(2), QByteArray("BM"));
        const QImage got = vb::LoadPicture(out).Image().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(got.size(), expected.size());
        EXPECT_TRUE(got == expected);
    }
}

TEST_F(ScannerTest, CancelAndDeviceErrorsWriteNothing) {
    const QString out = file(QStringLiteral("Scan_Temp.bmp"));
    write(out, QStringLiteral("old"));
    const QStringList slow = {QStringLiteral("read-limit true"), QStringLiteral("read-limit-size 4096"),
                              QStringLiteral("read-delay true"), QStringLiteral("read-delay-duration 20000")};
    struct Case {
        const char* name;
        QStringList settings;
        bool cancelWhileReading; // otherwise cancelled after the error shows
        QString status;
    };
    const Case cases[] = {
        {"cancel while reading", slow, true, QString()},
        {"connection lost", {QStringLiteral("read-status-code \"SANE_STATUS_IO_ERROR\"")}, false,
         QStringLiteral("Die Verbindung zum Scanner ist gestört.")},
        {"paper jam", {QStringLiteral("read-status-code \"SANE_STATUS_JAMMED\"")}, false,
         QStringLiteral("Im Papiereinzug des Scanners klemmt ein Blatt.")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        useTestDevice(c.settings);
        QString status;
        bool cancelled = false;
        vb::seams().scanWindow = [&](vb::ScanWindow& w, vb::ScanWindow::Event e) {
            if (e == vb::ScanWindow::Event::Ready) return w.Scannen_Click();
            if (e == vb::ScanWindow::Event::Progress && c.cancelWhileReading && !cancelled) {
                EXPECT_TRUE(w.Scanning());
                EXPECT_LT(w.ProgressValue(), 1000);
                cancelled = true;
                return w.Abbrechen_Click();
            }
            if (e == vb::ScanWindow::Event::Error) {
                status = w.StatusText();
                EXPECT_FALSE(w.Scanning());
                w.close(); // the window's close acts as its cancel
            }
        };
        EXPECT_NE(vb::TWAIN_AcquireToFilename(nullptr, out), 0);
        EXPECT_EQ(cancelled, c.cancelWhileReading);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(bytes(out), QByteArray("old"));
    }
    // The device is free again after a cancel.
    useTestDevice();
    vb::seams().scanWindow = [](vb::ScanWindow& w, vb::ScanWindow::Event e) {
        if (e == vb::ScanWindow::Event::Ready) w.Scannen_Click();
    };
    EXPECT_EQ(vb::TWAIN_AcquireToFilename(nullptr, out), 0);
    EXPECT_EQ(bytes(out).left(2), QByteArray("BM"));
}

TEST_F(ScannerTest, UnwritableTargetAndMissingDevice) {
    useTestDevice();
    QString status;
    vb::seams().scanWindow = [&](vb::ScanWindow& w, vb::ScanWindow::Event e) {
        if (e == vb::ScanWindow::Event::Ready) return w.Scannen_Click();
        if (e == vb::ScanWindow::Event::Error) {
            status = w.StatusText();
            w.Abbrechen_Click();
        }
    };
    const QString nowhere = file(QStringLiteral("fehlt/Scan_Temp.bmp"));
    EXPECT_NE(vb::TWAIN_AcquireToFilename(nullptr, nowhere), 0);
    EXPECT_TRUE(status.startsWith(QStringLiteral("Das gescannte Bild konnte nicht gespeichert werden")));
    EXPECT_FALSE(QFile::exists(nowhere));

    vb::Scanner::UseConfiguration({});
    status.clear();
    EXPECT_NE(vb::TWAIN_AcquireToFilename(nullptr, file(QStringLiteral("Scan_Temp.bmp"))), 0);
    EXPECT_EQ(status, QStringLiteral("Es wurde kein Scanner gefunden."));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("Scan_Temp.bmp"))));
}

TEST_F(ScannerTest, HiddenSettingsScanAtOnce) {
    const QString cfg = useTestDevice();
    int ready = 0;
    vb::seams().scanWindow = [&](vb::ScanWindow&, vb::ScanWindow::Event e) {
        if (e == vb::ScanWindow::Event::Ready) ++ready;
    };
    vb::TWAIN_SetHideUI(1);
    EXPECT_EQ(vb::TWAIN_AcquireToFilename(nullptr, file(QStringLiteral("Scan_Temp.bmp"))), 0);
    EXPECT_EQ(ready, 1);
    // The device's own settings.
    const QImage expected = reference(cfg, {});
    ASSERT_FALSE(expected.isNull());
    EXPECT_TRUE(vb::LoadPicture(file(QStringLiteral("Scan_Temp.bmp"))).Image().convertToFormat(QImage::Format_RGB32) == expected);
}

} // namespace
