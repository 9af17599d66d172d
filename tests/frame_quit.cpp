// Quitting from the main window: the question, the settings file and the work files.
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Information.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/App.h"
#include "platform/system/CommonDialog.h"
#include "platform/system/HelpViewer.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/window/Timer.h"
#include "platform/system/Seams.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QWidget>

using namespace Parameter_und_Start;

namespace {
void touch(const QString& p) {
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x");
}
// The window manager's close (Alt+F4, the task bar) on a window.
bool wmClose(vb::Form& f) {
    QCloseEvent e;
    try {
        QCoreApplication::sendEvent(f.Widget(), &e);
    } catch (const vb::App::Ended&) {
        return true;
    }
    return false;
}
} // namespace

class QuitTest : public ProgramTest {
protected:
    bool quit() {
        try {
            Startbildschirm->Schliessen_Click();
        } catch (const vb::App::Ended&) {
            return true;
        }
        return false;
    }
};

TEST_F(QuitTest, CancelKeepsRunningAndWritesNothing) {
    touch(file("dither.bmp"));
    answerInfo(0);
    EXPECT_FALSE(quit());
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], QStringLiteral("Möchten Sie den Browser beenden ?"));
    EXPECT_TRUE(QFile::exists(file("dither.bmp")));
    EXPECT_FALSE(QFile::exists(file("param.ini")));
}

TEST_F(QuitTest, OkDeletesTheWorkFilesOfTheListOnly) {
    const QStringList listed = {"test.bmp", "dither.bmp", "sw.bmp", "scan.bmp", "send.bmp", "temp_scan.bmp", "Scan_Temp.bmp",
                                "muster.bmp", "freeze.bmp", "undo.bmp", "raster.bmp", "Foto.bmp", "FOTO_S.BMP"};
    for (const QString& n : listed) touch(file(n));
    touch(file("temp.bmp"));
    QDir().mkpath(file("sub"));
    touch(file("sub/dither.bmp"));
    // A work file of that name in the current folder elsewhere is not the program's.
    QTemporaryDir elsewhere;
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(elsewhere.path());
    touch(elsewhere.filePath("dither.bmp"));
    answerInfo(1);
    const bool ended = quit();
    QDir::setCurrent(cwd);
    EXPECT_TRUE(ended);
    for (const QString& n : listed) EXPECT_FALSE(QFile::exists(file(n))) << n.toStdString();
    EXPECT_TRUE(QFile::exists(file("temp.bmp")));
    EXPECT_TRUE(QFile::exists(file("sub/dither.bmp")));
    EXPECT_TRUE(QFile::exists(elsewhere.filePath("dither.bmp")));
    EXPECT_TRUE(QFile::exists(file("param.ini")));
}

TEST_F(QuitTest, DoubleClickCentresTheWindow) {
    Startbildschirm->Move(0, 0);
    Startbildschirm->Form_DblClick();
    EXPECT_DOUBLE_EQ(Startbildschirm->Left(), (1024 * 15 - 12000) / 2.0);
    EXPECT_DOUBLE_EQ(Startbildschirm->Top(), (768 * 15 - 8700) / 2.0);
}

TEST_F(QuitTest, F1OpensTheHelpAtItsContents) {
    QString path, anchor;
    vb::seams().helpViewer = [&](const QString& p, const QString& a) {
        path = p;
        anchor = a;
    };
    int key = vb::vbKeyF1;
    Startbildschirm->Form_KeyDown(key, 0);
    vb::seams().helpViewer = {};
    EXPECT_EQ(key, 0);
    EXPECT_EQ(path, file("vorad.hlp"));
    EXPECT_EQ(anchor, QStringLiteral("inhalt"));
}

// The main window's load makes "vorad.hlp" the program's help file: a help request without a
// file of its own opens it.
TEST_F(QuitTest, TheMainWindowsLoadSetsTheProgramsHelpFile) {
    vb::App::SetHelpFile(QString()); // as before any window
    Startbildschirm->Show();
    EXPECT_EQ(vb::App::HelpFile(), file("vorad.hlp"));
    QString path;
    vb::seams().helpViewer = [&](const QString& p, const QString&) { path = p; };
    vb::CommonDialog().ShowHelp();
    EXPECT_EQ(path, file("vorad.hlp"));
}

TEST_F(QuitTest, MinimiseButton) {
    Startbildschirm->Show();
    Startbildschirm->minimieren->FireClick();
    EXPECT_EQ(Startbildschirm->WindowState(), vb::vbMinimized);
}

TEST_F(QuitTest, TheWindowManagersCloseOnTheMainWindowAsksTheQuitQuestion) {
    Startbildschirm->Show();
    touch(file("dither.bmp"));
    for (int antwort : {0, 1}) {
        SCOPED_TRACE(antwort);
        shownInfos.clear();
        answerInfo(antwort);
        EXPECT_EQ(wmClose(*Startbildschirm), antwort == 1);
        EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(21)});
        EXPECT_EQ(QFile::exists(file("dither.bmp")), antwort == 0);
        if (antwort == 0) { EXPECT_TRUE(Startbildschirm->Visible()); }
    }
}

TEST_F(QuitTest, TheWindowManagersCloseOnAQuestionAnswersNo) {
    touch(file("dither.bmp"));
    answer([](vb::Form& f) { EXPECT_FALSE(wmClose(f)); });
    EXPECT_FALSE(quit());
    EXPECT_TRUE(QFile::exists(file("dither.bmp")));
    EXPECT_FALSE(QFile::exists(file("param.ini")));
    for (int modus : {1, 2, 4}) {
        SCOPED_TRACE(modus);
        Info_Modus = modus;
        Info_Text = LoadResString(434);
        answer([](vb::Form& f) { wmClose(f); });
        Information->Show(vb::vbModal);
        EXPECT_EQ(Info_Modus, 0);
        EXPECT_FALSE(Information->Visible());
    }
}

TEST_F(QuitTest, TheWindowManagersCloseOnTheSettingsAtStartCancelsAndGivesTheMainWindowBack) {
    COM_Port_Nummer = 1;
    Intro->Show(vb::vbModeless);
    Intro->Splash->Fire();
    ASSERT_TRUE(Einstellungen->Visible());
    ASSERT_FALSE(Startbildschirm->Enabled());
    Einstellungen->COM_Port->setCaption(QStringLiteral("3"));
    EXPECT_FALSE(wmClose(*Einstellungen));
    EXPECT_FALSE(Einstellungen->Visible());
    EXPECT_TRUE(Startbildschirm->Enabled());
    EXPECT_EQ(Info_Modus, 0);
    EXPECT_EQ(COM_Port_Nummer, 1); // cancelled, not applied
}
