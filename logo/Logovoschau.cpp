#include "logo/Logovoschau.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "logo/Logotypen.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/system/VBError.h"

#include <algorithm>

using namespace Parameter_und_Start;

namespace Logovoschau {

void LogoTyp_setzen(short Index, vb::Label& Logo_Groesse) {
    if (Index >= 0 && Index <= 8) {
        const Logotypen::Typ& z = Logotypen::kTypen[Index];
        Logo_Typcode = QString::fromLatin1(z.code);
        Logo_Breite = z.breite;
        Logo_Hoehe = z.hoehe;
        Logo_Art = z.art;
        Vorschau_Seitengroesse = 20;
        Vorschau_Zeilenlaenge = 5;
        Logo_Seitenverhaeltnis = float(Logo_Hoehe) / float(Logo_Breite);
    }
    Logo_Groesse.setCaption(QString::number(Logo_Breite) + QStringLiteral(" x ") + QString::number(Logo_Hoehe));
}

QSize Vorschaugroesse(int Breite, int Hoehe) { return {std::min(Breite, 101), std::min(Hoehe, 60)}; }

void Logovorschau_Groesse_setzen(const Galerie& G) {
    const Fotovorschau::Slotsatz& S = G.Slots;
    const double tpp = vb::Screen::TwipsPerPixelX();
    const QSize g = Vorschaugroesse(Logo_Breite, Logo_Hoehe);
    for (size_t i = 0; i < S.Bilder.size(); ++i) {
        vb::Image* b = S.Bilder[i];
        // One screen pixel per logo pixel; only the tallest type is squeezed into the slot.
        b->setStretch(true);
        b->setWidth(g.width() * tpp);
        b->setHeight(g.height() * tpp);
        Fenster::Steuerelement_zentrieren(*b, *S.Rahmen[i], 5, 2);
        b->setVisible(true);
        b->Refresh();
    }
}

void Logovorschau_auswaehlen(const Galerie& G, bool Keine_Vorauswahl) {
    Fotovorschau::Vorschaurahmen_zuruecksetzen(G.Slots, Keine_Vorauswahl);
    if (!Keine_Vorauswahl) Logo_uebernehmen(*G.Logo_Weiss_Grafik, G.Slots.Bilder[0]->Picture());
}

void Logo_uebernehmen(vb::PictureBox& weiss, const vb::Picture& Bild) {
    // A picture of another size would otherwise be painted into the last type's extent, and
    // saving or sending would take a crop of it.
    const double tpp = vb::Screen::TwipsPerPixelX();
    weiss.setWidth(Logo_Breite * tpp);
    weiss.setHeight(Logo_Hoehe * tpp);
    weiss.setPicture(Bild);
}

} // namespace Logovoschau
