#include "logo/Fotovorschau.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/App.h"
#include "platform/FileListBox.h"
#include "platform/Image.h"
#include "platform/Label.h"
#include "platform/Picture.h"
#include "platform/PictureBox.h"
#include "platform/Screen.h"
#include "platform/ScrollBar.h"
#include "platform/VBError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

using namespace Parameter_und_Start;

namespace Fotovorschau {
namespace {
constexpr int kSlots = Logo_Foto_LadenForm::kSlots;
constexpr int kSlotBreite = 101, kSlotHoehe = 60; // pixels a slot picture is fitted into
// A thumbnail is decoded at about four times the slot when its file is much larger: the JPEG
// decoder scales while it decodes, so a 12-megapixel photo costs a fraction of its full decode.
constexpr int kVorschauBreite = 4 * kSlotBreite, kVorschauHoehe = 4 * kSlotHoehe;
constexpr char kSignatur[] = "VFB1";
constexpr qint64 kKopf = 8;

QString muster() { return QStringLiteral("*.jpg;*.bmp;*.wmf;*.ico;V_*.bin"); }

// The last slot a fill touches; the photo strip's smaller page never reaches past our 20 slots.
int letzterSlot() { return std::clamp<int>(Browser_Seitenende, -1, kSlots - 1); }

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
    } catch (const std::exception&) {
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

void Vorschau_Voreinstellung() {
    Browser_Schrittweite = 5;
    Browser_Seitenende = 19;
}

void Vorschaubilder_ausblenden() {
    Logo_Foto_LadenForm& F = Logo_Foto_Laden.get();
    for (int i = 0; i < kSlots; ++i) {
        F.Fotos_Vorschaubild_Bild[size_t(i)]->setVisible(false);
        if (Foto_Modus) F.Fotos_Vorschaubild_Bildname[size_t(i)]->setVisible(false);
    }
}

void Vorschaubilder_leeren() {
    // The pictures stay disabled: a click on a slot is taken by its frame.
    for (vb::Image* b : Logo_Foto_Laden->Fotos_Vorschaubild_Bild) {
        b->setPicture(vb::Picture());
        b->setEnabled(false);
    }
}

void Vorschau_Ordner_setzen() {
    Logo_Foto_LadenForm& F = Logo_Foto_Laden.get();
    const QString ordner = Foto_Modus ? Programmverzeichnis + QStringLiteral("fotos") : Programmverzeichnis + QStringLiteral("logos/") + Logo_Typcode;
    F.Fileilistbox->setPath(ordner);
    F.FotosScrollbalken->setEnabled(false);
    F.Fileilistbox->setPattern(muster());
    F.File1->setPattern(muster());
    // The last page ends at the last file; a folder that fits on one page keeps its first page.
    F.FotosScrollbalken->setMax(std::max(0, F.Fileilistbox->ListCount() - Browser_Seitenende - 1));
    vb::Try([&] { F.FotosScrollbalken->setValue(0); });
    F.FotosScrollbalken->setMin(0);
    F.FotosScrollbalken->setSmallChange(Browser_Schrittweite);
    F.FotosScrollbalken->setLargeChange(Browser_Seitenende);
    F.Fileilistbox->ReRead();
    F.FotosScrollbalken->setEnabled(true);
    Vorschaubilder_fuellen();
}

void Vorschaubilder_fuellen() {
    Logo_Foto_LadenForm& F = Logo_Foto_Laden.get();
    F.FotosScrollbalken->setEnabled(false);
    QString ordner = F.Fileilistbox->Path();
    if (ordner.endsWith(QLatin1Char('/'))) ordner.chop(1);
    const double tpp = vb::Screen::TwipsPerPixelX();
    for (int i = 0; i <= letzterSlot(); ++i) {
        const size_t k = size_t(i);
        vb::Image* bild = F.Fotos_Vorschaubild_Bild[k];
        vb::Image* rahmen = F.Fotos_Vorschaubild[k];
        vb::Label* name = F.Fotos_Vorschaubild_Bildname[k];
        const int n = F.FotosScrollbalken->Value() + i;
        bild->setVisible(false);
        bild->setStretch(false);
        if (n >= F.Fileilistbox->ListCount()) {
            // Past the last file of a short folder the slot stays empty.
            bild->setPicture(vb::Picture());
            bild->setToolTipText(QString());
            rahmen->setToolTipText(QString());
            name->setCaption(QString());
            continue;
        }
        const QString datei = F.Fileilistbox->List(n);
        if (Foto_Modus) {
            Fotosammlung_Bild_laden(ordner + QLatin1Char('/') + datei, *bild, Modus_Vorschau);
            const QString slotPfad = ordner + QLatin1Char('/') + datei.mid(2);
            bild->setToolTipText(slotPfad);
            rahmen->setToolTipText(slotPfad);
        } else {
            bild->setToolTipText(ordner + QLatin1Char('/') + datei);
            rahmen->setToolTipText(bild->ToolTipText());
            vb::Try([&] { bild->setPicture(vb::LoadThumbnail(bild->ToolTipText(), QSize(kVorschauBreite, kVorschauHoehe))); });
            // Logo pages show the names again after a photo page hid them.
            name->setVisible(true);
        }
        name->setCaption(datei);
        vb::Try([&] { Fenster::Bild_einpassen(*bild, kSlotBreite * tpp, kSlotHoehe * tpp); });
        vb::Try([&] { Fenster::Steuerelement_zentrieren(*bild, *rahmen, Foto_Modus ? -1 : 5, 3); });
    }
    vb::App::DoEvents();
    F.FotosScrollbalken->setEnabled(true);
}

void Vorschaurahmen_zuruecksetzen(bool Keine_Vorauswahl) {
    Logo_Foto_LadenForm& F = Logo_Foto_Laden.get();
    for (int i = 0; i < kSlots; ++i) {
        F.Fotos_Vorschaubild[size_t(i)]->setBorderStyle(0);
        F.Fotos_Vorschaubild_Bild[size_t(i)]->setBorderStyle(0);
    }
    if (!Keine_Vorauswahl) {
        F.Fotos_Vorschaubild[0]->setBorderStyle(1);
        F.Fotos_Vorschaubild_Bild[0]->setBorderStyle(1);
    }
}

} // namespace Fotovorschau
