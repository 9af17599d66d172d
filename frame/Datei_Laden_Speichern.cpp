#include "frame/Datei_Laden_Speichern.h"

#include "frame/Dateiauswahldialog.h"
#include "frame/FileOP.h"
#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "platform/window/App.h"
#include "platform/system/CommonDialog.h"
#include "platform/system/VBError.h"

#include <QFileInfo>

namespace Datei_Laden_Speichern {

QString Bilddatei_laden() {
    QString titel;
    vb::Try([&] { titel = LoadResString(302); });
    const QString filter = titel + QStringLiteral(" (*.jpg,*.bmp,*.gif)|*.bmp;*.gif;*.jpg");
    const QString ergebnis = Dateiauswahl().OpenFile(filter, QString());
    if (!ergebnis.isEmpty()) Parameter_und_Start::Bilddatei_Pfad = ergebnis;
    return ergebnis;
}

QString Bmp_Speichername(const QString& Vorschlag) {
    vb::CommonDialog& d = Schaltflaechenlader->CMDialog1;
    d.FileName = Vorschlag;
    d.Filter = QStringLiteral("*.bmp|*.bmp");
    d.CancelError = true;
    d.ShowSave();
    return d.FileName;
}

bool Ueberschreiben_erlaubt(const QString& Name) {
    using namespace Parameter_und_Start;
    if (!QFileInfo::exists(Name)) return true;
    Info_Modus = 1;
    Info_Text = LoadResString(434);
    Information->Show(vb::vbModal);
    return Info_Modus != 0;
}

namespace {
void meldung(const QString& Text) {
    using namespace Parameter_und_Start;
    Info_Modus = 2;
    Info_Text = Text;
    Information->Show(vb::vbModal);
}
} // namespace

void Erfolg_melden(const QString& Name) {
    meldung(LoadResString(180) + Name);
    vb::App::DoEvents();
}

bool Kopie_speichern(const QString& Quelle, bool Fehler_melden) {
    if (Quelle.size() < 4) return false; // no name can be proposed
    if (!QFileInfo(Quelle).isFile()) {
        if (Fehler_melden) meldung(LoadResString(181) + Quelle);
        return false;
    }
    const QString name = Bmp_Speichername(Quelle.left(Quelle.size() - 4) + QStringLiteral("H") + QStringLiteral(".bmp"));
    if (!Ueberschreiben_erlaubt(name)) return false;
    // The copy replaces the target only when whole; the source itself as target stays as it is.
    QString quelle = Quelle, ziel = name;
    if (FileOP().Copy(quelle, ziel) != 0) {
        if (Fehler_melden) meldung(LoadResString(182) + name);
        return false;
    }
    Erfolg_melden(name);
    return true;
}

} // namespace Datei_Laden_Speichern
