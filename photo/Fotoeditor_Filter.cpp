// The photo editor: filter lists, applying a filter through the processing host, and undo.
#include "photo/Fotoeditor.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Strings.h"
#include "imaging/cDIBSection.h"
#include "imaging/mfrmMain.h"
#include "photo/Filter.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Shape.h"
#include "platform/system/VBError.h"

#include <QFile>
#include <cstdint>
#include <cstdio>

using namespace Parameter_und_Start;

namespace {

// The hourglass on the window and the button while the host works; it never stays.
class Sanduhr {
public:
    Sanduhr(vb::Form& f, vb::Control& c) : m_f(f), m_c(c) {
        m_f.setMousePointer(11);
        m_c.setMousePointer(11);
    }
    ~Sanduhr() {
        m_f.setMousePointer(0);
        m_c.setMousePointer(0);
    }

private:
    vb::Form& m_f;
    vb::Control& m_c;
};

// The host entry of the chosen list entries: 0 colours, 1 low pass, 2 high pass, 3 special; -1
// when the selection names no entry.
struct Eintrag {
    int einstieg = -1;
    int16_t index = 0;
};
Eintrag gewaehlterEintrag(int f1, int f2, int f3) {
    if (f1 == 0) {
        constexpr int16_t farben[] = {0, 1, 5, 7, 8};
        if (f2 >= 0 && f2 <= 4) return {0, farben[f2]};
    } else if (f1 == 1) {
        if (f2 == 0 && f3 >= 0 && f3 <= 3) return {1, int16_t(f3)};
        if (f2 == 1 && f3 >= 0 && f3 <= 2) return {2, int16_t(f3)};
        constexpr int16_t spezial[] = {0, 2, 4, 5, 6};
        if (f2 == 2 && f3 >= 0 && f3 <= 4) return {3, spezial[f3]};
    }
    return {};
}

void meldungZeigen(int id) {
    vb::Try([id] {
        Info_Text = LoadResString(id);
        Info_Modus = 2;
        Information->Show(vb::vbModal);
    });
}

} // namespace

Filter::Listen FotoeditorForm::Filterlisten() const { return {Filter1, Filter2, Filter3, Filter3_Label, Filter3_Abdeckung}; }

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

void FotoeditorForm::Filterkategorien_fuellen() { Filter::Filterkategorien_fuellen(Filterlisten()); }
void FotoeditorForm::Farbfilter_fuellen() { Filter::Farbfilter_fuellen(Filterlisten()); }

void FotoeditorForm::Filter1_Click() {
    Filter1_Label->setCaption(Filter1->Text());
    Filter::Filter1_gewaehlt(Filterlisten(), int16_t(Filter1->ListIndex()));
    Filter1->setVisible(false);
}

void FotoeditorForm::Filter2_Click() {
    Filter2_Label->setCaption(Filter2->Text());
    Filter2->setVisible(false);
    Filter::Filter2_gewaehlt(Filterlisten(), int16_t(Filter2->ListIndex()));
}

void FotoeditorForm::Filter3_Click() {
    Filter3_Label->setCaption(Filter3->Text());
    Filter3->setVisible(false);
}

void FotoeditorForm::Filter_anwenden_Click() { Filter_anwenden_Einsprung(); }

void FotoeditorForm::Filter_anwenden_Einsprung() {
    const Eintrag eintrag = gewaehlterEintrag(Filter1->ListIndex(), Filter2->ListIndex(), Filter3->ListIndex());
    const vb::Picture vorher = Fotos_Bearbeiten_Bildimage->Picture();
    // Without a photo or a chosen entry there is nothing to filter.
    if (eintrag.einstieg < 0 || vorher.IsEmpty()) return;
    const QString undo = Programmverzeichnis + QStringLiteral("undo.bmp");
    const QString raster = Programmverzeichnis + QStringLiteral("raster.bmp");
    const bool undoSichtbar = Undo_Fotoeditor_Shape_Label->Visible();

    Fotos_Bearbeiten_Bildimage_Undo_Buffer->setPicture(vb::Picture());
    Fotos_Bearbeiten_Bildimage_Undo_Buffer->Refresh();
    picImage->setPicture(vb::Picture());
    picImage->Refresh();
    vb::App::DoEvents();
    Fotos_Bearbeiten_Bildimage_Undo_Buffer->setPicture(vorher);
    Undo_Fotoeditor_Shape_Label->setVisible(false);

    // The host's photo before the filter, so that a filter that cannot be completed leaves the
    // host, the editor and the undo state as they were.
    std::unique_ptr<cDIBSection> sicherung;
    if (mfrmMain->m_cDIB && mfrmMain->m_cDIB->hdc()) {
        sicherung = std::make_unique<cDIBSection>();
        if (sicherung->Create(mfrmMain->m_cDIB->Width(), mfrmMain->m_cDIB->Height())) sicherung->LoadPictureBlt(*mfrmMain->m_cDIB);
        else sicherung.reset();
    }
    bool gefiltert = false;
    {
        Sanduhr sanduhr(*this, *Filter_anwenden);
        vb::Try([&] {
            int16_t index = eintrag.index;
            switch (eintrag.einstieg) {
            case 0: mfrmMain->mnuColors_Einstieg(index); break;
            case 1: mfrmMain->mnuLowPass_Einsprung(index); break;
            case 2: mfrmMain->mnuHighPass_Einsprung(index); break;
            default: mfrmMain->mnuSpecial_Einsprung(index); break;
            }
            gefiltert = true;
        });
    }
    vb::App::DoEvents();

    // The filtered picture first, then the snapshot; both are whole files or the old ones.
    bool geschrieben = false;
    if (gefiltert) {
        vb::Try([&] {
            vb::SavePicture(Fotos_Bearbeiten_Bildimage->Picture(), raster);
            vb::App::DoEvents();
            vb::SavePicture(Fotos_Bearbeiten_Bildimage_Undo_Buffer->Picture(), undo);
            vb::App::DoEvents();
            geschrieben = true;
        });
    }
    if (!geschrieben) {
        if (sicherung) {
            mfrmMain->m_cDIB = std::move(sicherung);
            mfrmMain->Render();
        }
        Fotos_Bearbeiten_Bildimage->setPicture(vorher);
        Undo_Fotoeditor_Shape_Label->setVisible(undoSichtbar);
        meldungZeigen(880);
        return;
    }

    Fotos_Bearbeiten_Bildimage_Undo_Buffer->setPicture(Fotos_Bearbeiten_Bildimage->Picture());
    In_Fotoeditor_bearbeiten_Einsprung(raster);
    vb::App::DoEvents();
    Undo_Fotoeditor_Shape_Label->setVisible(false);
    Bildschirmshape_Master->setVisible(false);
    Fotos_Bearbeiten_BildiPicture_Lasso->setVisible(false);
    Laden_Click_Sub(raster);
    vb::App::DoEvents();
}

void FotoeditorForm::Undo_Fotoeditor_Click() {
    const QString undo = Programmverzeichnis + QStringLiteral("undo.bmp");
    if (QFile::exists(undo)) {
        // The snapshot becomes the photo's work file, so that the photo's path names a file that
        // holds the photo shown (saving copies it); "undo.bmp" is gone as after every undo. Where
        // it cannot be moved it stays and is the photo's file.
        const QString raster = Programmverzeichnis + QStringLiteral("raster.bmp");
        const bool verschoben = ::rename(QFile::encodeName(undo).constData(), QFile::encodeName(raster).constData()) == 0;
        const QString pfad = verschoben ? raster : undo;
        In_Fotoeditor_bearbeiten_Einsprung(pfad);
        vb::App::DoEvents();
        Laden_Click_Sub(pfad);
        vb::App::DoEvents();
        return;
    }
    // Nothing to undo from a file: the snapshot buffer's picture goes through the entry pair,
    // so that the photo shown, the host's photo and the previews stay one picture.
    const vb::Picture bild = Fotos_Bearbeiten_Bildimage_Undo_Buffer->Picture();
    if (bild.IsEmpty()) return;
    const QString raster = Programmverzeichnis + QStringLiteral("raster.bmp");
    bool geschrieben = false;
    vb::Try([&] {
        vb::SavePicture(bild, raster);
        geschrieben = true;
    });
    if (!geschrieben) return;
    In_Fotoeditor_bearbeiten_Einsprung(raster);
    vb::App::DoEvents();
    Laden_Click_Sub(raster);
    vb::App::DoEvents();
    Undo_Fotoeditor_Shape_Label->setVisible(true);
    mfrmMain->Copy_Undo_To_Filterarea();
}

// A list opener: label and list take the tooltip, the list shows over its label, the others hide.
void FotoeditorForm::Filter_Label_MouseMove(short Liste, int, int, float, float) {
    vb::Label* labels[] = {Filter1_Label, Filter2_Label, Filter3_Label};
    vb::ComboBox* listen[] = {Filter1, Filter2, Filter3};
    const int i = Liste - 1;
    if (i < 0 || i > 2) return;
    Schaltflaechen::Liste_oeffnen(*labels[i], *listen[i], 843 + i, listen);
}
