// Test entry: a headless application, a private runtime folder, and before every test the
// runtime's seams at their safe defaults (message boxes answered, a store and clipboard of the
// test run's own, no scanner); fixtures add the rest.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/capture/Scanner.h"
#include "platform/system/Seams.h"

namespace {
class FreshSeams : public ::testing::EmptyTestEventListener {
public:
    explicit FreshSeams(QString folder) : m_folder(std::move(folder)) {}
    void OnTestStart(const ::testing::TestInfo&) override {
        vb::ResetSeams();
        vb::Seams& s = vb::seams();
        // A test that forgets to answer a message box must not hang.
        s.msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
        QDir(m_folder).removeRecursively();
        QDir().mkpath(m_folder);
        s.storeFile = m_folder + QStringLiteral("/store.ini");
        s.privateClipboard = true;
        // SANE sees no scanner until a test configures one.
        vb::Scanner::UseConfiguration({});
    }

private:
    QString m_folder;
};
} // namespace

// Under the leak checker: what libraries the program does not own keep for themselves (SANE's
// test backend after a cancelled read, D-Bus inside Qt's X11 platform) is not the program's leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libsane-test.so\nleak:libdbus-1.so\nleak:libqsvg.so\n"; }

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshSeams(runtime.path() + QStringLiteral("/seams")));
    return RUN_ALL_TESTS();
}
