#pragma once
// The photo editor's three cascading filter lists: what each list offers after a choice in the
// one before it. Selecting an entry from code runs the list's click handler, which updates its
// label and the lists after it.
#include <cstdint>

namespace vb {
class ComboBox;
class Label;
} // namespace vb

namespace Filter {

struct Listen {
    vb::ComboBox *Filter1, *Filter2, *Filter3;
    vb::Label* Filter3_Label;
    vb::Label* Abdeckung; // covers the place of the third list while it is not needed
};

void Filterkategorien_fuellen(const Listen& L);
void Farbfilter_fuellen(const Listen& L);
void Filtergruppen_fuellen(const Listen& L);
void Weichzeichner_fuellen(const Listen& L);
void Scharfzeichner_fuellen(const Listen& L);
void Spezialfilter_fuellen(const Listen& L);
void Filter1_gewaehlt(const Listen& L, int16_t Index);
void Filter2_gewaehlt(const Listen& L, int16_t Index);

} // namespace Filter
