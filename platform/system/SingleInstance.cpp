#include "platform/system/SingleInstance.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace vb::SingleInstance {
namespace {
struct Instance {
    int lockFd = -1;
    std::unique_ptr<QLocalServer> server;
    ~Instance() { reset(); }
    void reset() {
        server.reset();
        if (lockFd >= 0) ::close(lockFd); // ends the lock
        lockFd = -1;
    }
};
Instance& instance() {
    static Instance i;
    return i;
}

// The user's runtime folder (XDG_RUNTIME_DIR, or Qt's private fallback for this user).
QString runtimeFolder() {
    QString d = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (d.isEmpty()) d = QDir::tempPath();
    return d;
}

// Asks the running instance to come forward. It may still be starting: it takes the lock before
// it listens, so the socket is tried for a while.
void askToActivate(const QString& socketPath) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        QLocalSocket probe;
        probe.connectToServer(socketPath);
        if (probe.waitForConnected(500)) {
            probe.write("activate\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return;
        }
        QThread::msleep(50);
    }
}
} // namespace

bool AnotherIsRunning(const QString& key, std::function<void()> activate) {
    Instance& self = instance();
    const QString base = QDir(runtimeFolder()).filePath(key + QStringLiteral("-") + QString::number(getuid()));
    const QString lockPath = base + QStringLiteral(".lock");
    const QString socketPath = base + QStringLiteral(".socket");

    const int fd = ::open(QFile::encodeName(lockPath).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return false; // no runtime folder to lock in: run rather than refuse to start
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        if (!held) return false;
        askToActivate(socketPath);
        return true;
    }
    // The lock is ours for the life of the process; a socket left by a crashed run is stale.
    self.reset();
    self.lockFd = fd;
    QLocalServer::removeServer(socketPath);
    auto s = std::make_unique<QLocalServer>();
    s->setSocketOptions(QLocalServer::UserAccessOption);
    if (!s->listen(socketPath)) return false;
    QLocalServer* raw = s.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [raw, activate] {
        while (QLocalSocket* c = raw->nextPendingConnection()) {
            QObject::connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
            if (activate) activate();
        }
    });
    self.server = std::move(s);
    return false;
}

void Release() { instance().reset(); }
} // namespace vb::SingleInstance
