// Controls over pictures: a shape stays drawn above the picture it covers and lets the mouse
// through to it; the mouse pointer codes of controls and windows.
#include "platform/window/Cursor.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/picture/Picture.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/Shape.h"
#include "platform/system/Seams.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>

using namespace vb;

namespace {
const LayoutItem kLayout[] = {
    {"Foto", Kind::PictureBox, -1, 150, 150, 3000, 2250},
    {"Bild", Kind::Image, -1, 150, 150, 1500, 1200, "Foto"},
    {"Rahmen", Kind::Shape, -1, 300, 300, 900, 600, "Foto"},
};
class ShapeForm : public Form {
public:
    ShapeForm() : Form(QStringLiteral("ShapeForm"), kLayout, 3600, 2700) {}
    PictureBox* foto() const { return Get<PictureBox>("Foto"); }
    vb::Image* bild() const { return Get<vb::Image>("Bild"); }
    Shape* rahmen() const { return Get<Shape>("Rahmen"); }
};

QImage flaeche(int w, int h, QRgb farbe) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(farbe);
    return img;
}
QImage zeigen(const PictureBox* p) { return p->Widget()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
} // namespace

TEST(Controls, AShapeStaysAboveThePictureItCovers) {
    ScreenMetrics m;
    m.dpi = 96;
    vb::seams().screen = m;
    ShapeForm f;
    f.Load();
    f.foto()->setBackColor(0x000000);
    f.bild()->setStretch(true);
    f.bild()->setPicture(Picture(flaeche(10, 10, qRgb(200, 0, 0))));
    Shape* r = f.rahmen();
    r->setBorderColor(0xFFFFFF);
    r->setBorderWidth(1);
    r->setVisible(true);
    f.Show();
    // What the picture box shows is what it shows without the shape, with the shape's outline on top.
    auto pruefen = [&](const char* nach) {
        SCOPED_TRACE(nach);
        // Hidden for a moment below the runtime, so that the look-up itself changes no stacking.
        r->Widget()->hide();
        QImage erwartet = zeigen(f.foto());
        r->Widget()->show();
        {
            QPainter p(&erwartet);
            p.setPen(QColor(255, 255, 255));
            p.drawRect(QRect(20, 20, 60, 40).adjusted(0, 0, -1, -1));
        }
        EXPECT_TRUE(zeigen(f.foto()) == erwartet);
    };
    struct Schritt {
        const char* name;
        std::function<void()> tun;
    };
    const Schritt schritte[] = {
        {"shown", [] {}},
        {"a new picture", [&] { f.bild()->setPicture(Picture(flaeche(10, 10, qRgb(0, 0, 200)))); }},
        {"the picture hidden and shown", [&] {
             f.bild()->setVisible(false);
             f.bild()->setVisible(true);
         }},
        {"the picture moved and resized", [&] { f.bild()->Move(0, 0, 2400, 1800); }},
        {"the picture box cleared", [&] { f.foto()->Cls(); }},
        {"the picture box drawn on", [&] {
             f.foto()->setAutoRedraw(true);
             f.foto()->Line(0, 0, 3000, 2250, 0x00FF00);
         }},
    };
    for (const Schritt& s : schritte) {
        s.tun();
        pruefen(s.name);
    }
    // The shape lets the mouse through to the picture under it.
    const QPoint innen = r->Widget()->mapTo(f.Widget(), QPoint(30, 20));
    EXPECT_EQ(f.Widget()->childAt(innen), f.bild()->Widget());
    vb::seams().screen = std::nullopt;
}

TEST(Controls, MousePointerCodesShowTheirCursors) {
    ShapeForm f;
    f.Load();
    struct Fall {
        int code;
        std::optional<Qt::CursorShape> zeiger; // nullopt: the default, an arrow
    };
    const Fall faelle[] = {{2, Qt::CrossCursor}, {3, Qt::IBeamCursor}, {11, Qt::WaitCursor}, {1, Qt::ArrowCursor},
                           {0, std::nullopt},   {99, std::nullopt}};
    for (QWidget* w : {f.bild()->Widget(), static_cast<QWidget*>(f.Widget())}) {
        for (const Fall& c : faelle) {
            SCOPED_TRACE(c.code);
            if (w == f.Widget()) f.setMousePointer(c.code);
            else f.bild()->setMousePointer(c.code);
            EXPECT_EQ(w == f.Widget() ? f.MousePointer() : f.bild()->MousePointer(), c.code);
            EXPECT_EQ(w->cursor().shape(), c.zeiger.value_or(Qt::ArrowCursor));
        }
    }
}

// A control dragged onto another: the drop reaches the control under the cursor, with the source
// and the point in the target's units; a cancelled drag or a drop beside every window drops nothing.
TEST(Controls, DragDropReachesTheControlUnderTheCursor) {
    ScreenMetrics m;
    m.dpi = 96;
    vb::seams().screen = m;
    ShapeForm f;
    f.Load();
    f.Move(1500, 1500);
    f.Show();
    struct Abwurf {
        Control* quelle;
        float x, y;
    };
    std::vector<Abwurf> abwuerfe;
    f.bild()->DragDrop = [&](Control& q, float x, float y) { abwuerfe.push_back({&q, x, y}); };
    // Inside the picture, at (30, 20) of it, where the shape lies over it.
    const QPoint aufBild = f.bild()->ScreenOrigin() + QPoint(30, 20);
    struct Fall {
        const char* name;
        std::function<void()> tun;
        bool abgeworfen;
    };
    const Fall faelle[] = {
        {"dropped", [&] {
             f.foto()->Drag(1);
             vb::seams().cursor = aufBild;
             f.foto()->Drag(2);
         }, true},
        {"dropped by the mouse's release", [&] {
             f.foto()->Drag(1);
             vb::seams().cursor = aufBild;
             QWidget* w = f.bild()->Widget();
             QMouseEvent e(QEvent::MouseButtonRelease, QPointF(30, 20), QPointF(aufBild), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
             QApplication::sendEvent(w, &e);
         }, true},
        {"cancelled", [&] {
             f.foto()->Drag(1);
             f.foto()->Drag(0);
             vb::seams().cursor = aufBild;
             f.foto()->Drag(2);
         }, false},
        {"beside every window", [&] {
             f.foto()->Drag(1);
             vb::seams().cursor = QPoint(5000, 5000);
             f.foto()->Drag(2);
             vb::seams().cursor = aufBild;
             f.foto()->Drag(2); // the drag has ended
         }, false},
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.name);
        abwuerfe.clear();
        c.tun();
        ASSERT_EQ(abwuerfe.size(), c.abgeworfen ? 1u : 0u);
        if (c.abgeworfen) {
            EXPECT_EQ(abwuerfe[0].quelle, f.foto());
            EXPECT_EQ(abwuerfe[0].x, 30 * 15);
            EXPECT_EQ(abwuerfe[0].y, 20 * 15);
        }
    }
    vb::seams().cursor = std::nullopt;
    vb::seams().screen = std::nullopt;
}
