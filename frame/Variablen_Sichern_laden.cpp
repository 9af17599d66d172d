#include "frame/Variablen_Sichern_laden.h"

#include "frame/Parameter_und_Start.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Label.h"
#include "platform/system/SafeFile.h"
#include "platform/system/VBError.h"


using namespace Parameter_und_Start;

namespace Variablen_Sichern_laden {
namespace {
QString pfad() { return Programmverzeichnis + QStringLiteral("param.ini"); }

// The digit at position i of the line, or -1 when the line is shorter or holds another character.
int ziffer(const QByteArray& zeile, int i) {
    if (i >= zeile.size()) return -1;
    const char c = zeile[i];
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// A stored index that the list does not hold leaves the list as it is.
void listeSetzen(vb::ComboBox* liste, int index) {
    if (index < 0 || index >= liste->ListCount()) return;
    liste->setListIndex(index);
}
} // namespace

void Variablen_sichern(const Felder& e) {
    vb::Try([&] {
        const QString zeile = e.COM_Port->Caption() + QString::number(e.Hersteller->ListIndex()) + QString::number(e.Modell->ListIndex()) +
                              QString::number(e.Netzbetreiber->ListIndex()) + QString::number(e.Berechnungsart->ListIndex());
        // Replaced only when the new line is whole: a full disk or a kill keeps the old settings.
        vb::WriteFileAtomic(pfad(), zeile.toLatin1() + "\r\n");
    });
}

// The file stays: removing it here would lose the settings of every run that does not end
// through the program's own quit. The quit writes it anew.
void Variablen_laden(const Felder& e) {
    vb::Try([&] {
        // Only a regular file: a pipe or device in its place would block the start.
        const std::optional<QByteArray> inhalt = vb::ReadRegularFile(pfad(), 4096);
        if (!inhalt) return;
        QByteArray zeile = inhalt->left(inhalt->indexOf('\n') + 1);
        if (zeile.isEmpty()) zeile = *inhalt;
        while (zeile.endsWith('\n') || zeile.endsWith('\r')) zeile.chop(1);

        vb::Try([&] {
            const int port = ziffer(zeile, 0);
            // Only the ports the dialog offers; another digit is no port the link can open.
            if (port < 1 || port > 4) return;
            e.COM_Port->setCaption(QString::number(port));
            COM_Port_Nummer = short(port);
        });
        // The maker comes before the model: its choice refills the model list.
        vb::Try([&] { listeSetzen(e.Hersteller, ziffer(zeile, 1)); });
        vb::Try([&] { listeSetzen(e.Modell, ziffer(zeile, 2)); });
        vb::Try([&] { listeSetzen(e.Netzbetreiber, ziffer(zeile, 3)); });
        vb::Try([&] { listeSetzen(e.Berechnungsart, ziffer(zeile, 4)); });
    });
}

} // namespace Variablen_Sichern_laden
