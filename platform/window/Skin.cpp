#include "platform/window/Skin.h"

#include "platform/window/Form.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace vb::Skin {
namespace {
const QColor kBody = ToQColor(Colour::Body), kBodyDark = ToQColor(Colour::BodyDark), kTitle = ToQColor(Colour::Title),
             kTitle2 = ToQColor(Colour::Title2), kInk = ToQColor(Colour::Ink), kBtn = ToQColor(Colour::Button),
             kBtnEdge = ToQColor(Colour::ButtonEdge), kHot = ToQColor(Colour::Hot), kHotEdge = ToQColor(Colour::HotEdge),
             kSel = ToQColor(Colour::Selected), kSelEdge = ToQColor(Colour::SelectedEdge), kGreen = ToQColor(Colour::DisplayGreen),
             kPale = ToQColor(Colour::DisplayPale);

struct ParsedFace {
    QString kind, glyph, caption;
};
ParsedFace parse(const char* face) {
    const QStringList parts = QString::fromUtf8(face).split(QLatin1Char(':'));
    ParsedFace p;
    p.kind = parts.value(0);
    p.glyph = parts.value(1);
    p.caption = parts.mid(2).join(QLatin1Char(':'));
    if (p.kind.startsWith(QLatin1String("tab"))) { p.caption = parts.mid(1).join(QLatin1Char(':')); p.glyph.clear(); }
    return p;
}
// Store faces: the button look lit ("hot") or chosen ("sel").
Look storeLook(const QString& kind) { return kind == QLatin1String("sel") ? Look::Selected : Look::Hot; }
bool isStore(const QString& kind) { return kind == QLatin1String("hot") || kind == QLatin1String("sel") || kind == QLatin1String("hottab");
}

void arrow(QPainter& p, QPointF c, double s, double angleDeg) {
    p.save();
    p.translate(c);
    p.rotate(angleDeg);
    QPainterPath path;
    path.moveTo(0, -s);
    path.lineTo(s * 0.8, 0);
    path.lineTo(s * 0.3, 0);
    path.lineTo(s * 0.3, s);
    path.lineTo(-s * 0.3, s);
    path.lineTo(-s * 0.3, 0);
    path.lineTo(-s * 0.8, 0);
    path.closeSubpath();
    p.fillPath(path, p.pen().color());
    p.restore();
}

// Small pictograms, drawn in a square of side s centred on c.
void glyph(QPainter& p, const QString& g, QPointF c, double s) {
    const QColor ink = p.pen().color();
    QPen pen(ink, std::max(1.5, s / 11.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const double h = s / 2;
    const QRectF box(c.x() - h * 0.75, c.y() - h * 0.55, h * 1.5, h * 1.1);
    if (g == QLatin1String("pen")) {
        p.drawLine(QPointF(c.x() - h * 0.6, c.y() + h * 0.6), QPointF(c.x() + h * 0.6, c.y() - h * 0.6));
        p.drawLine(QPointF(c.x() - h * 0.6, c.y() + h * 0.6), QPointF(c.x() - h * 0.35, c.y() + h * 0.2));
        p.fillRect(QRectF(c.x() - h * 0.7, c.y() + h * 0.5, h * 0.25, h * 0.25), ink);
    } else if (g == QLatin1String("line")) {
        p.drawLine(QPointF(c.x() - h * 0.7, c.y() + h * 0.5), QPointF(c.x() + h * 0.7, c.y() - h * 0.5));
    } else if (g == QLatin1String("circle")) {
        p.drawEllipse(c, h * 0.6, h * 0.6);
    } else if (g == QLatin1String("disc")) {
        p.setBrush(ink);
        p.drawEllipse(c, h * 0.6, h * 0.6);
    } else if (g == QLatin1String("rect")) {
        p.drawRect(box);
    } else if (g == QLatin1String("rectfill")) {
        p.setBrush(ink);
        p.drawRect(box);
    } else if (g == QLatin1String("text")) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(int(s * 0.75));
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(c.x() - h, c.y() - h, s, s), Qt::AlignCenter, QStringLiteral("T"));
    } else if (g == QLatin1String("new")) {
        QPainterPath page;
        page.moveTo(c.x() - h * 0.5, c.y() - h * 0.7);
        page.lineTo(c.x() + h * 0.2, c.y() - h * 0.7);
        page.lineTo(c.x() + h * 0.5, c.y() - h * 0.4);
        page.lineTo(c.x() + h * 0.5, c.y() + h * 0.7);
        page.lineTo(c.x() - h * 0.5, c.y() + h * 0.7);
        page.closeSubpath();
        p.drawPath(page);
    } else if (g == QLatin1String("undo")) {
        p.drawArc(QRectF(c.x() - h * 0.6, c.y() - h * 0.5, h * 1.2, h * 1.1), 90 * 16, -250 * 16);
        arrow(p, QPointF(c.x() - h * 0.05, c.y() - h * 0.5), h * 0.3, -90);
    } else if (g == QLatin1String("invert")) {
        p.drawRect(box);
        p.fillRect(QRectF(box.left(), box.top(), box.width() / 2, box.height()), ink);
    } else if (g == QLatin1String("mirrorh")) {
        arrow(p, QPointF(c.x() - h * 0.35, c.y()), h * 0.35, -90);
        arrow(p, QPointF(c.x() + h * 0.35, c.y()), h * 0.35, 90);
        p.drawLine(QPointF(c.x(), c.y() - h * 0.7), QPointF(c.x(), c.y() + h * 0.7));
    } else if (g == QLatin1String("mirrorv")) {
        arrow(p, QPointF(c.x(), c.y() - h * 0.35), h * 0.35, 0);
        arrow(p, QPointF(c.x(), c.y() + h * 0.35), h * 0.35, 180);
        p.drawLine(QPointF(c.x() - h * 0.7, c.y()), QPointF(c.x() + h * 0.7, c.y()));
    } else if (g == QLatin1String("up")) {
        arrow(p, c, h * 0.6, 0);
    } else if (g == QLatin1String("down")) {
        arrow(p, c, h * 0.6, 180);
    } else if (g == QLatin1String("left")) {
        arrow(p, c, h * 0.6, -90);
    } else if (g == QLatin1String("right")) {
        arrow(p, c, h * 0.6, 90);
    } else if (g == QLatin1String("black") || g == QLatin1String("green") || g == QLatin1String("mixed")) {
        const QRectF sw(c.x() - h * 0.6, c.y() - h * 0.6, h * 1.2, h * 1.2);
        if (g == QLatin1String("black")) p.fillRect(sw, Qt::black);
        else if (g == QLatin1String("green")) p.fillRect(sw, kPale);
        else {
            QPainterPath tri;
            tri.moveTo(sw.topLeft());
            tri.lineTo(sw.topRight());
            tri.lineTo(sw.bottomLeft());
            tri.closeSubpath();
            p.fillRect(sw, kPale);
            p.fillPath(tri, Qt::black);
        }
        p.setPen(QPen(ink, 1));
        p.drawRect(sw);
    } else if (g == QLatin1String("send")) {
        p.drawRect(QRectF(c.x() - h * 0.35, c.y() - h * 0.75, h * 0.7, h * 1.5));
        arrow(p, QPointF(c.x() + h * 0.55, c.y() - h * 0.2), h * 0.3, 0);
    } else if (g == QLatin1String("delete")) {
        p.drawLine(QPointF(c.x() - h * 0.5, c.y() - h * 0.5), QPointF(c.x() + h * 0.5, c.y() + h * 0.5));
        p.drawLine(QPointF(c.x() - h * 0.5, c.y() + h * 0.5), QPointF(c.x() + h * 0.5, c.y() - h * 0.5));
    } else if (g == QLatin1String("save")) {
        p.drawRect(QRectF(c.x() - h * 0.6, c.y() - h * 0.6, h * 1.2, h * 1.2));
        p.fillRect(QRectF(c.x() - h * 0.35, c.y() - h * 0.6, h * 0.7, h * 0.4), ink);
    } else if (g == QLatin1String("open")) {
        QPainterPath f;
        f.moveTo(c.x() - h * 0.7, c.y() + h * 0.55);
        f.lineTo(c.x() - h * 0.7, c.y() - h * 0.45);
        f.lineTo(c.x() - h * 0.25, c.y() - h * 0.45);
        f.lineTo(c.x() - h * 0.1, c.y() - h * 0.25);
        f.lineTo(c.x() + h * 0.6, c.y() - h * 0.25);
        f.lineTo(c.x() + h * 0.6, c.y() + h * 0.55);
        f.closeSubpath();
        p.drawPath(f);
    } else if (g == QLatin1String("photo")) {
        p.drawRect(QRectF(c.x() - h * 0.7, c.y() - h * 0.45, h * 1.4, h * 0.95));
        p.drawEllipse(c, h * 0.28, h * 0.28);
    } else if (g == QLatin1String("edit")) {
        p.drawRect(QRectF(c.x() - h * 0.6, c.y() - h * 0.6, h * 1.2, h * 1.2));
        for (int i = 1; i < 3; ++i) {
            p.drawLine(QPointF(c.x() - h * 0.6 + i * h * 0.4, c.y() - h * 0.6), QPointF(c.x() - h * 0.6 + i * h * 0.4, c.y() + h * 0.6));
            p.drawLine(QPointF(c.x() - h * 0.6, c.y() - h * 0.6 + i * h * 0.4), QPointF(c.x() + h * 0.6, c.y() - h * 0.6 + i * h * 0.4));
        }
    } else if (g == QLatin1String("back")) {
        arrow(p, c, h * 0.6, -90);
    } else if (g == QLatin1String("close")) {
        p.drawLine(QPointF(c.x() - h * 0.45, c.y() - h * 0.45), QPointF(c.x() + h * 0.45, c.y() + h * 0.45));
        p.drawLine(QPointF(c.x() - h * 0.45, c.y() + h * 0.45), QPointF(c.x() + h * 0.45, c.y() - h * 0.45));
    } else if (g == QLatin1String("min")) {
        p.drawLine(QPointF(c.x() - h * 0.45, c.y() + h * 0.4), QPointF(c.x() + h * 0.45, c.y() + h * 0.4));
    } else if (g == QLatin1String("help")) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(int(s * 0.7));
        f.setBold(true);
        p.setFont(f);
        p.drawText(QRectF(c.x() - h, c.y() - h, s, s), Qt::AlignCenter, QStringLiteral("?"));
    } else if (g == QLatin1String("settings")) {
        p.drawEllipse(c, h * 0.3, h * 0.3);
        for (int i = 0; i < 8; ++i) {
            const double a = i * M_PI / 4;
            p.drawLine(QPointF(c.x() + std::cos(a) * h * 0.42, c.y() + std::sin(a) * h * 0.42), QPointF(c.x() + std::cos(a) * h * 0.65, c.y() + std::sin(a) * h * 0.65));
        }
    } else if (g == QLatin1String("about")) {
        QFont f(QStringLiteral("DejaVu Serif"));
        f.setPixelSize(int(s * 0.7));
        f.setBold(true);
        f.setItalic(true);
        p.setFont(f);
        p.drawText(QRectF(c.x() - h, c.y() - h, s, s), Qt::AlignCenter, QStringLiteral("i"));
    } else if (g == QLatin1String("exit")) {
        p.drawArc(QRectF(c.x() - h * 0.55, c.y() - h * 0.45, h * 1.1, h * 1.1), 120 * 16, 300 * 16);
        p.drawLine(QPointF(c.x(), c.y() - h * 0.65), QPointF(c.x(), c.y()));
    } else if (g == QLatin1String("ok")) {
        p.drawLine(QPointF(c.x() - h * 0.55, c.y()), QPointF(c.x() - h * 0.15, c.y() + h * 0.45));
        p.drawLine(QPointF(c.x() - h * 0.15, c.y() + h * 0.45), QPointF(c.x() + h * 0.6, c.y() - h * 0.5));
    } else if (g == QLatin1String("folder")) {
        glyph(p, QStringLiteral("open"), c, s);
    } else if (g == QLatin1String("scanner")) {
        p.drawRect(QRectF(c.x() - h * 0.7, c.y() - h * 0.2, h * 1.4, h * 0.6));
        p.drawLine(QPointF(c.x() - h * 0.7, c.y() - h * 0.2), QPointF(c.x() + h * 0.4, c.y() - h * 0.7));
    } else if (g == QLatin1String("scissors")) {
        p.drawEllipse(QPointF(c.x() - h * 0.35, c.y() + h * 0.45), h * 0.2, h * 0.2);
        p.drawEllipse(QPointF(c.x() + h * 0.35, c.y() + h * 0.45), h * 0.2, h * 0.2);
        p.drawLine(QPointF(c.x() - h * 0.25, c.y() + h * 0.3), QPointF(c.x() + h * 0.35, c.y() - h * 0.7));
        p.drawLine(QPointF(c.x() + h * 0.25, c.y() + h * 0.3), QPointF(c.x() - h * 0.35, c.y() - h * 0.7));
    } else if (g == QLatin1String("apply")) {
        glyph(p, QStringLiteral("right"), c, s);
    }
}

void face(QPainter& p, const ParsedFace& f, const QRectF& r, Look look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const bool small = r.height() < 30 || r.width() < 30;
    if (f.kind == QLatin1String("own") && (f.glyph == QLatin1String("mask") || f.glyph == QLatin1String("hatch"))) {
        p.fillRect(r, kBody);
        if (f.glyph == QLatin1String("hatch")) {
            p.setPen(QPen(kBtnEdge, 1));
            for (double x = r.left() - r.height(); x < r.right(); x += 6) p.drawLine(QPointF(x, r.bottom()), QPointF(x + r.height(), r.top()));
        }
    } else if (f.kind == QLatin1String("own") && f.glyph == QLatin1String("cover")) {
        // The undo button while there is nothing to undo.
        QPainterPath path;
        path.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.fillPath(path, kBodyDark);
        p.setPen(QPen(kBtnEdge, 1));
        p.drawPath(path);
        p.setPen(kBtnEdge);
        glyph(p, QStringLiteral("undo"), r.center(), std::min(r.width(), r.height()) * 0.7);
    } else if (f.kind == QLatin1String("btn") || f.kind == QLatin1String("own") || f.kind == QLatin1String("hot") || f.kind == QLatin1String("sel")) {
        const QColor fill = look == Look::Hot ? kHot : look == Look::Selected ? kSel : kBtn;
        const QColor edge = look == Look::Hot ? kHotEdge : look == Look::Selected ? kSelEdge : kBtnEdge;
        QLinearGradient grad(r.topLeft(), r.bottomLeft());
        grad.setColorAt(0, fill.lighter(104));
        grad.setColorAt(1, fill.darker(106));
        QPainterPath path;
        path.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.fillPath(path, grad);
        p.setPen(QPen(edge, 1));
        p.drawPath(path);
        p.setPen(kInk);
        const bool withCaption = !f.caption.isEmpty();
        if (withCaption && r.height() <= 34) {
            // Wide flat buttons: glyph at the left, caption beside it.
            const double gs = r.height() * 0.7;
            if (!f.glyph.isEmpty()) glyph(p, f.glyph, QPointF(r.left() + r.height() / 2 + 2, r.center().y()), gs);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(std::max(9, int(r.height() * 0.42)));
            p.setFont(font);
            p.setPen(kInk);
            const double left = f.glyph.isEmpty() ? r.left() + 4 : r.left() + r.height() + 2;
            p.drawText(QRectF(left, r.top(), r.right() - left - 3, r.height()), Qt::AlignVCenter | (f.glyph.isEmpty() ? Qt::AlignHCenter : Qt::AlignLeft), f.caption);
        } else if (withCaption) {
            const double gs = std::min(r.width(), r.height() - 14) * 0.75;
            if (!f.glyph.isEmpty()) glyph(p, f.glyph, QPointF(r.center().x(), r.top() + 3 + gs / 2 + 2), gs);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(10);
            p.setFont(font);
            p.setPen(kInk);
            p.drawText(QRectF(r.left() + 1, r.bottom() - 15, r.width() - 2, 14), Qt::AlignCenter, f.caption);
        } else {
            glyph(p, f.glyph, r.center(), std::min(r.width(), r.height()) * (small ? 0.8 : 0.7));
        }
    } else if (f.kind == QLatin1String("tab") || f.kind == QLatin1String("tabon")) {
        const bool on = f.kind == QLatin1String("tabon");
        QPainterPath path;
        path.moveTo(r.left(), r.bottom() + 1);
        path.lineTo(r.left() + 6, r.top() + 1);
        path.lineTo(r.right() - 6, r.top() + 1);
        path.lineTo(r.right(), r.bottom() + 1);
        path.closeSubpath();
        const QColor fill = look == Look::Hot ? kHot : on ? kBody : kBodyDark.darker(108);
        p.fillPath(path, fill);
        p.setPen(QPen(on ? kTitle : kBtnEdge, 1));
        p.drawPath(path);
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(12);
        font.setBold(on);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(r, Qt::AlignCenter, f.caption);
    } else if (f.kind == QLatin1String("combo")) {
        p.fillRect(r, Qt::white);
        p.setPen(QPen(kBtnEdge, 1));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
        p.setPen(kInk);
        p.setBrush(kInk);
        const QRectF pfeil = QRectF(ListArrowRect(r.size().toSize())).translated(r.topLeft());
        const QPointF c = pfeil.center();
        QPainterPath tri;
        tri.moveTo(c.x() - 4, c.y() - 2);
        tri.lineTo(c.x() + 4, c.y() - 2);
        tri.lineTo(c.x(), c.y() + 3);
        tri.closeSubpath();
        p.fillPath(tri, kInk);
    } else if (f.kind == QLatin1String("caption")) {
        QFont font(QStringLiteral("DejaVu Sans"));
        font.setPixelSize(10);
        p.setFont(font);
        p.setPen(kInk);
        p.drawText(r.adjusted(0, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, f.glyph);
    } else if (f.kind == QLatin1String("panel")) {
        p.fillRect(r, kBodyDark);
        p.setPen(QPen(kBtnEdge, 1));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (f.kind == QLatin1String("well")) {
        p.fillRect(r, ToQColor(Colour::Well));
        p.setPen(QPen(ToQColor(Colour::WellEdge), 1));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (f.kind == QLatin1String("frame")) {
        p.fillRect(r, ToQColor(Colour::Frame));
        p.setPen(QPen(kBtnEdge, 1));
        p.drawRect(r.adjusted(0.5, 0.5, -0.5, -0.5));
    } else if (f.kind == QLatin1String("display")) {
        QPainterPath path;
        path.addRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 10, 10);
        p.fillPath(path, ToQColor(Colour::DisplayBezel));
        p.fillRect(r.adjusted(10, 10, -10, -10), kGreen);
    } else if (f.kind == QLatin1String("title")) {
        QLinearGradient grad(r.topLeft(), r.bottomLeft());
        grad.setColorAt(0, kTitle2);
        grad.setColorAt(1, kTitle);
        p.fillRect(r, grad);
    }
    p.restore();
}

// Faces that an image or picture box carries as its own picture rather than on the background.
bool carriesOwn(const ParsedFace& f, const Control* c) {
    const bool ownKind = f.kind == QLatin1String("own") || f.kind.startsWith(QLatin1String("tab")) || isStore(f.kind);
    return ownKind && c && (c->ControlKind() == Kind::Image || c->ControlKind() == Kind::PictureBox);
}

void paintChildren(QPainter& p, const Form& form, const QString& container) {
    for (const LayoutItem& it : form.LayoutTable()) {
        if (QString::fromLatin1(it.container) != container || !*it.face) continue;
        const ParsedFace f = parse(it.face);
        const Control* c = form.Find(QString::fromLatin1(it.name), it.index);
        if (!c || carriesOwn(f, c) || f.kind == QLatin1String("layer") || f.kind == QLatin1String("multi")) continue;
        const QRectF r(TwipsToPx(c->Left()), TwipsToPx(c->Top()), TwipsToPx(c->Width()), TwipsToPx(c->Height()));
        face(p, f, r, Look::Normal);
    }
}

void body(QPainter& p, QSize sz, bool window) {
    // Flat, so that covers and layers blend with the window behind them.
    p.fillRect(QRect(QPoint(0, 0), sz), kBody);
    if (window) {
        p.setPen(QPen(kTitle, 2));
        p.drawRect(QRect(1, 1, sz.width() - 2, sz.height() - 2));
    }
}
} // namespace

QImage Face(const char* faceText, QSize px, Look look) {
    QImage img(px.expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    face(p, parse(faceText), QRectF(0, 0, px.width(), px.height()), look);
    return img;
}

void Paint(Form& form) {
    const int tpp = Screen::TwipsPerPixelX();
    const QSize size(int(std::lround(form.Width() / tpp)), int(std::lround(form.Height() / tpp)));
    QImage bg(size.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    {
        QPainter p(&bg);
        body(p, bg.size(), true);
        paintChildren(p, form, QString());
    }
    form.setPicture(vb::Picture(bg));
    for (const LayoutItem& it : form.LayoutTable()) PaintControl(form, it);
}

void PaintControl(Form& form, const LayoutItem& it) {
    const ParsedFace f = parse(it.face);
    Control* c = form.Find(QString::fromLatin1(it.name), it.index);
    if (!c) return;
    const QSize cs(TwipsToPx(c->Width()), TwipsToPx(c->Height()));
    if (f.kind == QLatin1String("layer")) {
        if (auto* pb = dynamic_cast<PictureBox*>(c)) {
            QImage layer(cs.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
            QPainter p(&layer);
            body(p, layer.size(), false);
            paintChildren(p, form, QString::fromLatin1(it.name));
            p.end();
            pb->setPicture(vb::Picture(layer));
        }
    } else if (f.kind == QLatin1String("btn") || f.kind == QLatin1String("frame") || f.kind == QLatin1String("display")) {
        // Buttons and frames scale with their window; their highlight pictures fill them.
        if (auto* im = dynamic_cast<Image*>(c)) im->setStretch(true);
    } else if (f.kind == QLatin1String("combo")) {
        if (auto* l = dynamic_cast<Label*>(c)) l->setListLook(true);
    } else if (carriesOwn(f, c)) {
        const QString faceText = f.kind == QLatin1String("hottab") ? QStringLiteral("tab:") + f.glyph : QString::fromUtf8(it.face);
        const Look look = isStore(f.kind) ? storeLook(f.kind) : Look::Normal;
        const QImage img = Face(faceText.toUtf8().constData(), cs, look);
        if (auto* im = dynamic_cast<Image*>(c)) {
            im->setStretch(true);
            im->setPicture(vb::Picture(img));
        } else if (auto* pb = dynamic_cast<PictureBox*>(c)) {
            pb->setPicture(vb::Picture(img));
        }
    }
}

} // namespace vb::Skin
