#include "photo/Fotoeditor.h"

#include "frame/Fenster.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Schaltflaechen.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "imaging/cDIBSection.h"
#include "imaging/cDIBSectionSave.h"
#include "imaging/mfrmMain.h"
#include "platform/App.h"
#include "platform/ComboBox.h"
#include "platform/FileListBox.h"
#include "platform/Image.h"
#include "platform/Keys.h"
#include "platform/Label.h"
#include "platform/PictureBox.h"
#include "platform/Screen.h"
#include "platform/ScrollBar.h"
#include "platform/Shape.h"
#include "platform/VBError.h"

using namespace Parameter_und_Start;
using vb::Kind;

vb::Instance<FotoeditorForm> Fotoeditor;

namespace {
// Places in twips (759 x 531 pixels). Left the strip, in the middle the photo with the filter,
// source, cut-out and capture buttons below it, right the three conversions, the phone display
// and the hand-over.
const vb::LayoutItem kLayout[] = {
    {"Titelzeile", Kind::Label, -1, 2250, 0, 9135, 405, "", "title"},
    {"Schliessen", Kind::Image, -1, 10980, 38, 330, 330, "", "btn:close"},
    // Strip
    {"Fotos_Vorschaubild", Kind::Image, 0, 105, 225, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 1, 105, 1500, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 2, 105, 2775, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 3, 90, 4065, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 4, 90, 5340, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild", Kind::Image, 5, 90, 6630, 1725, 1275, "", "frame"},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 0, 210, 420, 1515, 900},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 1, 210, 1695, 1515, 900},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 2, 210, 2970, 1515, 900},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 3, 195, 4260, 1515, 900},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 4, 195, 5535, 1515, 900},
    {"Fotos_Vorschaubild_Bild", Kind::Image, 5, 195, 6825, 1515, 900},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 0, 105, 1275, 1725, 210},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 1, 105, 2550, 1725, 210},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 2, 105, 3825, 1725, 210},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 3, 90, 5115, 1725, 210},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 4, 90, 6390, 1725, 210},
    {"Fotos_Vorschaubild_Bildname", Kind::Label, 5, 90, 7680, 1725, 210},
    {"FotosScrollbalken", Kind::ScrollBar, -1, 1950, 345, 225, 7500},
    {"Fileilistbox", Kind::FileListBox, -1, 0, 0, 1500, 1500},
    // Photo area
    {"Shape1", Kind::PictureBox, -1, 2280, 510, 6540, 5700, "", "well"},
    {"Fotos_Bearbeiten_Bildimage", Kind::Image, -1, 105, 90, 6330, 5265, "Shape1"},
    {"Fangcontainer", Kind::Image, -1, 105, 90, 6330, 5265, "Shape1"},
    {"Fotos_Bearbeiten_BildiPicture_Lasso", Kind::Image, -1, 105, 90, 1500, 1000, "Shape1"},
    {"Bildschirmshape", Kind::Shape, -1, 105, 90, 1500, 1000, "Shape1"},
    {"Bildschirmshape_Master", Kind::Shape, -1, 105, 90, 1500, 1000, "Shape1"},
    // Filters
    {"Filter1_Label", Kind::Label, -1, 2280, 6300, 1500, 390, "", "combo"},
    {"Filter1", Kind::ComboBox, -1, 2280, 6300, 1500, 390},
    {"Filter2_Label", Kind::Label, -1, 3840, 6300, 1860, 390, "", "combo"},
    {"Filter2", Kind::ComboBox, -1, 3840, 6300, 1860, 390},
    {"Filter3_Label", Kind::Label, -1, 5760, 6300, 1860, 390, "", "combo"},
    {"Filter3", Kind::ComboBox, -1, 5760, 6300, 1860, 390},
    {"Filter3_Abdeckung", Kind::Label, -1, 5760, 6300, 1860, 390},
    {"Filter_anwenden", Kind::Image, -1, 7680, 6300, 600, 390, "", "btn:apply"},
    {"Undo_Fotoeditor", Kind::Image, -1, 8340, 6300, 480, 390, "", "btn:undo"},
    {"Undo_Fotoeditor_Shape_Label", Kind::Image, -1, 8340, 6300, 480, 390, "", "own:cover"},
    // Photo sources, cut-out and capture
    {"Laden_Fotos_Browser_bearbeiten", Kind::Image, -1, 2280, 6780, 660, 750, "", "btn:open:Öffnen"},
    {"Speichern_Fotos_Browser_Bearbeiten", Kind::Image, -1, 3000, 6780, 660, 750, "", "btn:save:Sichern"},
    {"Bild_scannen_Fotos_Bearbeiten", Kind::Image, -1, 3720, 6780, 660, 750, "", "btn:scanner:Scan"},
    {"Scanner_Deaktiviert", Kind::Image, -1, 3720, 6780, 660, 750, "", "own:hatch"},
    {"Foto_bearbeiten_Schere_Komplett", Kind::Image, -1, 4560, 6780, 660, 750, "", "btn:scissors:frei"},
    {"Foto_bearbeiten_Schere_Lasso", Kind::Image, -1, 5280, 6780, 660, 750, "", "btn:scissors:Format"},
    {"Foto_bearbeiten_Schere_Logogroesse", Kind::Image, -1, 6000, 6780, 660, 750, "", "btn:scissors:Logo"},
    {"Kasten_Fotoeditor_BildKomplett", Kind::Image, -1, 6720, 6780, 660, 750, "", "btn:photo:frei"},
    {"Kasten_Fotoeditor_BildAusschnitt", Kind::Image, -1, 7440, 6780, 660, 750, "", "btn:photo:Format"},
    {"Kasten_Fotoeditor_BildLogoLupe", Kind::Image, -1, 8160, 6780, 660, 750, "", "btn:photo:Logo"},
    // Conversions
    {"Kalvoren_Voschau_Dither", Kind::Image, -1, 8940, 510, 2340, 1050, "", "frame"},
    {"Kalvoren_Voschau_Dither_Grafik", Kind::PictureBox, -1, 9600, 780, 1080, 390},
    {"Kalvoren_Voschau_Dither_Text", Kind::Label, -1, 8940, 1575, 2340, 225},
    {"Kalvoren_Voschau_Muster", Kind::Image, -1, 8940, 1860, 2340, 1050, "", "frame"},
    {"Kalvoren_Voschau_Muster_Grafik", Kind::PictureBox, -1, 9600, 2130, 1080, 390},
    {"Kalvoren_Voschau_Muster_Text", Kind::Label, -1, 8940, 2925, 2340, 225},
    {"Kalvoren_Voschau_Schwellenwert", Kind::Image, -1, 8940, 3210, 2340, 1050, "", "frame"},
    {"Kalvoren_Voschau_Schwellenwert_Grafik", Kind::PictureBox, -1, 9600, 3480, 1080, 390},
    {"Kalvoren_Voschau_Schwellenwert_Text", Kind::Label, -1, 8940, 4275, 2340, 225},
    {"Gruen_Transferlogo_LogoBrowser_Rahmen", Kind::Image, -1, 8940, 4590, 2340, 1500, "", "display"},
    {"Gruen_Transferlogo_LogoBrowser", Kind::PictureBox, 1, 9570, 5130, 1080, 390},
    {"Gruen_Transferlogo_LogoBrowser", Kind::PictureBox, 0, 9570, 5130, 1080, 390},
    {"In_Kalvoren_bearbeiten", Kind::Image, -1, 8940, 6300, 2340, 450, "", "btn:edit:In den Kalvoren"},
    {"Abbrechen", Kind::Image, -1, 8940, 6870, 2340, 450, "", "btn:close:Beenden"},
    // Hidden work surfaces
    {"Testbild", Kind::Image, -1, 0, 0, 300, 300},
    {"Logo_Weiss_Grafik", Kind::PictureBox, -1, 0, 0, 1080, 210},
    {"Logo_Undo_Grafik", Kind::PictureBox, -1, 0, 0, 1080, 210},
    {"picImage", Kind::PictureBox, -1, 0, 0, 300, 300},
    {"Fotos_Bearbeiten_Bildimage_Undo_Buffer", Kind::PictureBox, -1, 0, 0, 300, 300},
};

const Schaltflaechen::Hover kHover[] = {
    {"Schliessen", -1, 400, "Schliessen", 'S'},
    {"Abbrechen", -1, 842, "Abbrechen2", 'S'},
    {"Laden_Fotos_Browser_bearbeiten", -1, 835, "Laden_Fotos_Browser_bearbeiten", 'S'},
    {"Speichern_Fotos_Browser_Bearbeiten", -1, 836, "Speichern_Fotos_Browser_Bearbeiten", 'S'},
    {"Bild_scannen_Fotos_Bearbeiten", -1, 834, "Bild_scannen_Fotos_Bearbeiten", 'S'},
    {"Scanner_Deaktiviert", -1, 854, "", 'T'},
    {"Filter_anwenden", -1, 840, "Filter_anwenden", 'S'},
    {"Undo_Fotoeditor", -1, 833, "Logo_undo", 'S'},
    {"In_Kalvoren_bearbeiten", -1, 841, "Uebernehmen", 'S'},
    {"Kalvoren_Voschau_Dither", -1, 0, "Kalvoren_Voschau_Dither", 'H'},
    {"Kalvoren_Voschau_Muster", -1, 0, "Kalvoren_Voschau_Muster", 'H'},
    {"Kalvoren_Voschau_Schwellenwert", -1, 0, "Kalvoren_Voschau_Schwellenwert", 'H'},
    {"Kalvoren_Voschau_Dither_Grafik", -1, 837, "", 'T'},
    {"Kalvoren_Voschau_Muster_Grafik", -1, 838, "", 'T'},
    {"Kalvoren_Voschau_Schwellenwert_Grafik", -1, 839, "", 'T'},
    {"Kasten_Fotoeditor_BildAusschnitt", -1, 702, "Kasten_Fotoeditor_BildAusschnitt", 'S'},
    {"Kasten_Fotoeditor_BildKomplett", -1, 703, "Kasten_Fotoeditor_BildKomplett", 'S'},
    {"Kasten_Fotoeditor_BildLogoLupe", -1, 701, "Kasten_Fotoeditor_BildLogoLupe", 'S'},
};

// The scissors: a group whose chosen member keeps its lit picture.
const std::pair<const char*, int> kScheren[] = {
    {"Foto_bearbeiten_Schere_Lasso", 846}, {"Foto_bearbeiten_Schere_Logogroesse", 704}, {"Foto_bearbeiten_Schere_Komplett", 705}};
} // namespace

FotoeditorForm::FotoeditorForm() : vb::Form(QStringLiteral("Fotoeditor"), kLayout, 11385, 7965) {}
FotoeditorForm::~FotoeditorForm() = default;

void FotoeditorForm::Wire() {
    auto img = [this](const char* n, int i = -1) { return Get<vb::Image>(n, i); };
    auto pic = [this](const char* n, int i = -1) { return Get<vb::PictureBox>(n, i); };
    auto lbl = [this](const char* n, int i = -1) { return Get<vb::Label>(n, i); };
    Titelzeile = lbl("Titelzeile");
    Schliessen = img("Schliessen");
    Abbrechen = img("Abbrechen");
    for (int i = 0; i < kSlots; ++i) {
        Fotos_Vorschaubild[size_t(i)] = img("Fotos_Vorschaubild", i);
        Fotos_Vorschaubild_Bild[size_t(i)] = img("Fotos_Vorschaubild_Bild", i);
        Fotos_Vorschaubild_Bildname[size_t(i)] = lbl("Fotos_Vorschaubild_Bildname", i);
    }
    FotosScrollbalken = Get<vb::ScrollBar>("FotosScrollbalken");
    Fileilistbox = Get<vb::FileListBox>("Fileilistbox");
    Shape1 = pic("Shape1");
    Fotos_Bearbeiten_Bildimage = img("Fotos_Bearbeiten_Bildimage");
    Fangcontainer = img("Fangcontainer");
    Fotos_Bearbeiten_BildiPicture_Lasso = img("Fotos_Bearbeiten_BildiPicture_Lasso");
    Bildschirmshape = Get<vb::Shape>("Bildschirmshape");
    Bildschirmshape_Master = Get<vb::Shape>("Bildschirmshape_Master");
    Testbild = img("Testbild");
    Logo_Weiss_Grafik = pic("Logo_Weiss_Grafik");
    Logo_Undo_Grafik = pic("Logo_Undo_Grafik");
    picImage = pic("picImage");
    Fotos_Bearbeiten_Bildimage_Undo_Buffer = pic("Fotos_Bearbeiten_Bildimage_Undo_Buffer");
    Kalvoren_Voschau_Dither = img("Kalvoren_Voschau_Dither");
    Kalvoren_Voschau_Muster = img("Kalvoren_Voschau_Muster");
    Kalvoren_Voschau_Schwellenwert = img("Kalvoren_Voschau_Schwellenwert");
    Kalvoren_Voschau_Dither_Grafik = pic("Kalvoren_Voschau_Dither_Grafik");
    Kalvoren_Voschau_Muster_Grafik = pic("Kalvoren_Voschau_Muster_Grafik");
    Kalvoren_Voschau_Schwellenwert_Grafik = pic("Kalvoren_Voschau_Schwellenwert_Grafik");
    Kalvoren_Voschau_Dither_Text = lbl("Kalvoren_Voschau_Dither_Text");
    Kalvoren_Voschau_Muster_Text = lbl("Kalvoren_Voschau_Muster_Text");
    Kalvoren_Voschau_Schwellenwert_Text = lbl("Kalvoren_Voschau_Schwellenwert_Text");
    Gruen_Transferlogo_LogoBrowser = {pic("Gruen_Transferlogo_LogoBrowser", 0), pic("Gruen_Transferlogo_LogoBrowser", 1)};
    Gruen_Transferlogo_LogoBrowser_Rahmen = img("Gruen_Transferlogo_LogoBrowser_Rahmen");
    In_Kalvoren_bearbeiten = img("In_Kalvoren_bearbeiten");
    Laden_Fotos_Browser_bearbeiten = img("Laden_Fotos_Browser_bearbeiten");
    Speichern_Fotos_Browser_Bearbeiten = img("Speichern_Fotos_Browser_Bearbeiten");
    Bild_scannen_Fotos_Bearbeiten = img("Bild_scannen_Fotos_Bearbeiten");
    Scanner_Deaktiviert = img("Scanner_Deaktiviert");
    Filter_anwenden = img("Filter_anwenden");
    Undo_Fotoeditor = img("Undo_Fotoeditor");
    Undo_Fotoeditor_Shape_Label = img("Undo_Fotoeditor_Shape_Label");
    Filter1_Label = lbl("Filter1_Label");
    Filter2_Label = lbl("Filter2_Label");
    Filter3_Label = lbl("Filter3_Label");
    Filter3_Abdeckung = lbl("Filter3_Abdeckung");
    Filter1 = Get<vb::ComboBox>("Filter1");
    Filter2 = Get<vb::ComboBox>("Filter2");
    Filter3 = Get<vb::ComboBox>("Filter3");
    Foto_bearbeiten_Schere_Komplett = img("Foto_bearbeiten_Schere_Komplett");
    Foto_bearbeiten_Schere_Lasso = img("Foto_bearbeiten_Schere_Lasso");
    Foto_bearbeiten_Schere_Logogroesse = img("Foto_bearbeiten_Schere_Logogroesse");
    Kasten_Fotoeditor_BildAusschnitt = img("Kasten_Fotoeditor_BildAusschnitt");
    Kasten_Fotoeditor_BildKomplett = img("Kasten_Fotoeditor_BildKomplett");
    Kasten_Fotoeditor_BildLogoLupe = img("Kasten_Fotoeditor_BildLogoLupe");

    // Frame
    Schliessen->Click = [this] { Schliessen_Click(); };
    Abbrechen->Click = [this] { Abbrechen_Click(); };
    Titelzeile->MouseMove = [this](int b, int s, float x, float y) { Titelzeile_MouseMove(b, s, x, y); };
    Shape1->MouseMove = [this](int b, int s, float x, float y) { Shape1_MouseMove(b, s, x, y); };
    Schaltflaechen::Hover_verdrahten(*this, kHover);
    for (const auto& [name, tip] : kScheren) {
        vb::Image* b = img(name);
        const int t = tip;
        // Group members: the tooltip, and always the lit picture; the background restores the group.
        b->MouseMove = [b, t](int, int, float, float) {
            vb::Try([&] { b->setToolTipText(LoadResString(t)); });
            if (vb::Control* src = Schaltflaechenlader->Find(b->Name())) Schaltflaechen::Bild_setzen(b, Schaltflaechen::Bild(src));
        };
    }

    // Strip and loading
    for (short i = 0; i < kSlots; ++i) {
        const size_t k = size_t(i);
        Fotos_Vorschaubild[k]->Click = [this, i] { Fotos_Vorschaubild_Click(i); };
        Fotos_Vorschaubild[k]->MouseMove = [this, i](int b, int s, float x, float y) { Fotos_Vorschaubild_MouseMove(i, b, s, x, y); };
        // The slot pictures stay disabled; the mouse reaches the frame beneath them.
        Fotos_Vorschaubild_Bild[k]->Widget()->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    FotosScrollbalken->Change = [this] { FotosScrollbalken_Change(); };
    Laden_Fotos_Browser_bearbeiten->Click = [this] { Laden_Fotos_Browser_bearbeiten_Click(); };

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
        p->setBackColor(vb::RGB(155, 164, 126));
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
    Shape1->setBackColor(vb::RGB(0x34, 0x44, 0x4B));
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
    // The scissors: the chosen one shows its lit picture, the others none.
    for (const auto& [name, tip] : kScheren) {
        (void)tip;
        vb::Image* m = Get<vb::Image>(name);
        if (m->Tag() != QLatin1String("1")) continue;
        if (vb::Control* src = Schaltflaechenlader->Find(m->Name())) m->setPicture(Schaltflaechen::Bild(src));
        for (const auto& [other, t2] : kScheren) {
            (void)t2;
            if (vb::Image* o = Get<vb::Image>(other); o != m) o->setPicture(vb::Picture());
        }
    }
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
