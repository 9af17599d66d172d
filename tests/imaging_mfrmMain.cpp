// The photo editor's processing host: it holds the photo and draws every result into the
// picture box it was handed.
#include "support/Fixture.h"

#include "imaging/mfrmMain.h"
#include "platform/window/Image.h"
#include "platform/system/MsgBox.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Seams.h"

#include <QFile>

namespace {
const vb::LayoutItem kLayout[] = {
    {"picImage", vb::Kind::PictureBox, -1, 0, 0, 300, 300},
    {"Bildimage", vb::Kind::Image, -1, 0, 0, 300, 300},
};
class HostForm : public vb::Form {
public:
    HostForm() : vb::Form(QStringLiteral("HostForm"), kLayout, 3000, 3000) {}
};

QImage verlauf(int w, int h) {
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb(x * 255 / (w - 1), y * 255 / (h - 1), 90));
    return img;
}

class HostTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        form.Load();
        mfrmMain->Ziele_setzen(form.Get<vb::PictureBox>("picImage"), form.Get<vb::Image>("Bildimage"));
        vb::seams().msgBox = [this](const QString& text, int, const QString&) {
            meldungen << text;
            return int(vb::vbOK);
        };
    }
    void TearDown() override {
        vb::seams().msgBox = [](const QString&, int, const QString&) { return int(vb::vbOK); };
        ProgramTest::TearDown();
    }
    QImage bild() { return form.Get<vb::PictureBox>("picImage")->hDC().convertToFormat(QImage::Format_RGB32); }
    HostForm form;
    QStringList meldungen;
};
} // namespace

TEST_F(HostTest, LadeBildDrawsThePhotoIntoThePictureBoxAtItsOwnSize) {
    const QImage src = verlauf(40, 30);
    writeImage(file("a.bmp"), src);
    mfrmMain->Lade_Bild(file("a.bmp"));
    EXPECT_EQ(mfrmMain->ImageWidth(), 40);
    EXPECT_EQ(mfrmMain->Filename(), file("a.bmp"));
    EXPECT_EQ(bild(), src);
    EXPECT_TRUE(meldungen.isEmpty());
    // Resampling to the same size changes nothing; the transfer gives the visible photo the result.
    mfrmMain->Resample(40, 30);
    EXPECT_EQ(bild(), src);
    mfrmMain->Bild_uebertragen();
    EXPECT_EQ(form.Get<vb::Image>("Bildimage")->Picture().Image().convertToFormat(QImage::Format_RGB32), src);
}

TEST_F(HostTest, AFileThatIsNoPictureKeepsThePreviousPhotoAndSaysSo) {
    const QImage src = verlauf(20, 10);
    writeImage(file("a.bmp"), src);
    mfrmMain->Lade_Bild(file("a.bmp"));
    QFile f(file("kaputt.jpg"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("kein Bild");
    f.close();
    mfrmMain->Lade_Bild(file("kaputt.jpg"));
    ASSERT_EQ(meldungen.size(), 1);
    EXPECT_TRUE(meldungen[0].startsWith(QStringLiteral("Beim Öffnen dieser Datei ist ein Fehler aufgetreten: ")));
    EXPECT_EQ(mfrmMain->Filename(), file("a.bmp"));
    EXPECT_EQ(bild(), src);
}

TEST_F(HostTest, OperationsActOnTheAlreadyChangedPhoto) {
    writeImage(file("a.bmp"), verlauf(16, 8));
    mfrmMain->Lade_Bild(file("a.bmp"));
    mfrmMain->NegativeImage();
    QImage erwartet = verlauf(16, 8);
    erwartet.invertPixels();
    EXPECT_EQ(bild(), erwartet);
    mfrmMain->NegativeImage();
    EXPECT_EQ(bild(), verlauf(16, 8));
    EXPECT_TRUE(mfrmMain->Dirty());
}
