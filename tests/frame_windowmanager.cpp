// The program under a real window manager: an X server (Xvfb) with openbox, driven with xdotool
// as a user drives it. The outer test starts the server and runs the inner tests inside it.
#include "support/Fixture.h"
#include "support/WindowManager.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/App.h"
#include "platform/window/Form.h"
#include "platform/window/Label.h"
#include "platform/window/TextBox.h"
#include "platform/system/Seams.h"

#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>

using namespace Parameter_und_Start;

namespace {
using openbox::Wait;

// Alt+F4 on the window, after the window manager has made it the active one.
bool altF4(vb::Form& f) {
    return openbox::Xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(f.Widget()->winId()),
                             QStringLiteral("key"), QStringLiteral("--clearmodifiers"), QStringLiteral("alt+F4")});
}

void touch(const QString& p) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}

class UnterOpenbox : public ProgramTest {
protected:
    void SetUp() override {
        if (!openbox::Inside()) GTEST_SKIP() << "runs inside the X server of Fenstermanager.UnterXvfbMitOpenbox";
        ProgramTest::SetUp();
    }
    void zeigen(vb::Form& f) {
        f.Show();
        ASSERT_TRUE(Wait([&] { return f.Widget()->isVisible() && f.Widget()->windowHandle() && f.Widget()->windowHandle()->isExposed(); }));
    }
    bool quitOhneEnde(const std::function<void()>& tun) {
        try {
            tun();
        } catch (const vb::App::Ended&) {
            return false;
        }
        return true;
    }
};
} // namespace

TEST_F(UnterOpenbox, AltF4OnTheQuitQuestionKeepsTheProgramAndItsWorkFiles) {
    zeigen(*Startbildschirm);
    touch(file("send.bmp"));
    bool geschlossen = false;
    vb::seams().modal = [&](vb::Form& f) {
        shownInfos.push_back(Information->Infotext->Text());
        QTimer::singleShot(200, [&] { geschlossen = altF4(f); });
        // Never hang: a window still open after a while is cancelled.
        QTimer::singleShot(15000, [&f] {
            if (f.Visible()) f.Hide();
        });
    };
    Info_Modus = 1;
    EXPECT_TRUE(quitOhneEnde([] { Startbildschirm->Schliessen_Click(); }));
    EXPECT_TRUE(geschlossen);
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(21)});
    EXPECT_FALSE(ended());
    EXPECT_TRUE(QFile::exists(file("send.bmp")));
    EXPECT_FALSE(QFile::exists(file("param.ini")));
    EXPECT_TRUE(Startbildschirm->Visible());
}

TEST_F(UnterOpenbox, AltF4OnTheMainWindowAsksTheQuitQuestion) {
    zeigen(*Startbildschirm);
    touch(file("send.bmp"));
    vb::seams().modal = [&](vb::Form& f) {
        shownInfos.push_back(Information->Infotext->Text());
        if (f.Name() == QLatin1String("Information")) Information->Abbrechen_Click();
    };
    bool ok = false;
    EXPECT_TRUE(quitOhneEnde([&] {
        ok = altF4(*Startbildschirm);
        Wait([&] { return !shownInfos.empty(); });
    }));
    EXPECT_TRUE(ok);
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(21)});
    EXPECT_FALSE(ended());
    EXPECT_TRUE(Wait([] { return Startbildschirm->Widget()->isVisible(); }, 1000));
    EXPECT_TRUE(QFile::exists(file("send.bmp")));
}

// Dragging the title bar with the left button moves the window while the button is held, and no
// further; with the right button it stays where it is.
TEST_F(UnterOpenbox, DraggingTheTitleMovesOncePerPress) {
    zeigen(*Startbildschirm);
    QWidget* w = Startbildschirm->Widget();
    auto zu = [](QPoint p) { return QStringList{QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y())}; };
    struct Fall {
        const char* knopf;
        bool bewegt;
    };
    for (const Fall& c : {Fall{"3", false}, Fall{"1", true}, Fall{"3", false}}) {
        SCOPED_TRACE(c.knopf);
        const QPoint titel = Startbildschirm->Titelzeile->ScreenOrigin() + QPoint(300, 10);
        const QPoint vorher = w->geometry().topLeft();
        ASSERT_TRUE(openbox::Xdotool(zu(titel)));
        ASSERT_TRUE(openbox::Xdotool({QStringLiteral("mousedown"), QLatin1String(c.knopf)}));
        for (int i = 1; i <= 4; ++i) ASSERT_TRUE(openbox::Xdotool(zu(titel + QPoint(10 * i, 8 * i))));
        ASSERT_TRUE(openbox::Xdotool({QStringLiteral("mouseup"), QLatin1String(c.knopf)}));
        Wait([] { return false; }, 300);
        const QPoint gezogen = w->geometry().topLeft();
        // After the release the pointer moves on without the button.
        for (int i = 1; i <= 4; ++i) ASSERT_TRUE(openbox::Xdotool(zu(titel + QPoint(40 + 25 * i, 32 + 20 * i))));
        Wait([] { return false; }, 300);
        const QPoint danach = w->geometry().topLeft();
        // The system move starts at the first move after the press, so it may miss that one.
        const QPoint weg = gezogen - vorher;
        if (c.bewegt) EXPECT_TRUE(weg.x() >= 30 && weg.x() <= 40 && weg.y() >= 24 && weg.y() <= 32) << weg.x() << "," << weg.y();
        else EXPECT_EQ(gezogen, vorher) << "a right-button drag moved the window";
        EXPECT_EQ(danach, gezogen) << "the window followed the pointer after the release";
    }
}

// Starts Xvfb with openbox and runs the tests above, and the gallery transfer of every logo
// type, inside it.
TEST(Fenstermanager, UnterXvfbMitOpenbox) {
    openbox::Run({QStringLiteral("test_frame:UnterOpenbox.*"), QStringLiteral("test_logo:TransferTest.AGalleryLogoOfEveryType*")}, 4, 1280, 1024);
}
