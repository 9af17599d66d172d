// The photo editor: filter lists, applying a filter through the processing host, and undo.
#include "photo/Fotoeditor.h"

#include "frame/Strings.h"
#include "platform/ComboBox.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/VBError.h"

void FotoeditorForm::wireFilter() {
    Filter_anwenden->Click = [this] { Filter_anwenden_Click(); };
    Undo_Fotoeditor->Click = [this] { Undo_Fotoeditor_Click(); };
    Filter1->Click = [this] { Filter1_Click(); };
    Filter2->Click = [this] { Filter2_Click(); };
    Filter3->Click = [this] { Filter3_Click(); };
    vb::Label* labels[] = {Filter1_Label, Filter2_Label, Filter3_Label};
    for (short i = 0; i < 3; ++i)
        labels[i]->MouseMove = [this, i](int b, int s, float x, float y) { Filter_Label_MouseMove(short(i + 1), b, s, x, y); };
}

void FotoeditorForm::Filterkategorien_fuellen() {}
void FotoeditorForm::Farbfilter_fuellen() {}
void FotoeditorForm::Filter_anwenden_Click() {}
void FotoeditorForm::Filter_anwenden_Einsprung() {}
void FotoeditorForm::Undo_Fotoeditor_Click() {}
void FotoeditorForm::Filter1_Click() {}
void FotoeditorForm::Filter2_Click() {}
void FotoeditorForm::Filter3_Click() {}

// A list opener: label and list take the tooltip, the list shows over its label, the others hide.
void FotoeditorForm::Filter_Label_MouseMove(short Liste, int, int, float, float) {
    vb::Label* labels[] = {Filter1_Label, Filter2_Label, Filter3_Label};
    vb::ComboBox* listen[] = {Filter1, Filter2, Filter3};
    const int i = Liste - 1;
    if (i < 0 || i > 2) return;
    vb::Try([&] {
        const QString tip = LoadResString(843 + i);
        labels[i]->setToolTipText(tip);
        listen[i]->setToolTipText(tip);
    });
    for (int k = 0; k < 3; ++k) listen[k]->setVisible(k == i);
}
