#include "frame/Schaltflaechenlader.h"

#include <stdexcept>

vb::Instance<SchaltflaechenladerForm> Schaltflaechenlader;

namespace {
using vb::Kind;
// Only the pictures that are not simply a button's own face lit (those are derived, see
// Hervorhebung): pictures under another name than their button's or shared with a button of
// another size, chosen looks, tabs, frames, and buttons without a face of their own. Sizes match
// the buttons that show them.
const vb::LayoutItem kLayout[] = {
    {"Mittelbutton", Kind::Image, -1, 0, 0, 330, 330, "", "hot:min"},
    {"Abbrechen2", Kind::Image, -1, 0, 0, 1800, 450, "", "hot:close:Abbrechen"},
    {"Logo_scroll_runter", Kind::Image, -1, 0, 0, 360, 300, "", "hot:down"},
    {"Reiter_Kalvoren_inLogos", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Kalvoren"},
    {"Reiter_Logos_inKalvoren", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Logos"},
    {"Reiter_Fotos_inKalvoren", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Fotos"},
    {"Reiter_Fotos_inLogos", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Fotos"},
    {"Logo_undo", Kind::Image, -1, 0, 0, 600, 600, "", "hot:undo"},
    {"Logo_Radiegummi", Kind::Image, -1, 0, 0, 600, 600, "", "hot:pen"},
    {"Logo_Linie_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "hot:line"},
    {"Malfarbe_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "sel:black"},
    {"Malfarbe_gruen", Kind::Image, -1, 0, 0, 600, 600, "", "sel:green"},
    {"Malfarbe_gemischt", Kind::Image, -1, 0, 0, 600, 600, "", "sel:mixed"},
    {"Logo_Vorschaubild", Kind::Image, -1, 0, 0, 1725, 1275, "", "hot"},
    // Picture picker
    {"Uebernehmen", Kind::Image, -1, 0, 0, 1800, 450, "", "hot:ok:Übernehmen"},
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

vb::Control& SchaltflaechenladerForm::Hervorhebung(const vb::LayoutItem& row) {
    const bool eigener = !*row.store;
    const QString name = QString::fromLatin1(eigener ? row.name : row.store);
    const QByteArray face(row.face);
    const bool ableitbar = eigener && face.startsWith("btn:");
    const QByteArray hell = ableitbar ? QByteArray("hot:") + face.mid(4) : QByteArray();
    auto fehler = [&](const char* was) {
        QString wo = QString::fromLatin1(row.name);
        if (row.index >= 0) wo += QStringLiteral("(%1)").arg(row.index);
        return std::logic_error(QStringLiteral("%1: %2 %3").arg(Name(), wo, QLatin1String(was)).toStdString());
    };
    if (vb::Control* c = Find(name)) {
        const auto a = m_abgeleitet.find(name);
        if (a == m_abgeleitet.end()) return *c;
        // A derived picture exists only once its own button's window has loaded.
        if (!eigener) throw fehler("names a picture the store only derives");
        if (!ableitbar || a->second.face != hell || a->second.width != row.width || a->second.height != row.height)
            throw fehler("differs from another button of its name that lights with its own face");
        return *c;
    }
    if (!ableitbar) throw fehler("has no highlight picture");
    m_abgeleitet.emplace(name, Abgeleitet{hell, row.width, row.height});
    const char* n = m_texte.emplace_back(name.toLatin1()).constData();
    const char* f = m_texte.emplace_back(hell).constData();
    return *AddRow({n, vb::Kind::Image, -1, 0, 0, row.width, row.height, "", f});
}
