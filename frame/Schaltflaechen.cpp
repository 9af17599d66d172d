#include "frame/Schaltflaechen.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "platform/window/ComboBox.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Skin.h"
#include "platform/system/VBError.h"

#include <vector>

using namespace Parameter_und_Start;

namespace Schaltflaechen {

vb::Picture Bild(const vb::Control* c) {
    if (auto* im = dynamic_cast<const vb::Image*>(c)) return im->Picture();
    if (auto* pb = dynamic_cast<const vb::PictureBox*>(c)) return pb->Picture();
    return {};
}

namespace {
// Tabs carry their normal look as their own picture; the other controls show the background.
vb::Picture normalesBild(const vb::Control* c) {
    for (const vb::LayoutItem& it : c->Parent().LayoutTable()) {
        if (c->Name() != QLatin1String(it.name) || c->Index() != it.index) continue;
        if (!QByteArray(it.face).startsWith("tab")) return {};
        return vb::Picture(vb::Skin::Face(it.face, QSize(vb::TwipsToPx(c->Width()), vb::TwipsToPx(c->Height())), vb::Skin::Look::Normal));
    }
    return {};
}
} // namespace

void Bild_setzen(vb::Control* c, const vb::Picture& bild) {
    // Taking a highlight away leaves the control's normal look, not nothing.
    const vb::Picture p = bild.IsEmpty() && c ? normalesBild(c) : bild;
    if (auto* im = dynamic_cast<vb::Image*>(c)) im->setPicture(p);
    else if (auto* pb = dynamic_cast<vb::PictureBox*>(c)) pb->setPicture(p);
}

void Schaltflaeche_hervorheben(vb::Control& target, float X, float Y, vb::Control& source) {
    if (source.Name() != Hover_Name) {
        Hover_Name = source.Name();
        if (Hover_Objekt) Bild_setzen(Hover_Objekt, vb::Picture());
    }
    if (X >= 0 && X <= target.Width() && Y >= 0 && Y <= target.Height()) {
        if (Bild(&source).Handle() != Bild(&target).Handle()) {
            Bild_setzen(&target, Bild(&source));
            Hover_Objekt = &target;
        }
    } else {
        Bild_setzen(&target, vb::Picture());
    }
}

void Hover_verdrahten(vb::Form& f) {
    const auto rows = f.LayoutTable();
    for (size_t i = 0; i < rows.size(); ++i) {
        const vb::LayoutItem& it = rows[i];
        if (!it.pattern) continue;
        vb::Control* c = f.Controls()[i];
        const int tooltip = it.tooltip;
        const char pattern = it.pattern;
        // A highlighted button without its picture stops the window's load; found (or derived)
        // here once, a mouse move only looks the picture up by its name.
        const QString store = pattern != 'T' ? Schaltflaechenlader->Hervorhebung(it).Name() : QString();
        c->MouseMove = [c, tooltip, pattern, store](int, int, float X, float Y) {
            if (pattern != 'H' && tooltip) vb::Try([&] { c->setToolTipText(LoadResString(tooltip)); });
            if (pattern == 'T') return;
            vb::Control* src = Schaltflaechenlader->Find(store);
            if (!src) return;
            // A group member stays lit until the background puts its group right.
            if (pattern == 'G') {
                if (Bild(src).Handle() != Bild(c).Handle()) Bild_setzen(c, Bild(src));
            } else Schaltflaeche_hervorheben(*c, X, Y, *src);
        };
    }
}

void Gruppe_zeigen(vb::Form& f) {
    const auto rows = f.LayoutTable();
    std::vector<std::pair<vb::Control*, const vb::LayoutItem*>> gruppe;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].pattern == 'G') gruppe.emplace_back(f.Controls()[i], &rows[i]);
    // Runs on every mouse move over a background: only what changes is set.
    auto loeschen = [](vb::Control* o) {
        if (Bild(o).Handle()) Bild_setzen(o, vb::Picture());
    };
    bool gewaehlt = false;
    for (const auto& [m, row] : gruppe) {
        if (m->Tag() != QLatin1String("1")) continue;
        gewaehlt = true;
        vb::Control* src = Schaltflaechenlader->Find(QString::fromLatin1(*row->store ? row->store : row->name));
        if (src && Bild(src).Handle() != Bild(m).Handle()) Bild_setzen(m, Bild(src));
        for (const auto& [o, r] : gruppe)
            if (o != m) loeschen(o);
    }
    // With nothing chosen yet (the scissors before the first choice) a member lit under the
    // mouse would otherwise stay lit when the mouse has left it.
    if (!gewaehlt)
        for (const auto& [o, r] : gruppe) loeschen(o);
}

void Fenster_ziehen(vb::Form& f, int Button) {
    if (Button == 1) f.BeginSystemMove();
}

void Rahmen_hervorheben(vb::Image& rahmen, float X, float Y) {
    vb::Control* quelle = Schaltflaechenlader->Find(QStringLiteral("Logo_Vorschaubild"));
    if (!quelle || Bild(&rahmen).Handle() == Bild(quelle).Handle()) return;
    if (Hover_Objekt && Bild(Hover_Objekt).Handle() != 0) {
        Hover_Name = Hover_Objekt->Name();
        Bild_setzen(Hover_Objekt, vb::Picture());
    }
    Schaltflaeche_hervorheben(rahmen, X, Y, *quelle);
}

void Liste_oeffnen(vb::Label& label, vb::ComboBox& liste, int tooltip, std::span<vb::ComboBox* const> gruppe,
                   std::span<vb::Control* const> auchTooltip) {
    for (vb::ComboBox* andere : gruppe)
        if (andere != &liste) andere->setVisible(false);
    if (tooltip)
        vb::Try([&] {
            const QString t = LoadResString(tooltip);
            label.setToolTipText(t);
            liste.setToolTipText(t);
            for (vb::Control* c : auchTooltip) c->setToolTipText(t);
        });
    liste.setVisible(true);
    liste.ZOrder(0);
}

void Hilfe_zeigen() {
    vb::Try([] {
        vb::CommonDialog& d = Schaltflaechenlader->CMDialog1;
        d.HelpFile = Programmverzeichnis + QStringLiteral("vorad.hlp");
        d.HelpCommand = 3;
        d.ShowHelp();
    });
}

void Hilfetaste(int& KeyCode) {
    if (KeyCode != vb::vbKeyF1) return;
    Hilfe_zeigen();
    KeyCode = 0;
}

void Hover_zuruecksetzen(bool nurUnterEins) {
    if (!Hover_Objekt || Bild(Hover_Objekt).Handle() == 0) return;
    Hover_Name = Hover_Objekt->Name();
    if (nurUnterEins && !(Hover_Objekt->Tag() < QLatin1String("1"))) return;
    Bild_setzen(Hover_Objekt, vb::Picture());
}

} // namespace Schaltflaechen
