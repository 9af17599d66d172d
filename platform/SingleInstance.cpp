#include "platform/SingleInstance.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <memory>
#include <unistd.h>

namespace vb::SingleInstance {
namespace {
std::unique_ptr<QLocalServer>& server() {
    static std::unique_ptr<QLocalServer> s;
    return s;
}
QString fullName(const QString& key) { return key + QStringLiteral("-") + QString::number(getuid()); }
} // namespace

bool AnotherIsRunning(const QString& key, std::function<void()> activate) {
    const QString name = fullName(key);
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(500)) {
            probe.write("activate\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return true;
        }
    }
    // Nobody answers: a name left over from a crashed run is taken over.
    QLocalServer::removeServer(name);
    auto s = std::make_unique<QLocalServer>();
    s->setSocketOptions(QLocalServer::UserAccessOption);
    if (!s->listen(name)) return false;
    QLocalServer* raw = s.get();
    QObject::connect(raw, &QLocalServer::newConnection, raw, [raw, activate] {
        while (QLocalSocket* c = raw->nextPendingConnection()) {
            QObject::connect(c, &QLocalSocket::disconnected, c, &QObject::deleteLater);
            if (activate) activate();
        }
    });
    server() = std::move(s);
    return false;
}

void Release() { server().reset(); }
} // namespace vb::SingleInstance
