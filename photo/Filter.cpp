#include "photo/Filter.h"

#include "frame/Strings.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Label.h"

namespace Filter {
namespace {
void fuellen(vb::ComboBox* liste, int erste, int letzte) {
    liste->Clear();
    for (int id = erste; id <= letzte; ++id) liste->AddItem(LoadResString(id));
    liste->setListIndex(0);
}
void dritteListeZeigen(const Listen& L, bool zeigen) {
    L.Filter3->setVisible(zeigen);
    L.Filter3_Label->setVisible(zeigen);
    L.Abdeckung->setVisible(!zeigen);
}
} // namespace

void Filterkategorien_fuellen(const Listen& L) { fuellen(L.Filter1, 600, 601); }

void Farbfilter_fuellen(const Listen& L) {
    fuellen(L.Filter2, 602, 606);
    dritteListeZeigen(L, false);
}

void Filtergruppen_fuellen(const Listen& L) {
    fuellen(L.Filter2, 610, 612);
    dritteListeZeigen(L, true);
}

void Weichzeichner_fuellen(const Listen& L) {
    fuellen(L.Filter3, 620, 623);
    dritteListeZeigen(L, true);
}

void Scharfzeichner_fuellen(const Listen& L) {
    fuellen(L.Filter3, 630, 632);
    dritteListeZeigen(L, true);
}

void Spezialfilter_fuellen(const Listen& L) {
    fuellen(L.Filter3, 640, 644);
    dritteListeZeigen(L, true);
}

void Filter1_gewaehlt(const Listen& L, int16_t Index) {
    if (Index == 0) {
        Farbfilter_fuellen(L);
    } else if (Index == 1) {
        Filtergruppen_fuellen(L);
        Weichzeichner_fuellen(L);
    }
}

void Filter2_gewaehlt(const Listen& L, int16_t Index) {
    if (L.Filter1->ListIndex() != 1) return;
    if (Index == 0) Weichzeichner_fuellen(L);
    else if (Index == 1) Scharfzeichner_fuellen(L);
    else if (Index == 2) Spezialfilter_fuellen(L);
}

} // namespace Filter
