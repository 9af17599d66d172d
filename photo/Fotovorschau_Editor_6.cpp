#include "photo/Fotovorschau_Editor_6.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "logo/Fotovorschau.h"
#include "platform/App.h"
#include "platform/FileListBox.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Screen.h"
#include "platform/ScrollBar.h"
#include "platform/VBError.h"

#include <algorithm>

using namespace Parameter_und_Start;

namespace Fotovorschau_Editor_6 {
namespace {
constexpr int kSlotBreite = 101, kSlotHoehe = 60; // pixels a slot picture is fitted into
int letzterSlot(const Streifen& S) { return std::min<int>(Browser_Seitenende, int(S.Bilder.size()) - 1); }
} // namespace

void Editorvorschau_Voreinstellung() {
    Browser_Schrittweite = 1;
    Browser_Seitenende = 5;
}

void Editorvorschaubilder_ausblenden(const Streifen& S) {
    for (vb::Image* b : S.Bilder) b->setVisible(false);
}

void Editorvorschaubilder_leeren(const Streifen& S) {
    // The pictures stay disabled: a click on a slot is taken by its frame.
    for (vb::Image* b : S.Bilder) {
        b->setPicture(vb::Picture());
        b->setEnabled(false);
    }
}

void Editorvorschau_Ordner_setzen(const Streifen& S) {
    S.Liste->setPath(Programmverzeichnis + QStringLiteral("fotos"));
    S.Scrollbalken->setEnabled(false);
    S.Liste->setPattern(QStringLiteral("*.jpg;*.bmp;*.wmf;*.ico;V_*.bin"));
    // A collection of fewer than six files keeps the strip on its first page.
    S.Scrollbalken->setMax(std::max(0, S.Liste->ListCount() - Browser_Seitenende - 1));
    vb::Try([&] { S.Scrollbalken->setValue(0); });
    S.Scrollbalken->setMin(0);
    S.Scrollbalken->setSmallChange(Browser_Schrittweite);
    S.Scrollbalken->setLargeChange(Browser_Seitenende);
    S.Liste->ReRead();
    S.Scrollbalken->setEnabled(true);
    S.Scrollbalken->Refresh();
    Editorvorschaubilder_fuellen(S);
}

void Editorvorschaubilder_fuellen(const Streifen& S) {
    S.Scrollbalken->setEnabled(false);
    QString ordner = S.Liste->Path();
    if (ordner.endsWith(QLatin1Char('/'))) ordner.chop(1);
    const double tpp = vb::Screen::TwipsPerPixelX();
    for (int i = 0; i <= letzterSlot(S); ++i) {
        const size_t k = size_t(i);
        vb::Image* bild = S.Bilder[k];
        vb::Image* rahmen = S.Rahmen[k];
        const int n = S.Scrollbalken->Value() + i;
        bild->setVisible(false);
        bild->setStretch(false);
        if (n >= S.Liste->ListCount()) {
            // Past the last file the slot stays empty.
            bild->setPicture(vb::Picture());
            bild->setToolTipText(QString());
            rahmen->setToolTipText(QString());
            continue;
        }
        const QString name = S.Liste->List(n);
        const vb::Picture p = Fotovorschau::Fotosammlung_Bild(ordner + QLatin1Char('/') + name, Fotovorschau::Modus_Vorschau);
        if (p.IsEmpty()) {
            // A file that is no picture leaves its slot empty; the strip goes on.
            bild->setPicture(vb::Picture());
            bild->setToolTipText(QString());
            rahmen->setToolTipText(QString());
            continue;
        }
        bild->setPicture(p);
        bild->setToolTipText(ordner + QLatin1Char('/') + name);
        rahmen->setToolTipText(ordner + QLatin1Char('/') + name.mid(2));
        vb::Try([&] { Fenster::Bild_einpassen(*bild, kSlotBreite * tpp, kSlotHoehe * tpp); });
        vb::Try([&] { Fenster::Steuerelement_zentrieren(*bild, *rahmen, -1, 3); });
    }
    vb::App::DoEvents();
    S.Scrollbalken->setEnabled(true);
}

void Editorvorschaurahmen_zuruecksetzen(const Streifen& S, bool Keine_Vorauswahl) {
    for (size_t i = 0; i < S.Rahmen.size(); ++i) {
        S.Rahmen[i]->setBorderStyle(0);
        S.Bilder[i]->setBorderStyle(0);
    }
    if (!Keine_Vorauswahl && !S.Rahmen.empty()) {
        S.Rahmen[0]->setBorderStyle(1);
        S.Bilder[0]->setBorderStyle(1);
    }
}

int Gerahmter_Slot(const Streifen& S) {
    for (size_t i = 0; i < S.Rahmen.size(); ++i)
        if (S.Rahmen[i]->BorderStyle() == 1) return int(i);
    return -1;
}

} // namespace Fotovorschau_Editor_6
