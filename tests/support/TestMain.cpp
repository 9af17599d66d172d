// Test entry: a headless application, a private runtime folder, and no real dialogs.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/MsgBox.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    QApplication app(argc, argv);
    // A test that forgets to answer a message box must not hang.
    vb::SetMsgBoxHandler([](const QString&, int, const QString&) { return int(vb::vbOK); });
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
