#include "logo/Fotovorschau.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "platform/window/App.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/picture/Picture.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/system/VBError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <map>
#include <memory>

using namespace Parameter_und_Start;

namespace Fotovorschau {
namespace {
constexpr int kSlotBreite = 101, kSlotHoehe = 60; // pixels a slot picture is fitted into
// A thumbnail is decoded at about four times the slot when its file is much larger: the JPEG
// decoder scales while it decodes, so a 12-megapixel photo costs a fraction of its full decode.
constexpr int kVorschauBreite = 4 * kSlotBreite, kVorschauHoehe = 4 * kSlotHoehe;
constexpr char kSignatur[] = "VFB1";
constexpr qint64 kKopf = 8;

// The listed file for a path that may be a slot path: the name less its first two characters.
QString gelisteteDatei(const QString& Pfad) {
    const QFileInfo fi(Pfad);
    if (fi.isFile()) return Pfad;
    const QString name = fi.fileName();
    if (name.isEmpty()) return {};
    const QDir ordner = fi.dir();
    const QString mitV = ordner.filePath(QStringLiteral("V_") + name);
    if (QFileInfo(mitV).isFile()) return mitV;
    for (const QString& f : ordner.entryList(QDir::Files, QDir::Name))
        if (f.size() == name.size() + 2 && QStringView(f).mid(2) == name) return ordner.filePath(f);
    return {};
}

// A raw collection picture; a thumbnail reads only every step-th row and pixel, so that a huge
// (or sparse) file costs no more than its thumbnail.
QImage rohbildLesen(QFile& f, short Modus) {
    const QByteArray kopf = f.read(kKopf);
    const auto* u = reinterpret_cast<const uchar*>(kopf.constData());
    const int w = u[4] | (u[5] << 8), h = u[6] | (u[7] << 8);
    const qint64 zeile = qint64(w) * 3;
    if (w == 0 || h == 0 || qint64(w) * h > vb::kMaxPicturePixels || f.size() - kKopf < zeile * h) return {};
    // The same reduction the runtime's loader gives other kinds of file.
    QSize ziel(w, h);
    if (Modus == Modus_Vorschau) ziel = vb::ThumbnailSize(ziel, QSize(kVorschauBreite, kVorschauHoehe), Qt::KeepAspectRatioByExpanding);
    else if (Modus == Modus_Foto) ziel = vb::ThumbnailSize(ziel, QSize(kFotoSeite, kFotoSeite), Qt::KeepAspectRatio);
    const int schritt = std::max({1, w / ziel.width(), h / ziel.height()});
    const int bw = (w + schritt - 1) / schritt, bh = (h + schritt - 1) / schritt;
    QImage img(bw, bh, QImage::Format_RGB32);
    if (img.isNull()) return {};
    QByteArray daten;
    for (int y = 0; y < bh; ++y) {
        if (!f.seek(kKopf + qint64(y) * schritt * zeile)) return {};
        daten = f.read(zeile);
        if (daten.size() != zeile) return {};
        const auto* s = reinterpret_cast<const uchar*>(daten.constData());
        auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < bw; ++x) {
            const uchar* p = s + qint64(x) * schritt * 3;
            line[x] = qRgb(p[0], p[1], p[2]);
        }
    }
    return img;
}

QImage bildLesen(const QString& datei, short Modus) {
    {
        QFile f(datei);
        if (!f.open(QIODevice::ReadOnly)) return {};
        const QByteArray anfang = f.peek(kKopf);
        if (anfang.size() == kKopf && anfang.startsWith(kSignatur)) return rohbildLesen(f, Modus);
    }
    // Every other file goes through the runtime's loader: the listed kinds only, bounded, and a
    // thumbnail or the editor's photo decoded at the size it is shown at.
    if (Modus == Modus_Vorschau) return vb::LoadThumbnail(datei, QSize(kVorschauBreite, kVorschauHoehe)).Image();
    if (Modus == Modus_Foto) return vb::LoadThumbnail(datei, QSize(kFotoSeite, kFotoSeite), Qt::KeepAspectRatio).Image();
    return vb::LoadPicture(datei).Image();
}

QImage begrenzt(QImage img, short Modus) {
    if (Modus == Modus_Foto && !img.isNull() && std::max(img.width(), img.height()) > kFotoSeite)
        img = img.scaled(kFotoSeite, kFotoSeite, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return img;
}
} // namespace

vb::Picture Fotosammlung_Bild(const QString& Pfad, short Modus) {
    try {
        const QString datei = gelisteteDatei(Pfad);
        if (datei.isEmpty()) return {};
        return vb::Picture(begrenzt(bildLesen(datei, Modus), Modus));
    } catch (const vb::VBError&) {
        return {};
    }
}

void Fotosammlung_Bild_laden(const QString& Pfad, vb::Control& Bild, short Modus) {
    const vb::Picture p = Fotosammlung_Bild(Pfad, Modus);
    if (p.IsEmpty()) return;
    if (auto* image = dynamic_cast<vb::Image*>(&Bild)) image->setPicture(p);
    else if (auto* box = dynamic_cast<vb::PictureBox*>(&Bild)) box->setPicture(p);
}

QByteArray Sammlungsdatei(const QImage& bild) {
    const QImage src = bild.convertToFormat(QImage::Format_RGB32);
    const int w = std::min(src.width(), 65535), h = std::min(src.height(), 65535);
    QByteArray out(kKopf + qint64(w) * h * 3, '\0');
    std::copy_n(kSignatur, 4, out.data());
    out[4] = char(w & 255);
    out[5] = char(w >> 8);
    out[6] = char(h & 255);
    out[7] = char(h >> 8);
    char* d = out.data() + kKopf;
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            *d++ = char(qRed(line[x]));
            *d++ = char(qGreen(line[x]));
            *d++ = char(qBlue(line[x]));
        }
    }
    return out;
}

int Scrollmaximum(int Anzahl, int Seitenende) { return std::max(0, Anzahl - Seitenende - 1); }

int Listenindex(int Wert, int Slot, int Anzahl) {
    const int n = Wert + Slot;
    return n >= 0 && n < Anzahl ? n : -1;
}

QString Ordner(QString Pfad) {
    if (Pfad.endsWith(QLatin1Char('/'))) Pfad.chop(1);
    return Pfad;
}

QString Slotpfad(const QString& Ordner, const QString& Name, bool Foto) { return Ordner + QLatin1Char('/') + (Foto ? Name.mid(2) : Name); }

namespace {
// How the three browsers differ.
struct Regeln {
    bool foto;           // the photo collection rather than logos
    int seitenende;      // the last slot of a page, for the scroll range
    int klein, gross;    // the scroll bar's steps
    bool einpassen;      // pictures fitted into the slot and centred on their frames, the scroll bar off meanwhile
    bool leerBeiFehler;  // a file that is no picture empties its slot; otherwise the slot keeps its path, without a picture
    bool freigeben;      // slots take the mouse while they show a picture
    bool bildpfadGelistet; // the picture's tooltip names the file as listed, the frame's the slot path
};

Regeln regeln(const Slotsatz& S) {
    switch (S.Art) {
    case Browserart::Galerie:
        return {false, int(S.Bilder.size()) - 1, Vorschau_Zeilenlaenge, Vorschau_Seitengroesse, false, true, true, false};
    case Browserart::Streifen:
        return {true, Browser_Seitenende, Browser_Schrittweite, Browser_Seitenende, true, true, false, true};
    case Browserart::Auswahl:
        break;
    }
    return {bool(Foto_Modus), Browser_Seitenende, Browser_Schrittweite, Browser_Seitenende, true, false, false, false};
}

QString ordnerVon(const Slotsatz&, const Regeln& r) {
    if (r.foto) return Programmverzeichnis + QStringLiteral("fotos");
    return Programmverzeichnis + QStringLiteral("logos/") + Logo_Typcode;
}

// A slot past the last file, or one whose file is no picture: empty, without a path.
void slotLeeren(vb::Image& bild, vb::Image& rahmen) {
    bild.setPicture(vb::Picture());
    bild.setToolTipText(QString());
    rahmen.setToolTipText(QString());
}

// A logo of the folder, decoded at about slot size (the gallery's own, the picker's four times
// that); the empty picture when the file is none.
vb::Picture logoLesen(const QString& pfad, Browserart art) {
    const QSize box = art == Browserart::Galerie ? QSize(kSlotBreite, kSlotHoehe) : QSize(kVorschauBreite, kVorschauHoehe);
    vb::Picture p;
    vb::Try([&] { p = vb::LoadThumbnail(pfad, box); });
    return p;
}
} // namespace

int Letzter_Slot(const Slotsatz& S) { return std::clamp<int>(regeln(S).seitenende, -1, int(S.Bilder.size()) - 1); }

void Vorschau_Voreinstellung() {
    Browser_Schrittweite = 5;
    Browser_Seitenende = 19;
}

void Vorschaubilder_ausblenden(const Slotsatz& S) {
    const bool foto = regeln(S).foto;
    for (size_t i = 0; i < S.Bilder.size(); ++i) {
        S.Bilder[i]->setVisible(false);
        if (foto && i < S.Namen.size()) S.Namen[i]->setVisible(false);
    }
}

namespace {
// The fill under way in each browser, known by its scroll bar: a new fill, a new folder or
// emptying the slots drops the rest of it.
std::map<const void*, std::shared_ptr<vb::PictureBatch>>& laufend() {
    static std::map<const void*, std::shared_ptr<vb::PictureBatch>> m;
    return m;
}
void abbrechen(const Slotsatz& S) {
    auto& l = laufend();
    if (const auto it = l.find(S.Scrollbalken); it != l.end()) {
        it->second->Drop();
        l.erase(it);
    }
}
} // namespace

void Vorschaubilder_leeren(const Slotsatz& S) {
    abbrechen(S);
    // The pictures stay disabled: a click on a slot is taken by its frame.
    for (vb::Image* b : S.Bilder) {
        b->setPicture(vb::Picture());
        b->setEnabled(false);
    }
}

void Vorschau_Ordner_setzen(const Slotsatz& S) {
    const Regeln r = regeln(S);
    // The gallery lists every file of its folder, the others the five kinds of picture.
    const QString muster = S.Art == Browserart::Galerie ? QStringLiteral("*.*") : QStringLiteral("*.jpg;*.bmp;*.wmf;*.ico;V_*.bin");
    S.Liste->setPath(ordnerVon(S, r));
    S.Scrollbalken->setEnabled(false);
    S.Liste->setPattern(muster);
    if (S.Dateiliste) S.Dateiliste->setPattern(muster);
    S.Scrollbalken->setMin(0);
    S.Scrollbalken->setMax(Scrollmaximum(S.Liste->ListCount(), r.seitenende));
    vb::Try([&] { S.Scrollbalken->setValue(0); });
    S.Scrollbalken->setSmallChange(r.klein);
    S.Scrollbalken->setLargeChange(r.gross);
    S.Liste->ReRead();
    S.Scrollbalken->setEnabled(true);
    S.Scrollbalken->Refresh();
    Vorschaubilder_fuellen(S);
}

namespace {
// A slot's picture has come: shown, fitted and centred on its frame; a file that is no picture
// shows none, never what the slot showed before.
void slotZeigen(const Slotsatz& S, size_t k, const Regeln& r, const vb::Picture& p) {
    vb::Image& bild = *S.Bilder[k];
    vb::Image& rahmen = *S.Rahmen[k];
    if (p.IsEmpty()) {
        // Where a failed file empties its slot, it leaves no path to open or send either.
        if (r.leerBeiFehler) slotLeeren(bild, rahmen);
        return;
    }
    bild.setPicture(p);
    if (r.freigeben) bild.setEnabled(true);
    if (!r.einpassen) return;
    const double tpp = vb::Screen::TwipsPerPixelX();
    vb::Try([&] { Fenster::Bild_einpassen(bild, kSlotBreite * tpp, kSlotHoehe * tpp); });
    vb::Try([&] { Fenster::Steuerelement_zentrieren(bild, rahmen, r.foto ? -1 : 5, 3); });
}
} // namespace

void Vorschaubilder_fuellen(const Slotsatz& S) {
    const Regeln r = regeln(S);
    abbrechen(S);
    const auto seite = std::make_shared<vb::PictureBatch>();
    laufend()[S.Scrollbalken] = seite;
    if (r.einpassen) S.Scrollbalken->setEnabled(false);
    const QString ordner = Ordner(S.Liste->Path());
    // Names and paths first, at once; the pictures are decoded beside the window, several at a
    // time, and each slot shows its picture as soon as it is there.
    for (int i = 0; i <= Letzter_Slot(S); ++i) {
        const size_t k = size_t(i);
        vb::Image& bild = *S.Bilder[k];
        vb::Image& rahmen = *S.Rahmen[k];
        vb::Label* name = k < S.Namen.size() ? S.Namen[k] : nullptr;
        const int n = Listenindex(S.Scrollbalken->Value(), i, S.Liste->ListCount());
        if (r.einpassen) {
            bild.setVisible(false);
            bild.setStretch(false);
        }
        // Until its own picture comes, a slot shows none: not the old page's.
        bild.setPicture(vb::Picture());
        if (r.freigeben) bild.setEnabled(false);
        if (n < 0) {
            // Past the last file of a short folder the slot stays empty.
            slotLeeren(bild, rahmen);
            if (name) name->setCaption(QString());
            continue;
        }
        const QString datei = S.Liste->List(n);
        const QString pfad = ordner + QLatin1Char('/') + datei;
        const QString slotPfad = Slotpfad(ordner, datei, r.foto);
        if (name) name->setCaption(datei);
        // Logo pages show the names again after a photo page hid them.
        if (name && !r.foto) name->setVisible(true);
        bild.setToolTipText(r.bildpfadGelistet ? pfad : slotPfad);
        rahmen.setToolTipText(slotPfad);
        const Browserart art = S.Art;
        const bool foto = r.foto;
        seite->Add([pfad, foto, art] { return (foto ? Fotosammlung_Bild(pfad, Modus_Vorschau) : logoLesen(pfad, art)).Image(); },
                   [S, k, r](const vb::Picture& p) { slotZeigen(S, k, r, p); });
    }
    // The window answers while the page fills: a click selects, paging or another folder drops
    // the rest of this page.
    if (r.einpassen) S.Scrollbalken->setEnabled(true);
    seite->Wait();
    if (const auto it = laufend().find(S.Scrollbalken); it != laufend().end() && it->second == seite) laufend().erase(it);
    if (!r.einpassen || seite->Dropped()) return;
    vb::App::DoEvents();
    S.Scrollbalken->setEnabled(true);
}

void Vorschaurahmen_zuruecksetzen(const Slotsatz& S, bool Keine_Vorauswahl) {
    for (size_t i = 0; i < S.Rahmen.size(); ++i) {
        S.Rahmen[i]->setBorderStyle(0);
        S.Bilder[i]->setBorderStyle(0);
    }
    if (!Keine_Vorauswahl && !S.Rahmen.empty()) {
        S.Rahmen[0]->setBorderStyle(1);
        S.Bilder[0]->setBorderStyle(1);
    }
}

int Gerahmter_Slot(const Slotsatz& S) {
    for (size_t i = 0; i < S.Rahmen.size(); ++i)
        if (S.Rahmen[i]->BorderStyle() == 1) return int(i);
    return -1;
}

void Vorschau_neu_aufbauen(const Slotsatz& S) {
    Vorschau_Voreinstellung();
    Vorschaubilder_ausblenden(S);
    Vorschaubilder_leeren(S);
    Vorschau_Ordner_setzen(S);
}

} // namespace Fotovorschau
