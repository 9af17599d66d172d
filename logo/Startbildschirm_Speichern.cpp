// The main window: saving the framed gallery logo and the edited logo.
#include "frame/Startbildschirm.h"

#include "frame/Datei_Laden_Speichern.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "logo/Logovoschau.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/ScrollBar.h"
#include "platform/system/VBError.h"


using namespace Parameter_und_Start;

void StartbildschirmForm::wireSpeichern() {
    Speichern->Click = [this] { Speichern_Click(); };
    Kalvoren_Logo_Speichern->Click = [this] { Kalvoren_Logo_Speichern_Click(); };
}

namespace {
// The gallery after a save: the folder read again, the page kept.
void galerieAuffrischen(StartbildschirmForm& F) {
    const int wert = F.LogoScrollbalken->Value();
    Logovoschau::Logovorschau_fuellen(F.Galerie());
    vb::Try([&] { F.LogoScrollbalken->setValue(wert); });
    Logovoschau::Logovorschaubilder_laden(F.Galerie());
}
} // namespace

void StartbildschirmForm::Kalvoren_Logo_Speichern_Click() {
    try {
        const QString name = Datei_Laden_Speichern::Bmp_Speichername(Bilddatei_Pfad + QStringLiteral("_H") + QStringLiteral(".bmp"));
        if (!Datei_Laden_Speichern::Ueberschreiben_erlaubt(name)) return;
        // The logo itself, black on white, is what is stored.
        vb::SavePicture(Logo_Weiss_Grafik->Image(), name);
        Datei_Laden_Speichern::Erfolg_melden(name);
        galerieAuffrischen(*this);
    } catch (const vb::VBError&) {
    }
}

void StartbildschirmForm::Speichern_Click() {
    try {
        const int slot = gerahmterSlot();
        if (slot < 0) return;
        if (!Datei_Laden_Speichern::Kopie_speichern(Logo_Vorschaubild[size_t(slot)]->ToolTipText())) return;
        galerieAuffrischen(*this);
    } catch (const vb::VBError&) {
    }
}
