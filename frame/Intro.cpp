#include "frame/Intro.h"

#include "frame/Einstellungen.h"
#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "frame/Variablen_Sichern_laden.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/system/Shell.h"
#include "platform/window/Skin.h"
#include "platform/window/Timer.h"
#include "platform/system/VBError.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<IntroForm> Intro;
const char* const kProduktseite = "https://vorad-logo-kalvoren.example/produkt/";
const char* const kHomepage = "https://vorad-logo-kalvoren.example/";

namespace {
const char* const kVersion = "Version 1.0";
const char* const kLink1 = "btn:right:Produktseite";
const char* const kLink2 = "btn:right:Homepage";

// 460 x 300 pixels: the face above, the two links in a strip along the bottom. The outro
// picture lies over the face and leaves the links free.
using Self = IntroForm;

const vb::LayoutRow kLayout[] = {
    VB_ROW(Splash, 0, 0, 0, 0),
    VB_ROW(Image1, 1725, 3900, 2400, 450, "", kLink1),
    VB_ROW(Image2, 4275, 3900, 2400, 450, "", kLink2),
    VB_ROW(Outro, 150, 150, 6600, 3600),
};

// The skin's colours, as the painter takes them.
namespace Farbe = vb::Skin::Colour;
const QColor kTitel = vb::ToQColor(Farbe::Title), kTitel2 = vb::ToQColor(Farbe::Title2), kKoerper = vb::ToQColor(Farbe::Body),
             kKante = vb::ToQColor(Farbe::ButtonEdge);
const QColor kTinte = vb::ToQColor(Farbe::Ink), kGelb = vb::ToQColor(Farbe::Hot), kDisplay = vb::ToQColor(Farbe::DisplayGreen),
             kGehaeuse = vb::ToQColor(Farbe::DisplayBezel);

QFont schrift(int px, bool fett) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setPixelSize(px);
    f.setBold(fett);
    return f;
}
// The largest font up to px at which the text fits into the width.
QFont passend(const QString& text, int px, bool fett, int breite) {
    QFont f = schrift(px, fett);
    while (px > 8 && QFontMetrics(f).horizontalAdvance(text) > breite) f = schrift(--px, fett);
    return f;
}

// The program's name in two lines: its first word and the rest.
std::pair<QString, QString> nameZeilen() {
    QString name = QStringLiteral("Vorad Logo-Kalvoren");
    vb::Try([&] { name = LoadResString(104); });
    const int blank = int(name.indexOf(QLatin1Char(' ')));
    if (blank < 0) return {name, QString()};
    return {name.left(blank), name.mid(blank + 1).trimmed()};
}

// A small operator logo as the phone shows it: signal bars and the name, one bit per pixel.
QImage kleinesLogo() {
    QImage logo(72, 14, QImage::Format_RGB32);
    logo.fill(Qt::white);
    QPainter p(&logo);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setRenderHint(QPainter::TextAntialiasing, false);
    for (int i = 0; i < 4; ++i) p.fillRect(QRect(1 + i * 3, 11 - i * 3, 2, 3 + i * 3), Qt::black);
    QFont f = schrift(12, true);
    f.setStyleStrategy(QFont::NoAntialias);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(15, 0, 57, 14), Qt::AlignCenter, nameZeilen().first.toUpper());
    p.end();
    // Pure black and white, as a logo of the phone is.
    for (int y = 0; y < logo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(logo.scanLine(y));
        for (int x = 0; x < logo.width(); ++x) row[x] = qGray(row[x]) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
    }
    return logo;
}

// The logo's black pixels on the green display, each as a square of `zoom` pixels.
void logoZeichnen(QPainter& p, const QImage& logo, QPointF oben_links, int zoom) {
    for (int y = 0; y < logo.height(); ++y)
        for (int x = 0; x < logo.width(); ++x)
            if (qGray(logo.pixel(x, y)) < 128)
                p.fillRect(QRectF(oben_links.x() + x * zoom, oben_links.y() + y * zoom, zoom, zoom), QColor(0x14, 0x18, 0x0E));
}

// A stylised phone: body, earpiece, display with the logo, navigation key and keypad.
void telefon(QPainter& p, const QRectF& r) {
    p.save();
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, kGehaeuse.lighter(125));
    g.setColorAt(0.5, kGehaeuse);
    g.setColorAt(1, kGehaeuse.darker(140));
    QPainterPath koerper;
    koerper.addRoundedRect(r, r.width() * 0.2, r.width() * 0.2);
    p.fillPath(koerper, g);
    p.setPen(QPen(QColor(0x11, 0x16, 0x18), 1.5));
    p.drawPath(koerper);
    const double w = r.width();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x15, 0x1A, 0x1C));
    p.drawRoundedRect(QRectF(r.center().x() - w * 0.15, r.top() + 10, w * 0.3, 4), 2, 2);
    const QRectF rahmen(r.left() + 8, r.top() + 24, w - 16, 56);
    p.setBrush(QColor(0x1A, 0x20, 0x22));
    p.drawRoundedRect(rahmen, 5, 5);
    const QRectF display = rahmen.adjusted(4, 4, -4, -4);
    p.fillRect(display, kDisplay);
    const QImage logo = kleinesLogo();
    logoZeichnen(p, logo, QPointF(display.center().x() - logo.width() / 2.0, display.center().y() - logo.height() / 2.0), 1);
    // Navigation key and keypad.
    const double kx = r.left() + 12, ky = rahmen.bottom() + 10;
    p.setBrush(QColor(0x9E, 0xAB, 0xB2));
    p.drawRoundedRect(QRectF(r.center().x() - 14, ky, 28, 12), 6, 6);
    const double taste = (w - 24 - 2 * 8) / 3;
    for (int zeile = 0; zeile < 4; ++zeile)
        for (int spalte = 0; spalte < 3; ++spalte)
            p.drawRoundedRect(QRectF(kx + spalte * (taste + 8), ky + 22 + zeile * 19, taste, 12), 5, 5);
    p.restore();
}

// The window's own face: the start-up picture with the program's name, its version and a phone.
QImage splashBild(QSize px, const QRectF& link1, const QRectF& link2) {
    QImage img(px.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    const double leiste = link1.top() - 10;
    QLinearGradient g(0, 0, 0, leiste);
    g.setColorAt(0, kTitel2);
    g.setColorAt(1, kTitel);
    p.fillRect(QRectF(0, 0, px.width(), leiste), g);
    // Faint rings behind the phone, as a radio signal.
    p.setPen(QPen(QColor(255, 255, 255, 28), 2));
    for (int i = 1; i <= 4; ++i) p.drawEllipse(QPointF(92, 40), 40.0 * i, 40.0 * i);
    telefon(p, QRectF(45, 26, 100, leiste - 44));

    const auto [zeile1, zeile2] = nameZeilen();
    const double x = 175, breite = px.width() - x - 22;
    p.setPen(Qt::white);
    p.setFont(passend(zeile1, 46, true, int(breite)));
    p.drawText(QRectF(x, 40, breite, 56), Qt::AlignLeft | Qt::AlignVCenter, zeile1);
    p.setPen(kGelb);
    p.setFont(passend(zeile2, 30, true, int(breite)));
    p.drawText(QRectF(x, 96, breite, 40), Qt::AlignLeft | Qt::AlignVCenter, zeile2);
    p.fillRect(QRectF(x, 146, breite, 2), QColor(255, 255, 255, 90));
    p.setPen(vb::ToQColor(Farbe::BodyDark));
    p.setFont(schrift(13, false));
    p.drawText(QRectF(x, 156, breite, 20), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kVersion));

    p.fillRect(QRectF(0, leiste, px.width(), px.height() - leiste), kKoerper);
    p.fillRect(QRectF(0, leiste, px.width(), 1), kKante);
    p.drawImage(link1.topLeft(), vb::Skin::Face(kLink1, link1.size().toSize(), vb::Skin::Look::Normal));
    p.drawImage(link2.topLeft(), vb::Skin::Face(kLink2, link2.size().toSize(), vb::Skin::Look::Normal));
    return img;
}

// The outro and about picture: the name beside a phone display that shows a small logo.
QImage outroBild(QSize px) {
    QImage img(px.expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    QLinearGradient g(0, 0, 0, px.height());
    g.setColorAt(0, vb::ToQColor(Farbe::Button));
    g.setColorAt(1, kKoerper);
    p.fillRect(img.rect(), g);
    p.setPen(QPen(kKante, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, px.width() - 1, px.height() - 1), 6, 6);

    const QImage logo = kleinesLogo();
    const int zoom = 2;
    const QRectF bezel(22, 34, logo.width() * zoom + 56, px.height() - 68);
    QPainterPath rahmen;
    rahmen.addRoundedRect(bezel, 14, 14);
    p.fillPath(rahmen, kGehaeuse);
    const QRectF display = bezel.adjusted(12, 12, -12, -12);
    p.fillRect(display, kDisplay);
    // Signal and battery as the display shows them, above and below the logo.
    const QColor pixel(0x14, 0x18, 0x0E);
    for (int i = 0; i < 5; ++i) p.fillRect(QRectF(display.left() + 8, display.top() + 10 + i * 7, 4 + i * 3, 4), pixel);
    p.fillRect(QRectF(display.right() - 26, display.top() + 10, 16, 8), pixel);
    p.fillRect(QRectF(display.right() - 10, display.top() + 12, 2, 4), pixel);
    logoZeichnen(p, logo, QPointF(display.center().x() - logo.width() * zoom / 2.0, display.center().y() - logo.height() * zoom / 2.0 + 4), zoom);

    const auto [zeile1, zeile2] = nameZeilen();
    const double x = bezel.right() + 20, breite = px.width() - x - 16;
    p.setPen(kTitel);
    p.setFont(passend(zeile1, 34, true, int(breite)));
    p.drawText(QRectF(x, 58, breite, 44), Qt::AlignLeft | Qt::AlignVCenter, zeile1);
    p.setPen(kTitel2);
    p.setFont(passend(zeile2, 24, true, int(breite)));
    p.drawText(QRectF(x, 102, breite, 32), Qt::AlignLeft | Qt::AlignVCenter, zeile2);
    p.fillRect(QRectF(x, 140, breite, 2), kGelb);
    p.setPen(kTinte);
    p.setFont(schrift(12, false));
    p.drawText(QRectF(x, 148, breite, 20), Qt::AlignLeft | Qt::AlignVCenter, QString::fromLatin1(kVersion));
    return img;
}

QRectF pixelRect(const vb::Control& c) {
    return QRectF(vb::TwipsToPx(c.Left()), vb::TwipsToPx(c.Top()), vb::TwipsToPx(c.Width()), vb::TwipsToPx(c.Height()));
}

} // namespace

IntroForm::IntroForm() : vb::Form(QStringLiteral("Intro"), kLayout, 6900, 4500) {}

void IntroForm::Design() {
    vb::Try([&] { setCaption(LoadResString(104)); });
    Outro->setVisible(false);
    Image1->setToolTipText(QString::fromLatin1(kProduktseite));
    Image2->setToolTipText(QString::fromLatin1(kHomepage));
}

void IntroForm::Wire() {
    Splash->Tick = [this] { Splash_Timer(); };
    Image1->Click = [this] { Image1_Click(); };
    Image2->Click = [this] { Image2_Click(); };
    Outro->Click = [this] { Outro_Click(); };
}

void IntroForm::Form_Load() {
    // Loaded again after the outro, the window is the about box only.
    Splash_Startlauf = !Start_erledigt;
    Splash->setInterval(4000);
    Splash->setTimerEnabled(true);
}

void IntroForm::Form_Activate() {
    // The faces are painted at the window's size on this screen.
    const QSize px(vb::TwipsToPx(Width()), vb::TwipsToPx(Height()));
    setPicture(vb::Picture(splashBild(px, pixelRect(*Image1), pixelRect(*Image2))));
    Outro->setPicture(vb::Picture(outroBild(QSize(vb::TwipsToPx(Outro->Width()), vb::TwipsToPx(Outro->Height())))));
    Fenster::Fenster_abrunden(*this);
}

void IntroForm::Form_Resize() {
    const int tpp = vb::Screen::TwipsPerPixelX();
    const bool standard = KleineSchriftarten();
    const double a = standard ? 0 : 65, b = standard ? 20 : 95;
    const long x = std::lround((vb::Screen::Width() / 2 - Width() / 2) / tpp - a);
    const long y = std::lround((vb::Screen::Height() / 2 - Height() / 2) / tpp - b);
    setTopmost(true);
    Move(double(x) * tpp, double(y) * tpp);
}

void IntroForm::Form_Click() {
    Splash->setTimerEnabled(false);
    Splash->setInterval(0);
    Splash_Timer();
}

void IntroForm::Form_KeyPress(int&) { Splash_Timer(); }

void IntroForm::Form_KeyDown(int& KeyCode, int) { Schaltflaechen::Hilfetaste(KeyCode); }

void IntroForm::Image1_Click() {
    if (vb::Shell::Execute(QStringLiteral("open"), QString::fromLatin1(kProduktseite)) < 32) Hide();
}

void IntroForm::Image2_Click() {
    if (vb::Shell::Execute(QStringLiteral("open"), QString::fromLatin1(kHomepage)) < 32) Hide();
}

void IntroForm::Outro_Click() {
    Splash->setTimerEnabled(false);
    Unload();
}

void IntroForm::Splash_Timer() {
    // A tick that arrives while the start-up work lets events run must not start it again.
    if (Gemeinsam.Intro_im_Timer) return;
    Gemeinsam.Intro_im_Timer = true;
    struct Ende {
        ~Ende() { Gemeinsam.Intro_im_Timer = false; }
    } ende;

    vb::Try([&] { Hide(); });
    if (Splash_Startlauf) {
        Start_erledigt = true;
        vb::Try([] { vb::App::DoEvents(); });
        vb::Try([] { Startbildschirm->Show(vb::vbModeless); });
        vb::Try([] { Fenster::Formular_laden(*Einstellungen); });
        struct Liste {
            vb::ComboBox* EinstellungenForm::*liste;
            int von, bis;
        };
        static const Liste kListen[] = {
            {&EinstellungenForm::Vorad_Master_ComboKategorien, 500, 501},
            {&EinstellungenForm::Vorad_Master_VoradTyp_ComboKategorien, 510, 516},
            {&EinstellungenForm::Vorad_Master_ComboKategorien_Netzbetreiber, 208, 211},
            {&EinstellungenForm::Berechnungsart_Combobox, 550, 552},
        };
        for (const Liste& l : kListen) {
            vb::Try([&] {
                vb::ComboBox* c = (*Einstellungen).*(l.liste);
                c->Clear();
                for (int id = l.von; id <= l.bis; ++id) vb::Try([&] { c->AddItem(LoadResString(id)); });
                c->setListIndex(0);
            });
        }
        vb::Try([] { Variablen_Sichern_laden::Variablen_laden(Einstellungen->Gesicherte_Felder()); });
        vb::Try([] { vb::App::DoEvents(); });
        vb::Try([] { Startbildschirm->setEnabled(false); });
        vb::Try([] { Einstellungen->setEnabled(true); });
        vb::Try([] { Einstellungen->Show(vb::vbModeless); });
        vb::Try([&] { Splash->setTimerEnabled(false); });
    }
    Splash_Startlauf = false;
    vb::Try([] { vb::App::DoEvents(); });
    vb::Try([&] { Hide(); });
    vb::Try([] { vb::App::DoEvents(); });
    vb::Try([&] { Outro->setVisible(true); });
}

void IntroForm::Form_QueryUnload(int& Cancel, int) {
    // Closed from outside, the splash ends as a click ends it.
    Cancel = 1;
    Form_Click();
}
