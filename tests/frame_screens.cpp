// The windows as a person sees them: sizes, and pictures for a look when VORAD_SCREENSHOTS
// names a folder.
#include "support/Fixture.h"

#include "frame/Fenster.h"
#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/window/ComboBox.h"
#include "platform/window/Form.h"
#include "platform/window/Image.h"
#include "platform/window/PictureBox.h"

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
