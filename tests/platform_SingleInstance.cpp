// One instance per key, across real processes: simultaneous starts, a crashed instance.
#include "platform/SingleInstance.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <vector>

using namespace vb;

// Run by the tests below as a separate process of this test program: one start of "the program".
// Prints INSTANCE or SECOND; an instance stays for VORAD_SI_HOLD ms and then prints how often a
// later start asked it to come forward.
TEST(SingleInstanceChild, Start) {
    const QByteArray key = qgetenv("VORAD_SI_KEY");
    if (key.isEmpty()) GTEST_SKIP() << "only as a child of the tests below";
    qputenv("XDG_RUNTIME_DIR", qgetenv("VORAD_SI_RUNTIME"));
    // All starts of a round begin at the same moment.
    const qint64 at = qgetenv("VORAD_SI_AT").toLongLong();
    while (QDateTime::currentMSecsSinceEpoch() < at) {
    }
    int activated = 0;
    if (SingleInstance::AnotherIsRunning(QString::fromLatin1(key), [&] { ++activated; })) {
        printf("SECOND\n");
        return;
    }
    printf("INSTANCE\n");
    fflush(stdout);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < qgetenv("VORAD_SI_HOLD").toInt()) QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    printf("ACTIVATED %d\n", activated);
    SingleInstance::Release();
}

namespace {
class SingleInstanceTest : public ::testing::Test {
protected:
    QTemporaryDir runtime;
    std::vector<std::unique_ptr<QProcess>> starts;

    QProcess& start(int holdMs, qint64 at = 0) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("VORAD_SI_KEY"), QStringLiteral("vorad-test-lock"));
        env.insert(QStringLiteral("VORAD_SI_RUNTIME"), runtime.path());
        env.insert(QStringLiteral("VORAD_SI_HOLD"), QString::number(holdMs));
        env.insert(QStringLiteral("VORAD_SI_AT"), QString::number(at));
        p->setProcessEnvironment(env);
        p->start(QCoreApplication::applicationFilePath(), {QStringLiteral("--gtest_filter=SingleInstanceChild.Start")});
        starts.push_back(std::move(p));
        return *starts.back();
    }
    static QString output(QProcess& p) {
        p.waitForFinished(20000);
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
        // The first instance lives long enough for the slowest start (a loaded or sanitised build)
        // to meet it; a start after its end would rightly be an instance of its own.
        const qint64 at = QDateTime::currentMSecsSinceEpoch() + 3000;
        for (int i = 0; i < 8; ++i) start(8000, at);
        int instances = 0, seconds = 0, activated = -1;
        for (auto& p : starts) {
            const QString out = output(*p);
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
    QProcess& first = start(20000);
    QByteArray out;
    while (!out.contains("INSTANCE") && first.waitForReadyRead(10000)) out += first.readAllStandardOutput();
    ASSERT_TRUE(out.contains("INSTANCE"));
    ::kill(pid_t(first.processId()), SIGKILL);
    first.waitForFinished();
    // Its lock file and socket are still there; the next start takes them over.
    EXPECT_FALSE(QDir(runtime.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).isEmpty());
    EXPECT_TRUE(output(start(100)).contains(QLatin1String("INSTANCE")));
}
