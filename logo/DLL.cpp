#include "logo/DLL.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Strings.h"
#include "platform/phone/PhoneLink.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;

namespace DLL {

void Logo_senden(const QString& Pfad) {
    QString ergebnis;
    vb::Try([&] { ergebnis = QString::number(vb::SendOTABitmap(Logo_Art, COM_Port_Nummer, Pfad, Netzbetreiber_Code)); });
    if (ergebnis == QLatin1String("1")) return;
    Uebertragungsfehler_melden();
}

void Uebertragungsfehler_melden() {
    vb::Try([] {
        Info_Text = LoadResString(301);
        Info_Modus = 1;
        Information->Show(vb::vbModal);
    });
}

void Betreiberlogo_loeschen() {
    // The delete goes to the port the settings chose; its answer is not shown.
    vb::Try([] {
        vb::SetCOMPort(COM_Port_Nummer);
        vb::DeleteOPLogo(Netzbetreiber_Code);
    });
}

void COM_Port_freigeben() {
    vb::Try([] {
        if (COM_Port_offen) vb::FreeCOMPort();
    });
}

} // namespace DLL
