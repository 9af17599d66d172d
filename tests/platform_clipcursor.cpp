// The cursor held inside a rectangle: on a real X server it cannot leave it until released.
#include "platform/window/Cursor.h"
#include "support/Fixture.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QGuiApplication>

namespace {
class ClipTest : public ProgramTest {};

// Where the real cursor ends up after being sent to p.
QPoint senden(QPoint p) {
    QCursor::setPos(p);
    QGuiApplication::sync();
    vb::App::DoEvents();
    return QCursor::pos();
}
} // namespace

TEST_F(ClipTest, OnScreenCursorStaysInsideUntilReleased) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
    const QRect fang(200, 150, 120, 80);
    senden(QPoint(250, 180));
    vb::ClipCursor(fang);
    EXPECT_EQ(vb::GetClipCursor(), std::optional<QRect>(fang));
    for (const QPoint ziel : {QPoint(10, 10), QPoint(900, 700), QPoint(250, 600)}) EXPECT_TRUE(fang.contains(senden(ziel))) << ziel.x() << "," << ziel.y();
    vb::ClipCursor(std::nullopt);
    EXPECT_FALSE(vb::GetClipCursor());
    EXPECT_EQ(senden(QPoint(900, 700)), QPoint(900, 700));
}
