// The main window's logo editor: drawing tools, the raster's mouse, new logo, undo and paint colours.
#include "frame/Startbildschirm.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "logo/Zaroreriri.h"
#include "platform/window/App.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Skin.h"
#include "platform/window/TextBox.h"
#include "platform/system/VBError.h"

using namespace Parameter_und_Start;

// The editor's surfaces and tool buttons, handed to its modules.
Zaroreriri::Flaechen StartbildschirmForm::Editorflaechen() {
    return {Logo_Weiss_Grafik, Logo_Undo_Grafik, Logo_Raster_Grafik, Gruen_Transferlogo_LogoBrowser[1], Zoom, Raster_Undo_Box,
            Malfarbe_schwarz, Logo_Kreis_schwarz, Logo_Rechteck_Schwarz, {Logo_Text, Logo_Stift, Logo_Kreis, Logo_Quadrat, Logo_Linie},
            &SurfaceFont(), &Schaltflaechenlader->CMDialog1};
}

void StartbildschirmForm::wireWerkzeuge() {
    Zoom->MouseMove = [this](int, int, float, float) { vb::Try([&] { Zoom->setToolTipText(LoadResString(817)); }); };
    Logo_Stift->Click = [this] { Logo_Stift_Click(); };
    Logo_Kreis->Click = [this] { Logo_Kreis_Click(); };
    Logo_Kreis_schwarz->Click = [this] { Logo_Kreis_schwarz_Click(); };
    Logo_Quadrat->Click = [this] { Logo_Quadrat_Click(); };
    Logo_Rechteck_Schwarz->Click = [this] { Logo_Rechteck_Schwarz_Click(); };
    Logo_Linie->Click = [this] { Logo_Linie_Click(); };
    Logo_Text->Click = [this] { Logo_Text_Click(); };
    Logo_Raster_Grafik->MouseDown = [this](int b, int s, float x, float y) { Logo_Raster_Grafik_MouseDown(b, s, x, y); };
    Logo_Raster_Grafik->MouseMove = [this](int b, int s, float x, float y) { Logo_Raster_Grafik_MouseMove(b, s, x, y); };
    Logo_Raster_Grafik->MouseUp = [this](int b, int s, float x, float y) { Logo_Raster_Grafik_MouseUp(b, s, x, y); };
    Logo_Neu->Click = [this] { Logo_Neu_Click(); };
    Logo_undo->Click = [this] { Logo_undo_Click(); };
    Logo_invers->Click = [this] { Zaroreriri::Logo_invertieren(Editorflaechen()); };
    Logo_verti_spiegel->Click = [this] { Zaroreriri::Logo_vertikal_spiegeln(Editorflaechen()); };
    Logo_hori_spiegel->Click = [this] { Zaroreriri::Logo_horizontal_spiegeln(Editorflaechen()); };
    Logo_hoch_bit->Click = [this] { Zaroreriri::Logo_hoch_schieben(Editorflaechen()); };
    Logo_runter_bit->Click = [this] { Zaroreriri::Logo_runter_schieben(Editorflaechen()); };
    Logo_links_bit->Click = [this] { Zaroreriri::Logo_links_schieben(Editorflaechen()); };
    Logo_rechts_bit->Click = [this] { Zaroreriri::Logo_rechts_schieben(Editorflaechen()); };
    Malfarbe_schwarz->Click = [this] { Malfarbe_schwarz_Click(); };
    Malfarbe_gruen->Click = [this] { Malfarbe_gruen_Click(); };
    Malfarbe_gemischt->Click = [this] { Malfarbe_gemischt_Click(); };
}

void StartbildschirmForm::designWerkzeuge() {
    for (vb::PictureBox* p : {Logo_Weiss_Grafik, Logo_Undo_Grafik}) {
        p->setScaleMode(vb::vbPixels);
        p->setBackColor(vb::vbWhite);
        p->setForeColor(vb::vbBlack);
        p->setDrawMode(vb::vbCopyPen);
    }
    Logo_Undo_Grafik->setVisible(false);
    Logo_Raster_Grafik->setScaleMode(vb::vbPixels);
    Logo_Raster_Grafik->setBackColor(vb::Skin::Colour::DisplayGreen);
    Logo_Raster_Grafik->setAutoRedraw(true);
    Zoom->setScaleMode(vb::vbPixels);
    Zoom->setBackColor(vb::Skin::Colour::DisplayGreen);
    Malwerkzeug_Vorschau->setScaleMode(vb::vbPixels);
    Malwerkzeug_Vorschau->setBackColor(vb::Skin::Colour::Body);
    for (vb::Image* m : {Mitte_zentrierung, Mitte_zentrierung_vert, Logo_Radiegummi, Logo_Linie_schwarz}) {
        m->setVisible(false);
        m->setStretch(true); // scaled with the window like the raster they centre
    }
    // At start the pen and black are chosen.
    for (vb::Image* t : {Logo_Text, Logo_Kreis, Logo_Quadrat, Logo_Linie, Logo_Kreis_schwarz, Logo_Rechteck_Schwarz}) t->setTag(QStringLiteral("0"));
    Logo_Stift->setTag(QStringLiteral("1"));
    Malfarbe_schwarz->setTag(QStringLiteral("1"));
    Malfarbe_gruen->setTag(QStringLiteral("0"));
    Malfarbe_gemischt->setTag(QStringLiteral("0"));
    Raster_Undo_Box->setVisible(true);
}

// ---- Editor: tools ----

namespace {
void werkzeugZeigen(StartbildschirmForm& F, const char* store) {
    if (vb::Control* s = Schaltflaechenlader->Find(QString::fromLatin1(store))) F.Malwerkzeug_Vorschau->setPicture(Schaltflaechen::Bild(s));
}
const QString kEins = QStringLiteral("1");
bool gewaehlt(const vb::Control* c) { return c->Tag() == kEins; }
} // namespace

namespace {
// A tool button: the others reset, the tags of the table set, the tool shown.
void werkzeugWaehlen(StartbildschirmForm& F, std::initializer_list<std::pair<vb::Image*, QString>> tags, const char* vorschau) {
    Zaroreriri::Werkzeuge_zuruecksetzen(F.Editorflaechen());
    for (const auto& [button, tag] : tags) button->setTag(tag);
    werkzeugZeigen(F, vorschau);
}
} // namespace

void StartbildschirmForm::Logo_Stift_Click() { werkzeugWaehlen(*this, {{Logo_Stift, kEins}}, "Logo_Stift"); }
void StartbildschirmForm::Logo_Kreis_Click() { werkzeugWaehlen(*this, {{Logo_Kreis, kEins}, {Logo_Kreis_schwarz, QString()}}, "Logo_Kreis"); }
void StartbildschirmForm::Logo_Kreis_schwarz_Click() { werkzeugWaehlen(*this, {{Logo_Kreis, kEins}, {Logo_Kreis_schwarz, kEins}}, "Logo_Kreis_schwarz"); }
void StartbildschirmForm::Logo_Quadrat_Click() { werkzeugWaehlen(*this, {{Logo_Quadrat, kEins}, {Logo_Rechteck_Schwarz, QString()}}, "Logo_Quadrat"); }
void StartbildschirmForm::Logo_Rechteck_Schwarz_Click() {
    werkzeugWaehlen(*this, {{Logo_Rechteck_Schwarz, kEins}, {Logo_Quadrat, kEins}}, "Logo_Rechteck_Schwarz");
}
void StartbildschirmForm::Logo_Linie_Click() { werkzeugWaehlen(*this, {{Logo_Linie, kEins}}, "Logo_Linie"); }

void StartbildschirmForm::Logo_Text_Click() {
    try {
        if (Logo_Text->Tag() == kEins) Logo_undo_Click();
        if (Logo_Text->Tag() != kEins) Zaroreriri::Undo_sichern(Editorflaechen());
        Zaroreriri::Werkzeuge_zuruecksetzen(Editorflaechen());
        Logo_Text->setTag(kEins);
        werkzeugZeigen(*this, "Logo_Text");
        vb::CommonDialog& d = Schaltflaechenlader->CMDialog1;
        d.CancelError = true;
        d.Flags = 0x40201;
        d.FontName = Schrift_Name;
        d.FontSize = Schrift_Groesse.toDouble();
        d.ShowFont();
        QFont& f = SurfaceFont();
        if (!d.FontName.isEmpty()) {
            f.setFamily(d.FontName);
            f.setBold(d.FontBold);
            f.setItalic(d.FontItalic);
        } else {
            f.setFamily(QStringLiteral("Arial"));
        }
        if (d.FontSize == 8) d.FontSize = 9;
        Info_Text = LoadResString(48);
        Information->Infotext->setLocked(false);
        Info_Modus = 1;
        Information->Show(vb::vbModal);
        // The entry box is a message box again afterwards, also when the entry was cancelled.
        if (Info_Modus == 0) {
            Information->Infotext->setLocked(true);
            Logo_Stift_Click();
        } else {
            vb::App::DoEvents();
            Letzte_Texteingabe = Information->Infotext->Text();
            Information->Infotext->setLocked(true);
            Schrift_Name = d.FontName;
            Schrift_Groesse = QString::number(d.FontSize);
        }
    } catch (const vb::VBError&) {
        Logo_Stift_Click();
    }
}

// ---- Editor: the raster's mouse ----

void StartbildschirmForm::Logo_Raster_Grafik_MouseDown(int, int, float, float) {
    if (Logo_Text->Tag() != kEins) Zaroreriri::Undo_sichern(Editorflaechen());
    Zaroreriri::Rasterposition_ermitteln(*Logo_Raster_Grafik);
    if (Logo_Text->Tag() == kEins) {
        Zaroreriri::Text_zeichnen(Editorflaechen());
        Logo_Text->setTag(QStringLiteral("2"));
    }
    Raster_Undo_Box->setVisible(false);
    if (gewaehlt(Logo_Stift)) Zaroreriri::Punkt_setzen(Editorflaechen());
}

void StartbildschirmForm::Logo_Raster_Grafik_MouseMove(int Button, int, float X, float Y) {
    if (Logo_Text->Tag() == kEins || Button == 1) {
        Anker_X = X / 4;
        Anker_Y = Y / 4;
        if (gewaehlt(Logo_Stift)) Zaroreriri::Punkt_setzen(Editorflaechen());
        else if (gewaehlt(Logo_Kreis)) Zaroreriri::Kreis_zeichnen(Editorflaechen());
        else if (gewaehlt(Logo_Quadrat)) Zaroreriri::Rechteck_zeichnen(Editorflaechen());
        else if (gewaehlt(Logo_Linie)) Zaroreriri::Linie_zeichnen(Editorflaechen());
        else if (gewaehlt(Logo_Text)) Zaroreriri::Text_zeichnen(Editorflaechen());
    }
    Zaroreriri::Zoom_zeichnen(Editorflaechen(), X, Y);
}

void StartbildschirmForm::Logo_Raster_Grafik_MouseUp(int Button, int Shift, float X, float Y) {
    // Only the pen paints on release; a shape keeps the preview of the last move.
    if (!gewaehlt(Logo_Stift)) return;
    Zaroreriri::Punkt_setzen(Editorflaechen());
    Logo_Raster_Grafik_MouseMove(Button, Shift, X, Y);
}

// ---- Editor: new logo, undo, paint colours ----

void StartbildschirmForm::Logo_Neu_Click() {
    for (vb::PictureBox* p : {Logo_Raster_Grafik, Logo_Weiss_Grafik, Logo_Undo_Grafik, Zoom}) {
        p->setPicture(vb::Picture());
        p->Refresh();
        vb::App::DoEvents();
    }
    Zaroreriri::Raster_zeichnen(Editorflaechen());
    Raster_Undo_Box->setVisible(true);
}

void StartbildschirmForm::Logo_undo_Click() {
    Logo_Zeichenflaeche->Cls();
    Logo_Weiss_Grafik->Cls();
    Zaroreriri::Undo_wiederherstellen(Editorflaechen());
    Zaroreriri::Raster_zeichnen(Editorflaechen());
    Raster_Undo_Box->setVisible(true);
}

namespace {
void malfarbeSetzen(StartbildschirmForm& F, vb::Image* gewaehlt, const QString& s, const QString& g, const QString& m, double farbe, int modus) {
    for (vb::Image* b : {F.Malfarbe_schwarz, F.Malfarbe_gruen, F.Malfarbe_gemischt})
        if (b != gewaehlt) b->setPicture(vb::Picture());
    F.Malfarbe_schwarz->setTag(s);
    F.Malfarbe_gruen->setTag(g);
    F.Malfarbe_gemischt->setTag(m);
    Malfarbe = farbe;
    F.Logo_Weiss_Grafik->setDrawMode(modus);
    if (Hover_Objekt) Schaltflaechen::Bild_setzen(Hover_Objekt, vb::Picture());
    // The chosen colour shows its chosen look.
    if (vb::Control* src = Schaltflaechenlader->Find(gewaehlt->Name())) gewaehlt->setPicture(Schaltflaechen::Bild(src));
}
} // namespace

void StartbildschirmForm::Malfarbe_schwarz_Click() {
    malfarbeSetzen(*this, Malfarbe_schwarz, kEins, QStringLiteral("0"), QStringLiteral("0"), 0, vb::vbCopyPen);
}
void StartbildschirmForm::Malfarbe_gruen_Click() {
    malfarbeSetzen(*this, Malfarbe_gruen, QString(), kEins, QString(), 16777215, vb::vbCopyPen);
}
void StartbildschirmForm::Malfarbe_gemischt_Click() {
    malfarbeSetzen(*this, Malfarbe_gemischt, QString(), QString(), kEins, 0, vb::vbInvert);
}
