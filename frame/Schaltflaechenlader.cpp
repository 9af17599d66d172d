#include "frame/Schaltflaechenlader.h"

vb::Instance<SchaltflaechenladerForm> Schaltflaechenlader;

namespace {
using vb::Kind;
// Sizes match the buttons that show these pictures.
const vb::LayoutItem kLayout[] = {
    {"Schliessen", Kind::Image, -1, 0, 0, 330, 330, "", "hot:close"},
    {"Beenden2", Kind::Image, -1, 0, 0, 330, 330, "", "hot:exit"},
    {"Mittelbutton", Kind::Image, -1, 0, 0, 330, 330, "", "hot:min"},
    {"Hilfe", Kind::Image, -1, 0, 0, 330, 330, "", "hot:help"},
    {"Einstellun", Kind::Image, -1, 0, 0, 330, 330, "", "hot:settings"},
    {"Logo", Kind::Image, -1, 0, 0, 330, 330, "", "hot:about"},
    {"OK", Kind::Image, -1, 0, 0, 1800, 450, "", "hot:ok:OK"},
    {"Abbrechen", Kind::Image, -1, 0, 0, 1800, 450, "", "hot:close:Abbrechen"},
    {"Abbrechen2", Kind::Image, -1, 0, 0, 1800, 450, "", "hot:close:Abbrechen"},
    {"Verzeichnis", Kind::Image, -1, 0, 0, 1800, 450, "", "hot:folder:Verzeichnis"},
    {"PfeilHoch", Kind::Image, -1, 0, 0, 360, 300, "", "hot:up"},
    {"Logo_scroll_runter", Kind::Image, -1, 0, 0, 360, 300, "", "hot:down"},
    {"Scannerquelle_festlegen", Kind::Image, -1, 0, 0, 2400, 450, "", "hot:scanner:Scannerquelle"},
    {"Transfer", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:send:Senden"},
    {"Loeschen", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:delete:Betreiberlogo"},
    {"Speichern", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:save:Speichern"},
    {"Laden", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:open:Logo laden"},
    {"Laden_Fotos_Browser", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:photo:Foto laden"},
    {"In_Zaroreriri_bearbeiten", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:edit:Bearbeiten"},
    {"Kalvoren_Logo_Speichern", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:save:Speichern"},
    {"Kalvoren_bearbeiten_zurueck", Kind::Image, -1, 0, 0, 2100, 450, "", "hot:back:Zurück"},
    {"Reiter_Kalvoren_inLogos", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Kalvoren"},
    {"Reiter_Logos_inKalvoren", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Logos"},
    {"Reiter_Fotos_inKalvoren", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Fotos"},
    {"Reiter_Fotos_inLogos", Kind::Image, -1, 0, 0, 1800, 420, "", "hottab:Fotos"},
    {"Logo_Neu", Kind::Image, -1, 0, 0, 600, 600, "", "hot:new"},
    {"Logo_undo", Kind::Image, -1, 0, 0, 600, 600, "", "hot:undo"},
    {"Logo_Stift", Kind::Image, -1, 0, 0, 600, 600, "", "hot:pen"},
    {"Logo_Radiegummi", Kind::Image, -1, 0, 0, 600, 600, "", "hot:pen"},
    {"Logo_Text", Kind::Image, -1, 0, 0, 600, 600, "", "hot:text"},
    {"Logo_Linie", Kind::Image, -1, 0, 0, 600, 600, "", "hot:line"},
    {"Logo_Linie_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "hot:line"},
    {"Logo_Kreis", Kind::Image, -1, 0, 0, 600, 600, "", "hot:circle"},
    {"Logo_Kreis_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "hot:disc"},
    {"Logo_Quadrat", Kind::Image, -1, 0, 0, 600, 600, "", "hot:rect"},
    {"Logo_Rechteck_Schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "hot:rectfill"},
    {"Logo_invers", Kind::Image, -1, 0, 0, 600, 600, "", "hot:invert"},
    {"Logo_hori_spiegel", Kind::Image, -1, 0, 0, 600, 600, "", "hot:mirrorh"},
    {"Logo_verti_spiegel", Kind::Image, -1, 0, 0, 600, 600, "", "hot:mirrorv"},
    {"Logo_hoch_bit", Kind::Image, -1, 0, 0, 600, 600, "", "hot:up"},
    {"Logo_runter_bit", Kind::Image, -1, 0, 0, 600, 600, "", "hot:down"},
    {"Logo_links_bit", Kind::Image, -1, 0, 0, 600, 600, "", "hot:left"},
    {"Logo_rechts_bit", Kind::Image, -1, 0, 0, 600, 600, "", "hot:right"},
    {"Malfarbe_schwarz", Kind::Image, -1, 0, 0, 600, 600, "", "sel:black"},
    {"Malfarbe_gruen", Kind::Image, -1, 0, 0, 600, 600, "", "sel:green"},
    {"Malfarbe_gemischt", Kind::Image, -1, 0, 0, 600, 600, "", "sel:mixed"},
    {"Logo_Vorschaubild", Kind::Image, -1, 0, 0, 1725, 1275, "", "hot"},
};
} // namespace

SchaltflaechenladerForm::SchaltflaechenladerForm() : vb::Form(QStringLiteral("Schaltflaechenlader"), kLayout, 3000, 3000) {}
