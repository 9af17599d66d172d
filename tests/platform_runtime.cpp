// The window runtime: block transfers, pen primitives, control semantics the program relies on.
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Cursor.h"
#include "platform/window/Form.h"
#include "platform/picture/Gdi.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/picture/Picture.h"
#include "platform/window/Screen.h"
#include "platform/system/SingleInstance.h"
#include "platform/system/VBError.h"
#include "platform/system/Seams.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <new>
#include <stdexcept>
#include <gtest/gtest.h>

using namespace vb;

namespace {
QImage surface(int w, int h, uint32_t fill = 0xFFFFFFFF) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}
// The pixels of one row as a string: '#' black, '.' white, '?' anything else.
std::string row(const QImage& img, int y) {
    std::string s;
    for (int x = 0; x < img.width(); ++x) {
        const uint32_t p = img.pixel(x, y) & 0xFFFFFF;
        s += p == 0 ? '#' : p == 0xFFFFFF ? '.' : '?';
    }
    return s;
}

const LayoutItem kLayout[] = {
    {"Bild", Kind::PictureBox, -1, 150, 150, 1500, 750},
    {"Knopf", Kind::Image, -1, 1800, 150, 300, 300},
    {"Text", Kind::Label, -1, 1800, 600, 900, 300},
    {"Liste", Kind::ComboBox, -1, 150, 1050, 1500, 300},
};
class TestForm : public Form {
public:
    TestForm() : Form(QStringLiteral("TestForm"), kLayout, 3000, 1500) {}
    int loads = 0, activations = 0;
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
};
} // namespace

TEST(Gdi, StretchMirrorsWithNegativeSourceExtent) {
    QImage img = surface(4, 2);
    img.setPixel(0, 0, 0xFF000000);
    StretchBlt(img, 0, 0, 4, 2, img, 3, 0, -4, 2, SRCCOPY);
    EXPECT_EQ(row(img, 0), "...#");
    StretchBlt(img, 0, 0, 4, 2, img, 0, 1, 4, -2, SRCCOPY);
    EXPECT_EQ(row(img, 1), "...#");
    EXPECT_EQ(row(img, 0), "....");
}

TEST(Gdi, RasterOperationsAndSourceOutsideThePicture) {
    QImage dst = surface(4, 1, 0xFF000000);
    dst.setPixel(3, 0, 0xFFFFFFFF);
    QImage src = surface(4, 1);
    src.setPixel(1, 0, 0xFF000000);
    QImage and_ = surface(4, 1);
    StretchBlt(and_, 0, 0, 4, 1, src, 0, 0, 4, 1, SRCAND);
    EXPECT_EQ(row(and_, 0), ".#..");
    StretchBlt(dst, 0, 0, 4, 1, dst, 0, 0, 4, 1, DSTINVERT);
    EXPECT_EQ(row(dst, 0), "...#");
    // Shifting by one: the part of the source beyond its edge leaves the destination alone.
    QImage shifted = surface(4, 1);
    StretchBlt(shifted, 0, 0, 4, 1, src, 1, 0, 4, 1, SRCAND);
    EXPECT_EQ(row(shifted, 0), "#...");
    StretchBlt(shifted, -2, 0, 4, 1, src, 0, 0, 4, 1, SRCCOPY); // clipped at the left
    EXPECT_EQ(row(shifted, 0), "....");
}

TEST(Gdi, FourfoldEnlargementRepeatsEachPixel) {
    QImage src = surface(2, 1);
    src.setPixel(1, 0, 0xFF000000);
    QImage big = surface(8, 4);
    StretchBlt(big, 0, 0, 8, 4, src, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(row(big, 3), "....####");
}

TEST(Gdi, LinesLeaveOutTheirEndAndTouchEachPixelOnce) {
    QImage img = surface(6, 1);
    Canvas(img, Pen{0, vbCopyPen, 1, 0}).Line(0, 0, 4, 0);
    EXPECT_EQ(row(img, 0), "####..");
    Canvas(img, Pen{0, vbInvert, 1, 0}).Line(0, 0, 6, 0);
    EXPECT_EQ(row(img, 0), "....##");
    Canvas(img, Pen{0, vbCopyPen, 1, 0}).Line(1, 0, 1, 0); // zero length: its point
    EXPECT_EQ(row(img, 0), ".#..##");
    Canvas(img, Pen{0, vbInvert, 1, 0}).Circle(3, 0, 0); // radius 0: the centre, once
    EXPECT_EQ(row(img, 0), ".#.###");
}

TEST(Gdi, WidePenCircleOfRadiusOneIsADisc) {
    for (int w : {1, 3, 5}) {
        QImage img = surface(15, 15);
        Canvas(img, Pen{0, vbCopyPen, w, 0}).Circle(7, 7, 1);
        int across = 0;
        for (int x = 0; x < 15; ++x) across += (img.pixel(x, 7) & 0xFFFFFF) == 0;
        if (w == 1) {
            EXPECT_EQ(row(img, 7), "......#.#......"); // a ring
        } else {
            EXPECT_EQ(across, w + 2);
            EXPECT_EQ(img.pixel(7, 7) & 0xFFFFFF, 0u);
        }
    }
}

TEST(Picture, HandlesSaveAndLoadErrors) {
    QImage img = surface(3, 2);
    img.setPixel(0, 1, 0xFF102030);
    Picture a(img), b = a, c(img);
    EXPECT_EQ(a.Handle(), b.Handle());
    EXPECT_NE(a.Handle(), c.Handle());
    EXPECT_EQ(Picture().Handle(), 0);
    QTemporaryDir dir;
    const QString p = dir.filePath(QStringLiteral("x.bmp"));
    SavePicture(a, p);
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), 54 + 2 * 12); // rows of 9 bytes padded to 12
    EXPECT_EQ(quint8(bytes[28]), 24);
    // Bottom-up, blue first: the first row stored is the picture's last.
    EXPECT_EQ(bytes.mid(54, 3), QByteArray::fromHex("302010"));
    EXPECT_EQ(LoadPicture(p).Image().pixel(0, 1), 0xFF102030u);
    try {
        LoadPicture(dir.filePath(QStringLiteral("fehlt.bmp")));
        FAIL();
    } catch (const VBError& e) {
        EXPECT_EQ(e.Number(), 53);
    }
    QFile t(dir.filePath(QStringLiteral("t.bmp")));
    ASSERT_TRUE(t.open(QIODevice::WriteOnly));
    t.write("kein Bild");
    t.close();
    try {
        LoadPicture(t.fileName());
        FAIL();
    } catch (const VBError& e) {
        EXPECT_EQ(e.Number(), 481);
    }
}

TEST(Runtime, ControlsFollowTheScreensTwips) {
    for (int dpi : {96, 120}) {
        ScreenMetrics m;
        m.dpi = dpi;
        vb::seams().screen = m;
        TestForm f;
        f.Load();
        auto* b = f.Get<PictureBox>("Bild");
        EXPECT_EQ(b->Widget()->width(), 1500 / (1440 / dpi));
        EXPECT_EQ(f.Widget()->width(), 3000 / (1440 / dpi));
    }
    vb::seams().screen = std::nullopt;
}

TEST(Runtime, ListIndexAndCaptionRunHandlersOnChange) {
    TestForm f;
    f.Load();
    auto* l = f.Get<ComboBox>("Liste");
    auto* t = f.Get<Label>("Text");
    int clicks = 0, changes = 0;
    l->Click = [&] { ++clicks; };
    t->Change = [&] { ++changes; };
    l->AddItem(QStringLiteral("a"));
    l->AddItem(QStringLiteral("b"));
    l->setListIndex(1);
    l->setListIndex(1);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(l->Text(), QStringLiteral("b"));
    l->Choose(1); // the user choosing the same item still clicks
    EXPECT_EQ(clicks, 2);
    EXPECT_THROW(l->setListIndex(2), VBError);
    l->Clear();
    EXPECT_EQ(l->ListIndex(), -1);
    EXPECT_EQ(clicks, 2);
    t->setCaption(QStringLiteral("x"));
    t->setCaption(QStringLiteral("x"));
    EXPECT_EQ(changes, 1);
}

TEST(Runtime, ImageTakesThePictureSizeUnlessStretched) {
    TestForm f;
    f.Load();
    auto* k = f.Get<Image>("Knopf");
    k->setPicture(Picture(surface(40, 10)));
    EXPECT_EQ(k->Width(), 600);
    EXPECT_EQ(k->Height(), 150);
    k->setStretch(true);
    k->setWidth(300);
    k->setPicture(Picture(surface(80, 80)));
    EXPECT_EQ(k->Width(), 300);
}

TEST(Runtime, ModalShowWaitsUntilHiddenAndLoadRunsOnce) {
    TestForm f;
    vb::seams().modal = [](Form& shown) { QMetaObject::invokeMethod(QApplication::instance(), [&shown] { shown.Hide(); }, Qt::QueuedConnection); };
    f.Show(vbModal);
    vb::seams().modal = {};
    EXPECT_FALSE(f.Visible());
    EXPECT_EQ(f.loads, 1);
    EXPECT_EQ(f.activations, 1);
    f.Show();
    f.Show();
    EXPECT_EQ(f.activations, 2);
    f.Unload();
    f.Show();
    EXPECT_EQ(f.loads, 2);
}

TEST(Runtime, WindowUnderTheCursorAndClientPosition) {
    TestForm f;
    f.Move(15 * 100, 15 * 100);
    f.Show();
    auto* b = f.Get<PictureBox>("Bild");
    const QPoint inside = b->ScreenOrigin() + QPoint(3, 4);
    const WindowRef w = WindowFromPoint(inside);
    EXPECT_EQ(w.control, b);
    EXPECT_EQ(ScreenToClient(w, inside), QPoint(3, 4));
    // Over a drawn control the window under it is the window itself.
    const WindowRef k = WindowFromPoint(f.Get<Image>("Knopf")->ScreenOrigin() + QPoint(1, 1));
    EXPECT_EQ(k.form, &f);
    EXPECT_EQ(k.control, nullptr);
}

TEST(Runtime, SecondInstanceIsTurnedAway) {
    int activated = 0;
    EXPECT_FALSE(SingleInstance::AnotherIsRunning(QStringLiteral("vorad-test-instance"), [&] { ++activated; }));
    EXPECT_TRUE(SingleInstance::AnotherIsRunning(QStringLiteral("vorad-test-instance"), {}));
    for (int i = 0; i < 20 && activated == 0; ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(activated, 1);
    SingleInstance::Release();
}

TEST(Gdi, AbsurdExtentsAreClippedWithoutOverflow) {
    QImage img = surface(4, 4);
    QImage src = surface(2, 2, 0xFF000000);
    EXPECT_TRUE(StretchBlt(img, 1, 1, INT_MAX, INT_MAX, src, 0, 0, 2, 2, SRCCOPY));
    EXPECT_EQ(row(img, 0), "....");
    EXPECT_EQ(row(img, 3), ".###");
    EXPECT_TRUE(StretchBlt(img, INT_MIN + 1, 0, INT_MAX, 4, src, 0, 0, INT_MIN + 1, 2, SRCCOPY));
}

TEST(Runtime, TrySkipsNumberedErrorsOnly) {
    bool after = false;
    Try([&] {
        throw VBError(53, QStringLiteral("LoadPicture"), QStringLiteral("File not found"));
        after = true;
    });
    EXPECT_FALSE(after);
    // A fault of the program and the end of the program are not skipped.
    EXPECT_THROW(Try([] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_THROW(Try([] { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_THROW(Try([] { throw App::Ended{0}; }), App::Ended);
}
