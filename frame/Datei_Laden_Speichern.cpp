#include "frame/Datei_Laden_Speichern.h"

#include "frame/Dateiauswahldialog.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Strings.h"
#include "platform/VBError.h"

namespace Datei_Laden_Speichern {

QString Bilddatei_laden() {
    QString titel;
    vb::Try([&] { titel = LoadResString(302); });
    const QString filter = titel + QStringLiteral(" (*.jpg,*.bmp,*.gif)|*.bmp;*.gif;*.jpg");
    const QString ergebnis = Dateiauswahl().OpenFile(filter, QString());
    if (!ergebnis.isEmpty()) Parameter_und_Start::Bilddatei_Pfad = ergebnis;
    return ergebnis;
}

} // namespace Datei_Laden_Speichern
