#pragma once
// Loading a picture file into the logo editor: fitted or stretched to the logo size.
#include "logo/Zaroreriri.h"

#include <QRect>
#include <QString>
#include <optional>

namespace vb {
class Picture;
}

namespace Logo_laden {

// Where a picture is loaded: the window's test picture and editor surfaces (the logo-size
// picture and the undo copy; in the main window also the raster, which is then centred on the
// two reference marks and redrawn).
struct Ladeziel {
    vb::Image* Testbild = nullptr;
    Zaroreriri::Flaechen Editor;
    vb::Image *Mitte_zentrierung = nullptr, *Mitte_zentrierung_vert = nullptr;
};

// The caller hands its own load target (its window's Ladeziel()).
void Bild_in_Logo_laden(const QString& Pfad, const Ladeziel& Z);
void Logo_in_Editor_laden(const QString& Pfad, const Ladeziel& Z);

// Message 429 (the file is no picture) in the message window, its timer stopped before and
// after, so the message stays until answered.
void Ungueltiges_Bildformat_melden();

// A work file: the picture saved as Programmverzeichnis & Name, whole or not at all (an old file
// of that name stays as it was); false when it cannot be written.
bool Arbeitsdatei_speichern(const vb::Picture& Bild, const QString& Name);
// Message Meldung (870 the logo stays, 871 the photo stays) naming the work file that could not
// be written.
void Arbeitsdatei_melden(const QString& Name, int Meldung);
// Both: saved, or reported.
bool Arbeitsdatei_schreiben(const vb::Picture& Bild, const QString& Name, int Meldung);
// A chosen photo as the work file "temp.bmp", which becomes the picture path; the photo is kept
// in memory for its next load. False when the file cannot be written (message 871 says so).
bool Foto_als_Arbeitsdatei(const vb::Picture& Bild);

// Where a source picture of sw x sh pixels is drawn into a logo of W x H pixels whose picture
// is Breite x Hoehe (its scale size): the first drawing and, when the aspect ratio is kept and
// the source is narrower in aspect than the logo, the drawing that replaces it.
struct Einpassung {
    QRect Zuerst;
    std::optional<QRect> Danach;
};
Einpassung Einpassen(int sw, int sh, int W, int H, double Breite, double Hoehe, bool Perspektivisch);

} // namespace Logo_laden
