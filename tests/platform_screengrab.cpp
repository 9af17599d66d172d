// The desktop's picture: the screens' own pixels under X11 (tests run under xvfb-run), the
// screenshot portal in a Wayland session, and the program's own error when neither answers.
#include "platform/capture/ScreenGrab.h"
#include "platform/system/Seams.h"
#include "support/Fixture.h"
#include "support/Pictures.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPainter>
#include <QProcess>
#include <QRandomGenerator>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QWindow>

namespace {

// A borderless window that shows one picture at its own size.
class PictureWindow : public QWidget {
public:
    explicit PictureWindow(QImage pic) : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint), m_pic(std::move(pic)) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(0, 0, m_pic);
    }

private:
    QImage m_pic;
};

bool waitExposed(QWidget* w) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 5000) {
        vb::App::DoEvents();
        if (w->windowHandle() && w->windowHandle()->isExposed()) return true;
    }
    return false;
}

// The desktop portal's screenshot service as a session offers it.
class FakePortal : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Screenshot")
public:
    explicit FakePortal(QDBusConnection bus) : m_bus(std::move(bus)) {}
    std::optional<uint> answer; // nullopt: it never answers
    QString uri;
    QVariantMap lastOptions;

public Q_SLOTS:
    QDBusObjectPath Screenshot(const QString&, const QVariantMap& options) {
        lastOptions = options;
        QString sender = message().service().mid(1);
        sender.replace(QLatin1Char('.'), QLatin1Char('_'));
        const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/") + sender + QLatin1Char('/') +
                             options.value(QStringLiteral("handle_token")).toString();
        if (answer) {
            const uint code = *answer;
            const QString u = uri;
            QTimer::singleShot(20, this, [this, path, code, u] {
                QDBusMessage sig = QDBusMessage::createSignal(path, QStringLiteral("org.freedesktop.portal.Request"),
                                                              QStringLiteral("Response"));
                sig << code << QVariantMap{{QStringLiteral("uri"), u}};
                m_bus.send(sig);
            });
        }
        return QDBusObjectPath(path);
    }

private:
    QDBusConnection m_bus;
};

class GrabTest : public ProgramTest {};

TEST_F(GrabTest, SuppliedDesktopAndUnreadableScreen) {
    const QImage desk = RandomPattern(QSize(300, 200), 7);
    vb::seams().desktop = desk;
    EXPECT_EQ(vb::GetDesktopRect(), QRect(0, 0, 300, 200));
    const vb::DisplayDC dc = vb::CreateDisplayDC();
    ASSERT_TRUE(dc);
    EXPECT_TRUE(dc.Image == desk);

    vb::seams().desktop = QImage();
    const vb::DisplayDC none = vb::CreateDisplayDC();
    EXPECT_FALSE(none);
    EXPECT_EQ(none.Error, QStringLiteral("Der Bildschirminhalt kann nicht gelesen werden."));
}

// The screens' own pixels: each screen shows a known picture in a window of its size.
TEST_F(GrabTest, OnScreenPixelsOfEveryScreen) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
    std::vector<std::unique_ptr<PictureWindow>> windows;
    QRect desk;
    for (QScreen* s : QGuiApplication::screens()) desk |= s->geometry();
    QImage expected(desk.size(), QImage::Format_RGB32);
    expected.fill(Qt::black);
    QPainter p(&expected);
    quint32 seed = 1;
    for (QScreen* s : QGuiApplication::screens()) {
        const QImage pic = RandomPattern(s->geometry().size(), seed++);
        p.drawImage(s->geometry().topLeft() - desk.topLeft(), pic);
        auto w = std::make_unique<PictureWindow>(pic);
        w->setGeometry(s->geometry());
        w->show();
        windows.push_back(std::move(w));
    }
    p.end();
    for (auto& w : windows) ASSERT_TRUE(waitExposed(w.get()));
    EXPECT_EQ(vb::GetDesktopRect(), desk);
    // The server may take a moment to show the windows' pixels.
    vb::DisplayDC dc;
    QElapsedTimer t;
    t.start();
    do {
        vb::App::DoEvents();
        dc = vb::CreateDisplayDC();
    } while (!(dc && dc.Image == expected) && t.elapsed() < 5000);
    ASSERT_TRUE(dc) << dc.Error.toStdString();
    EXPECT_EQ(dc.Image.size(), expected.size());
    EXPECT_TRUE(dc.Image == expected);
}

TEST_F(GrabTest, WaylandSessionAsksThePortal) {
    // A session bus of the test's own.
    QProcess daemon;
    daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    ASSERT_TRUE(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());
    vb::seams().portal = vb::PortalOverride{address, 2000};

    // No portal on the bus.
    vb::DisplayDC none = vb::CreateDisplayDC();
    EXPECT_FALSE(none);
    EXPECT_EQ(none.Error, QStringLiteral("Der Bildschirminhalt kann nicht gelesen werden: Die Sitzung stellt keinen "
                                         "Dienst für Bildschirmfotos bereit."));

    {
        QDBusConnection bus = QDBusConnection::connectToBus(address, QStringLiteral("fake-portal"));
        ASSERT_TRUE(bus.isConnected());
        FakePortal portal(bus);
        ASSERT_TRUE(bus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), &portal, QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(bus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));

        const QImage desk = RandomPattern(QSize(320, 180), 3);
        const QString shot = file(QStringLiteral("portal.png"));
        ASSERT_TRUE(desk.save(shot));
        portal.uri = QUrl::fromLocalFile(shot).toString();
        struct Case {
            const char* name;
            std::optional<uint> answer;
            QString error;
        };
        const Case cases[] = {
            {"picture", 0u, QString()},
            {"refused", 2u, QStringLiteral("Der Dienst für Bildschirmfotos hat kein Bild geliefert.")},
            {"cancelled by the user", 1u, QStringLiteral("Der Dienst für Bildschirmfotos hat kein Bild geliefert.")},
            {"no answer", std::nullopt, QStringLiteral("Der Dienst für Bildschirmfotos antwortet nicht.")},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            portal.answer = c.answer;
            const vb::DisplayDC dc = vb::CreateDisplayDC();
            EXPECT_EQ(dc.Error, c.error);
            if (c.error.isEmpty()) EXPECT_TRUE(dc.Image == desk);
            else EXPECT_TRUE(dc.Image.isNull());
            EXPECT_EQ(portal.lastOptions.value(QStringLiteral("interactive")).toBool(), false);
        }
        bus.unregisterService(QStringLiteral("org.freedesktop.portal.Desktop"));
        bus.unregisterObject(QStringLiteral("/org/freedesktop/portal/desktop"));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("fake-portal"));
    vb::seams().portal.reset();
    daemon.kill();
    daemon.waitForFinished();
}

} // namespace

#include "platform_screengrab.moc"
