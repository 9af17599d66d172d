// The main window: saving the framed gallery logo and the edited logo.
#include "frame/Startbildschirm.h"

#include "frame/FileOP.h"
#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "logo/Logovoschau.h"
#include "platform/App.h"
#include "platform/Image.h"
#include "platform/PictureBox.h"
#include "platform/ScrollBar.h"
#include "platform/VBError.h"

#include <QFileInfo>

using namespace Parameter_und_Start;


namespace {
// The gallery after a save: the folder read again, the page kept.
void galerieAuffrischen(StartbildschirmForm& F) {
    const int wert = F.LogoScrollbalken->Value();
    Logovoschau::Logovorschau_fuellen(F.Galerie());
    vb::Try([&] { F.LogoScrollbalken->setValue(wert); });
    Logovoschau::Logovorschaubilder_laden(F.Galerie());
}

// Asks before replacing a file; false when the user keeps the old one.
bool ueberschreibenErlaubt(const QString& name) {
    if (!QFileInfo::exists(name)) return true;
    Info_Modus = 1;
    Info_Text = LoadResString(434);
    Information->Show(vb::vbModal);
    return Info_Modus != 0;
}

void erfolgMelden(const QString& name) {
    Info_Modus = 2;
    Info_Text = LoadResString(180) + name;
    Information->Show(vb::vbModal);
}
} // namespace

void StartbildschirmForm::Kalvoren_Logo_Speichern_Click() {
    try {
        vb::CommonDialog& d = Schaltflaechenlader->CMDialog1;
        d.FileName = Bilddatei_Pfad + QStringLiteral("_H") + QStringLiteral(".bmp");
        d.Filter = QStringLiteral("*.bmp|*.bmp");
        d.CancelError = true;
        d.ShowSave();
        const QString name = d.FileName;
        if (!ueberschreibenErlaubt(name)) return;
        // The logo itself, black on white, is what is stored.
        vb::SavePicture(Logo_Weiss_Grafik->Image(), name);
        erfolgMelden(name);
        vb::App::DoEvents();
        galerieAuffrischen(*this);
    } catch (const vb::VBError&) {
    }
}

void StartbildschirmForm::Speichern_Click() {
    try {
        const int slot = gerahmterSlot();
        if (slot < 0) return;
        const QString p = Logo_Vorschaubild[size_t(slot)]->ToolTipText();
        if (p.size() < 4) return;
        vb::CommonDialog& d = Schaltflaechenlader->CMDialog1;
        d.FileName = p.left(p.size() - 4) + QStringLiteral("H") + QStringLiteral(".bmp");
        d.Filter = QStringLiteral("*.bmp|*.bmp");
        d.CancelError = true;
        d.ShowSave();
        const QString name = d.FileName;
        if (!ueberschreibenErlaubt(name)) return;
        QString quelle = p, ziel = name;
        if (FileOP().Copy(quelle, ziel) != 0) return;
        erfolgMelden(name);
        vb::App::DoEvents();
        galerieAuffrischen(*this);
    } catch (const vb::VBError&) {
    }
}
