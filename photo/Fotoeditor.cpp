#include "photo/Fotoeditor.h"


#include "frame/Datei_Laden_Speichern.h"
#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/mfrmMain.h"
#include "logo/Fotovorschau.h"
#include "platform/window/App.h"
#include "platform/window/ComboBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Keys.h"
#include "platform/window/Label.h"
#include "platform/picture/Picture.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Screen.h"
#include "platform/window/ScrollBar.h"
#include "platform/window/Shape.h"
#include "platform/system/VBError.h"
#include "platform/window/Skin.h"

#include <QFileInfo>

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<FotoeditorForm> Fotoeditor;

namespace {
// Places in twips (759 x 531 pixels). Left the strip, in the middle the photo with the filter,
// source, cut-out and capture buttons below it, right the three conversions, the phone display
// and the hand-over.
using Self = FotoeditorForm;

const vb::LayoutRow kLayout[] = {
    VB_ROW(Titelzeile, 2250, 0, 9135, 405, "", "title"),
    VB_ROW(Schliessen, 10980, 38, 330, 330, "", "btn:close").Hover(400, 'S'),
    // Strip
    VB_GRID(Fotos_Vorschaubild, {105}, {225, 1500, 2775, 4065, 5340, 6630}, 1725, 1275, "", "frame").Place(3, 90, 4065).Place(4, 90, 5340).Place(5, 90, 6630),
    VB_GRID(Fotos_Vorschaubild_Bild, {210}, {420, 1695, 2970, 4260, 5535, 6825}, 1515, 900).Place(3, 195, 4260).Place(4, 195, 5535).Place(5, 195, 6825),
    VB_GRID(Fotos_Vorschaubild_Bildname, {105}, {1275, 2550, 3825, 5115, 6390, 7680}, 1725, 210).Place(3, 90, 5115).Place(4, 90, 6390).Place(5, 90, 7680),
    VB_ROW(FotosScrollbalken, 1950, 345, 225, 7500),
    VB_ROW(Fileilistbox, 0, 0, 1500, 1500),
    // Photo area
    VB_ROW(Shape1, 2280, 510, 6540, 5700, "", "well"),
    VB_ROW(Fotos_Bearbeiten_Bildimage, 105, 90, 6330, 5265, "Shape1"),
    VB_ROW(Fangcontainer, 105, 90, 6330, 5265, "Shape1"),
    VB_ROW(Fotos_Bearbeiten_BildiPicture_Lasso, 105, 90, 1500, 1000, "Shape1"),
    VB_ROW(Bildschirmshape, 105, 90, 1500, 1000, "Shape1"),
    VB_ROW(Bildschirmshape_Master, 105, 90, 1500, 1000, "Shape1"),
    // Filters
    // The third list is the widest: its longest entries ("Kantenbetonung normal") need it.
    VB_ROW(Filter1_Label, 2280, 6300, 1140, 390, "", "combo"),
    VB_ROW(Filter1, 2280, 6300, 1140, 390),
    VB_ROW(Filter2_Label, 3480, 6300, 1800, 390, "", "combo"),
    VB_ROW(Filter2, 3480, 6300, 1800, 390),
    VB_ROW(Filter3_Label, 5340, 6300, 2280, 390, "", "combo"),
    VB_ROW(Filter3, 5340, 6300, 2280, 390),
    VB_ROW(Filter3_Abdeckung, 5340, 6300, 2280, 390),
    VB_ROW(Filter_anwenden, 7680, 6300, 600, 390, "", "btn:apply").Hover(840, 'S'),
    VB_ROW(Undo_Fotoeditor, 8340, 6300, 480, 390, "", "btn:undo").Hover(833, 'S'),
    VB_ROW(Undo_Fotoeditor_Shape_Label, 8340, 6300, 480, 390, "", "own:cover"),
    // Photo sources, cut-out and capture
    VB_ROW(Laden_Fotos_Browser_bearbeiten, 2280, 6780, 660, 750, "", "btn:open:Öffnen").Hover(835, 'S'),
    VB_ROW(Speichern_Fotos_Browser_Bearbeiten, 3000, 6780, 660, 750, "", "btn:save:Sichern").Hover(836, 'S'),
    VB_ROW(Bild_scannen_Fotos_Bearbeiten, 3720, 6780, 660, 750, "", "btn:scanner:Scan").Hover(834, 'S'),
    VB_ROW(Scanner_Deaktiviert, 3720, 6780, 660, 750, "", "own:hatch").Hover(854, 'T'),
    VB_ROW(Foto_bearbeiten_Schere_Komplett, 4560, 6780, 660, 750, "", "btn:scissors:frei").Hover(705, 'G'),
    VB_ROW(Foto_bearbeiten_Schere_Lasso, 5280, 6780, 660, 750, "", "btn:scissors:Format").Hover(846, 'G'),
    VB_ROW(Foto_bearbeiten_Schere_Logogroesse, 6000, 6780, 660, 750, "", "btn:scissors:Logo").Hover(704, 'G'),
    VB_ROW(Kasten_Fotoeditor_BildKomplett, 6720, 6780, 660, 750, "", "btn:photo:frei").Hover(703, 'S'),
    VB_ROW(Kasten_Fotoeditor_BildAusschnitt, 7440, 6780, 660, 750, "", "btn:photo:Format").Hover(702, 'S'),
    VB_ROW(Kasten_Fotoeditor_BildLogoLupe, 8160, 6780, 660, 750, "", "btn:photo:Logo").Hover(701, 'S'),
    // Conversions
    VB_ROW(Kalvoren_Voschau_Dither, 8940, 510, 2340, 1050, "", "frame").Hover(0, 'H'),
    VB_ROW(Kalvoren_Voschau_Dither_Grafik, 9600, 780, 1080, 390).Hover(837, 'T'),
    VB_ROW(Kalvoren_Voschau_Dither_Text, 8940, 1575, 2340, 225),
    VB_ROW(Kalvoren_Voschau_Muster, 8940, 1860, 2340, 1050, "", "frame").Hover(0, 'H'),
    VB_ROW(Kalvoren_Voschau_Muster_Grafik, 9600, 2130, 1080, 390).Hover(838, 'T'),
    VB_ROW(Kalvoren_Voschau_Muster_Text, 8940, 2925, 2340, 225),
    VB_ROW(Kalvoren_Voschau_Schwellenwert, 8940, 3210, 2340, 1050, "", "frame").Hover(0, 'H'),
    VB_ROW(Kalvoren_Voschau_Schwellenwert_Grafik, 9600, 3480, 1080, 390).Hover(839, 'T'),
    VB_ROW(Kalvoren_Voschau_Schwellenwert_Text, 8940, 4275, 2340, 225),
    VB_ROW(Gruen_Transferlogo_LogoBrowser_Rahmen, 8940, 4590, 2340, 1500, "", "display"),
    VB_ELEM(Gruen_Transferlogo_LogoBrowser, 1, 9570, 5130, 1080, 390),
    VB_ELEM(Gruen_Transferlogo_LogoBrowser, 0, 9570, 5130, 1080, 390),
    VB_ROW(In_Kalvoren_bearbeiten, 8940, 6300, 2340, 450, "", "btn:edit:In den Kalvoren").Hover(841, 'S'),
    VB_ROW(Abbrechen, 8940, 6870, 2340, 450, "", "btn:close:Beenden").Hover(842, 'S', "Beenden"),
    // Hidden work surfaces
    VB_ROW(Testbild, 0, 0, 300, 300),
    VB_ROW(Logo_Weiss_Grafik, 0, 0, 1080, 210),
    VB_ROW(Logo_Undo_Grafik, 0, 0, 1080, 210),
    VB_ROW(picImage, 0, 0, 300, 300),
    VB_ROW(Fotos_Bearbeiten_Bildimage_Undo_Buffer, 0, 0, 300, 300),
};
} // namespace

FotoeditorForm::FotoeditorForm() : vb::Form(QStringLiteral("Fotoeditor"), kLayout, 11385, 7965) {}
FotoeditorForm::~FotoeditorForm() = default;

void FotoeditorForm::Wire() {
    // Frame
    Schliessen->Click = [this] { Schliessen_Click(); };
    Abbrechen->Click = [this] { Abbrechen_Click(); };
    Titelzeile->MouseMove = [this](int b, int s, float x, float y) { Titelzeile_MouseMove(b, s, x, y); };
    Shape1->MouseMove = [this](int b, int s, float x, float y) { Shape1_MouseMove(b, s, x, y); };
    Schaltflaechen::Hover_verdrahten(*this);

    // Strip, opening and saving
    for (short i = 0; i < kSlots; ++i) {
        const size_t k = size_t(i);
        Fotos_Vorschaubild[k]->Click = [this, i] { Fotos_Vorschaubild_Click(i); };
        Fotos_Vorschaubild[k]->MouseMove = [this, i](int b, int s, float x, float y) { Fotos_Vorschaubild_MouseMove(i, b, s, x, y); };
        // The slot pictures stay disabled; the mouse reaches the frame beneath them.
        Fotos_Vorschaubild_Bild[k]->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    FotosScrollbalken->Change = [this] { FotosScrollbalken_Change(); };
    Laden_Fotos_Browser_bearbeiten->Click = [this] { Laden_Fotos_Browser_bearbeiten_Click(); };
    Speichern_Fotos_Browser_Bearbeiten->Click = [this] { Speichern_Fotos_Browser_Bearbeiten_Click(); };

    // Conversions
    Gruen_Transferlogo_LogoBrowser[0]->Change = [this] { Gruen_Transferlogo_LogoBrowser_Change(0); };
    Gruen_Transferlogo_LogoBrowser[1]->Change = [this] { Gruen_Transferlogo_LogoBrowser_Change(1); };
    Kalvoren_Voschau_Dither->Click = [this] { Kalvoren_Voschau_Dither_Click(); };
    Kalvoren_Voschau_Muster->Click = [this] { Kalvoren_Voschau_Muster_Click(); };
    Kalvoren_Voschau_Schwellenwert->Click = [this] { Kalvoren_Voschau_Schwellenwert_Click(); };
    Kalvoren_Voschau_Dither_Grafik->Click = [this] { Kalvoren_Voschau_Dither_Click(); };
    Kalvoren_Voschau_Muster_Grafik->Click = [this] { Kalvoren_Voschau_Muster_Click(); };
    Kalvoren_Voschau_Schwellenwert_Grafik->Click = [this] { Kalvoren_Voschau_Schwellenwert_Click(); };
    In_Kalvoren_bearbeiten->Click = [this] { In_Kalvoren_bearbeiten_Click(); };

    wireFilter();
    wireAusschnitt();
    wireErfassung();
    wireScannen();
}

void FotoeditorForm::Design() {
    Titelzeile->setForeColor(vb::vbWhite);
    Titelzeile->setFontBold(true);
    Titelzeile->setFontSize(10);
    Fileilistbox->setVisible(false);
    for (vb::Label* l : Fotos_Vorschaubild_Bildname) l->setVisible(false);
    for (vb::Control* c : std::initializer_list<vb::Control*>{Testbild, Logo_Weiss_Grafik, Logo_Undo_Grafik, picImage,
                                                              Fotos_Bearbeiten_Bildimage_Undo_Buffer, Gruen_Transferlogo_LogoBrowser[0],
                                                              Fangcontainer, Fotos_Bearbeiten_BildiPicture_Lasso, Bildschirmshape,
                                                              Bildschirmshape_Master, Filter1, Filter2, Filter3, Filter3_Abdeckung,
                                                              Scanner_Deaktiviert})
        c->setVisible(false);
    // The logo-size pictures keep their drawing and map white to the display's green by AND.
    for (vb::PictureBox* p : {Logo_Weiss_Grafik, Logo_Undo_Grafik, Gruen_Transferlogo_LogoBrowser[0]}) {
        p->setScaleMode(vb::vbPixels);
        p->setBorderStyle(0);
    }
    for (vb::PictureBox* p : {Kalvoren_Voschau_Dither_Grafik, Kalvoren_Voschau_Muster_Grafik, Kalvoren_Voschau_Schwellenwert_Grafik,
                              Gruen_Transferlogo_LogoBrowser[1]}) {
        p->setScaleMode(vb::vbPixels);
        p->setBorderStyle(0);
        p->setBackColor(vb::Skin::Colour::DisplayPale);
        p->Cls();
    }
    const std::pair<vb::Label*, const char*> namen[] = {
        {Kalvoren_Voschau_Dither_Text, "Dither"}, {Kalvoren_Voschau_Muster_Text, "Muster"}, {Kalvoren_Voschau_Schwellenwert_Text, "Schwellenwert"}};
    for (const auto& [l, text] : namen) {
        l->setCaption(QString::fromLatin1(text));
        l->setAlignment(2);
        l->setFontSize(8);
        l->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    for (vb::Label* l : {Filter1_Label, Filter2_Label, Filter3_Label}) l->setFontSize(8);
    Filter3_Abdeckung->setBackStyle(1);
    Filter3_Abdeckung->setBackColor(vb::RGB(0xDC, 0xE3, 0xE8));
    Fotos_Bearbeiten_Bildimage->setStretch(true);
    Shape1->setBackColor(vb::Skin::Colour::Well);
    Bildschirmshape->setBorderColor(vb::vbWhite);
    Bildschirmshape_Master->setBorderColor(vb::vbWhite);
    Umrechnung_voreinstellen();
}

void FotoeditorForm::Form_Load() {
    if (!Scanner_vorhanden) {
        Scanner_Deaktiviert->setVisible(true);
        Bild_scannen_Fotos_Bearbeiten->setVisible(false);
    }
    if (Startbildschirm.IsLoaded()) Move(Startbildschirm->Left(), Startbildschirm->Top());
    vb::Try([&] { Titelzeile->setCaption(LoadResString(805)); });
    vb::Try([&] { setCaption(LoadResString(104)); });
    Fenster::Fenster_abrunden(*this);
    // The processing host draws into this window's hidden picture box.
    mfrmMain->Ziele_setzen(picImage, Fotos_Bearbeiten_Bildimage);
    vb::Try([&] {
        Filterkategorien_fuellen();
        Farbfilter_fuellen();
    });
}

void FotoeditorForm::Form_Resize() {
    if (WindowState() != vb::vbNormal) return;
    const double tpp = vb::Screen::TwipsPerPixelX();
    if (Height() != 7965.0 / 15 * tpp) setHeight(7965.0 / 15 * tpp);
    if (Width() != 11385.0 / 15 * tpp) setWidth(11385.0 / 15 * tpp);
}

void FotoeditorForm::Form_DblClick() {
    setLeft((vb::Screen::Width() - Width()) / 2);
    setTop((vb::Screen::Height() - Height()) / 2);
}

void FotoeditorForm::Form_KeyDown(int& KeyCode, int) { Schaltflaechen::Hilfetaste(KeyCode); }

void FotoeditorForm::Form_MouseMove(int Button, int, float, float) {
    Schaltflaechen::Fenster_ziehen(*this, Button);
    Schaltflaechen::Hover_zuruecksetzen(true);
    Schaltflaechen::Gruppe_zeigen(*this);
}

void FotoeditorForm::Titelzeile_MouseMove(int Button, int, float, float) { Schaltflaechen::Fenster_ziehen(*this, Button); }

void FotoeditorForm::Shape1_MouseMove(int, int, float, float) { Bildschirmshape->setVisible(false); }

void FotoeditorForm::Abbrechen_Click() {
    vb::App::DoEvents();
    if (Startbildschirm.IsLoaded()) {
        Startbildschirm->setEnabled(true);
        Startbildschirm->Show();
    }
    vb::App::DoEvents();
    Hide();
}

void FotoeditorForm::Schliessen_Click() {
    Hide();
    if (Startbildschirm.IsLoaded()) Startbildschirm->setEnabled(true);
}

// ---- The entry pair: the one road of every photo into the editor ----

void FotoeditorForm::In_Fotoeditor_bearbeiten_Einsprung(QString Pfad) {
    if (Pfad.isEmpty() || !QFileInfo(Pfad).isFile()) {
        // The framed strip photo instead; its picture names the file as listed.
        const int slot = Fotovorschau_Editor_6::Gerahmter_Slot(Streifen());
        if (slot < 0) return;
        Pfad = Fotos_Vorschaubild_Bild[size_t(slot)]->ToolTipText();
        if (Pfad.isEmpty() || !QFileInfo(Pfad).isFile()) return;
    }
    // One decode serves the view, the processing host and the logo-size picture. A file that is
    // no picture leaves the photo as it is; the logo-size load reports it.
    const vb::Picture bild = Fotovorschau::Fotosammlung_Bild(Pfad, Fotovorschau::Modus_Foto);
    if (bild.IsEmpty()) return;
    vb::RememberPicture(Pfad, bild);

    Fotos_Bearbeiten_Bildimage->setVisible(false);
    Fotos_Bearbeiten_Bildimage->setStretch(false);
    Bilddatei_Pfad = Pfad;
    mfrmMain->Lade_Bild(Bilddatei_Pfad);
    Fotos_Bearbeiten_Bildimage->setPicture(vb::Picture());
    Fotos_Bearbeiten_Bildimage->Refresh();
    Fotos_Bearbeiten_Bildimage->setPicture(bild);
    const double tx = vb::Screen::TwipsPerPixelX(), ty = vb::Screen::TwipsPerPixelY();
    Fenster::Bild_einpassen(*Fotos_Bearbeiten_Bildimage, 6330.0 / 15 * tx, 5265.0 / 15 * ty);
    vb::App::DoEvents();
    Fenster::Steuerelement_zentrieren(*Fotos_Bearbeiten_Bildimage, *Shape1, short(Shape1->Top() / ty), short(Shape1->Left() / tx));
    vb::App::DoEvents();
    Undo_Fotoeditor_Shape_Label->setVisible(true);
}

void FotoeditorForm::Laden_Fotos_Browser_Einsprung(QString Pfad) {
    if (Pfad.isEmpty()) Pfad = Datei_Laden_Speichern::Bilddatei_laden();
    if (Pfad.isEmpty()) return;
    In_Fotoeditor_bearbeiten_Einsprung(Pfad);
    Laden_Click_Sub(Pfad);
}
