#include "logo/Logovoschau.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "platform/FileListBox.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/PictureBox.h"
#include "platform/Screen.h"
#include "platform/ScrollBar.h"
#include "platform/VBError.h"

#include <algorithm>

using namespace Parameter_und_Start;

namespace Logovoschau {
namespace {
struct LogoTypZeile {
    const char* code;
    short breite, hoehe, art;
};
// Index = list index of the category lists (strings 190 to 198).
constexpr LogoTypZeile kTypen[9] = {
    {"SB_S25", 97, 26, Art_Betreiberlogo},   {"SB_CM35", 101, 21, Art_Betreiberlogo}, {"SB_S35", 101, 43, Art_Betreiberlogo},
    {"NSL7110", 96, 65, Art_Startuplogo},    {"NSL6210", 96, 60, Art_Startuplogo},    {"NSLXXXX", 84, 48, Art_Startuplogo},
    {"NGLXXXX", 72, 14, Art_Gruppenlogo},    {"NBLXXXX", 72, 14, Art_Betreiberlogo},  {"NBL62_71", 72, 21, Art_Betreiberlogo},
};
constexpr int kSlots = 20;

QString typOrdner() { return Programmverzeichnis + QStringLiteral("logos/") + Logo_Typcode; }
} // namespace

void LogoTyp_setzen(short Index) {
    if (Index >= 0 && Index <= 8) {
        const LogoTypZeile& z = kTypen[Index];
        Logo_Typcode = QString::fromLatin1(z.code);
        Logo_Breite = z.breite;
        Logo_Hoehe = z.hoehe;
        Logo_Art = z.art;
        Vorschau_Seitengroesse = 20;
        Vorschau_Zeilenlaenge = 5;
        Logo_Seitenverhaeltnis = float(Logo_Hoehe) / float(Logo_Breite);
    }
    Startbildschirm->Logo_Groesse->setCaption(QString::number(Logo_Breite) + QStringLiteral(" x ") + QString::number(Logo_Hoehe));
}

void Logovorschau_ausblenden() {
    for (vb::Image* b : Startbildschirm->Logo_Vorschaubild_Bild) b->setVisible(false);
}

void Logovorschau_leeren() {
    for (vb::Image* b : Startbildschirm->Logo_Vorschaubild_Bild) {
        b->setPicture(vb::Picture());
        b->setEnabled(false);
    }
}

void Logovorschau_Groesse_setzen() {
    StartbildschirmForm& F = Startbildschirm.get();
    const double tpp = vb::Screen::TwipsPerPixelX();
    const int w = std::min<int>(Logo_Breite, 101), h = std::min<int>(Logo_Hoehe, 60);
    for (int i = 0; i < kSlots; ++i) {
        vb::Image* b = F.Logo_Vorschaubild_Bild[size_t(i)];
        // One screen pixel per logo pixel; only the tallest type is squeezed into the slot.
        b->setStretch(true);
        b->setWidth(w * tpp);
        b->setHeight(h * tpp);
        Fenster::Steuerelement_zentrieren(*b, *F.Logo_Vorschaubild[size_t(i)], 5, 2);
        b->setVisible(true);
        b->Refresh();
    }
}

void Logovorschau_fuellen() {
    StartbildschirmForm& F = Startbildschirm.get();
    F.LogoScrollbalken->setEnabled(false);
    F.Fileilistbox->setPattern(QStringLiteral("*.*"));
    F.Fileilistbox->setPath(typOrdner());
    // A folder that fits on one page keeps the gallery on its first page.
    F.LogoScrollbalken->setMin(0);
    F.LogoScrollbalken->setMax(std::max(0, F.Fileilistbox->ListCount() - kSlots));
    F.LogoScrollbalken->setValue(0);
    F.LogoScrollbalken->setSmallChange(Vorschau_Zeilenlaenge);
    F.LogoScrollbalken->setLargeChange(Vorschau_Seitengroesse);
    F.Fileilistbox->ReRead();
    F.LogoScrollbalken->setEnabled(true);
    F.LogoScrollbalken->Refresh();
    Logovorschaubilder_laden();
}

void Logovorschaubilder_laden() {
    StartbildschirmForm& F = Startbildschirm.get();
    const QString ordner = typOrdner();
    for (int i = 0; i < kSlots; ++i) {
        const int n = F.LogoScrollbalken->Value() + i;
        vb::Image* bild = F.Logo_Vorschaubild_Bild[size_t(i)];
        if (n >= F.Fileilistbox->ListCount()) {
            // Past the last file the slot stays empty.
            bild->setPicture(vb::Picture());
            bild->setToolTipText(QString());
            F.Logo_Vorschaubild[size_t(i)]->setToolTipText(QString());
            F.Logo_Vorschaubild_Bildname[size_t(i)]->setCaption(QString());
            bild->setEnabled(false);
            continue;
        }
        const QString name = F.Fileilistbox->List(n);
        const QString p = ordner + QLatin1Char('/') + name;
        vb::Picture gelesen;
        // At slot size: a page never keeps whole photos dropped into a logo folder.
        vb::Try([&] { gelesen = vb::LoadThumbnail(p, QSize(101, 60)); });
        // A file that is no picture leaves its slot empty, without a path to open or send.
        const bool leer = gelesen.IsEmpty();
        bild->setPicture(gelesen);
        bild->setToolTipText(leer ? QString() : p);
        F.Logo_Vorschaubild[size_t(i)]->setToolTipText(leer ? QString() : p);
        F.Logo_Vorschaubild_Bildname[size_t(i)]->setCaption(name);
        bild->setEnabled(!leer);
    }
}

void Logovorschau_auswaehlen(bool Keine_Vorauswahl) {
    StartbildschirmForm& F = Startbildschirm.get();
    for (int i = 0; i < kSlots; ++i) {
        F.Logo_Vorschaubild[size_t(i)]->setBorderStyle(0);
        F.Logo_Vorschaubild_Bild[size_t(i)]->setBorderStyle(0);
    }
    if (!Keine_Vorauswahl) {
        F.Logo_Vorschaubild[0]->setBorderStyle(1);
        F.Logo_Vorschaubild_Bild[0]->setBorderStyle(1);
        Logo_uebernehmen(F.Logo_Vorschaubild_Bild[0]->Picture());
    }
}

void Logo_uebernehmen(const vb::Picture& Bild) {
    // A picture of another size would otherwise be painted into the last type's extent, and
    // saving or sending would take a crop of it.
    vb::PictureBox& weiss = *Startbildschirm->Logo_Weiss_Grafik;
    const double tpp = vb::Screen::TwipsPerPixelX();
    weiss.setWidth(Logo_Breite * tpp);
    weiss.setHeight(Logo_Hoehe * tpp);
    weiss.setPicture(Bild);
}

} // namespace Logovoschau
