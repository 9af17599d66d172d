// The windows as a person sees them: sizes, and pictures for a look when VORAD_SCREENSHOTS
// names a folder.
#include "support/Fixture.h"

#include "frame/Information.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "frame/Strings.h"
#include "platform/ComboBox.h"
#include "platform/Form.h"
#include "platform/PictureBox.h"

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
