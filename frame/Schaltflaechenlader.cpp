#include "frame/Schaltflaechenlader.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "platform/window/Skin.h"

#include <stdexcept>

vb::Instance<SchaltflaechenladerForm> Schaltflaechenlader;

namespace {
using vb::Kind;
// Only the pictures that are not derived from a plain button's face (see Hervorhebung): chosen
// looks, tabs, frames, and buttons without a face of their own. Sizes match the buttons that
// show them.
const vb::LayoutItem kLayout[] = {
    {"Reiter_Kalvoren_inLogos", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Kalvoren"},
    {"Reiter_Logos_inKalvoren", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Logos"},
    {"Reiter_Fotos_inKalvoren", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Fotos"},
    {"Reiter_Fotos_inLogos", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Fotos"},
    {"Logo_Radiegummi", Kind::Image, -1, 0, 0, 600, 600, "", "hot:pen"},
    {"Logo_Linie_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "hot:line"},
    {"Malfarbe_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "sel:black"},
    {"Malfarbe_gruen", Kind::Image, -1, 0, 0, 600, 600, "", "sel:green"},
    {"Malfarbe_gemischt", Kind::Image, -1, 0, 0, 600, 600, "", "sel:mixed"},
    {"Logo_Vorschaubild", Kind::Image, -1, 0, 0, 1725, 1275, "", "hot"},
    // Picture picker
    {"Reiter_Datei", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Datei"},
    {"Reiter_Browser", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Browser"},
    {"Foto_Perspektivisch_Skallieren", Kind::Image, -1, 0, 0, 1800, 450, "", "sel:rect:Einpassen"},
    {"Foto_Strecht_Skallieren", Kind::Image, -1, 0, 0, 1800, 450, "", "sel:rectfill:Verzerren"},
    // Photo editor
    {"Kalvoren_Voschau_Dither", Kind::Image, -1, 0, 0, 2340, 1050, "", "hot"},
    {"Kalvoren_Voschau_Muster", Kind::Image, -1, 0, 0, 2340, 1050, "", "hot"},
    {"Kalvoren_Voschau_Schwellenwert", Kind::Image, -1, 0, 0, 2340, 1050, "", "hot"},
    {"Foto_bearbeiten_Schere_Komplett", Kind::Image, -1, 0, 0, 660, 750, "", "sel:scissors:frei"},
    {"Foto_bearbeiten_Schere_Lasso", Kind::Image, -1, 0, 0, 660, 750, "", "sel:scissors:Format"},
    {"Foto_bearbeiten_Schere_Logogroesse", Kind::Image, -1, 0, 0, 660, 750, "", "sel:scissors:Logo"},
};
} // namespace

SchaltflaechenladerForm::SchaltflaechenladerForm() : vb::Form(QStringLiteral("Schaltflaechenlader"), kLayout, 3000, 3000) {}

// Scaled as every window is, so that a picture keeps the size in pixels of the buttons it lights.
void SchaltflaechenladerForm::Form_Load() { Fenster::Fenster_skalieren(*this); }

namespace {
// The picture a button with a face of its own lights with: that face lit (a group member: that
// face chosen). Empty for a button without a face of its own.
QByteArray lichtVon(const vb::LayoutItem& row) {
    const QByteArray face(row.face);
    if (face.startsWith("btn:")) return (row.pattern == 'G' ? QByteArray("sel:") : QByteArray("hot:")) + face.mid(4);
    if (face.startsWith("tab:")) return QByteArray("hot") + face;
    if (face == "frame") return QByteArray("hot");
    return {};
}
} // namespace

vb::Control& SchaltflaechenladerForm::Hervorhebung(const vb::LayoutItem& row) {
    const QString name = QString::fromLatin1(*row.store ? row.store : row.name);
    const QByteArray licht = lichtVon(row);
    auto fehler = [&](const char* was) {
        QString wo = QString::fromLatin1(row.name);
        if (row.index >= 0) wo += QStringLiteral("(%1)").arg(row.index);
        return std::logic_error(QStringLiteral("%1: %2 %3").arg(Name(), wo, QLatin1String(was)).toStdString());
    };
    if (vb::Control* c = Find(name)) {
        const bool abgeleitet = m_abgeleitet.contains(name);
        // A button without a face of its own borrows only what the table lists: a derived
        // picture exists only once its own button's window has loaded.
        if (licht.isEmpty()) {
            if (abgeleitet) throw fehler("names a picture the store only derives");
            return *c;
        }
        // A button with a face of its own never lights with another face or at another size.
        for (const vb::LayoutItem& it : LayoutTable()) {
            if (name != QLatin1String(it.name)) continue;
            if (licht != it.face || it.width != row.width || it.height != row.height)
                throw fehler(abgeleitet ? "differs from another button that lights with the picture of its name"
                                        : "lights with another face than its own");
            break;
        }
        return *c;
    }
    if (!licht.startsWith("hot:")) throw fehler("has no highlight picture");
    m_abgeleitet.insert(name);
    const char* n = m_texte.emplace_back(name.toLatin1()).constData();
    const char* f = m_texte.emplace_back(licht).constData();
    vb::Control* c = AddRow({n, vb::Kind::Image, -1, 0, 0, row.width, row.height, "", f});
    if (!Parameter_und_Start::KleineSchriftarten()) {
        Fenster::Steuerelement_skalieren(*c);
        vb::Skin::PaintControl(*this, LayoutTable().back());
    }
    return *c;
}
