// The transfer to the phone, end to end against phones on pseudo-terminals that speak their
// cable protocols; the phone is chosen in the settings dialog as a user does.
#include "support/FakePhone.h"
#include "support/FileFaults.h"
#include "support/Fixture.h"

#include "frame/Einstellungen.h"
#include "frame/Intro.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Cursor.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Image.h"
#include "platform/phone/PhoneLink.h"
#include "platform/window/PictureBox.h"
#include "platform/window/Timer.h"
#include "platform/system/Seams.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QThread>

#include <string>

using namespace Parameter_und_Start;
using fakephone::Fault;
using fakephone::FakePhone;
using fakephone::Kind;

namespace {

struct Phone {
    const char* name;
    Kind kind;
    int maker, model; // list indices of the settings dialog
    int type;         // a logo category the phone takes as operator logo
    int answerByte2;  // byte 2 of a Nokia phone's answers: 0x00 as captured, 0x01 as the notes write
};
// Names the phone in test output.
void PrintTo(const Phone& p, std::ostream* os) { *os << p.name; }
const Phone kNokia{"Nokia3210", Kind::Nokia6110, 0, 0, 7, 0x00};
const Phone kSiemens{"SiemensS35", Kind::Siemens, 1, 3, 1, 0x00};
const Phone kPhones[] = {kNokia, Phone{"Nokia3210_Byte2is1", Kind::Nokia6110, 0, 0, 7, 0x01},
                         Phone{"Nokia7110", Kind::Nokia7110, 0, 4, 8, 0x00},
                         Phone{"Nokia7110_Byte2is1", Kind::Nokia7110, 0, 4, 8, 0x01}, kSiemens};

class TransferTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        vb::seams().phoneLinkTimeoutMs = 300;
        Intro->Splash->Fire(); // main window, settings lists and dialog, as at start-up
    }
    void TearDown() override {
        ProgramTest::TearDown(); // the phone link too
    }
    // The phone chosen in the settings dialog and applied with OK, then port and operator.
    void choose(const Phone& p, short port = 1) {
        Einstellungen->Vorad_Master_ComboKategorien->Choose(p.maker);
        Einstellungen->Vorad_Master_VoradTyp_ComboKategorien->Choose(p.model);
        Einstellungen->OK_Click();
        Netzbetreiber_Code = QStringLiteral("26201");
        COM_Port_Nummer = port;
    }
    // Chooses a type and loads a picture with a black square into the editor.
    void prepare(int type) {
        Startbildschirm->ComboKategorien[3]->setListIndex(type);
        QImage src(Logo_Breite, Logo_Hoehe, QImage::Format_RGB32);
        src.fill(Qt::white);
        QPainter(&src).fillRect(2, 2, 6, 6, Qt::black);
        writeImage(file("bild.bmp"), src);
        Startbildschirm->Laden_Click_Sub(file("bild.bmp"), false, true);
    }
    // The pen on raster pixel (x, y), press and release there.
    void pen(int x, int y) {
        vb::PictureBox* r = Startbildschirm->Logo_Raster_Grafik;
        vb::seams().cursor = r->ScreenOrigin() + QPoint(x, y);
        r->FireMouseDown(1, 0, float(x), float(y));
        r->FireMouseUp(1, 0, float(x), float(y));
    }
    // The logo as the phone keeps it equals the editor's picture, pixel for pixel; a Nokia phone
    // gets it at its display's size, the picture in the middle (the smaller half of an odd
    // remainder left and above) as the phone display shows it.
    static void expectLogo(const std::optional<fakephone::Logo>& got, const QImage& picture, int kind = -1) {
        ASSERT_TRUE(got.has_value());
        QImage logo = picture.convertToFormat(QImage::Format_RGB32);
        if (kind >= 0 && vb::PhoneMaker() == 0) {
            logo = QImage(vb::MaxLogoWidth(kind), vb::MaxLogoHeight(kind), QImage::Format_RGB32);
            logo.fill(Qt::white);
            QPainter(&logo).drawImage((logo.width() - picture.width()) / 2, (logo.height() - picture.height()) / 2, picture);
        }
        ASSERT_EQ(got->width, logo.width());
        ASSERT_EQ(got->height, logo.height());
        int wrong = 0;
        for (int i = 0; i < logo.width() * logo.height(); ++i) {
            const bool black = (logo.pixel(i % logo.width(), i / logo.width()) & 0xFFFFFF) == 0;
            if (got->black[size_t(i)] != black) ++wrong;
        }
        EXPECT_EQ(wrong, 0);
    }
};

class TransferToEachMaker : public TransferTest, public ::testing::WithParamInterface<Phone> {};

} // namespace

TEST_P(TransferToEachMaker, DrawnLogoArrivesPixelForPixel) {
    const Phone p = GetParam();
    FakePhone phone(p.kind, Fault::None, 0, {}, p.answerByte2);
    vb::seams().comPortDevices[0] = phone.device();
    choose(p);
    prepare(p.type);
    pen(41, 21); // cell (10, 5)
    const QImage logo = Startbildschirm->Logo_Weiss_Grafik->hDC().copy();
    ASSERT_EQ(logo.pixel(10, 5) & 0xFFFFFF, 0u);
    Startbildschirm->Transfer[1]->FireClick();
    EXPECT_TRUE(shownInfos.empty());
    expectLogo(phone.operatorLogo(), logo, 0);
    EXPECT_EQ(phone.operatorLogo()->network, p.maker == 0 ? QStringLiteral("26201") : QString());
    // Both phone displays show the logo.
    EXPECT_EQ(Startbildschirm->Gruen_Transferlogo_LogoBrowser[0]->hDC().pixel(10, 5) & 0xFFFFFF, 0u);
}

TEST_P(TransferToEachMaker, NoPhoneShowsMessage301AndKeepsTheFile) {
    choose(GetParam());
    vb::seams().comPortDevices[0] = file("kein-geraet");
    prepare(GetParam().type);
    Startbildschirm->Transfer[1]->FireClick();
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(301));
    QFile send(file("send.bmp"));
    ASSERT_TRUE(send.open(QIODevice::ReadOnly));
    const int stride = (Logo_Breite + 31) / 32 * 4;
    EXPECT_EQ(send.size(), 62 + stride * Logo_Hoehe); // the 1-bit work file
}

TEST_P(TransferToEachMaker, SilentOrRefusingPhoneShows301) {
    for (const Fault f : {Fault::Silent, Fault::ErrorReply}) {
        FakePhone phone(GetParam().kind, f, 0, {}, GetParam().answerByte2);
        vb::seams().comPortDevices[0] = phone.device();
        choose(GetParam());
        prepare(GetParam().type);
        shownInfos.clear();
        Startbildschirm->Transfer[1]->FireClick();
        ASSERT_EQ(shownInfos.size(), 1u);
        EXPECT_EQ(shownInfos[0], LoadResString(301));
        EXPECT_FALSE(phone.operatorLogo().has_value());
    }
}

TEST_P(TransferToEachMaker, DeleteReachesThePhoneAndShowsNothing) {
    FakePhone phone(GetParam().kind, Fault::None, 0, {}, GetParam().answerByte2);
    vb::seams().comPortDevices[1] = phone.device();
    choose(GetParam(), 2);
    Startbildschirm->Loeschen[0]->FireClick();
    EXPECT_EQ(phone.deletes(), 1);
    vb::seams().comPortDevices[1] = file("weg");
    Startbildschirm->Loeschen[0]->FireClick();
    EXPECT_TRUE(shownInfos.empty());
}

INSTANTIATE_TEST_SUITE_P(Makers, TransferToEachMaker, ::testing::ValuesIn(kPhones),
                         [](const auto& fall) { return std::string(fall.param.name); });

TEST_F(TransferTest, KindAndPortComeFromTypeAndSettings) {
    struct Case {
        Phone phone;
        int type, kind;
        short port;
    };
    const Case cases[] = {
        {Phone{"Nokia61xx", Kind::Nokia6110, 0, 2, 6, 0x00}, 6, 1, 2},
        {Phone{"Nokia7110", Kind::Nokia7110, 0, 4, 8, 0x00}, 3, 2, 4},
        {Phone{"Nokia62xx", Kind::Nokia7110, 0, 3, 8, 0x01}, 8, 0, 1},
        {Phone{"SiemensS25", Kind::Siemens, 1, 0, 0, 0x00}, 0, 0, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.phone.name);
        FakePhone phone(c.phone.kind, Fault::None, 0, c.phone.model == 3 ? fakephone::Model{96, 60, 0} : fakephone::Model{},
                        c.phone.answerByte2);
        vb::seams().comPortDevices[size_t(c.port - 1)] = phone.device();
        choose(c.phone, c.port);
        prepare(c.type);
        Startbildschirm->Transfer[0]->FireClick();
        EXPECT_TRUE(shownInfos.empty());
        const QImage logo = Startbildschirm->Logo_Weiss_Grafik->hDC().copy();
        expectLogo(c.kind == 0 ? phone.operatorLogo() : c.kind == 1 ? phone.groupLogo() : phone.startupLogo(), logo, c.kind);
    }
}

// A category larger than the phone chosen in the settings shows: nothing goes out, message 301.
TEST_F(TransferTest, LogoTooLargeForThePhoneIsRefusedBeforeSending) {
    FakePhone phone(Kind::Nokia6110);
    vb::seams().comPortDevices[0] = phone.device();
    choose(kNokia);
    prepare(3); // 96 x 65 start-up logo; the 3210 shows 84 x 48
    Startbildschirm->Transfer[0]->FireClick();
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(301));
    EXPECT_TRUE(phone.received().isEmpty());
}

// The shipped logos, copied into the program folder, as the gallery shows them.
namespace {
void geliefertKopieren(const QString& programm) {
    const QString geliefert = QCoreApplication::applicationDirPath() + QStringLiteral("/logos");
    QDirIterator it(geliefert, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString quelle = it.next();
        const QString ziel = programm + QStringLiteral("logos") + quelle.mid(geliefert.size());
        QDir().mkpath(QFileInfo(ziel).path());
        QFile::copy(quelle, ziel);
    }
}
} // namespace

TEST_F(TransferTest, AGalleryLogoOfEveryTypeArrivesAtItsTypesSize) {
    geliefertKopieren(dir());
    Netzbetreiber_Code = QStringLiteral("26201");
    COM_Port_Nummer = 1;
    StartbildschirmForm& F = *Startbildschirm;
    // A 72 x 14 logo edited first, then back to the gallery.
    F.ComboKategorien[3]->setListIndex(7);
    F.In_Zaroreriri_bearbeiten_Click();
    ASSERT_TRUE(F.Layer_Kalvoren->Visible());
    F.Reiter_Logos_inKalvoren_Click();
    // Per type a phone for it: maker, model, the fake on the cable, the kind it takes. The S35i
    // takes operator logos up to 101 x 21 only: its category's 101 x 43 is refused with 301.
    const struct {
        int maker, model;
        Kind kind;
        fakephone::Model fake;
        int logoKind;
        bool taken;
    } phones[9] = {{1, 0, Kind::Siemens, {}, 0, true},           {1, 1, Kind::Siemens, {}, 0, true},
                   {1, 3, Kind::Siemens, {}, 0, false},          {0, 4, Kind::Nokia7110, {96, 65, 0}, 2, true},
                   {0, 3, Kind::Nokia7110, {96, 60, 0}, 2, true}, {0, 0, Kind::Nokia6110, {84, 48, 0x2E}, 2, true},
                   {0, 2, Kind::Nokia6110, {}, 1, true},          {0, 0, Kind::Nokia6110, {}, 0, true},
                   {0, 3, Kind::Nokia7110, {96, 60, 0}, 0, true}};
    for (int type = 0; type <= 8; ++type) {
        SCOPED_TRACE(type);
        FakePhone phone(phones[type].kind, Fault::None, 0, phones[type].fake, type % 2); // both answer forms
        vb::SetPhoneModel(phones[type].maker, phones[type].model);
        vb::seams().comPortDevices[0] = phone.device();
        F.ComboKategorien[3]->setListIndex(type);
        F.Logo_Vorschaubild_Bild[3]->FireClick();
        const QImage datei(F.Logo_Vorschaubild_Bild[3]->ToolTipText());
        ASSERT_EQ(datei.size(), QSize(Logo_Breite, Logo_Hoehe));
        shownInfos.clear();
        F.Transfer[0]->FireClick();
        EXPECT_EQ(QImage(file("send.bmp")).size(), datei.size());
        if (!phones[type].taken) {
            EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(301)});
            EXPECT_TRUE(phone.received().isEmpty());
            continue;
        }
        EXPECT_TRUE(shownInfos.empty());
        const int k = phones[type].logoKind;
        expectLogo(k == 0 ? phone.operatorLogo() : k == 1 ? phone.groupLogo() : phone.startupLogo(),
                   datei.convertToFormat(QImage::Format_RGB32), k);
    }
}

TEST_F(TransferTest, TheDisplaysShowTheSentLogoOnly) {
    geliefertKopieren(dir());
    StartbildschirmForm& F = *Startbildschirm;
    F.ComboKategorien[3]->setListIndex(3); // 96 x 65
    vb::seams().comPortDevices[0] = file("kein-geraet");
    for (int slot : {0, 1}) {
        F.Logo_Vorschaubild_Bild[size_t(slot)]->FireClick();
        F.Transfer[0]->FireClick();
    }
    const QImage logo = QImage(F.Logo_Vorschaubild_Bild[1]->ToolTipText()).convertToFormat(QImage::Format_RGB32);
    for (vb::PictureBox* anzeige : F.Gruen_Transferlogo_LogoBrowser) {
        QImage erwartet(anzeige->hDC().size(), QImage::Format_RGB32);
        erwartet.fill(QColor(123, 139, 90));
        for (int y = 0; y < std::min(logo.height(), erwartet.height()); ++y)
            for (int x = 0; x < std::min(logo.width(), erwartet.width()); ++x)
                if ((logo.pixel(x, y) & 0xFFFFFF) == 0) erwartet.setPixel(x, y, qRgb(0, 0, 0));
        EXPECT_EQ(anzeige->hDC(), erwartet);
    }
}

TEST_F(TransferTest, AWorkFileThatCannotBeWrittenSendsNothing) {
    FakePhone phone(kNokia.kind);
    vb::seams().comPortDevices[0] = phone.device();
    choose(kNokia);
    prepare(7);
    // An earlier transfer left its logo in "send.bmp"; now the folder refuses every change.
    Startbildschirm->Transfer[1]->FireClick();
    ASSERT_TRUE(phone.operatorLogo().has_value());
    // The phone's reader may still be taking the last bytes of that transfer.
    qsizetype gesendet = -1;
    while (gesendet != phone.received().size()) {
        gesendet = phone.received().size();
        QThread::msleep(150);
    }
    const QByteArray alt = [&] {
        QFile f(file("send.bmp"));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    pen(41, 21);
    {
        LockedFile gesperrt(file("send.bmp"));
        if (!gesperrt.ok()) GTEST_SKIP() << "no way to protect a file here";
        Startbildschirm->Transfer[1]->FireClick();
    }
    EXPECT_EQ(phone.received().size(), gesendet); // the old logo did not go out again
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(301)});
    QFile f(file("send.bmp"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), alt);
}

TEST_F(TransferTest, AFullDiskSendsNothing) {
    FakePhone phone(kNokia.kind);
    vb::seams().comPortDevices[0] = phone.device();
    choose(kNokia);
    prepare(7);
    {
        FullDisk voll(100);
        Startbildschirm->Transfer[1]->FireClick();
    }
    EXPECT_TRUE(phone.received().isEmpty());
    EXPECT_EQ(shownInfos, std::vector<QString>{LoadResString(301)});
}

// A category chosen in the editor before any picture was opened: no prompt, and the editor,
// its raster and display and what is sent all have the new size.
TEST_F(TransferTest, ACategoryChosenInTheEditorWithoutAnOpenedPictureTakesTheGalleryLogo) {
    geliefertKopieren(dir());
    StartbildschirmForm& F = *Startbildschirm;
    int prompts = 0;
    vb::seams().dialog = [&](const vb::DialogRequest&) {
        ++prompts;
        return std::optional<vb::DialogAnswer>();
    };
    F.ComboKategorien[3]->setListIndex(7);
    F.Reiter_Kalvoren_inLogos_Click();
    ASSERT_TRUE(F.Layer_Kalvoren->Visible());
    ASSERT_TRUE(Bilddatei_Pfad.isEmpty());
    F.ComboKategorien[2]->setListIndex(3); // 96 x 65
    EXPECT_EQ(prompts, 0);
    EXPECT_TRUE(F.Layer_Kalvoren->Visible());
    const QImage logo = QImage(F.Logo_Vorschaubild_Bild[0]->ToolTipText()).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(logo.size(), QSize(96, 65));
    EXPECT_EQ(F.Logo_Weiss_Grafik->hDC(), logo);
    EXPECT_EQ(F.Logo_Raster_Grafik->hDC().size(), QSize(4 * 96, 4 * 65));
    EXPECT_EQ(F.Gruen_Transferlogo_LogoBrowser[1]->hDC().size(), QSize(96, 65));
    FakePhone phone(Kind::Nokia7110);
    vb::SetPhoneModel(0, 4);
    Netzbetreiber_Code = QStringLiteral("26201");
    COM_Port_Nummer = 1;
    vb::seams().comPortDevices[0] = phone.device();
    F.Transfer[1]->FireClick();
    expectLogo(phone.startupLogo(), logo);

    // With an empty type folder the editor shows an empty logo of the new size.
    QDir(file("logos/SB_S25")).removeRecursively();
    F.ComboKategorien[2]->setListIndex(0); // 97 x 26
    EXPECT_EQ(prompts, 0);
    QImage weiss(97, 26, QImage::Format_RGB32);
    weiss.fill(Qt::white);
    EXPECT_EQ(F.Logo_Weiss_Grafik->hDC(), weiss);
    EXPECT_EQ(F.Logo_Raster_Grafik->hDC().size(), QSize(4 * 97, 4 * 26));
}

// The settings dialog sets the gallery's list first; the editor must still end at the new type
// with the user's picture: raster, display and what is sent are that one logo, also after a pen
// press. OK, cancel and a changed model all land on the 72 x 14 operator logo.
TEST_F(TransferTest, ASettingsChangeWithTheEditorOpenKeepsEditorAndSentLogoOneLogo) {
    geliefertKopieren(dir());
    StartbildschirmForm& F = *Startbildschirm;
    // A 72 x 14 logo of the user's: a black frame with a diagonal, (10, 5) white.
    QImage bild(72, 14, QImage::Format_RGB32);
    bild.fill(Qt::white);
    for (int x = 0; x < 72; ++x) bild.setPixel(x, 0, qRgb(0, 0, 0)), bild.setPixel(x, 13, qRgb(0, 0, 0));
    for (int y = 0; y < 14; ++y) bild.setPixel(0, y, qRgb(0, 0, 0)), bild.setPixel(71, y, qRgb(0, 0, 0)), bild.setPixel(30 + y, y, qRgb(0, 0, 0));
    writeImage(file("eigen.bmp"), bild);
    QImage gemalt = bild;
    gemalt.setPixel(10, 5, qRgb(0, 0, 0));
    // Each raster cell shows its logo pixel: black, or the display's green.
    const auto falscheZellen = [](const QImage& raster, const QImage& logo) {
        int falsch = 0;
        for (int y = 0; y < logo.height(); ++y)
            for (int x = 0; x < logo.width(); ++x)
                if (((logo.pixel(x, y) & 0xFFFFFF) == 0) != ((raster.pixel(4 * x + 2, 4 * y + 2) & 0xFFFFFF) == 0)) ++falsch;
        return falsch;
    };
    struct Fall {
        const char* name;
        std::function<void(EinstellungenForm&)> antwort;
    };
    const Fall faelle[] = {
        {"OK", [](EinstellungenForm& e) { e.OK_Click(); }},
        {"Abbrechen", [](EinstellungenForm& e) { e.Abbrechen_Click(); }},
        {"anderes Modell", [](EinstellungenForm& e) {
             e.Vorad_Master_VoradTyp_ComboKategorien->Choose(5); // 8210: the same category
             e.OK_Click();
         }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        choose(kNokia); // 3210: category 7, 72 x 14
        Bilddatei_Pfad = file("eigen.bmp"); // opened as the picker leaves it
        F.Laden_Click_Sub(Bilddatei_Pfad, false, true);
        ASSERT_TRUE(F.Layer_Kalvoren->Visible());
        F.ComboKategorien[2]->setListIndex(3); // the 7110 start-up logos, 96 x 65, in the editor's list
        ASSERT_EQ(F.Logo_Weiss_Grafik->hDC().size(), QSize(96, 65));
        answer([&](vb::Form&) { f.antwort(*Einstellungen); });
        F.Einstellun_Click();
        ASSERT_EQ(Logo_Typcode, QStringLiteral("NBLXXXX"));
        EXPECT_EQ(F.Logo_Weiss_Grafik->hDC(), bild);
        EXPECT_EQ(F.Logo_Raster_Grafik->hDC().size(), QSize(4 * 72, 4 * 14));
        EXPECT_EQ(falscheZellen(F.Logo_Raster_Grafik->hDC(), bild), 0);
        pen(41, 21); // cell (10, 5)
        EXPECT_EQ(F.Logo_Weiss_Grafik->hDC(), gemalt);
        EXPECT_EQ(falscheZellen(F.Logo_Raster_Grafik->hDC(), gemalt), 0);
        FakePhone phone(kNokia.kind);
        vb::seams().comPortDevices[0] = phone.device();
        F.Transfer[1]->FireClick();
        EXPECT_TRUE(shownInfos.empty());
        expectLogo(phone.operatorLogo(), gemalt);
        EXPECT_EQ(F.Gruen_Transferlogo_LogoBrowser[1]->hDC().size(), QSize(72, 14));
    }
}
