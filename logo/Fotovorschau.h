#pragma once
// The thumbnail browser: slots of one folder's pictures, paged by a vertical scroll bar. One
// design serves the main window's gallery, the picture picker's browser (the shipped photos or
// the shipped logos of the current type, as Foto_Modus says) and the photo editor's strip; the
// window that owns the controls hands them over as a slot set and reacts to clicks and
// scrolling, this module prepares the folder, fills a page and resets the frames.
#include <QByteArray>
#include <QString>
#include <span>

class QImage;

namespace vb {
class Control;
class FileListBox;
class Image;
class Label;
class Picture;
class ScrollBar;
} // namespace vb

namespace Fotovorschau {

// The three browsers of one design: the main window's gallery of shipped logos (20 slots), the
// picker's browser of shipped logos or photos (20 slots) and the photo editor's strip (6 slots).
enum class Browserart { Galerie, Auswahl, Streifen };

// A browser's controls, handed to the procedures below: the slots' frames, pictures and name
// labels, the scroll bar whose value is the list index of slot 0, the hidden list of the
// folder, and the picker's file-tab list, which takes the same pattern.
struct Slotsatz {
    std::span<vb::Image* const> Rahmen, Bilder;
    std::span<vb::Label* const> Namen;
    vb::ScrollBar* Scrollbalken = nullptr;
    vb::FileListBox* Liste = nullptr;
    vb::FileListBox* Dateiliste = nullptr;
    Browserart Art = Browserart::Auswahl;
};

// Defaults of the picker's browser: a small step of a row, pages ending at slot 19.
void Vorschau_Voreinstellung();
void Vorschaubilder_ausblenden(const Slotsatz& S);
void Vorschaubilder_leeren(const Slotsatz& S);
void Vorschau_Ordner_setzen(const Slotsatz& S);
// The picker's browser from the start: defaults, slots hidden and emptied, the folder read again.
void Vorschau_neu_aufbauen(const Slotsatz& S);
void Vorschaubilder_fuellen(const Slotsatz& S);
void Vorschaurahmen_zuruecksetzen(const Slotsatz& S, bool Keine_Vorauswahl);
// The framed slot, searched from slot 0 upward; -1 when none is framed.
int Gerahmter_Slot(const Slotsatz& S);
// The index of the last slot a page fills.
int Letzter_Slot(const Slotsatz& S);

// Paging. The scroll range of a folder of Anzahl files on pages whose last slot is Seitenende:
// the last page ends at the last file, and a folder that fits on one page keeps its first page.
int Scrollmaximum(int Anzahl, int Seitenende);
// The list index that slot Slot shows at scroll value Wert; -1 past the last of Anzahl files.
int Listenindex(int Wert, int Slot, int Anzahl);
// The folder of a list path, without a trailing separator (a drive's root ends in one).
QString Ordner(QString Pfad);
// The slot path of a listed file: a photo's name loses its first two characters ("V_").
QString Slotpfad(const QString& Ordner, const QString& Name, bool Foto);

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
