#include "platform/window/App.h"

#include "platform/system/Seams.h"

#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>

namespace vb::App {
namespace {
QString& pathOverride() { return seams().programFolder; }
std::function<void(int)>& endHandler() { return seams().endHandler; }
QString& helpFile() {
    static QString file;
    return file;
}
} // namespace

QString Path() {
    if (!pathOverride().isEmpty()) return pathOverride();
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
}
QString Title() { return QStringLiteral("Vorad Logo-Kalvoren"); }
QString HelpFile() { return helpFile(); }
void SetHelpFile(const QString& path) { helpFile() = path; }

void DoEvents() {
    if (QCoreApplication::instance()) QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void End(int code) {
    if (endHandler()) {
        endHandler()(code);
        throw Ended{code};
    }
    std::fflush(nullptr);
    std::_Exit(code);
}
} // namespace vb::App
