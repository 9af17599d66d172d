#include "platform/capture/ScreenGrab.h"

#include "platform/system/Seams.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEventLoop>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QUrl>

namespace vb {
namespace {

std::optional<QImage>& desktopOverride() { return seams().desktop; }
std::optional<PortalOverride>& portalOverride() { return seams().portal; }

const QString kNoScreen = QStringLiteral("Der Bildschirminhalt kann nicht gelesen werden.");

bool waylandSession() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) &&
        QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        return true;
    return qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

QRect screensRect() {
    QRect r;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return r;
    for (QScreen* s : QGuiApplication::screens()) r |= s->geometry();
    return r;
}

// Every screen's own pixels, placed where the screen lies on the desktop.
DisplayDC grabScreens() {
    // This program's own windows as they are now: shown, hidden and repainted.
    QGuiApplication::sync();
    QCoreApplication::processEvents();
    QGuiApplication::sync();
    const QRect desk = screensRect();
    if (desk.isEmpty()) return {QImage(), kNoScreen};
    const QList<QScreen*> screens = QGuiApplication::screens();
    if (screens.size() == 1) { // the common case needs no second copy
        const QImage img = screens.front()->grabWindow(0).toImage();
        if (img.isNull()) return {QImage(), kNoScreen};
        if (img.size() == desk.size()) return {img.convertToFormat(QImage::Format_RGB32), QString()};
    }
    QImage out(desk.size(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter p(&out);
    for (QScreen* s : QGuiApplication::screens()) {
        const QPixmap px = s->grabWindow(0);
        if (px.isNull()) return {QImage(), kNoScreen};
        const QRect g = s->geometry();
        p.drawImage(QRect(g.topLeft() - desk.topLeft(), g.size()), px.toImage());
    }
    p.end();
    return {out, QString()};
}

// Waits for the portal's answer to one request.
class PortalRequest : public QObject {
    Q_OBJECT
public:
    QEventLoop loop;
    std::optional<uint> response;
    QVariantMap results;
public Q_SLOTS:
    void Response(uint code, const QVariantMap& res) {
        response = code;
        results = res;
        loop.quit();
    }
};

DisplayDC grabThroughPortal() {
    const QString service = QStringLiteral("org.freedesktop.portal.Desktop");
    const QString desktopPath = QStringLiteral("/org/freedesktop/portal/desktop");
    const QString requestIface = QStringLiteral("org.freedesktop.portal.Request");
    int timeoutMs = 60000; // the portal may first ask the user for permission
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (portalOverride()) {
        timeoutMs = portalOverride()->timeoutMs;
        // A connection of this name to an earlier address would be given back: it is opened afresh.
        QDBusConnection::disconnectFromBus(QStringLiteral("vorad-portal"));
        bus = QDBusConnection::connectToBus(portalOverride()->address, QStringLiteral("vorad-portal"));
    }
    const QString noPortal = QStringLiteral("Der Bildschirminhalt kann nicht gelesen werden: Die Sitzung stellt keinen "
                                            "Dienst für Bildschirmfotos bereit.");
    if (!bus.isConnected()) return {QImage(), noPortal};

    // The request's path is known before the call, so no answer can be missed.
    const QString token = QStringLiteral("vorad%1").arg(QRandomGenerator::global()->generate());
    QString sender = bus.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    QString path = desktopPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
    PortalRequest req;
    bus.connect(service, path, requestIface, QStringLiteral("Response"), &req, SLOT(Response(uint, QVariantMap)));

    QDBusMessage call = QDBusMessage::createMethodCall(service, desktopPath, QStringLiteral("org.freedesktop.portal.Screenshot"),
                                                       QStringLiteral("Screenshot"));
    call << QString() << QVariantMap{{QStringLiteral("handle_token"), token},
                                     {QStringLiteral("interactive"), false},
                                     {QStringLiteral("modal"), true}};
    const QDBusReply<QDBusObjectPath> reply = bus.call(call, QDBus::BlockWithGui, 10000);
    if (!reply.isValid()) return {QImage(), noPortal};
    if (reply.value().path() != path) { // an older portal names the request itself
        bus.disconnect(service, path, requestIface, QStringLiteral("Response"), &req, SLOT(Response(uint, QVariantMap)));
        path = reply.value().path();
        bus.connect(service, path, requestIface, QStringLiteral("Response"), &req, SLOT(Response(uint, QVariantMap)));
    }
    if (!req.response) {
        QTimer::singleShot(timeoutMs, &req.loop, &QEventLoop::quit);
        req.loop.exec();
    }
    bus.disconnect(service, path, requestIface, QStringLiteral("Response"), &req, SLOT(Response(uint, QVariantMap)));
    if (!req.response) return {QImage(), QStringLiteral("Der Dienst für Bildschirmfotos antwortet nicht.")};
    if (*req.response != 0)
        return {QImage(), QStringLiteral("Der Dienst für Bildschirmfotos hat kein Bild geliefert.")};
    const QUrl uri(req.results.value(QStringLiteral("uri")).toString());
    QImage img(uri.toLocalFile());
    if (img.isNull()) return {QImage(), QStringLiteral("Das Bildschirmfoto des Dienstes kann nicht gelesen werden.")};
    return {img.convertToFormat(QImage::Format_RGB32), QString()};
}

} // namespace

QRect GetDesktopRect() {
    if (desktopOverride()) return QRect(QPoint(0, 0), desktopOverride()->size());
    return screensRect();
}

DisplayDC CreateDisplayDC() {
    if (desktopOverride()) {
        if (desktopOverride()->isNull()) return {QImage(), kNoScreen};
        return {desktopOverride()->convertToFormat(QImage::Format_RGB32), QString()};
    }
    if (portalOverride() || waylandSession()) return grabThroughPortal();
    return grabScreens();
}

} // namespace vb

#include "ScreenGrab.moc"
