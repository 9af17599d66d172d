// The windows as a person sees them: sizes, and pictures for a look when VORAD_SCREENSHOTS
// names a folder.
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Fenster.h"
#include "frame/Information.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Schaltflaechenlader.h"
#include "frame/Strings.h"
#include "photo/Bildschirmfreeze.h"
#include "photo/Fotoeditor.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/ComboBox.h"
#include "platform/window/DriveListBox.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Seams.h"
#include "platform/window/Timer.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QStyleOptionComboBox>
#include <QPixmap>
#include <QWidget>

namespace {
void shoot(vb::Form& f, const char* name) {
    const QByteArray dir = qgetenv("VORAD_SCREENSHOTS");
    if (dir.isEmpty()) return;
    f.Widget()->grab().save(QString::fromLocal8Bit(dir) + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}
} // namespace

class ScreensTest : public ProgramTest {};

TEST_F(ScreensTest, MainWindowIs800By580) {
    Parameter_und_Start::Programmverzeichnis = dir();
    Startbildschirm->Show();
    EXPECT_EQ(Startbildschirm->Widget()->width(), 800);
    EXPECT_EQ(Startbildschirm->Widget()->height(), 580);
    EXPECT_EQ(Startbildschirm->Caption(), LoadResString(104));
    EXPECT_TRUE(Startbildschirm->Widget()->windowFlags() & Qt::FramelessWindowHint);
    shoot(*Startbildschirm, "main-gallery");
    Startbildschirm->ComboKategorien[3]->setListIndex(2);
    Startbildschirm->Layer_Kalvoren->setVisible(true);
    shoot(*Startbildschirm, "main-editor");
    Parameter_und_Start::Info_Text = LoadResString(21);
    Parameter_und_Start::Info_Modus = 1;
    Information->Show();
    shoot(*Information, "information");
}

TEST_F(ScreensTest, LargeFontsKeepThePixelLayout) {
    useScreen(1280, 1024, 120);
    Fenster::Formular_laden(*Startbildschirm);
    Startbildschirm->setHeight(8700.0 / 15 * 12);
    Startbildschirm->setWidth(12000.0 / 15 * 12);
    Startbildschirm->Show();
    EXPECT_EQ(Startbildschirm->Widget()->size(), QSize(800, 580));
    // Frames and buttons keep their places in pixels.
    for (vb::Control* c : {static_cast<vb::Control*>(Startbildschirm->Logo_Vorschaubild[7]), static_cast<vb::Control*>(Startbildschirm->Transfer[1]),
                           static_cast<vb::Control*>(Startbildschirm->Mitte_zentrierung)}) {
        const vb::LayoutItem* design = nullptr;
        for (const vb::LayoutItem& it : Startbildschirm->LayoutTable())
            if (c->Name() == QLatin1String(it.name) && c->Index() == it.index) design = &it;
        ASSERT_NE(design, nullptr);
        EXPECT_EQ(c->Widget()->geometry(), QRect(int(design->left / 15), int(design->top / 15), int(design->width / 15), int(design->height / 15)))
            << c->Name().toStdString();
    }
    shoot(*Startbildschirm, "main-120dpi");
}

namespace {
// The window's picture as the user sees it, once the events it posted have run: its size and
// every pixel of it and its controls.
QImage bild(vb::Form& f) {
    QCoreApplication::sendPostedEvents();
    return f.Widget()->grab().toImage();
}
QImage gezeigt(vb::Form& f) {
    f.Show(vb::vbModeless);
    QImage b = bild(f);
    f.Hide();
    return b;
}
} // namespace

// Each window, loaded as the program first loads it, unloaded, then loaded again by a mere
// reference and once more the first way: the same picture every time, on both screens.
TEST_F(ScreensTest, AWindowHasOneSizeAtEveryLoad) {
    struct Fall {
        const char* name;
        vb::Form& (*form)();
        bool skaliert; // the program loads it scaled to the screen
    };
    const Fall faelle[] = {
        {"Information", []() -> vb::Form& { return *Information; }, true},
        {"Intro", []() -> vb::Form& { return *Intro; }, true},
        {"Einstellungen", []() -> vb::Form& { return *Einstellungen; }, true},
        {"Startbildschirm", []() -> vb::Form& { return *Startbildschirm; }, true},
        {"Logo_Foto_Laden", []() -> vb::Form& { return *Logo_Foto_Laden; }, true},
        {"Fotoeditor", []() -> vb::Form& { return *Fotoeditor; }, true},
        {"Bildschirmfreeze", []() -> vb::Form& { return *Bildschirmfreeze; }, false},
        {"Schaltflaechenlader", []() -> vb::Form& { return *Schaltflaechenlader; }, false},
    };
    QImage desktop(1024, 768, QImage::Format_RGB32);
    for (int y = 0; y < desktop.height(); ++y)
        for (int x = 0; x < desktop.width(); ++x) desktop.setPixel(x, y, qRgb(x % 256, y % 256, (x ^ y) % 256));
    vb::seams().desktop = desktop;
    Parameter_und_Start::CaptureMode = BildAusschnitt;
    for (int dpi : {96, 120}) {
        useScreen(1024, 768, dpi);
        vb::DestroyAllInstances();
        for (const Fall& w : faelle) {
            SCOPED_TRACE(testing::Message() << w.name << " at " << dpi << " dpi");
            auto erstesLaden = [&] {
                vb::Form& f = w.form();
                if (w.skaliert) Fenster::Formular_laden(f);
                return gezeigt(f);
            };
            const QImage erstes = erstesLaden();
            ASSERT_FALSE(erstes.isNull());
            w.form().Unload();
            const QImage perVerweis = gezeigt(w.form());
            EXPECT_EQ(std::pair(perVerweis.width(), perVerweis.height()), std::pair(erstes.width(), erstes.height()));
            EXPECT_TRUE(perVerweis == erstes);
            w.form().Unload();
            const QImage wieZuerst = erstesLaden();
            EXPECT_TRUE(wieZuerst == erstes);
        }
    }
}

// The road of the program: the first-start message unloads the message window, the outro's
// click unloads the splash; a later message and a later about box come back as they were.
TEST_F(ScreensTest, MessagesAndSplashKeepTheirPictureAfterTheirUnload) {
    for (int dpi : {96, 120}) {
        SCOPED_TRACE(dpi);
        TearDown();
        SetUp();
        useScreen(1024, 768, dpi);
        QImage ersteMeldung, spaetereMeldung;
        answer([&](vb::Form& f) { ersteMeldung = bild(f); });
        Parameter_und_Start::Main();
        ASSERT_EQ(shownInfos.size(), 1u);
        EXPECT_FALSE(Information.IsLoaded());
        const QImage splash = bild(*Intro);
        EXPECT_EQ(ersteMeldung.width(), 450);

        answer([&](vb::Form& f) { spaetereMeldung = bild(f); });
        Parameter_und_Start::Info_Text = LoadResString(853);
        Parameter_und_Start::Info_Modus = 2;
        Information->Show(vb::vbModal);
        EXPECT_EQ(std::pair(spaetereMeldung.width(), spaetereMeldung.height()), std::pair(ersteMeldung.width(), ersteMeldung.height()));
        EXPECT_TRUE(spaetereMeldung == ersteMeldung);

        Intro->Splash->Fire();
        Einstellungen->OK_Click();
        Intro->Outro->FireClick();
        ASSERT_FALSE(Intro.IsLoaded());
        Startbildschirm->Logo_Click();
        const QImage info = bild(*Intro);
        EXPECT_EQ(std::pair(info.width(), info.height()), std::pair(splash.width(), splash.height()));
        EXPECT_TRUE(info == splash);
    }
}

namespace {
// Every entry of the list reads whole: in the closed list, in the text area the platform's style
// keeps clear of its arrow; in the label that stands for the closed list (if any), once the
// entry is chosen; and in the open drop-down.
template <class Liste>
void ganzLesbar(Liste& liste, vb::Label* label) {
    SCOPED_TRACE(liste.Name().toStdString() + (label ? " / " + label->Name().toStdString() : std::string()));
    auto* box = qobject_cast<QComboBox*>(liste.Widget());
    ASSERT_NE(box, nullptr);
    ASSERT_GT(liste.ListCount(), 0);
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.frame = box->hasFrame();
    opt.editable = false;
    opt.subControls = QStyle::SC_All;
    // The style draws the text one pixel inside its edit field.
    const QRect feld = box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box).adjusted(1, 0, -1, 0);
    const QFontMetrics inListe(box->font());
    for (int i = 0; i < liste.ListCount(); ++i) {
        const QString text = liste.List(i);
        SCOPED_TRACE(text.toStdString());
        EXPECT_LE(inListe.horizontalAdvance(text), feld.width());
        EXPECT_LE(inListe.height(), feld.height());
        liste.setListIndex(i);
        if (!label) continue;
        EXPECT_EQ(label->Caption(), text);
        opt.rect = label->Widget()->rect();
        const QRect pfeil = box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxArrow, box);
        const QFontMetrics imLabel(label->Font());
        const QRect r = label->TextRect();
        EXPECT_LE(imLabel.horizontalAdvance(text), r.width());
        EXPECT_LE(imLabel.height(), r.height());
        EXPECT_LE(r.right(), pfeil.left());
    }
    box->showPopup();
    QCoreApplication::sendPostedEvents();
    QAbstractItemView* offen = box->view();
    // What the style asks for the widest entry, and each text within its row.
    EXPECT_LE(offen->sizeHintForColumn(0), offen->viewport()->width());
    for (int i = 0; i < liste.ListCount(); ++i) EXPECT_LE(inListe.horizontalAdvance(liste.List(i)), offen->visualRect(box->model()->index(i, 0)).width());
    box->hidePopup();
}
} // namespace

TEST_F(ScreensTest, EveryListEntryReadsWholeClosedAndOpen) {
    for (int dpi : {96, 120}) {
        SCOPED_TRACE(dpi);
        TearDown();
        SetUp();
        useScreen(1024, 768, dpi);
        QFile(file("param.ini")).open(QIODevice::WriteOnly);
        Parameter_und_Start::Main();
        Intro->Splash->Fire(); // fills the settings dialog's lists
        Einstellungen->OK_Click();
        StartbildschirmForm& S = *Startbildschirm;
        ganzLesbar(*S.ComboKategorien[3], S.ComboKategorien_Textanzeige);
        ganzLesbar(*S.ComboKategorien[2], S.ComboKategorien_Textanzeige_Kalvoren);
        for (int i : {0, 1}) ganzLesbar(*S.ComboKategorien2[size_t(i)], S.ComboKategorien2_Textanzeige[size_t(i)]);
        EinstellungenForm& E = *Einstellungen;
        ganzLesbar(*E.Vorad_Master_ComboKategorien_Netzbetreiber, E.Vorad_Master_ComboKategorien_Netzbetreiber_Label);
        ganzLesbar(*E.Berechnungsart_Combobox, E.Berechnungsart_Combobox_Label);
        for (int hersteller = 0; hersteller < E.Vorad_Master_ComboKategorien->ListCount(); ++hersteller) {
            E.Vorad_Master_ComboKategorien->setListIndex(hersteller);
            ganzLesbar(*E.Vorad_Master_VoradTyp_ComboKategorien, E.Vorad_Master_VoradTyp_ComboKategorien_Label);
        }
        ganzLesbar(*E.Vorad_Master_ComboKategorien, E.Vorad_Master_ComboKategorien_Label);
        // The picker's drives: the root, the home folder and mounted media.
        vb::seams().volumes = std::vector<vb::Volume>{{QStringLiteral("/"), QStringLiteral("ext4"), QString()},
                                                      {QStringLiteral("/media/cdrom"), QStringLiteral("iso9660"), QString()},
                                                      {QStringLiteral("/run/media/anna/URLAUB"), QStringLiteral("vfat"), QStringLiteral("URLAUB")}};
        Fenster::Formular_laden(*Logo_Foto_Laden);
        Logo_Foto_Laden->Drive1->ReRead();
        ganzLesbar(*Logo_Foto_Laden->Drive1, nullptr);
        // The photo editor's lists with every content the lists before them give them.
        Fenster::Formular_laden(*Fotoeditor);
        FotoeditorForm& F = *Fotoeditor;
        F.Show();
        ganzLesbar(*F.Filter1, F.Filter1_Label);
        for (int f1 = 0; f1 < F.Filter1->ListCount(); ++f1) {
            F.Filter1->setListIndex(f1);
            ganzLesbar(*F.Filter2, F.Filter2_Label);
            if (f1 == 0) continue; // the colours have no third list
            for (int f2 = 0; f2 < F.Filter2->ListCount(); ++f2) {
                F.Filter2->setListIndex(f2);
                ganzLesbar(*F.Filter3, F.Filter3_Label);
            }
        }
    }
}
