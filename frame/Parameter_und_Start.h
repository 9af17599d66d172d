#pragma once
// Start-up and the program-wide shared state that every window and module reads and writes.
#include "logo/Logotypen.h"

#include <QPoint>
#include <QRect>
#include <QString>

namespace vb {
class Control;
class PictureBox;
} // namespace vb

namespace Parameter_und_Start {

// The program-wide shared state, with its start values. Module-level variables of the windows
// and modules live here too, so that one assignment (Grundzustand) starts everything afresh.
struct Zustand {
    QString Programmverzeichnis;        // the program folder, always ending in "/"
    short Info_Modus = 0;               // request and answer of the message window
    QString Info_Text;
    QString Letzte_Texteingabe;
    vb::Control* Hover_Objekt = nullptr; // the control that shows (or last showed) a highlight picture
    QString Hover_Name;
    short COM_Port_Nummer = 0;
    bool COM_Port_offen = false;
    QString Netzbetreiber_Code;
    bool Scanner_vorhanden = false;
    double Malfarbe = 0;
    QString Schrift_Name;
    QString Schrift_Groesse;
    bool Perspektivisch_Skalieren = false;
    vb::PictureBox* Logo_Zeichenflaeche = nullptr;
    QString Bilddatei_Pfad;
    bool Foto_Modus = false;
    bool Auswahl_abgebrochen = false;
    QString Logo_Typcode;
    short Logo_Breite = 0;
    short Logo_Hoehe = 0;
    short Logo_Art = 0;
    float Logo_Seitenverhaeltnis = 0;
    short Vorschau_Seitengroesse = 0;
    short Vorschau_Zeilenlaenge = 0;
    short Browser_Seitenende = 0;
    short Browser_Schrittweite = 0;
    float Raster_X = 0, Raster_Y = 0, Anker_X = 0, Anker_Y = 0;
    short CaptureMode = 0;
    float Rahmen_Links = 0, Rahmen_Oben = 0;
    bool Rahmen_gedrueckt = false; // Fotoeditor: the cut-out frame is pressed and not yet released
    QRect Fangbereich, Alter_Fangbereich;

    // Module-level state
    QPoint Letzte_Mausposition{0, 0}; // Zaroreriri: the last cursor position seen by Rasterposition_ermitteln
    bool Intro_im_Timer = false;      // Intro: a tick while the start-up work lets events run
    bool Galerielogo_laedt = false;   // Startbildschirm: the framed gallery logo is being opened
    bool Kategorie_wird_gesetzt = false; // Startbildschirm: a category list's click runs, with the other's nested in it
    double Schnitt_Anker_X = 0, Schnitt_Anker_Y = 0; // Fotoeditor: where the free cut-out frame was pressed (twips)
    bool Laufwerk_zuruecksetzen = false; // Logo_Foto_Laden: the drive list is being set back to the folder's drive
};
extern Zustand Gemeinsam;

// The shared variables under their own names.
inline QString& Programmverzeichnis = Gemeinsam.Programmverzeichnis;
inline short& Info_Modus = Gemeinsam.Info_Modus;
inline QString& Info_Text = Gemeinsam.Info_Text;
inline QString& Letzte_Texteingabe = Gemeinsam.Letzte_Texteingabe;
inline vb::Control*& Hover_Objekt = Gemeinsam.Hover_Objekt;
inline QString& Hover_Name = Gemeinsam.Hover_Name;
inline short& COM_Port_Nummer = Gemeinsam.COM_Port_Nummer;
inline bool& COM_Port_offen = Gemeinsam.COM_Port_offen;
inline QString& Netzbetreiber_Code = Gemeinsam.Netzbetreiber_Code;
inline bool& Scanner_vorhanden = Gemeinsam.Scanner_vorhanden;
inline double& Malfarbe = Gemeinsam.Malfarbe;
inline QString& Schrift_Name = Gemeinsam.Schrift_Name;
inline QString& Schrift_Groesse = Gemeinsam.Schrift_Groesse;
inline bool& Perspektivisch_Skalieren = Gemeinsam.Perspektivisch_Skalieren;
inline vb::PictureBox*& Logo_Zeichenflaeche = Gemeinsam.Logo_Zeichenflaeche;
inline QString& Bilddatei_Pfad = Gemeinsam.Bilddatei_Pfad;
inline bool& Foto_Modus = Gemeinsam.Foto_Modus;
inline bool& Auswahl_abgebrochen = Gemeinsam.Auswahl_abgebrochen;
inline QString& Logo_Typcode = Gemeinsam.Logo_Typcode;
inline short& Logo_Breite = Gemeinsam.Logo_Breite;
inline short& Logo_Hoehe = Gemeinsam.Logo_Hoehe;
inline short& Logo_Art = Gemeinsam.Logo_Art;
inline float& Logo_Seitenverhaeltnis = Gemeinsam.Logo_Seitenverhaeltnis;
inline short& Vorschau_Seitengroesse = Gemeinsam.Vorschau_Seitengroesse;
inline short& Vorschau_Zeilenlaenge = Gemeinsam.Vorschau_Zeilenlaenge;
inline short& Browser_Seitenende = Gemeinsam.Browser_Seitenende;
inline short& Browser_Schrittweite = Gemeinsam.Browser_Schrittweite;
inline float& Raster_X = Gemeinsam.Raster_X;
inline float& Raster_Y = Gemeinsam.Raster_Y;
inline float& Anker_X = Gemeinsam.Anker_X;
inline float& Anker_Y = Gemeinsam.Anker_Y;
inline short& CaptureMode = Gemeinsam.CaptureMode;
inline float& Rahmen_Links = Gemeinsam.Rahmen_Links;
inline float& Rahmen_Oben = Gemeinsam.Rahmen_Oben;
inline QRect& Fangbereich = Gemeinsam.Fangbereich;
inline QRect& Alter_Fangbereich = Gemeinsam.Alter_Fangbereich;

// The entry procedure.
void Main();
// The single-instance name of the program in this folder (the same for every spelling of it).
QString Instanzname(const QString& programmordner);
// What a second start asks of the running program: its top window to the front, a minimised or
// hidden main window restored.
void Vordergrund_holen();
// Number of colours of the display.
long Farbanzahl();
bool KleineSchriftarten(); // 96 dots per inch
bool GrosseSchriftarten(); // 120 dots per inch
// The system folder (no trailing separator).
QString Windowsverzeichnis_ermitteln();
void SetSystemFolder(const QString& folder); // tests

// Gives every shared variable its start value (tests start from here).
void Grundzustand();

} // namespace Parameter_und_Start

// Logo kinds as the phone link takes them.
enum Logo_Art_Wert : short { Art_Betreiberlogo = Logotypen::Betreiberlogo, Art_Gruppenlogo = Logotypen::Gruppenlogo, Art_Startuplogo = Logotypen::Startuplogo };
// Conversion methods of photos.
enum Berechnungsart : short { Berechnung_Dither = 0, Berechnung_Muster = 1, Berechnung_Schwellenwert = 2 };
