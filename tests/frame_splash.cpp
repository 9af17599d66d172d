// The splash window: the start-up it finishes, its placement, the web links, and its later
// roles as the about box and the outro before quitting.
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Fenster.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "frame/Variablen_Sichern_laden.h"
#include "platform/window/ComboBox.h"
#include "platform/system/HelpViewer.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Shell.h"
#include "platform/window/Timer.h"
#include "platform/system/Seams.h"

#include <QFile>
#include <QPainter>
#include <QWidget>
#include <algorithm>

using namespace Parameter_und_Start;

namespace {
void save(const QImage& img, const char* name) {
    const QByteArray dir = qgetenv("VORAD_SCREENSHOTS");
    if (!dir.isEmpty()) img.save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}
QImage grab(vb::Form& f) { return f.Widget()->grab().toImage(); }
// Windows as they lie on the screen, the first one at the bottom.
QImage ueberlagert(std::initializer_list<vb::Form*> forms) {
    QImage screen(1024, 768, QImage::Format_RGB32);
    screen.fill(QColor(0x50, 0x58, 0x60));
    QPainter p(&screen);
    for (vb::Form* f : forms) p.drawImage(QPointF(f->Left() / 15, f->Top() / 15), grab(*f));
    return screen;
}
bool ueber(vb::Form& oben, vb::Form& unten) {
    const auto all = vb::AllForms();
    const auto a = std::find(all.begin(), all.end(), &oben), b = std::find(all.begin(), all.end(), &unten);
    return a != all.end() && b != all.end() && a < b;
}
} // namespace

class SplashTest : public ProgramTest {
protected:
    // As Main leaves it: the main window loaded but hidden, the splash shown.
    void SetUp() override {
        ProgramTest::SetUp();
        COM_Port_Nummer = 1;
        Fenster::Formular_laden(*Startbildschirm);
        Fenster::Formular_laden(*Intro);
        Intro->Show(vb::vbModeless);
    }
    void expectStartupDone() {
        EXPECT_FALSE(Intro->Visible());
        EXPECT_TRUE(Intro->Outro->Visible());
        EXPECT_FALSE(Intro->Splash_Startlauf);
        EXPECT_FALSE(Intro->Splash->TimerEnabled());
        EXPECT_TRUE(Startbildschirm->Visible());
        EXPECT_FALSE(Startbildschirm->Enabled());
        ASSERT_TRUE(Einstellungen.IsLoaded());
        EXPECT_TRUE(Einstellungen->Visible());
        EXPECT_TRUE(Einstellungen->Enabled());
        EXPECT_TRUE(ueber(*Einstellungen, *Startbildschirm));
    }
};

TEST_F(SplashTest, TheTimerFinishesTheStartUp) {
    EXPECT_EQ(Intro->Splash->Interval(), 4000);
    EXPECT_TRUE(Intro->Splash->TimerEnabled());
    EXPECT_TRUE(Intro->Splash_Startlauf);
    EXPECT_FALSE(Intro->Outro->Visible());
    EXPECT_FALSE(Startbildschirm->Visible());
    EXPECT_FALSE(Einstellungen.IsLoaded());
    EXPECT_FALSE(Intro->Picture().IsEmpty());
    save(grab(*Intro), "splash");

    Intro->Splash->Fire();
    expectStartupDone();
    EinstellungenForm& e = *Einstellungen;
    struct Case {
        vb::ComboBox* liste;
        int anzahl, erste;
    };
    for (const Case& c : {Case{e.Vorad_Master_ComboKategorien, 2, 500}, Case{e.Vorad_Master_VoradTyp_ComboKategorien, 7, 510},
                          Case{e.Vorad_Master_ComboKategorien_Netzbetreiber, 4, 208}, Case{e.Berechnungsart_Combobox, 3, 550}}) {
        EXPECT_EQ(c.liste->ListCount(), c.anzahl);
        EXPECT_EQ(c.liste->ListIndex(), 0);
        EXPECT_EQ(c.liste->List(0), LoadResString(c.erste));
        EXPECT_FALSE(c.liste->Visible());
    }
    EXPECT_EQ(Netzbetreiber_Code, QStringLiteral("26201"));
    EXPECT_EQ(Startbildschirm->Vorad_Master_ComboKategorien_Label->Caption(), QStringLiteral("Nokia"));
    save(ueberlagert({Startbildschirm.Peek(), Einstellungen.Peek()}), "settings-over-main");
}

TEST_F(SplashTest, AClickOrAKeyStartsAtOnce) {
    for (const bool klick : {true, false}) {
        SCOPED_TRACE(klick ? "click" : "key");
        TearDown();
        SetUp();
        if (klick) {
            Intro->Form_Click();
        } else {
            int key = 'a';
            Intro->Form_KeyPress(key);
        }
        expectStartupDone();
        EXPECT_EQ(Intro->Splash->Interval(), klick ? 0 : 4000);
    }
}

TEST_F(SplashTest, PlacedTopmostAboveTheMiddle) {
    struct Case {
        int dpi, x, y;
    };
    for (const Case c : {Case{96, 282, 214}, Case{120, 217, 139}}) {
        SCOPED_TRACE(c.dpi);
        TearDown();
        ProgramTest::SetUp();
        useScreen(1024, 768, c.dpi);
        Fenster::Formular_laden(*Intro);
        Intro->Show();
        const int tpp = vb::Screen::TwipsPerPixelX();
        EXPECT_EQ(Intro->Left(), c.x * tpp);
        EXPECT_EQ(Intro->Top(), c.y * tpp);
        EXPECT_EQ(Intro->Widget()->width(), 460);
        EXPECT_TRUE(Intro->Widget()->windowFlags() & Qt::WindowStaysOnTopHint);
    }
}

TEST_F(SplashTest, AboutBoxHidesAndShowsTheOutroWithoutPreparingTheDialogAgain) {
    Intro->Splash->Fire();
    Einstellungen->Vorad_Master_ComboKategorien->Choose(1);
    Einstellungen->OK_Click();
    Startbildschirm->Logo_Click();
    EXPECT_TRUE(Intro->Visible());
    EXPECT_EQ(Intro->Splash->Interval(), 2500);
    EXPECT_TRUE(Intro->Splash->TimerEnabled());
    EXPECT_TRUE(Intro->Outro->Visible());
    EXPECT_FALSE(Intro->Outro->Picture().IsEmpty());
    save(grab(*Intro), "about");
    Intro->Splash->Fire();
    EXPECT_FALSE(Intro->Visible());
    EXPECT_TRUE(Intro->Outro->Visible());
    EXPECT_TRUE(Intro->Splash->TimerEnabled());
    EXPECT_FALSE(Einstellungen->Visible());
    EXPECT_TRUE(Startbildschirm->Enabled());
    EXPECT_EQ(Einstellungen->Vorad_Master_ComboKategorien->ListIndex(), 1);
}

TEST_F(SplashTest, OutroThenTheQuitQuestion) {
    for (const int antwort : {0, 1}) {
        SCOPED_TRACE(antwort);
        TearDown();
        SetUp();
        Intro->Splash->Fire();
        int intervall = -1;
        answer([&](vb::Form& f) {
            EXPECT_EQ(f.Name(), QStringLiteral("Intro"));
            intervall = Intro->Splash->Interval();
            Intro->Splash->Fire();
        });
        answerInfo(antwort);
        bool beendet = false;
        try {
            Startbildschirm->Beenden2_Click();
        } catch (const vb::App::Ended&) {
            beendet = true;
        }
        EXPECT_EQ(intervall, 4000);
        ASSERT_EQ(shownInfos.size(), 1u);
        EXPECT_EQ(shownInfos[0], LoadResString(21));
        EXPECT_EQ(beendet, antwort == 1);
        EXPECT_EQ(QFile::exists(file("param.ini")), antwort == 1);
    }
}

TEST_F(SplashTest, OutroClickUnloadsAndALaterAboutBoxOnlyShows) {
    Intro->Splash->Fire();
    Einstellungen->OK_Click();
    Intro->Outro->FireClick();
    EXPECT_FALSE(Intro.IsLoaded());
    EXPECT_FALSE(Intro.Peek()->Splash->TimerEnabled());
    // The session's settings, changed after the start, stay as they are.
    COM_Port_Nummer = 3;
    Netzbetreiber_Code = QStringLiteral("26203");
    Variablen_Sichern_laden::Variablen_sichern(Einstellungen->Gesicherte_Felder()); // a settings file that would revert them
    COM_Port_Nummer = 3;
    Netzbetreiber_Code = QStringLiteral("26203");
    const int eintraege = Einstellungen->Vorad_Master_ComboKategorien->ListCount();
    for (int mal = 0; mal < 2; ++mal) {
        SCOPED_TRACE(mal);
        Startbildschirm->Logo_Click();
        EXPECT_FALSE(Intro->Splash_Startlauf);
        Intro->Splash->Fire();
        EXPECT_FALSE(Intro->Visible());
        EXPECT_TRUE(Startbildschirm->Enabled());
        EXPECT_FALSE(Einstellungen->Visible());
        EXPECT_EQ(COM_Port_Nummer, 3);
        EXPECT_EQ(Netzbetreiber_Code, QStringLiteral("26203"));
        EXPECT_EQ(Einstellungen->Vorad_Master_ComboKategorien->ListCount(), eintraege);
        Intro->Outro->FireClick();
    }
    EXPECT_TRUE(QFile::exists(file("param.ini"))); // not read again
}

TEST_F(SplashTest, WebLinksAndHelp) {
    std::vector<std::pair<QString, QString>> calls;
    vb::seams().shell = [&](const QString& what, const QString& arg) {
        calls.emplace_back(what, arg);
        return true;
    };
    Intro->Image1->FireClick();
    Intro->Image2->FireClick();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0], std::make_pair(QStringLiteral("execute:open"), QString::fromLatin1(kProduktseite)));
    EXPECT_EQ(calls[1], std::make_pair(QStringLiteral("execute:open"), QString::fromLatin1(kHomepage)));
    EXPECT_NE(calls[0].second, calls[1].second);
    for (const auto& c : calls) EXPECT_TRUE(c.second.startsWith(QStringLiteral("https://vorad-logo-kalvoren.example/")));
    EXPECT_TRUE(Intro->Visible());

    QString path;
    vb::seams().helpViewer = [&](const QString& p, const QString&) { path = p; };
    int key = vb::vbKeyF1;
    Intro->Form_KeyDown(key, 0);
    vb::seams().helpViewer = {};
    EXPECT_EQ(key, 0);
    EXPECT_EQ(path, file("vorad.hlp"));
}
