// The cut-out frame: scissors modes, rubber band, the movable frame with its pull-back rules and
// confined cursor, and the cut by double-click into "freeze.bmp" with "undo.bmp" kept.
#include "support/Fixture.h"
#include "support/Pictures.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "imaging/cDIBSection.h"
#include "imaging/mfrmMain.h"
#include "photo/Fotoeditor.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Cursor.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/capture/ScreenGrab.h"
#include "platform/window/Shape.h"
#include "platform/system/Seams.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QFile>
#include <QGuiApplication>
#include <QRandomGenerator>
#include <QWidget>
#include <QWindow>

using namespace Parameter_und_Start;

namespace {
QRect pixel(const vb::Control& c) { return QRect(c.ScreenOrigin(), QSize(int(c.Width() / 15), int(c.Height() / 15))); }

class CutTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        Startbildschirm->Show();
        Startbildschirm->ComboKategorien[3]->setListIndex(7); // 72 x 14
        writeImage(file("foto.bmp"), RandomPattern(QSize(400, 300), 7));
        F().Show();
        fotoLaden();
    }
    FotoeditorForm& F() { return *Fotoeditor; }
    // The photo "foto.bmp" into the editor, as the entry and the strip load it.
    void fotoLaden() {
        F().In_Fotoeditor_bearbeiten_Einsprung(file("foto.bmp"));
        F().Laden_Click_Sub(file("foto.bmp"));
    }
    // The mouse on the photo at pixel p of the photo's container: cursor and event (twips).
    void foto(void (FotoeditorForm::*h)(int, int, float, float), int button, QPoint p) {
        vb::seams().cursor = F().Shape1->ScreenOrigin() + p;
        const double x = p.x() * 15 - F().Fotos_Bearbeiten_Bildimage->Left(), y = p.y() * 15 - F().Fotos_Bearbeiten_Bildimage->Top();
        (F().*h)(button, 0, float(x), float(y));
    }
    QPoint fotoEcke() const {
        const vb::Image* b = Fotoeditor.Peek()->Fotos_Bearbeiten_Bildimage;
        return QPoint(int(b->Left() / 15), int(b->Top() / 15));
    }
    // The mouse dragged over the photo from von to bis with a scissors mode; the logo-size frame
    // follows the mouse without a button held.
    void ziehen(vb::Image* FotoeditorForm::*schere, QPoint von, QPoint bis) {
        foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, von);
        foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, schere == &FotoeditorForm::Foto_bearbeiten_Schere_Logogroesse ? 0 : 1, bis);
        foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, bis);
    }
    // A double-click on the frame without moving it.
    void ausschneiden() {
        F().Bildschirmshape_Master_MouseDown(1, 0, 30, 30);
        F().Bildschirmshape_Master_MouseUp(1, 0, 30, 30);
        F().Bildschirmshape_Master_DblClick();
    }
    QRect rahmen() {
        const vb::Shape* r = F().Bildschirmshape_Master;
        return QRect(int(r->Left() / 15), int(r->Top() / 15), int(r->Width() / 15), int(r->Height() / 15));
    }
};
} // namespace

TEST_F(CutTest, EachScissorsModeFramesAndCutsTheFramedPixels) {
    const QImage desk = RandomPattern(QSize(1024, 768), 11);
    vb::seams().desktop = desk;
    struct Fall {
        const char* name;
        vb::Image* FotoeditorForm::*schere;
        QPoint von, bis;
        QRect erwartet; // in Shape1, relative to the photo's corner
    };
    const Fall faelle[] = {
        {"free", &FotoeditorForm::Foto_bearbeiten_Schere_Komplett, QPoint(20, 30), QPoint(120, 90), QRect(20, 30, 100, 60)},
        {"free, dragged up-left", &FotoeditorForm::Foto_bearbeiten_Schere_Komplett, QPoint(150, 120), QPoint(100, 70), QRect(100, 70, 50, 50)},
        {"aspect ratio", &FotoeditorForm::Foto_bearbeiten_Schere_Lasso, QPoint(10, 10), QPoint(154, 100), QRect(10, 10, 144, 28)},
        {"logo size", &FotoeditorForm::Foto_bearbeiten_Schere_Logogroesse, QPoint(60, 50), QPoint(60, 50), QRect(60, 50, 72, 14)},
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.name);
        // Each cut starts from the same photo.
        fotoLaden();
        const QPoint o = fotoEcke();
        (F().*c.schere)->FireClick();
        EXPECT_EQ((F().*c.schere)->Tag(), QStringLiteral("1"));
        const vb::Picture vorher = F().Fotos_Bearbeiten_Bildimage->Picture();
        ziehen(c.schere, o + c.von, o + c.bis);
        EXPECT_TRUE(F().Bildschirmshape_Master->Visible());
        EXPECT_FALSE(F().Bildschirmshape->Visible());
        EXPECT_EQ(rahmen(), c.erwartet.translated(o));
        const QRect aufDemSchirm = pixel(*F().Bildschirmshape_Master);
        // A double-click without moving takes exactly the framed screen area.
        ausschneiden();
        EXPECT_TRUE(LoadRgb32(file("freeze.bmp")) == desk.copy(aufDemSchirm));
        EXPECT_EQ(Bilddatei_Pfad, file("freeze.bmp"));
        EXPECT_TRUE(LoadRgb32(file("undo.bmp")) == vorher.Image().convertToFormat(QImage::Format_RGB32));
        EXPECT_TRUE(F().Fotos_Bearbeiten_Bildimage->Picture().Image().convertToFormat(QImage::Format_RGB32) == LoadRgb32(file("freeze.bmp")));
        EXPECT_FALSE(F().Undo_Fotoeditor_Shape_Label->Visible()); // undo is possible
        EXPECT_FALSE(F().Bildschirmshape_Master->Visible());
        EXPECT_FALSE(F().Fotos_Bearbeiten_BildiPicture_Lasso->Visible());
    }
}

TEST_F(CutTest, UndoAfterACutBringsTheWholePhotoBack) {
    vb::seams().desktop = RandomPattern(QSize(1024, 768), 11);
    const QImage original = RandomPattern(QSize(400, 300), 7);
    struct Fall {
        const char* name;
        vb::Image* FotoeditorForm::*schere;
        QPoint von, bis;
    };
    const Fall faelle[] = {
        {"free", &FotoeditorForm::Foto_bearbeiten_Schere_Komplett, QPoint(20, 30), QPoint(120, 90)},
        {"aspect ratio", &FotoeditorForm::Foto_bearbeiten_Schere_Lasso, QPoint(10, 10), QPoint(154, 100)},
        {"logo size", &FotoeditorForm::Foto_bearbeiten_Schere_Logogroesse, QPoint(60, 50), QPoint(60, 50)},
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.name);
        fotoLaden();
        const QPoint o = fotoEcke();
        (F().*c.schere)->FireClick();
        ziehen(c.schere, o + c.von, o + c.bis);
        ausschneiden();
        ASSERT_NE(F().Fotos_Bearbeiten_Bildimage->Picture().Image().convertToFormat(QImage::Format_RGB32), original);
        F().Undo_Fotoeditor->FireClick();
        EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->Picture().Image().convertToFormat(QImage::Format_RGB32), original);
        EXPECT_EQ(mfrmMain->m_cDIB->ToImage().convertToFormat(QImage::Format_RGB32), original);
    }
}

TEST_F(CutTest, TheFrameIsPulledBackOntoThePhotoAndTheCursorFreed) {
    const QPoint o = fotoEcke();
    F().Foto_bearbeiten_Schere_Komplett->FireClick();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, o + QPoint(10, 10));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 1, o + QPoint(60, 40));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, o + QPoint(60, 40));
    ASSERT_EQ(rahmen().size(), QSize(50, 30));
    const vb::Image* b = F().Fotos_Bearbeiten_Bildimage;
    const int breite = int(b->Width() / 15), hoehe = int(b->Height() / 15);

    // While the frame is dragged the cursor is held in the photo.
    ASSERT_FALSE(vb::GetClipCursor());
    F().Bildschirmshape_Master_MouseDown(1, 0, 375, 225);
    EXPECT_EQ(vb::GetClipCursor(), std::optional<QRect>(pixel(*F().Fangcontainer)));
    EXPECT_EQ(pixel(*F().Fangcontainer), pixel(*F().Fotos_Bearbeiten_Bildimage));
    // Dragged far to the right and down: one pixel beyond the right edge, flush with the bottom.
    F().Bildschirmshape_Master_MouseMove(1, 0, 375 + 15 * 2000, 225 + 15 * 2000);
    F().Bildschirmshape_Master_MouseUp(1, 0, 0, 0);
    EXPECT_FALSE(vb::GetClipCursor());
    EXPECT_EQ(F().Fangcontainer->Tag(), QString());
    EXPECT_EQ(rahmen(), QRect(o.x() + breite + 1 - 50, o.y() + hoehe - 30, 50, 30));
    // Dragged far to the left and up: flush with the left and top edges.
    F().Bildschirmshape_Master_MouseDown(1, 0, 375, 225);
    F().Bildschirmshape_Master_MouseMove(1, 0, -15 * 2000, -15 * 2000);
    F().Bildschirmshape_Master_MouseUp(1, 0, 0, 0);
    EXPECT_EQ(rahmen(), QRect(o.x(), o.y(), 50, 30));
}

TEST_F(CutTest, AnUnreadableScreenLeavesThePhoto) {
    vb::seams().desktop = QImage();
    const QPoint o = fotoEcke();
    F().Foto_bearbeiten_Schere_Komplett->FireClick();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, o + QPoint(10, 10));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 1, o + QPoint(60, 40));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, o + QPoint(60, 40));
    const long vorher = F().Fotos_Bearbeiten_Bildimage->Picture().Handle();
    F().Bildschirmshape_Master_DblClick();
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(857) + QStringLiteral("Der Bildschirminhalt kann nicht gelesen werden.")});
    EXPECT_FALSE(QFile::exists(file("freeze.bmp")));
    EXPECT_EQ(Bilddatei_Pfad, file("foto.bmp"));
    EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->Picture().Handle(), vorher);
}

// On a real screen the cut holds the photo's pixels as shown under the frame.
TEST_F(CutTest, OnScreenCutTakesThePhotoAsShown) {
    if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server (xvfb-run)";
    const QPoint o = fotoEcke();
    QElapsedTimer t;
    t.start();
    while (!(F().Widget()->windowHandle() && F().Widget()->windowHandle()->isExposed()) && t.elapsed() < 5000) vb::App::DoEvents();
    F().Foto_bearbeiten_Schere_Komplett->FireClick();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, o + QPoint(30, 20));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 1, o + QPoint(130, 80));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, o + QPoint(130, 80));
    // What the window shows there without the frame.
    F().Bildschirmshape_Master->setVisible(false);
    const QPoint imFenster = F().Bildschirmshape_Master->ScreenOrigin() - F().Widget()->mapToGlobal(QPoint(0, 0));
    const QImage gezeigt = F().Widget()->grab(QRect(imFenster, QSize(100, 60))).toImage().convertToFormat(QImage::Format_RGB32);
    F().Bildschirmshape_Master->setVisible(true);
    // The double-click's first press and release.
    ausschneiden();
    EXPECT_TRUE(LoadRgb32(file("freeze.bmp")) == gezeigt);
}

// The user's own mouse on the frame, as the toolkit delivers it: the frame lies above the photo and
// takes the press, follows the held button and takes the cut on a double-click.
TEST_F(CutTest, TheFrameTakesTheMouseAboveThePhoto) {
    const QImage desk = RandomPattern(QSize(1024, 768), 12);
    vb::seams().desktop = desk;
    const QPoint o = fotoEcke();
    F().Foto_bearbeiten_Schere_Komplett->FireClick();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, o + QPoint(20, 30));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 1, o + QPoint(120, 90));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, o + QPoint(120, 90));
    ASSERT_EQ(rahmen(), QRect(o + QPoint(20, 30), QSize(100, 60)));
    // Over the photo the pointer is a cross-hair; in the logo-size mode an I-beam.
    EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->MousePointer(), 2);
    EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->Widget()->cursor().shape(), Qt::CrossCursor);
    QWidget* fenster = F().Widget();
    QWidget* frame = F().Bildschirmshape_Master->Widget();
    const QPoint mitte = frame->mapTo(fenster, QPoint(50, 30));
    QWidget* ziel = fenster->childAt(mitte);
    ASSERT_EQ(ziel, frame) << "the press does not reach the frame";
    auto senden = [&](QEvent::Type t, QPoint lokal, Qt::MouseButton b, Qt::MouseButtons gehalten) {
        vb::seams().cursor = ziel->mapToGlobal(lokal);
        QMouseEvent e(t, QPointF(lokal), QPointF(ziel->mapToGlobal(lokal)), b, gehalten, Qt::NoModifier);
        QApplication::sendEvent(ziel, &e);
    };
    // Dragged by 20 x 10 pixels: the frame's centre follows the pointer.
    senden(QEvent::MouseButtonPress, QPoint(50, 30), Qt::LeftButton, Qt::LeftButton);
    EXPECT_TRUE(vb::GetClipCursor().has_value()) << "the cursor is not held on the photo";
    senden(QEvent::MouseMove, QPoint(70, 40), Qt::NoButton, Qt::LeftButton);
    senden(QEvent::MouseButtonRelease, QPoint(70, 40), Qt::LeftButton, Qt::NoButton);
    EXPECT_FALSE(vb::GetClipCursor().has_value());
    EXPECT_EQ(rahmen(), QRect(o + QPoint(40, 40), QSize(100, 60)));
    // A double-click takes the framed area.
    const QRect aufDemSchirm = pixel(*F().Bildschirmshape_Master);
    senden(QEvent::MouseButtonPress, QPoint(50, 30), Qt::LeftButton, Qt::LeftButton);
    senden(QEvent::MouseButtonRelease, QPoint(50, 30), Qt::LeftButton, Qt::NoButton);
    senden(QEvent::MouseButtonDblClick, QPoint(50, 30), Qt::LeftButton, Qt::LeftButton);
    senden(QEvent::MouseButtonRelease, QPoint(50, 30), Qt::LeftButton, Qt::NoButton);
    ASSERT_TRUE(QFile::exists(file("freeze.bmp")));
    EXPECT_TRUE(LoadRgb32(file("freeze.bmp")) == desk.copy(aufDemSchirm));
    EXPECT_FALSE(F().Bildschirmshape_Master->Visible());
    F().Foto_bearbeiten_Schere_Logogroesse->FireClick();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 0, fotoEcke() + QPoint(10, 10));
    EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->MousePointer(), 3);
    EXPECT_EQ(F().Fotos_Bearbeiten_Bildimage->Widget()->cursor().shape(), Qt::IBeamCursor);
}

// A control dropped onto the photo puts the frame's top-left corner at the drop point.
TEST_F(CutTest, ADropOnThePhotoMovesTheFrameThere) {
    const QPoint o = fotoEcke();
    F().Foto_bearbeiten_Schere_Komplett->FireClick();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, o + QPoint(20, 30));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 1, o + QPoint(120, 90));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, o + QPoint(120, 90));
    F().Kasten_Fotoeditor_BildKomplett->Drag(1);
    vb::seams().cursor = F().Fotos_Bearbeiten_Bildimage->ScreenOrigin() + QPoint(150, 100);
    F().Kasten_Fotoeditor_BildKomplett->Drag(2);
    EXPECT_EQ(rahmen(), QRect(o + QPoint(150, 100), QSize(100, 60)));
}

// Before any scissors mode is chosen a click on the photo frames nothing.
TEST_F(CutTest, AClickWithoutAScissorsModeDoesNothing) {
    const QPoint o = fotoEcke();
    F().Form_MouseMove(0, 0, 15, 15);
    const QImage vorher = F().Widget()->grab().toImage();
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseDown, 1, o + QPoint(20, 30));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseMove, 1, o + QPoint(120, 90));
    foto(&FotoeditorForm::Fotos_Bearbeiten_Bildimage_MouseUp, 1, o + QPoint(120, 90));
    EXPECT_FALSE(F().Bildschirmshape_Master->Visible());
    EXPECT_FALSE(F().Bildschirmshape->Visible());
    EXPECT_TRUE(F().Widget()->grab().toImage() == vorher);
}
