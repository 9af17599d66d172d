// One instance per key, across real processes: simultaneous starts, a crashed instance.
#include "platform/system/SingleInstance.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <gtest/gtest.h>
#include <vector>

using namespace vb;

// Run by the tests below as a separate process of this test program: one start of "the program".
// With VORAD_SI_GO it prints READY and starts on a line of its input, so that all starts of a
// round begin together. Prints INSTANCE or SECOND; an instance stays until VORAD_SI_EXPECT later
// starts have asked it to come forward (bounded, for a faulty round) and then prints how many did.
TEST(SingleInstanceChild, Start) {
    const QByteArray key = qgetenv("VORAD_SI_KEY");
    if (key.isEmpty()) GTEST_SKIP() << "only as a child of the tests below";
    qputenv("XDG_RUNTIME_DIR", qgetenv("VORAD_SI_RUNTIME"));
    if (qEnvironmentVariableIsSet("VORAD_SI_GO")) {
        printf("READY\n");
        fflush(stdout);
        char line[8];
        if (!fgets(line, sizeof line, stdin)) return;
    }
    const int expected = qEnvironmentVariableIntValue("VORAD_SI_EXPECT");
    int activated = 0;
    QEventLoop loop;
    if (SingleInstance::AnotherIsRunning(QString::fromLatin1(key), [&] {
            if (++activated >= expected) loop.quit();
        })) {
        printf("SECOND\n");
        return;
    }
    printf("INSTANCE\n");
    fflush(stdout);
    if (activated < expected) {
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        loop.exec();
    }
    printf("ACTIVATED %d\n", activated);
    SingleInstance::Release();
}

namespace {
class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> starts;

    QProcess& start(int expected, bool go) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VORAD_SI_KEY"), QStringLiteral("vorad-test-lock"));
        env.insert(QStringLiteral("VORAD_SI_RUNTIME"), runtime.path());
        env.insert(QStringLiteral("VORAD_SI_EXPECT"), QString::number(expected));
        if (go) env.insert(QStringLiteral("VORAD_SI_GO"), QStringLiteral("1"));
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SingleInstanceChild.Start")});
        starts.push_back(std::move(p));
        return *starts.back();
    }
    // Reads the process's output until it holds what; false when the process ends first.
    static bool waitFor(QProcess& p, QByteArray& out, const char* what) {
        while (!out.contains(what)) {
            if (!p.waitForReadyRead(20000)) return false;
            out += p.readAllStandardOutput();
        }
        return true;
    }
    static QString output(QProcess& p) {
        p.waitForFinished(40000);
        return QString::fromLatin1(p.readAllStandardOutput());
    }
    void TearDown() override {
        for (auto& p : starts) {
            p->kill();
            p->waitForFinished();
        }
    }
};
} // namespace

TEST_F(SingleInstanceTest, SimultaneousStartsRunExactlyOne) {
    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        starts.clear();
        // Every start is up and waiting before any of them begins.
        for (int i = 0; i < 8; ++i) start(7, true);
        std::vector<QByteArray> outs(starts.size());
        for (size_t i = 0; i < starts.size(); ++i) ASSERT_TRUE(waitFor(*starts[i], outs[i], "READY"));
        for (auto& p : starts) {
            p->write("GO\n");
            p->waitForBytesWritten();
        }
        int instances = 0, seconds = 0, activated = -1;
        for (size_t i = 0; i < starts.size(); ++i) {
            const QString out = QString::fromLatin1(outs[i]) + output(*starts[i]);
            if (out.contains(QLatin1String("INSTANCE"))) {
                ++instances;
                const int at = out.indexOf(QLatin1String("ACTIVATED "));
                if (at >= 0) activated = out.mid(at + 10).trimmed().left(2).trimmed().toInt();
            }
            if (out.contains(QLatin1String("SECOND"))) ++seconds;
        }
        EXPECT_EQ(instances, 1);
        EXPECT_EQ(seconds, 7);
        EXPECT_EQ(activated, 7); // every later start asked the one instance to come forward
    }
}

TEST_F(SingleInstanceTest, ACrashedInstanceLeavesNothingInTheWay) {
    // An instance that waits for more starts than come, until it is killed.
    QProcess& first = start(1000, false);
    QByteArray out;
    ASSERT_TRUE(waitFor(first, out, "INSTANCE"));
    ::kill(pid_t(first.processId()), SIGKILL);
    first.waitForFinished();
    // Its lock file and socket are still there; the next start takes them over.
    EXPECT_FALSE(QDir(runtime.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).isEmpty());
    EXPECT_TRUE(output(start(0, false)).contains(QLatin1String("INSTANCE")));
}
