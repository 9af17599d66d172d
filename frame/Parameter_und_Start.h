#pragma once
// Start-up and the program-wide shared state that every window and module reads and writes.
#include <QRect>
#include <QString>

namespace vb {
class Control;
class PictureBox;
} // namespace vb

namespace Parameter_und_Start {

extern QString Programmverzeichnis; // the program folder, always ending in "/"
extern short Info_Modus;            // request and answer of the message window
extern QString Info_Text;
extern QString Letzte_Texteingabe;
extern vb::Control* Hover_Objekt;   // the control that shows (or last showed) a highlight picture
extern QString Hover_Name;
extern short COM_Port_Nummer;
extern bool COM_Port_offen;
extern QString Netzbetreiber_Code;
extern bool Scanner_vorhanden;
extern double Malfarbe;
extern QString Schrift_Name;
extern QString Schrift_Groesse;
extern bool Perspektivisch_Skalieren;
extern vb::PictureBox* Logo_Zeichenflaeche;
extern QString Bilddatei_Pfad;
extern bool Foto_Modus;
extern bool Auswahl_abgebrochen;
extern QString Logo_Typcode;
extern short Logo_Breite;
extern short Logo_Hoehe;
extern short Logo_Art;
extern float Logo_Seitenverhaeltnis;
extern short Vorschau_Seitengroesse;
extern short Vorschau_Zeilenlaenge;
extern short Browser_Seitenende;
extern short Browser_Schrittweite;
extern float Raster_X, Raster_Y, Anker_X, Anker_Y;
extern short CaptureMode;
extern float Rahmen_Links, Rahmen_Oben;
extern QRect Fangbereich, Alter_Fangbereich;

// The entry procedure.
void Main();
// Number of colours of the display.
long Farbanzahl();
bool KleineSchriftarten(); // 96 dots per inch
bool GrosseSchriftarten(); // 120 dots per inch
// The system folder (no trailing separator).
QString Windowsverzeichnis_ermitteln();
void SetSystemFolder(const QString& folder); // tests

// Gives every shared variable its value before Main (tests start from here).
void Grundzustand();

} // namespace Parameter_und_Start

// Logo kinds as the phone link takes them.
enum Logo_Art_Wert : short { Art_Betreiberlogo = 0, Art_Gruppenlogo = 1, Art_Startuplogo = 2 };
// Conversion methods of photos.
enum Berechnungsart : short { Berechnung_Dither = 0, Berechnung_Muster = 1, Berechnung_Schwellenwert = 2 };
