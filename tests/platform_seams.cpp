// The runtime's seams: one reset covers them all, and a scoped change undoes itself.
#include "support/Fixture.h"

#include "platform/phone/PhoneLink.h"
#include "platform/system/Registry.h"
#include "platform/system/Rnd.h"
#include "platform/window/Screen.h"
#include "platform/system/Seams.h"
#include "platform/system/SingleInstance.h"

#include <QDir>

TEST(Seams, ScopedChangeIsUndoneAtTheEndOfItsScope) {
    vb::ScreenMetrics wide;
    wide.widthPx = 1600;
    wide.dpi = 120;
    const auto before = vb::seams().screen;
    {
        vb::Scoped screen(&vb::Seams::screen, wide);
        vb::Scoped folder(&vb::Seams::programFolder, QStringLiteral("/nirgends"));
        EXPECT_EQ(vb::Screen::Metrics().widthPx, 1600);
        EXPECT_EQ(vb::Screen::TwipsPerPixelX(), 12);
        EXPECT_EQ(vb::App::Path(), QStringLiteral("/nirgends"));
    }
    EXPECT_EQ(vb::seams().screen.has_value(), before.has_value());
    EXPECT_TRUE(vb::seams().programFolder.isEmpty());
}

TEST(Seams, ResetGivesUpTheSingleInstanceClaimAndEveryOverride) {
    const QString key = QStringLiteral("vorad-seams-test");
    EXPECT_FALSE(vb::SingleInstance::AnotherIsRunning(key, {}));
    EXPECT_TRUE(vb::SingleInstance::AnotherIsRunning(key, {}));
    vb::seams().programFolder = QStringLiteral("/x");
    vb::seams().cursor = QPoint(3, 4);
    vb::seams().endHandler = [](int) {};
    vb::ResetSeams();
    const double first = vb::Rnd();
    vb::Rnd();
    vb::ResetSeams();
    EXPECT_EQ(vb::Rnd(), first); // the random numbers start afresh, as in a new program
    vb::ResetSeams();
    EXPECT_FALSE(vb::SingleInstance::AnotherIsRunning(key, {}));
    vb::SingleInstance::Release();
    const vb::Seams fresh;
    EXPECT_EQ(vb::seams().programFolder, fresh.programFolder);
    EXPECT_FALSE(vb::seams().cursor.has_value());
    EXPECT_FALSE(bool(vb::seams().endHandler));
}

class FixtureSeamsTest : public ProgramTest {};

TEST_F(FixtureSeamsTest, StoreFoldersAndDevicesStayInTheTestsFolder) {
    EXPECT_TRUE(vb::Registry::StoreFile().startsWith(dir())) << vb::Registry::StoreFile().toStdString();
    EXPECT_EQ(vb::App::Path() + QLatin1Char('/'), dir());
    EXPECT_TRUE(vb::seams().systemFolder.startsWith(dir()));
    for (int n = 1; n <= 4; ++n) EXPECT_TRUE(vb::COMPortDevice(n).startsWith(dir()));
}
