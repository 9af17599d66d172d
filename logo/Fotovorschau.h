#pragma once
// The thumbnail browser of the picture picker: twenty slots (4 rows of 5) of one folder, paged by
// a vertical scroll bar, either the shipped photos ("fotos") or the shipped logos of the current
// logo type ("logos/<code>"), as Foto_Modus says. The picker owns the controls and reacts to
// clicks and scrolling; this module prepares the folder, fills a page and resets the frames.
#include <QByteArray>
#include <QString>

class QImage;

namespace vb {
class Control;
class Picture;
} // namespace vb

namespace Fotovorschau {

void Vorschau_Voreinstellung();
void Vorschaubilder_ausblenden();
void Vorschaubilder_leeren();
void Vorschau_Ordner_setzen();
void Vorschaubilder_fuellen();
void Vorschaurahmen_zuruecksetzen(bool Keine_Vorauswahl);

// Loader modes: a thumbnail may be decoded at a reduced size (a slot shows at most 101 x 60
// pixels); every other mode gives the picture at its full size, as a photo to edit needs it.
enum : short { Modus_Vorschau = 0, Modus_Original = 1, Modus_Foto = 2 };
// Modus_Foto: the photo editor's photo, at most this many pixels on its long side (larger
// photos are decoded reduced, which is also much faster for JPEG).
constexpr int kFotoSeite = 2048;

// Puts the picture of a file of the photo collection into an image control or picture box.
// Pfad is either the file as listed or a slot path (the listed name less its first two
// characters, "Strand.bin" for "V_Strand.bin"); a slot path is found again in its folder.
// A file that is not a picture leaves the control as it was; nothing is raised.
void Fotosammlung_Bild_laden(const QString& Pfad, vb::Control& Bild, short Modus);
// The same picture as an object; the empty picture when the file is not one.
vb::Picture Fotosammlung_Bild(const QString& Pfad, short Modus);

// Collection files "V_*.bin": a raw picture.
//   bytes 0-3   "VFB1"
//   bytes 4-5   width in pixels, 16 bits, low byte first
//   bytes 6-7   height in pixels, the same
//   then        height rows, top row first, each width x 3 bytes red, green, blue, no padding
// A V_ file that does not start with this signature is read as any picture file (JPEG, BMP...).
QByteArray Sammlungsdatei(const QImage& bild);

} // namespace Fotovorschau
