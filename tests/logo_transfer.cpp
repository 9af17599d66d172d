// The transfer to the phone, end to end against a phone on a pseudo-terminal.
#include "support/FakePhone.h"
#include "support/Fixture.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/ComboBox.h"
#include "platform/Cursor.h"
#include "platform/Image.h"
#include "platform/PhoneLink.h"
#include "platform/PictureBox.h"

#include <QCoreApplication>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

using namespace Parameter_und_Start;
using namespace fakephone;

namespace {
const QByteArray kAck(1, ACK);

class TransferTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        vb::SetPhoneLinkTimeout(300);
        Startbildschirm->Show();
        Netzbetreiber_Code = QStringLiteral("26201");
        COM_Port_Nummer = 1; // as the start-up sets it
    }
    void TearDown() override {
        vb::FreeCOMPort();
        for (int n = 1; n <= 4; ++n) vb::SetCOMPortDevice(n, QString());
        vb::SetPhoneLinkTimeout(2000);
        ProgramTest::TearDown();
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
        vb::SetCursorPos(r->ScreenOrigin() + QPoint(x, y));
        r->FireMouseDown(1, 0, float(x), float(y));
        r->FireMouseUp(1, 0, float(x), float(y));
    }
    // The logo as the phone got it: one bit per pixel, rows running on, 1 = black.
    static void expectLogo(const QByteArray& ota, const QImage& logo) {
        ASSERT_GE(ota.size(), 4);
        ASSERT_EQ(quint8(ota[1]), logo.width());
        ASSERT_EQ(quint8(ota[2]), logo.height());
        int wrong = 0;
        for (int i = 0; i < logo.width() * logo.height(); ++i) {
            const bool bit = (quint8(ota[4 + i / 8]) >> (7 - i % 8)) & 1;
            const bool black = (logo.pixel(i % logo.width(), i / logo.width()) & 0xFFFFFF) == 0;
            if (bit != black) ++wrong;
        }
        EXPECT_EQ(wrong, 0);
    }
};
} // namespace

TEST_F(TransferTest, DrawnLogoArrivesPixelForPixel) {
    FakePhone phone(kAck, kAck);
    vb::SetCOMPortDevice(1, phone.device());
    prepare(7); // Nokia operator logo, 72 x 14
    pen(41, 21); // cell (10, 5)
    const QImage logo = Startbildschirm->Logo_Weiss_Grafik->hDC().copy();
    ASSERT_EQ(logo.pixel(10, 5) & 0xFFFFFF, 0u);
    Startbildschirm->Transfer[1]->FireClick();
    EXPECT_TRUE(shownInfos.empty());
    const auto frames = phone.frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].command, 'O');
    EXPECT_TRUE(frames[0].intact);
    EXPECT_EQ(frames[0].payload.left(3), QByteArray::fromHex("62F210"));
    expectLogo(frames[0].payload.mid(3), logo);
    // Both phone displays show the logo.
    EXPECT_EQ(Startbildschirm->Gruen_Transferlogo_LogoBrowser[0]->hDC().pixel(10, 5) & 0xFFFFFF, 0u);
}

TEST_F(TransferTest, KindAndPortComeFromTypeAndSettings) {
    struct Case {
        int type;
        char command;
        short port;
    };
    for (const Case c : {Case{6, 'G', 2}, Case{3, 'S', 4}, Case{0, 'O', 3}}) {
        SCOPED_TRACE(c.type);
        FakePhone phone(kAck, kAck);
        vb::SetCOMPortDevice(c.port, phone.device());
        COM_Port_Nummer = c.port;
        prepare(c.type);
        Startbildschirm->Transfer[0]->FireClick();
        const auto frames = phone.frames();
        ASSERT_EQ(frames.size(), 1u);
        EXPECT_EQ(frames[0].command, c.command);
        expectLogo(frames[0].payload.mid(c.command == 'O' ? 3 : 0), Startbildschirm->Logo_Weiss_Grafik->hDC());
        EXPECT_TRUE(shownInfos.empty());
    }
}

TEST_F(TransferTest, NoPhoneShowsMessage301AndKeepsTheFile) {
    vb::SetCOMPortDevice(1, file("kein-geraet"));
    prepare(7);
    Startbildschirm->Transfer[1]->FireClick();
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(301));
    QFile send(file("send.bmp"));
    ASSERT_TRUE(send.open(QIODevice::ReadOnly));
    EXPECT_EQ(send.size(), 62 + 12 * 14); // the 1-bit work file
}

TEST_F(TransferTest, SilentPhoneFails) {
    FakePhone phone{QByteArray(), QByteArray()};
    vb::SetCOMPortDevice(1, phone.device());
    prepare(7);
    Startbildschirm->Transfer[1]->FireClick();
    ASSERT_EQ(shownInfos.size(), 1u);
    EXPECT_EQ(shownInfos[0], LoadResString(301));
}

TEST_F(TransferTest, DeleteSendsItsRequestAndShowsNothing) {
    FakePhone phone(kAck, kAck);
    vb::SetCOMPortDevice(2, phone.device());
    COM_Port_Nummer = 2;
    Startbildschirm->Loeschen[0]->FireClick();
    const auto frames = phone.frames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].command, 'D');
    EXPECT_EQ(frames[0].payload, QByteArray::fromHex("62F210"));
    vb::SetCOMPortDevice(2, file("weg"));
    Startbildschirm->Loeschen[0]->FireClick();
    EXPECT_TRUE(shownInfos.empty());
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
    StartbildschirmForm& F = *Startbildschirm;
    // A 72 x 14 logo edited first, then back to the gallery.
    F.ComboKategorien[3]->setListIndex(7);
    F.In_Zaroreriri_bearbeiten_Click();
    ASSERT_TRUE(F.Layer_Kalvoren->Visible());
    F.Reiter_Logos_inKalvoren_Click();
    for (int type = 0; type <= 8; ++type) {
        SCOPED_TRACE(type);
        FakePhone phone(kAck, kAck);
        vb::SetCOMPortDevice(1, phone.device());
        F.ComboKategorien[3]->setListIndex(type);
        F.Logo_Vorschaubild_Bild[3]->FireClick();
        const QImage datei(F.Logo_Vorschaubild_Bild[3]->ToolTipText());
        ASSERT_EQ(datei.size(), QSize(Logo_Breite, Logo_Hoehe));
        F.Transfer[0]->FireClick();
        EXPECT_TRUE(shownInfos.empty());
        const auto frames = phone.frames();
        ASSERT_EQ(frames.size(), 1u);
        expectLogo(frames[0].payload.mid(frames[0].command == 'O' ? 3 : 0), datei.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(QImage(file("send.bmp")).size(), datei.size());
    }
}

TEST_F(TransferTest, TheDisplaysShowTheSentLogoOnly) {
    geliefertKopieren(dir());
    StartbildschirmForm& F = *Startbildschirm;
    F.ComboKategorien[3]->setListIndex(3); // 96 x 65
    vb::SetCOMPortDevice(1, file("kein-geraet"));
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
