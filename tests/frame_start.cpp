// Start-up: display checks, program folder, first-start message; window scaling and helpers.
#include "support/Fixture.h"

#include "frame/Fenster.h"
#include "frame/Information.h"
#include "platform/window/Form.h"
#include "platform/window/Timer.h"
#include "platform/system/SingleInstance.h"
#include "frame/Einstellungen.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/system/MsgBox.h"
#include "platform/window/PictureBox.h"
#include "platform/capture/Scanner.h"
#include "platform/window/Screen.h"
#include "platform/window/TextBox.h"
#include "platform/system/VBError.h"
#include "platform/system/Seams.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStandardPaths>
#include <QWidget>
#include <QTemporaryDir>
#include <functional>
#include <QElapsedTimer>
#include <QFile>

using namespace Parameter_und_Start;

namespace {
struct MsgLog {
    std::vector<std::pair<QString, int>> shown;
    MsgLog() {
        vb::seams().msgBox = [this](const QString& p, int style, const QString&) {
            shown.emplace_back(p, style);
            return int(vb::vbOK);
        };
    }
    ~MsgLog() {
        vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
    }
};

class StartTest : public ProgramTest {
protected:
    bool runMain() {
        try {
            Main();
        } catch (const vb::App::Ended&) {
            return false;
        }
        return true;
    }
};
} // namespace

TEST_F(StartTest, DisplayChecks) {
    struct Case {
        int width, dpi, bits;
        std::vector<int> messages;
        bool runs;
    };
    const Case cases[] = {
        {799, 96, 32, {121}, false},
        {800, 96, 32, {}, true},
        {1024, 120, 32, {}, true},
        {1024, 144, 32, {120}, true},
        {1024, 96, 8, {122}, true},
        {1024, 96, 16, {}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width * 1000 + c.dpi);
        TearDown();
        SetUp();
        useScreen(c.width, 768, c.dpi, c.bits);
        QFile(file("param.ini")).open(QIODevice::WriteOnly); // no first-start message here
        MsgLog log;
        EXPECT_EQ(runMain(), c.runs);
        ASSERT_EQ(log.shown.size(), c.messages.size());
        for (size_t i = 0; i < c.messages.size(); ++i) {
            EXPECT_EQ(log.shown[i].first, LoadResString(c.messages[i]));
            EXPECT_EQ(log.shown[i].second, c.messages[i] == 121 ? vb::vbCritical : vb::vbInformation);
        }
    }
}

TEST_F(StartTest, SharedStateAfterMain) {
    QFile(file("param.ini")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(runMain());
    EXPECT_EQ(Programmverzeichnis, dir());
    EXPECT_EQ(COM_Port_Nummer, 1);
    EXPECT_EQ(Netzbetreiber_Code, QStringLiteral("01"));
    EXPECT_EQ(Schrift_Name, QStringLiteral("Arial"));
    EXPECT_EQ(Schrift_Groesse, QStringLiteral("9"));
    EXPECT_EQ(Hover_Objekt, Startbildschirm->Schliessen);
    EXPECT_EQ(Startbildschirm->Width(), 12000);
    EXPECT_EQ(Startbildschirm->Height(), 8700);
    EXPECT_EQ(Logo_Zeichenflaeche, Startbildschirm->Gruen_Transferlogo_LogoBrowser[1]);
    // The editor layer sits in the window's bottom right corner.
    EXPECT_EQ(Startbildschirm->Layer_Kalvoren->Left() + Startbildschirm->Layer_Kalvoren->Width(), Startbildschirm->Width());
    EXPECT_EQ(Startbildschirm->Layer_Kalvoren->Top() + Startbildschirm->Layer_Kalvoren->Height(), Startbildschirm->Height());
}

TEST_F(StartTest, ProgramFolderGetsOneSeparator) {
    vb::seams().programFolder = dir(); // already ends in "/"
    QFile(file("param.ini")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(runMain());
    EXPECT_EQ(Programmverzeichnis, dir());
}

TEST_F(StartTest, FirstStartMessageOnlyWithoutSettingsAndScanner) {
    struct Case {
        bool settings, scanner, message;
    };
    for (const Case c : {Case{false, false, true}, Case{true, false, false}, Case{false, true, false}}) {
        TearDown();
        SetUp();
        if (c.settings) QFile(file("param.ini")).open(QIODevice::WriteOnly);
        // A scanner is there when SANE lists one: here its test device.
        if (c.scanner) vb::Scanner::UseConfiguration({{QStringLiteral("dll.conf"), "test\n"}});
        ASSERT_TRUE(runMain());
        EXPECT_EQ(Scanner_vorhanden, c.scanner);
        const bool shown = !shownInfos.empty() && shownInfos.front() == LoadResString(853);
        EXPECT_EQ(shown, c.message);
    }
}

TEST_F(StartTest, ScannerProbeIsQuickAndLooksOnlyAtThisComputer) {
    // A configuration with SANE's backends but no scanner behind them, and one naming only a
    // network scanner that never answers: no scanner, message 853, and the start goes on quickly.
    const QMap<QString, QByteArray> configs[] = {
        {{QStringLiteral("dll.conf"), "abaton\nhp3500\n"}},
        {{QStringLiteral("dll.conf"), "net\n"}, {QStringLiteral("net.conf"), "connect_timeout = 30\n10.255.255.1\n"}},
    };
    for (const auto& config : configs) {
        TearDown();
        SetUp();
        vb::Scanner::UseConfiguration(config);
        QElapsedTimer t;
        t.start();
        ASSERT_TRUE(runMain());
        EXPECT_LT(t.elapsed(), 5000);
        EXPECT_FALSE(Scanner_vorhanden);
        EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(853)});
    }
}

TEST_F(StartTest, MissingStringRaises) {
    try {
        LoadResString(99999);
        FAIL();
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.Number(), 326);
    }
    EXPECT_EQ(LoadResString(301).right(1), QStringLiteral(" "));
}

TEST_F(StartTest, ScalingAt96DoesNothing) {
    Startbildschirm->Load();
    const double w = Startbildschirm->Zoom->Width();
    Fenster::Formular_laden(*Startbildschirm);
    EXPECT_EQ(Startbildschirm->PaletteMode(), 0);
    EXPECT_EQ(Startbildschirm->Zoom->Width(), w);
    EXPECT_EQ(Startbildschirm->Width(), 12000);
}

TEST_F(StartTest, ScalingAt120) {
    useScreen(1024, 768, 120);
    // A dialog keeps its size in pixels; other windows grow in twips; treated controls shrink.
    Fenster::Formular_laden(*Information);
    EXPECT_DOUBLE_EQ(Information->Width(), 6750.0 / 15 * 12);
    EXPECT_DOUBLE_EQ(Information->OK->Width(), 1800.0 / 15 * 12);
    EXPECT_EQ(Information->Infotext->FontSize(), 8);
    Fenster::Formular_laden(*Startbildschirm);
    EXPECT_DOUBLE_EQ(Startbildschirm->Width(), 12000.0 / 12 * 15);
    EXPECT_DOUBLE_EQ(Startbildschirm->Zoom->Width(), 2175.0 / 15 * 12);
    // Once only.
    Fenster::Formular_laden(*Startbildschirm);
    EXPECT_DOUBLE_EQ(Startbildschirm->Zoom->Width(), 2175.0 / 15 * 12);
    // An image control without stretching is left alone.
    EXPECT_DOUBLE_EQ(Startbildschirm->Testbild->Width(), 1080);
}

TEST_F(StartTest, FitPictureIntoBox) {
    struct Case {
        int w, h;
        double ew, eh;
    };
    const Case cases[] = {{50, 40, 50, 40}, {200, 50, 100, 25}, {50, 300, 100.0 * 50 / 300, 100}};
    vb::Image* b = Startbildschirm->Testbild;
    for (const Case& c : cases) {
        b->setStretch(false);
        QImage img(c.w, c.h, QImage::Format_RGB32);
        img.fill(Qt::white);
        b->setPicture(vb::Picture(img));
        Fenster::Bild_einpassen(*b, 100 * 15, 100 * 15);
        EXPECT_NEAR(b->Width() / 15, c.ew, 0.01);
        EXPECT_NEAR(b->Height() / 15, c.eh, 0.01);
        EXPECT_TRUE(b->Stretch());
        EXPECT_TRUE(b->Visible());
    }
}

TEST_F(StartTest, CentreWithOffsets) {
    vb::Control& c = *Startbildschirm->Gruen_Transferlogo_LogoBrowser[1];
    vb::Control& r = *Startbildschirm->Gruen_Transferlogo_LogoBrowser_Rahmen;
    Fenster::Steuerelement_zentrieren(c, r, 5, 2);
    EXPECT_DOUBLE_EQ(c.Top(), r.Top() + r.Height() / 2 - c.Height() / 2 - 75);
    EXPECT_DOUBLE_EQ(c.Left(), r.Left() + r.Width() / 2 - c.Width() / 2 - 30);
    EXPECT_TRUE(c.Visible());
}

TEST_F(StartTest, SecondStartEndsWithoutAWindow) {
    QFile(file("param.ini")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(runMain());
    Startbildschirm->Show();
    Startbildschirm->setWindowState(vb::vbMinimized);
    const auto formsBefore = vb::AllForms().size();
    // The same program started again: it finds the first and ends at once.
    EXPECT_FALSE(runMain());
    EXPECT_EQ(vb::AllForms().size(), formsBefore);
    for (int i = 0; i < 50 && Startbildschirm->WindowState() == vb::vbMinimized; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(Startbildschirm->WindowState(), vb::vbNormal);
}

// A second start brings the running program's top window forward, whatever state it is in.
TEST_F(StartTest, SecondStartBringsTheTopWindowForward) {
    struct Case {
        const char* wann;
        std::function<void()> zustand;
        std::function<vb::Form&()> oben;
        bool hauptfensterSichtbar;
    };
    const Case cases[] = {
        {"during the splash", [] {}, []() -> vb::Form& { return *Intro; }, false},
        {"settings dialog at start-up, main window minimised",
         [] {
             Intro->Splash->Fire();
             Startbildschirm->setWindowState(vb::vbMinimized);
         },
         []() -> vb::Form& { return *Einstellungen; }, true},
        {"main window hidden",
         [] {
             Intro->Splash->Fire();
             Einstellungen->Hide();
             Startbildschirm->Hide();
         },
         []() -> vb::Form& { return *Startbildschirm; }, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.wann);
        vb::SingleInstance::Release();
        vb::DestroyAllInstances();
        QFile(file("param.ini")).open(QIODevice::WriteOnly);
        ASSERT_TRUE(runMain());
        c.zustand();
        // Another program's window has the focus.
        QWidget andere;
        andere.show();
        andere.activateWindow();
        for (int i = 0; i < 50 && QApplication::activeWindow() != &andere; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        ASSERT_EQ(QApplication::activeWindow(), &andere);
        EXPECT_FALSE(runMain());
        vb::Form& oben = c.oben();
        for (int i = 0; i < 50 && QApplication::activeWindow() != oben.Widget(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        EXPECT_EQ(QApplication::activeWindow(), oben.Widget());
        EXPECT_TRUE(oben.Visible());
        EXPECT_EQ(Startbildschirm->Visible(), c.hauptfensterSichtbar);
        EXPECT_EQ(Startbildschirm->WindowState(), vb::vbNormal);
    }
}

// The instance's name is kept in the user's runtime folder, one per program folder, the same for
// every spelling of that folder.
TEST_F(StartTest, OneInstanceNamePerProgramFolder) {
    QTemporaryDir anderer;
    QFile::link(QDir(dir()).absolutePath(), anderer.filePath(QStringLiteral("verweis")));
    EXPECT_EQ(Instanzname(dir()), Instanzname(anderer.filePath(QStringLiteral("verweis"))));
    EXPECT_EQ(Instanzname(dir()), Instanzname(dir() + QStringLiteral("./")));
    EXPECT_NE(Instanzname(dir()), Instanzname(anderer.path()));
    QFile(file("param.ini")).open(QIODevice::WriteOnly);
    ASSERT_TRUE(runMain());
    const QDir runtime(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation));
    EXPECT_FALSE(runtime.entryList({Instanzname(dir()) + QStringLiteral("*.lock")}, QDir::Files).isEmpty());
}
