#include "support/WindowManager.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

namespace openbox {

bool Inside() { return qEnvironmentVariableIsSet("VORAD_WM_INNER"); }

bool Wait(const std::function<bool()>& until, int ms) {
    QElapsedTimer t;
    t.start();
    while (!until()) {
        if (t.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return true;
}

bool Xdotool(const QStringList& args) {
    QProcess p;
    p.start(QStringLiteral("xdotool"), args);
    if (!p.waitForStarted(3000)) return false;
    Wait([&] { return p.state() == QProcess::NotRunning; }, 10000);
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

namespace {
// XTEST's FakeInput request (minor opcode 2) with a core event: motion 6 (detail 0: absolute),
// button press 4, button release 5.
void fakeInput(uint8_t type, uint8_t detail, QPoint p) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    ASSERT_TRUE(x11);
    xcb_connection_t* conn = x11->connection();
    static xcb_extension_t xtest = {"XTEST", 0};
    const xcb_query_extension_reply_t* ext = xcb_get_extension_data(conn, &xtest);
    ASSERT_TRUE(ext && ext->present);
    struct {
        uint8_t major, minor;
        uint16_t length;
        uint8_t type, detail;
        uint16_t pad0;
        uint32_t time, root, pad1, pad2;
        int16_t x, y;
        uint32_t pad3;
        uint16_t pad4;
        uint8_t pad5, deviceid;
    } r = {};
    static_assert(sizeof r == 36);
    r.type = type;
    r.detail = detail;
    r.root = xcb_setup_roots_iterator(xcb_get_setup(conn)).data->root;
    r.x = int16_t(p.x());
    r.y = int16_t(p.y());
    iovec teile[3];
    teile[2] = {&r, sizeof r};
    xcb_protocol_request_t anfrage = {1, &xtest, 2, 1};
    xcb_send_request(conn, 0, teile + 2, &anfrage);
    xcb_flush(conn);
}
} // namespace

void PointerTo(QPoint p) { fakeInput(6, 0, p); }
void Button(int button, bool down) { fakeInput(down ? 4 : 5, uint8_t(button), QPoint()); }
void Click(int button, int times) {
    for (int i = 0; i < times; ++i) {
        Button(button, true);
        Button(button, false);
    }
}

void Run(const QStringList& runs, int tests, int width, int height) {
    if (Inside()) GTEST_SKIP();
    for (const char* prog : {"xvfb-run", "openbox", "xdotool"})
        if (QStandardPaths::findExecutable(QString::fromLatin1(prog)).isEmpty()) GTEST_SKIP() << prog << " is not installed";
    QString skript = QStringLiteral("openbox --sm-disable >/dev/null 2>&1 & ob=$!; sleep 1; "
                                    "export VORAD_WM_INNER=1 QT_QPA_PLATFORM=xcb; rc=0; ");
    const QString bin = QCoreApplication::applicationDirPath();
    QStringList args;
    for (const QString& r : runs) {
        const QString programm = r.section(QLatin1Char(':'), 0, 0), filter = r.section(QLatin1Char(':'), 1);
        skript += QStringLiteral("[ $rc = 0 ] && { \"$%1\" --gtest_filter='%2' || rc=$?; }; ").arg(args.size()).arg(filter);
        args << bin + QLatin1Char('/') + programm;
    }
    skript += QStringLiteral("kill $ob; exit $rc");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("xvfb-run"), QStringList{QStringLiteral("-a"), QStringLiteral("-s"), QStringLiteral("-screen 0 %1x%2x24").arg(width).arg(height),
                                                    QStringLiteral("sh"), QStringLiteral("-c"), skript} + args);
    ASSERT_TRUE(p.waitForStarted(5000));
    const bool fertig = p.waitForFinished(300000);
    const QString aus = QString::fromLocal8Bit(p.readAll());
    if (!fertig) p.kill();
    ASSERT_TRUE(fertig) << aus.toStdString();
    EXPECT_EQ(p.exitCode(), 0) << aus.toStdString();
    // Every inner test ran; none was skipped.
    EXPECT_EQ(aus.count(QStringLiteral("[       OK ]")), tests) << aus.toStdString();
    EXPECT_FALSE(aus.contains(QStringLiteral("[  SKIPPED ]"))) << aus.toStdString();
}

} // namespace openbox
