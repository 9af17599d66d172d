#include "platform/system/Shell.h"

#include "platform/system/SafeFile.h"
#include "platform/system/Seams.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace vb::Shell {
namespace {
Hook& hook() { return seams().shell; }
bool hooked(const QString& what, const QString& arg) { return hook() && hook()(what, arg); }

QStringList expand(const QString& muster, bool filesOnly) {
    QFileInfo fi(muster);
    const QString name = fi.fileName();
    if (!name.contains(QLatin1Char('*')) && !name.contains(QLatin1Char('?'))) return {muster};
    QDir dir = fi.dir();
    QDir::Filters filters = QDir::Files | QDir::Hidden;
    if (!filesOnly) filters |= QDir::Dirs | QDir::NoDotAndDotDot;
    QStringList out;
    for (const QFileInfo& e : dir.entryInfoList({name}, filters)) out << e.filePath();
    return out;
}

bool removeRecursively(const QString& path) {
    QFileInfo fi(path);
    if (fi.isDir() && !fi.isSymLink()) return QDir(path).removeRecursively();
    return QFile::remove(path);
}
} // namespace

int FileOperation(int func, const QStringList& from, const QString& to, int flags) {
    const bool filesOnly = flags & FOF_FILESONLY;
    int failures = 0;
    for (const QString& muster : from) {
        if (muster.isEmpty()) continue;
        if (hooked(func == FO_DELETE ? QStringLiteral("delete") : QStringLiteral("copy"), muster)) continue;
        for (const QString& src : expand(muster, filesOnly)) {
            if (func == FO_DELETE) {
                if (QFileInfo(src).isDir() && filesOnly) continue;
                if (QFileInfo::exists(src) && !removeRecursively(src)) ++failures;
                continue;
            }
            QString target = to;
            if (to.endsWith(QLatin1Char('/')) || QFileInfo(to).isDir()) target = QDir(to).filePath(QFileInfo(src).fileName());
            if (QFileInfo(target).canonicalFilePath() == QFileInfo(src).canonicalFilePath() && QFileInfo::exists(target)) continue;
            // Written beside the target and renamed over it: at no moment is the target missing
            // or half written, and a failing copy leaves the old one whole.
            if (!CopyFileAtomic(src, target)) { ++failures; continue; }
            if (func == FO_MOVE) QFile::remove(src);
        }
    }
    return failures == 0 ? 0 : 1;
}

int Execute(const QString& operation, const QString& file) {
    if (hooked(QStringLiteral("execute:") + operation, file)) return 33;
    const QUrl url = file.contains(QStringLiteral("://")) ? QUrl(file) : QUrl::fromLocalFile(file);
    return QDesktopServices::openUrl(url) ? 33 : 2;
}

void StartDisplaySettings() {
    if (hooked(QStringLiteral("display-settings"), QString())) return;
    const QList<QStringList> candidates = {
        {QStringLiteral("gnome-control-center"), QStringLiteral("display")},
        {QStringLiteral("kcmshell6"), QStringLiteral("kcm_kscreen")},
        {QStringLiteral("kcmshell5"), QStringLiteral("kcm_kscreen")},
        {QStringLiteral("xfce4-display-settings")},
        {QStringLiteral("lxqt-config-monitor")},
        {QStringLiteral("arandr")},
        {QStringLiteral("lxrandr")},
    };
    for (const QStringList& c : candidates) {
        const QString exe = QStandardPaths::findExecutable(c.first());
        if (exe.isEmpty()) continue;
        QProcess::startDetached(exe, c.mid(1));
        return;
    }
}

} // namespace vb::Shell
