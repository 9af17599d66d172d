// The main window's logo gallery: logo types and caller groups, the twenty thumbnails and their scroll bar.
#include "frame/Startbildschirm.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "logo/Logo_laden.h"
#include "logo/Logovoschau.h"
#include "logo/Zaroreriri.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;

// The gallery's controls, handed to its module.
Logovoschau::Galerie StartbildschirmForm::Galerie() const {
    return {{Logo_Vorschaubild, Logo_Vorschaubild_Bild, Logo_Vorschaubild_Bildname, LogoScrollbalken, Fileilistbox, nullptr,
             Fotovorschau::Browserart::Galerie},
            Logo_Weiss_Grafik};
}

void StartbildschirmForm::wireGalerie() {
    // Category lists and caller groups; their labels open them.
    for (short i : {2, 3}) ComboKategorien[size_t(i)]->Click = [this, i] { ComboKategorien_Click(i); };
    struct Opener {
        vb::Label* label;
        vb::ComboBox* list;
    };
    for (const Opener& o : {Opener{ComboKategorien_Textanzeige, ComboKategorien[3]}, Opener{ComboKategorien_Textanzeige_Kalvoren, ComboKategorien[2]}})
        o.label->MouseMove = [o](int, int, float, float) { Schaltflaechen::Liste_oeffnen(*o.label, *o.list, 810); };
    for (short i : {0, 1}) {
        ComboKategorien2[size_t(i)]->Click = [this, i] {
            ComboKategorien2_Click(i);
            ComboKategorien2_Change(i);
        };
        ComboKategorien2_Textanzeige[size_t(i)]->MouseMove = [this, i](int, int, float, float) {
            // Both caller groups share the tooltip.
            vb::Control* const zwilling[] = {ComboKategorien2_Textanzeige[size_t(1 - i)], ComboKategorien2[size_t(1 - i)]};
            Schaltflaechen::Liste_oeffnen(*ComboKategorien2_Textanzeige[size_t(i)], *ComboKategorien2[size_t(i)], 815, {}, zwilling);
        };
    }

    // Gallery
    for (short i = 0; i < 20; ++i) {
        const size_t k = size_t(i);
        Logo_Vorschaubild_Bild[k]->Click = [this, i] { Logo_Vorschaubild_Bild_Click(i); };
        Logo_Vorschaubild[k]->Click = [this, i] { Logo_Vorschaubild_Click(i); };
        Logo_Vorschaubild_Bild[k]->DblClick = [this, i] { Logo_Vorschaubild_Bild_DblClick(i); };
        Logo_Vorschaubild[k]->DblClick = [this, i] { Logo_Vorschaubild_DblClick(i); };
        Logo_Vorschaubild_Bildname[k]->DblClick = [this, i] { Logo_Vorschaubild_Bildname_DblClick(i); };
        Logo_Vorschaubild[k]->MouseMove = [this, i](int b, int s, float x, float y) { Logo_Vorschaubild_MouseMove(i, b, s, x, y); };
        // The thumbnail passes its moves on to its frame.
        Logo_Vorschaubild_Bild[k]->MouseMove = [this, i](int b, int s, float x, float y) { Logo_Vorschaubild_MouseMove(i, b, s, x, y); };
    }
    LogoScrollbalken->Change = [this] { LogoScrollbalken_Change(); };
}

void StartbildschirmForm::designGalerie() {
    for (vb::Label* l : {ComboKategorien_Textanzeige, ComboKategorien_Textanzeige_Kalvoren, ComboKategorien2_Textanzeige[0], ComboKategorien2_Textanzeige[1]})
        l->setFontSize(9);
    Fileilistbox->setVisible(false);
    for (vb::Label* l : Logo_Vorschaubild_Bildname) {
        l->setAlignment(2);
        l->setFontSize(7);
    }
}

// The framed gallery slot, searched from slot 0 upward; -1 when none is framed.
int StartbildschirmForm::gerahmterSlot() const { return Fotovorschau::Gerahmter_Slot(Galerie().Slots); }

namespace {
// An empty logo of the current type in the editor, its raster and its display.
void leeresLogo(StartbildschirmForm& F) {
    const QString kein;
    Logo_laden::Logo_in_Editor_laden(kein, F.Ladeziel());
    vb::PictureBox* anzeige = F.Gruen_Transferlogo_LogoBrowser[1];
    const double tpp = vb::Screen::TwipsPerPixelX();
    anzeige->setWidth(Logo_Breite * tpp);
    anzeige->setHeight(Logo_Hoehe * tpp);
    Fenster::Steuerelement_zentrieren(*anzeige, *F.Gruen_Transferlogo_LogoBrowser_Rahmen, 0, 0);
    Zaroreriri::Raster_zeichnen(F.Editorflaechen());
}

// The editor at the current type's size: the last picture again, else the framed gallery logo
// of the type, else an empty logo.
void editorNeuLaden(StartbildschirmForm& F) {
    // With no picture opened yet there is nothing to reload; a prompt here would leave the editor
    // at the old size when cancelled.
    if (!Bilddatei_Pfad.isEmpty()) F.Laden_Click_Sub(Bilddatei_Pfad, false, true);
    const bool neueGroesse = F.Logo_Raster_Grafik->ScaleWidth() == 4 * Logo_Breite && F.Logo_Raster_Grafik->ScaleHeight() == 4 * Logo_Hoehe &&
                             F.Logo_Weiss_Grafik->ScaleWidth() == Logo_Breite && F.Logo_Weiss_Grafik->ScaleHeight() == Logo_Hoehe;
    if (!Bilddatei_Pfad.isEmpty() && neueGroesse) return;
    const int slot = F.gerahmterSlot();
    const QString pfad = slot < 0 ? QString() : F.Logo_Vorschaubild_Bild[size_t(slot)]->ToolTipText();
    if (!pfad.isEmpty()) F.Laden_Click_Sub(pfad, false, true);
    else leeresLogo(F);
}
} // namespace

// ---- Logo types and categories ----

void StartbildschirmForm::ComboKategorien_Click(short Index) {
    vb::ComboBox* liste = ComboKategorien[size_t(Index)];
    // The editor is reloaded once, by the outer of the two nested clicks, after the type is set
    // and the gallery has taken its first logo: whichever list was set first (the settings dialog
    // sets the gallery's), the editor, its raster and displays and what is sent stay one logo.
    const bool aussen = !Gemeinsam.Kategorie_wird_gesetzt;
    Gemeinsam.Kategorie_wird_gesetzt = true;
    struct Ende {
        bool aussen;
        ~Ende() {
            if (aussen) Gemeinsam.Kategorie_wird_gesetzt = false;
        }
    } ende{aussen};
    vb::Try([&] { ComboKategorien[2]->setListIndex(liste->ListIndex()); });
    vb::Try([&] { ComboKategorien[3]->setListIndex(liste->ListIndex()); });
    if (liste->ListIndex() == 6) {
        for (int i : {0, 1}) {
            ComboKategorien2_Textanzeige[size_t(i)]->setVisible(true);
            ComboKategorien2_TextanzeigeShape[size_t(i)]->setVisible(false);
        }
    } else {
        ComboKategorien2[0]->setVisible(false);
        for (int i : {0, 1}) {
            ComboKategorien2_Textanzeige[size_t(i)]->setVisible(false);
            ComboKategorien2_TextanzeigeShape[size_t(i)]->setVisible(true);
        }
    }
    if (Index == 3) {
        ComboKategorien_Textanzeige->setCaption(liste->Text());
        liste->setVisible(false);
        Logovoschau::LogoTyp_setzen(short(liste->ListIndex()), *Logo_Groesse);
        Logovoschau::Logovorschau_ausblenden(Galerie());
        Logovoschau::Logovorschau_leeren(Galerie());
        Logovoschau::Logovorschau_Groesse_setzen(Galerie());
        Logovoschau::Logovorschau_fuellen(Galerie());
        Logovoschau::Logovorschau_auswaehlen(Galerie(), false);
    } else if (Index == 2) {
        ComboKategorien_Textanzeige_Kalvoren->setCaption(liste->Text());
        liste->setVisible(false);
    }
    if (aussen) {
        Gemeinsam.Kategorie_wird_gesetzt = false;
        if (Layer_Kalvoren->Visible()) editorNeuLaden(*this);
    }
    vb::App::DoEvents();
}

void StartbildschirmForm::ComboKategorien2_Click(short Index) {
    ComboKategorien2_Textanzeige[size_t(Index)]->setCaption(ComboKategorien2[size_t(Index)]->Text());
}

void StartbildschirmForm::ComboKategorien2_Change(short Index) {
    if (Index == 0) ComboKategorien2[0]->setVisible(false);
}

// ---- Gallery ----

void StartbildschirmForm::Logo_Vorschaubild_Bild_Click(short Index) {
    Logovoschau::Logovorschau_auswaehlen(Galerie(), true);
    Logo_Vorschaubild[size_t(Index)]->setBorderStyle(1);
    Logo_Vorschaubild_Bild[size_t(Index)]->setBorderStyle(1);
    Logovoschau::Logo_uebernehmen(*Logo_Weiss_Grafik, Logo_Vorschaubild_Bild[size_t(Index)]->Picture());
}
void StartbildschirmForm::Logo_Vorschaubild_Click(short Index) { Logo_Vorschaubild_Bild_Click(Index); }
void StartbildschirmForm::Logo_Vorschaubild_Bild_DblClick(short) { In_Zaroreriri_bearbeiten_Click(); }
void StartbildschirmForm::Logo_Vorschaubild_DblClick(short) { In_Zaroreriri_bearbeiten_Click(); }
void StartbildschirmForm::Logo_Vorschaubild_Bildname_DblClick(short) { In_Zaroreriri_bearbeiten_Click(); }

void StartbildschirmForm::Logo_Vorschaubild_MouseMove(short Index, int, int, float X, float Y) {
    if (ComboKategorien[3]->Visible()) ComboKategorien[3]->setVisible(false);
    if (Hover_Objekt && Schaltflaechen::Bild(Hover_Objekt).Handle() != 0) {
        Hover_Name = Hover_Objekt->Name();
        Schaltflaechen::Bild_setzen(Hover_Objekt, vb::Picture());
    }
    vb::Control* store = Schaltflaechenlader->Find(QStringLiteral("Logo_Vorschaubild"));
    vb::Image* frame = Logo_Vorschaubild[size_t(Index)];
    if (store && frame->Picture().Handle() != Schaltflaechen::Bild(store).Handle()) Schaltflaechen::Schaltflaeche_hervorheben(*frame, X, Y, *store);
}

void StartbildschirmForm::LogoScrollbalken_Change() {
    Logovoschau::Logovorschaubilder_laden(Galerie());
    Logovoschau::Logovorschau_auswaehlen(Galerie(), false);
}
