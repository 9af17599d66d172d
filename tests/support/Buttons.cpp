#include "support/Buttons.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "platform/window/Form.h"
#include "platform/window/Layout.h"
#include "platform/window/Screen.h"
#include "platform/window/Skin.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

using namespace Parameter_und_Start;

long storeHandle(const char* name) { return Schaltflaechen::Bild(Schaltflaechenlader->Find(QLatin1String(name))).Handle(); }

QImage fensterbild(vb::Form& f) { return f.Widget()->grab().toImage(); }

namespace {
const vb::LayoutItem* zeileVon(const vb::Control* c) {
    for (const vb::LayoutItem& it : c->Parent().LayoutTable())
        if (c->Name() == QLatin1String(it.name) && c->Index() == it.index) return &it;
    return nullptr;
}
} // namespace

QImage mitLicht(vb::Form& f, const Knopf& k) {
    vb::Control* c = k.control;
    const vb::LayoutItem* zeile = zeileVon(c);
    if (!zeile) {
        ADD_FAILURE() << "no row";
        return {};
    }
    // A frame lights as a plain lit button; a group member shows its chosen look.
    const QByteArray eigen(zeile->face);
    const QByteArray gesicht = k.licht ? QByteArray(k.licht) : eigen == "frame" ? QByteArray("hot") : eigen;
    const auto look = zeile->pattern == 'G' ? vb::Skin::Look::Selected : vb::Skin::Look::Hot;
    const QSize px(vb::TwipsToPx(c->Width()), vb::TwipsToPx(c->Height()));
    // The window with the button carrying that face itself, whatever lies above it.
    const vb::Picture vorher = Schaltflaechen::Bild(c);
    Schaltflaechen::Bild_setzen(c, vb::Picture(vb::Skin::Face(gesicht.constData(), px, look)));
    const QImage soll = fensterbild(f);
    Schaltflaechen::Bild_setzen(c, vorher);
    return soll;
}

void knoepfePruefen(vb::Form& f, const std::vector<Knopf>& knoepfe, const std::function<void()>& hintergrund) {
    hintergrund();
    const QImage ruhe = fensterbild(f);
    for (const Knopf& k : knoepfe) {
        SCOPED_TRACE(k.control->Name().toStdString() + "(" + std::to_string(k.control->Index()) + ")");
        const vb::LayoutItem* zeile = zeileVon(k.control);
        const char muster = zeile ? zeile->pattern : 0;
        if (k.control->Tag() == QLatin1String("1")) continue; // a chosen tool already shows its look
        k.control->setToolTipText(QString());
        // A control with a tooltip alone changes no picture.
        if (muster == 'T') hintergrund();
        // From the previous button straight to this one: the previous one goes dark.
        k.control->FireMouseMove(0, 0, 15, 15);
        if (k.tooltip) { EXPECT_EQ(k.control->ToolTipText(), LoadResString(k.tooltip)); }
        if (muster == 'T') {
            EXPECT_TRUE(fensterbild(f) == ruhe) << "a tooltip alone lit something";
            continue;
        }
        EXPECT_EQ(Schaltflaechen::Bild(k.control).Handle(), storeHandle(k.store));
        EXPECT_NE(storeHandle(k.store), 0);
        // A group member leaves the highlight of the others alone; the background puts it right.
        const bool gruppe = muster == 'G';
        if (!gruppe) { EXPECT_EQ(Hover_Objekt, k.control); }
        const QImage hell = fensterbild(f);
        EXPECT_TRUE(hell == mitLicht(f, k)) << "lit with another face than its own";
        hintergrund();
        EXPECT_TRUE(fensterbild(f) == ruhe) << "still lit over the background";
        if (!gruppe) { EXPECT_EQ(Hover_Name, k.control->Name()); }
        k.control->FireMouseMove(0, 0, 15, 15);
        EXPECT_TRUE(fensterbild(f) == hell) << "another button stayed lit";
        EXPECT_NE(fensterbild(f), ruhe);
        // Moving within the lit button changes nothing.
        const long handle = Schaltflaechen::Bild(k.control).Handle();
        k.control->FireMouseMove(0, 0, 45, 45);
        EXPECT_EQ(Schaltflaechen::Bild(k.control).Handle(), handle);
        // A group member, and a thumbnail frame (no hover row: it lights through its own
        // handler), stay lit until something else darkens them.
        if (gruppe || muster == 0) {
            hintergrund();
            continue;
        }
        // A move reported outside the button darkens it, on every side.
        const float w = float(k.control->Width()), h = float(k.control->Height());
        for (const auto& [x, y] : {std::pair{-1.f, 15.f}, {15.f, -1.f}, {w + 1, 15.f}, {15.f, h + 1}}) {
            k.control->FireMouseMove(0, 0, 15, 15);
            k.control->FireMouseMove(0, 0, x, y);
            EXPECT_TRUE(fensterbild(f) == ruhe) << x << "," << y;
        }
        k.control->FireMouseMove(0, 0, 15, 15);
    }
    hintergrund();
    EXPECT_TRUE(fensterbild(f) == ruhe);
}

std::optional<QPoint> stelleVon(vb::Form& f, const vb::Control* c) {
    QWidget* fenster = f.Widget();
    QWidget* ziel = c ? c->Widget() : fenster;
    const QRect r = ziel->rect();
    for (int y = r.top() + 2; y < r.bottom(); y += 4)
        for (int x = r.left() + 2; x < r.right(); x += 4) {
            const QPoint p = ziel->mapTo(fenster, QPoint(x, y));
            QWidget* dort = fenster->childAt(p);
            if ((dort ? dort : fenster) == ziel) return p;
        }
    return std::nullopt;
}

void ziehen(vb::Form& f, QPoint p, Qt::MouseButton knopf) {
    QWidget* dort = f.Widget()->childAt(p);
    QWidget* ziel = dort ? dort : f.Widget();
    auto senden = [&](QEvent::Type t, QPoint at, Qt::MouseButton b, Qt::MouseButtons gehalten) {
        const QPoint lokal = ziel->mapFrom(f.Widget(), at);
        QMouseEvent e(t, QPointF(lokal), QPointF(ziel->mapToGlobal(lokal)), b, gehalten, Qt::NoModifier);
        QApplication::sendEvent(ziel, &e);
    };
    senden(QEvent::MouseButtonPress, p, knopf, knopf);
    for (int i = 1; i <= 3; ++i) senden(QEvent::MouseMove, p + QPoint(i, i), Qt::NoButton, knopf);
    senden(QEvent::MouseButtonRelease, p + QPoint(3, 3), knopf, Qt::NoButton);
    senden(QEvent::MouseMove, p + QPoint(5, 5), Qt::NoButton, Qt::NoButton);
}
