// Screen capture: the three capture buttons, the frozen desktop, the marked area in "freeze.bmp"
// and in the photo editor; a screen that cannot be read.
#include "support/FileFaults.h"
#include "support/Files.h"
#include "support/Fixture.h"
#include "support/Pictures.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "photo/Bildschirmfreeze.h"
#include "photo/Fotoeditor.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Cursor.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/capture/ScreenGrab.h"
#include "platform/window/Shape.h"
#include "platform/system/Seams.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRandomGenerator>
#include <QScreen>
#include <QWidget>
#include <QWindow>

using namespace Parameter_und_Start;

namespace {

class CaptureTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Startbildschirm->Show();
        Startbildschirm->ComboKategorien[3]->setListIndex(7); // 72 x 14
        writeImage(file("foto.bmp"), RandomPattern(QSize(300, 200), 99));
        Fotoeditor->Show();
        Fotoeditor->In_Fotoeditor_bearbeiten_Einsprung(file("foto.bmp"));
        Fotoeditor->Laden_Click_Sub(file("foto.bmp"));
    }
    // The mouse on the frozen desktop at pixel p: the cursor there and the event in twips.
    static void maus(void (BildschirmfreezeForm::*handler)(int, int, float, float), int button, QPoint p) {
        BildschirmfreezeForm& b = *Bildschirmfreeze;
        vb::seams().cursor = b.Bildschirmfoto->ScreenOrigin() + p;
        (b.*handler)(button, 0, float(p.x() * 15), float(p.y() * 15));
    }
    static void drag(QPoint von, QPoint bis) {
        maus(&BildschirmfreezeForm::Bildschirmfoto_MouseDown, 1, von);
        maus(&BildschirmfreezeForm::Bildschirmfoto_MouseMove, 1, (von + bis) / 2);
        maus(&BildschirmfreezeForm::Bildschirmfoto_MouseMove, 1, bis);
        maus(&BildschirmfreezeForm::Bildschirmfoto_MouseUp, 1, bis);
    }
    void klick(short modus) {
        FotoeditorForm& f = *Fotoeditor;
        (modus == BildAusschnitt ? f.Kasten_Fotoeditor_BildAusschnitt : modus == BildLogoLupe ? f.Kasten_Fotoeditor_BildLogoLupe
                                                                                                : f.Kasten_Fotoeditor_BildKomplett)
            ->FireClick();
    }
    // After a capture: the windows are back and the capture window is gone.
    static void zurueck() {
        EXPECT_FALSE(Bildschirmfreeze.IsLoaded());
        EXPECT_EQ(Fotoeditor->WindowState(), vb::vbNormal);
        EXPECT_EQ(Startbildschirm->WindowState(), vb::vbNormal);
    }
};
} // namespace

TEST_F(CaptureTest, EachModeTakesTheMarkedPixels) {
    const QImage desk = RandomPattern(QSize(1024, 768), 1);
    vb::seams().desktop = desk;
    ASSERT_EQ(Logo_Breite, 72);
    ASSERT_EQ(Logo_Hoehe, 14);
    struct Fall {
        const char* name;
        short modus;
        QPoint von, bis;
        QRect erwartet;
    };
    const Fall faelle[] = {
        // A frame of the logo's size hangs at the cursor by its top-left corner.
        {"logo size", BildLogoLupe, QPoint(100, 50), QPoint(100, 50), QRect(100, 50, 72, 14)},
        // The aspect ratio: 100 pixels wide, 100 x 14 / 72 high.
        {"aspect ratio", BildAusschnitt, QPoint(200, 100), QPoint(300, 180), QRect(200, 100, 100, 19)},
        {"free", BildKomplett, QPoint(40, 60), QPoint(160, 90), QRect(40, 60, 120, 30)},
        // Dragged up and to the left: the same size below and to the right of the press point.
        {"free, dragged up-left", BildKomplett, QPoint(500, 400), QPoint(400, 350), QRect(500, 400, 100, 50)},
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.name);
        const std::array<long, 3> vorher = {Fotoeditor->Umrechnungen[0].Handle(), Fotoeditor->Umrechnungen[1].Handle(),
                                            Fotoeditor->Umrechnungen[2].Handle()};
        klick(c.modus);
        EXPECT_EQ(CaptureMode, c.modus);
        ASSERT_TRUE(Bildschirmfreeze.IsLoaded());
        BildschirmfreezeForm& b = *Bildschirmfreeze;
        EXPECT_TRUE(b.Visible());
        EXPECT_EQ(Fotoeditor->WindowState(), vb::vbMinimized);
        EXPECT_EQ(Startbildschirm->WindowState(), vb::vbMinimized);
        EXPECT_TRUE(b.Bildschirmfoto->hDC().copy(0, 0, 1024, 768) == desk); // the frozen desktop
        EXPECT_EQ(b.Bildschirmshape->Visible(), c.modus == BildLogoLupe);
        if (c.modus == BildLogoLupe) {
            maus(&BildschirmfreezeForm::Bildschirmfoto_MouseMove, 0, c.bis);
            maus(&BildschirmfreezeForm::Bildschirmfoto_MouseUp, 1, c.bis);
        } else {
            drag(c.von, c.bis);
        }
        const QImage freeze = LoadRgb32(file("freeze.bmp"));
        EXPECT_TRUE(freeze == desk.copy(c.erwartet)) << freeze.width() << "x" << freeze.height();
        EXPECT_EQ(Bilddatei_Pfad, file("freeze.bmp"));
        EXPECT_TRUE(Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Image().convertToFormat(QImage::Format_RGB32) == freeze);
        EXPECT_NE(Fotoeditor->Umrechnungen[0].Handle(), vorher[0]); // the previews are recomputed
        zurueck();
        QFile::remove(file("freeze.bmp"));
    }
}

TEST_F(CaptureTest, AFrameBeyondTheEdgeTakesOnlyWhatTheDesktopHolds) {
    const QImage desk = RandomPattern(QSize(1024, 768), 2);
    vb::seams().desktop = desk;
    klick(BildLogoLupe);
    maus(&BildschirmfreezeForm::Bildschirmfoto_MouseMove, 0, QPoint(1000, 760));
    maus(&BildschirmfreezeForm::Bildschirmfoto_MouseUp, 1, QPoint(1000, 760));
    QImage erwartet(72, 14, QImage::Format_RGB32);
    erwartet.fill(Qt::white); // the capture buffer's back colour
    QPainter(&erwartet).drawImage(0, 0, desk.copy(1000, 760, 24, 8));
    EXPECT_TRUE(LoadRgb32(file("freeze.bmp")) == erwartet);
}

TEST_F(CaptureTest, AReleaseWithoutDragCapturesNothing) {
    vb::seams().desktop = RandomPattern(QSize(1024, 768), 3);
    const long foto = Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle();
    for (short modus : {BildAusschnitt, BildKomplett}) {
        klick(modus);
        maus(&BildschirmfreezeForm::Bildschirmfoto_MouseDown, 1, QPoint(300, 300));
        maus(&BildschirmfreezeForm::Bildschirmfoto_MouseUp, 1, QPoint(300, 300));
        EXPECT_FALSE(QFile::exists(file("freeze.bmp")));
        EXPECT_EQ(Bilddatei_Pfad, file("foto.bmp"));
        EXPECT_EQ(Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle(), foto);
        zurueck();
    }
}

TEST_F(CaptureTest, AnUnreadableScreenSaysSoAndChangesNothing) {
    vb::seams().desktop = QImage();
    const long foto = Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle();
    klick(BildKomplett);
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(857) + QStringLiteral("Der Bildschirminhalt kann nicht gelesen werden."));
    EXPECT_FALSE(QFile::exists(file("freeze.bmp")));
    EXPECT_EQ(Bilddatei_Pfad, file("foto.bmp"));
    EXPECT_EQ(Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle(), foto);
    zurueck();
}

TEST_F(CaptureTest, ACaptureWhoseWorkFileCannotBeWrittenSaysSoAndKeepsThePhoto) {
    vb::seams().desktop = RandomPattern(QSize(1024, 768), 4);
    WriteFile(file("freeze.bmp"), "eine fruehere Aufnahme");
    const long foto = Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle();
    klick(BildKomplett);
    {
        FullDisk voll(100);
        drag(QPoint(100, 100), QPoint(300, 250));
    }
    EXPECT_EQ(shownInfos, std::vector<QString>{workFileNotWritten(QStringLiteral("freeze.bmp"), true)});
    EXPECT_EQ(ReadFile(file("freeze.bmp")), QByteArray("eine fruehere Aufnahme"));
    EXPECT_EQ(Bilddatei_Pfad, file("foto.bmp"));
    EXPECT_EQ(Fotoeditor->Fotos_Bearbeiten_Bildimage->Picture().Handle(), foto);
    zurueck();
}

// The real screen under an X server: a known picture shown over the whole screen.
TEST_F(CaptureTest, OnScreenCaptureOfAShownPicture) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
    QScreen* s = QGuiApplication::primaryScreen();
    useScreen(s->geometry().width(), s->geometry().height(), 96);
    const QImage desk = RandomPattern(s->geometry().size(), 4);
    struct Fenster : QWidget {
        QImage pic;
        Fenster() : QWidget(nullptr, Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint) {}
        void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, pic); }
    } w;
    w.pic = desk;
    w.setGeometry(s->geometry());
    w.show();
    QElapsedTimer t;
    t.start();
    while (!(w.windowHandle() && w.windowHandle()->isExposed()) && t.elapsed() < 5000) vb::App::DoEvents();
    vb::App::DoEvents();
    klick(BildKomplett);
    ASSERT_TRUE(Bildschirmfreeze.IsLoaded());
    drag(QPoint(30, 20), QPoint(130, 70));
    EXPECT_TRUE(LoadRgb32(file("freeze.bmp")) == desk.copy(30, 20, 100, 50));
}
