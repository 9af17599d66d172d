// The picture picker's thumbnail browser on shipped logos and photos, and the main window's
// photo tabs that prepare it.
#include "support/Files.h"
#include "support/Fixture.h"

#include "frame/Parameter_und_Start.h"
#include "frame/Startbildschirm.h"
#include "logo/Fotovorschau.h"
#include "photo/Logo_Foto_Laden.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Image.h"
#include "platform/window/Label.h"
#include "platform/window/PictureBox.h"
#include "platform/window/ScrollBar.h"

#include "platform/window/App.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QTimer>
#include <functional>

using namespace Parameter_und_Start;

namespace {
const QString kMuster = QStringLiteral("*.jpg;*.bmp;*.wmf;*.ico;V_*.bin");

QImage farbbild(int w, int h, QRgb farbe) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(farbe);
    return img;
}

class BrowserTest : public ProgramTest {
protected:
    Logo_Foto_LadenForm& F() { return *Logo_Foto_Laden; }

    QString ordner(bool foto) const {
        return foto ? dir() + QStringLiteral("fotos") : dir() + QStringLiteral("logos/NBLXXXX");
    }
    // n logos B00.bmp ... in the logo folder of the current type.
    QString logos(int n) {
        Logo_Typcode = QStringLiteral("NBLXXXX");
        const QString o = ordner(false);
        QDir().mkpath(o);
        for (int i = 0; i < n; ++i) writeImage(o + QStringLiteral("/B%1.bmp").arg(i, 2, 10, QLatin1Char('0')), farbbild(72, 14, qRgb(i, 0, 0)));
        return o;
    }
    // As a window opens the browser on a folder.
    void oeffnen(bool foto) {
        Foto_Modus = foto;
        Fotovorschau::Vorschau_Voreinstellung();
        Fotovorschau::Vorschaubilder_ausblenden(F().Vorschau());
        Fotovorschau::Vorschaubilder_leeren(F().Vorschau());
        Fotovorschau::Vorschau_Ordner_setzen(F().Vorschau());
        Fotovorschau::Vorschaurahmen_zuruecksetzen(F().Vorschau(), false);
    }
    std::vector<int> gerahmt() {
        std::vector<int> out;
        for (int i = 0; i < 20; ++i) {
            EXPECT_EQ(F().Fotos_Vorschaubild[size_t(i)]->BorderStyle(), F().Fotos_Vorschaubild_Bild[size_t(i)]->BorderStyle()) << i;
            if (F().Fotos_Vorschaubild[size_t(i)]->BorderStyle() == 1) out.push_back(i);
        }
        return out;
    }
    // Slot i shows entry first + i of the folder's list.
    void expectSeite(int first) {
        for (int i = 0; i < 20; ++i) {
            SCOPED_TRACE(i);
            const QString name = F().Fileilistbox->List(first + i);
            ASSERT_FALSE(name.isEmpty());
            EXPECT_EQ(F().Fotos_Vorschaubild_Bildname[size_t(i)]->Caption(), name);
            EXPECT_EQ(F().Fotos_Vorschaubild[size_t(i)]->ToolTipText(), ordner(false) + QLatin1Char('/') + name);
            EXPECT_EQ(F().Fotos_Vorschaubild_Bild[size_t(i)]->Picture().Image().pixel(0, 0), qRgb(first + i, 0, 0));
        }
    }
};
} // namespace

TEST_F(BrowserTest, FortyFiveFilesPageByRowAndByPage) {
    logos(45);
    vb::ScrollBar& s = *F().FotosScrollbalken;
    struct Fall {
        const char* was;
        std::function<void()> tun;
        int first;
    };
    const Fall faelle[] = {
        {"first page", [] {}, 0},
        {"small step", [&] { s.setValue(s.Value() + s.SmallChange()); }, 5},
        {"large step from the start", [&] { s.setValue(s.Value() + s.LargeChange()); }, 19},
        {"last page", [&] { s.setValue(s.Max()); }, 25},
    };
    for (const Fall& c : faelle) {
        SCOPED_TRACE(c.was);
        oeffnen(false);
        EXPECT_EQ(s.Max(), 25);
        EXPECT_EQ(s.SmallChange(), 5);
        EXPECT_EQ(s.LargeChange(), 19);
        c.tun();
        EXPECT_EQ(s.Value(), c.first);
        expectSeite(c.first);
        EXPECT_EQ(gerahmt(), std::vector<int>{0});
        EXPECT_TRUE(s.Enabled());
    }
}

TEST_F(BrowserTest, LogoPicturesSitFittedAboveTheFrameCentreWithTheirNames) {
    logos(20);
    oeffnen(false);
    for (int i : {0, 7, 19}) {
        const vb::Image& b = *F().Fotos_Vorschaubild_Bild[size_t(i)];
        const vb::Image& r = *F().Fotos_Vorschaubild[size_t(i)];
        EXPECT_TRUE(b.Visible());
        EXPECT_TRUE(b.Stretch());
        EXPECT_FALSE(b.Enabled());
        EXPECT_EQ(b.Width(), 72 * 15);
        EXPECT_EQ(b.Height(), 14 * 15);
        EXPECT_DOUBLE_EQ(b.Top(), r.Top() + r.Height() / 2 - b.Height() / 2 - 5 * 15);
        EXPECT_DOUBLE_EQ(b.Left(), r.Left() + r.Width() / 2 - b.Width() / 2 - 3 * 15);
        EXPECT_TRUE(F().Fotos_Vorschaubild_Bildname[size_t(i)]->Visible());
    }
}

TEST_F(BrowserTest, PhotosGetTheSlotPathWithoutTheirFirstTwoCharacters) {
    const QString fotos = ordner(true);
    QDir().mkpath(fotos);
    const QImage strand = farbbild(40, 30, qRgb(10, 120, 200));
    WriteFile(fotos + QStringLiteral("/V_Strand.bin"), Fotovorschau::Sammlungsdatei(strand));
    // A collection file may also hold any picture file.
    QByteArray jpeg;
    {
        QBuffer b(&jpeg);
        b.open(QIODevice::WriteOnly);
        farbbild(1600, 1200, qRgb(0, 200, 0)).save(&b, "JPG");
    }
    WriteFile(fotos + QStringLiteral("/V_Wald.bin"), jpeg);
    writeImage(fotos + QStringLiteral("/Xyberg.bmp"), farbbild(20, 60, qRgb(200, 0, 0)));
    oeffnen(true);
    ASSERT_EQ(F().Fileilistbox->ListCount(), 3);
    const QString slot[] = {fotos + QStringLiteral("/Strand.bin"), fotos + QStringLiteral("/Wald.bin"), fotos + QStringLiteral("/berg.bmp")};
    // Fitted into 101 x 60 pixels, never enlarged, 1 pixel below and 3 left of the frame's centre.
    const QSize groesse[] = {{40, 30}, {80, 60}, {20, 60}};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const vb::Image& b = *F().Fotos_Vorschaubild_Bild[size_t(i)];
        const vb::Image& r = *F().Fotos_Vorschaubild[size_t(i)];
        EXPECT_EQ(b.ToolTipText(), slot[i]);
        EXPECT_EQ(r.ToolTipText(), slot[i]);
        EXPECT_FALSE(F().Fotos_Vorschaubild_Bildname[size_t(i)]->Visible());
        EXPECT_NEAR(b.Width(), groesse[i].width() * 15, 15);
        EXPECT_NEAR(b.Height(), groesse[i].height() * 15, 15);
        EXPECT_DOUBLE_EQ(b.Top(), r.Top() + r.Height() / 2 - b.Height() / 2 + 15);
        EXPECT_DOUBLE_EQ(b.Left(), r.Left() + r.Width() / 2 - b.Width() / 2 - 45);
    }
    EXPECT_EQ(F().Fotos_Vorschaubild_Bild[0]->Picture().Image(), strand);
    EXPECT_TRUE(F().Fotos_Vorschaubild_Bild[3]->Picture().IsEmpty());
    EXPECT_EQ(gerahmt(), std::vector<int>{0});

    // Taking a photo: the loader finds the listed file again from the slot path, at full size.
    const vb::Picture voll = Fotovorschau::Fotosammlung_Bild(slot[1], Fotovorschau::Modus_Original);
    EXPECT_EQ(voll.Width(), 1600);
    EXPECT_EQ(Fotovorschau::Fotosammlung_Bild(slot[0], Fotovorschau::Modus_Original).Image(), strand);
    const vb::Picture klein = Fotovorschau::Fotosammlung_Bild(slot[1], Fotovorschau::Modus_Vorschau);
    EXPECT_LT(klein.Width(), 1600);
    EXPECT_GE(klein.Width(), 4 * 101);
    EXPECT_EQ(klein.Width() * 3, klein.Height() * 4);
}

TEST_F(BrowserTest, PagesHoldThumbnailsNotWholePictures) {
    const QString fotos = ordner(true);
    QDir().mkpath(fotos);
    // A sparse collection file of 8000 x 6000 pixels, all black but for its first row.
    {
        QFile f(fotos + QStringLiteral("/V_Riesig.bin"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("VFB1\x40\x1f\x70\x17", 8));
        f.write(QByteArray(8000 * 3, char(200)));
        ASSERT_TRUE(f.resize(8 + qint64(8000) * 6000 * 3));
    }
    writeImage(fotos + QStringLiteral("/XxGross.bmp"), farbbild(3000, 2000, qRgb(0, 200, 0)));
    QDir().mkpath(ordner(false));
    writeImage(ordner(false) + QStringLiteral("/Gross.bmp"), farbbild(3000, 2000, qRgb(200, 0, 0)));
    Logo_Typcode = QStringLiteral("NBLXXXX");
    struct Fall {
        bool foto;
        int slot;
        QSize groesse;
        QRgb oben, mitte;
    };
    // Reduced to cover four slots' width and height (404 x 240), whole.
    const Fall faelle[] = {
        {true, 0, {422, 316}, qRgb(200, 200, 200), qRgb(0, 0, 0)},
        {true, 1, {404, 269}, qRgb(0, 200, 0), qRgb(0, 200, 0)},
        {false, 0, {404, 269}, qRgb(200, 0, 0), qRgb(200, 0, 0)},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.foto);
        oeffnen(f.foto);
        const QImage b = F().Fotos_Vorschaubild_Bild[size_t(f.slot)]->Picture().Image();
        EXPECT_EQ(b.size(), f.groesse);
        EXPECT_EQ(b.pixel(b.width() / 2, 0), f.oben);
        EXPECT_EQ(b.pixel(b.width() / 2, b.height() / 2), f.mitte);
    }
    // The preview beside the list reads as few rows of the collection file.
    EXPECT_EQ(Fotovorschau::Fotosammlung_Bild(fotos + QStringLiteral("/Riesig.bin"), Fotovorschau::Modus_Vorschau).Image().size(), QSize(422, 316));
}

TEST_F(BrowserTest, BadCollectionFilesLeaveTheirPicturesAndStopNothing) {
    const QString fotos = ordner(true);
    QDir().mkpath(fotos);
    QByteArray kurz = Fotovorschau::Sammlungsdatei(farbbild(300, 200, qRgb(1, 2, 3)));
    kurz.chop(1);
    WriteFile(fotos + QStringLiteral("/V_Kurz.bin"), kurz);
    WriteFile(fotos + QStringLiteral("/V_Leer.bin"), QByteArray());
    WriteFile(fotos + QStringLiteral("/V_Null.bin"), QByteArray("VFB1\0\0\0\0", 8));
    WriteFile(fotos + QStringLiteral("/V_Text.bin"), "kein Bild");
    WriteFile(fotos + QStringLiteral("/Xxkaputt.jpg"), QByteArray("\xFF\xD8\xFF\xE0 abgeschnitten", 18));
    oeffnen(true);
    ASSERT_EQ(F().Fileilistbox->ListCount(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(F().Fotos_Vorschaubild_Bild[size_t(i)]->Picture().IsEmpty()) << i;
        EXPECT_FALSE(F().Fotos_Vorschaubild[size_t(i)]->ToolTipText().isEmpty()) << i;
    }
    EXPECT_TRUE(F().FotosScrollbalken->Enabled());

    vb::Image& ziel = *F().Fotos_Vorschaubild_Bild[0];
    const vb::Picture vorher(farbbild(5, 5, qRgb(9, 9, 9)));
    ziel.setPicture(vorher);
    for (const char* name : {"/V_Kurz.bin", "/Text.bin", "/fehlt.jpg", "/"})
        Fotovorschau::Fotosammlung_Bild_laden(fotos + QLatin1String(name), ziel, Fotovorschau::Modus_Original);
    EXPECT_EQ(ziel.Picture().Handle(), vorher.Handle());
    EXPECT_FALSE(ended());
}

TEST_F(BrowserTest, AFolderPathEndingInASeparatorGivesSingleSeparators) {
    writeImage(file(QStringLiteral("Wurzel.bmp")), farbbild(10, 10, qRgb(0, 0, 0)));
    oeffnen(false);
    F().Fileilistbox->setPath(dir()); // dir() ends in "/", as a drive's root does
    Fotovorschau::Vorschaubilder_fuellen(F().Vorschau());
    EXPECT_EQ(F().Fotos_Vorschaubild_Bild[0]->ToolTipText(), dir() + QStringLiteral("Wurzel.bmp"));
    EXPECT_FALSE(F().Fotos_Vorschaubild_Bild[0]->Picture().IsEmpty());
}

TEST_F(BrowserTest, BothListsTakeTheBrowsersFiveKindsOfFile) {
    for (bool foto : {false, true}) {
        SCOPED_TRACE(foto);
        const QString o = ordner(foto);
        QDir().mkpath(o);
        for (const char* n : {"a.jpg", "b.txt", "V_c.bin", "d.BMP", "e.wmf", "f.ico", "g.bin", "h.png"}) WriteFile(o + QLatin1Char('/') + QLatin1String(n), "x");
        Logo_Typcode = QStringLiteral("NBLXXXX");
        oeffnen(foto);
        EXPECT_EQ(F().Fileilistbox->Pattern(), kMuster);
        EXPECT_EQ(F().File1->Pattern(), kMuster);
        EXPECT_EQ(F().Fileilistbox->Path(), o);
        QStringList liste;
        for (int i = 0; i < F().Fileilistbox->ListCount(); ++i) liste << F().Fileilistbox->List(i);
        EXPECT_EQ(liste, (QStringList{"a.jpg", "d.BMP", "e.wmf", "f.ico", "V_c.bin"}));
    }
}

TEST_F(BrowserTest, AFolderSmallerThanAPageStaysOnItsFirstPageWithEmptySlots) {
    logos(45);
    oeffnen(false);
    F().FotosScrollbalken->setValue(25);
    QDir(ordner(false)).removeRecursively();
    logos(3);
    oeffnen(false);
    EXPECT_EQ(F().FotosScrollbalken->Max(), 0);
    EXPECT_EQ(F().FotosScrollbalken->Value(), 0);
    for (int i = 0; i < 20; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(F().Fotos_Vorschaubild_Bild[size_t(i)]->Picture().IsEmpty(), i >= 3);
        EXPECT_EQ(F().Fotos_Vorschaubild[size_t(i)]->ToolTipText().isEmpty(), i >= 3);
        EXPECT_EQ(F().Fotos_Vorschaubild_Bildname[size_t(i)]->Caption().isEmpty(), i >= 3);
    }
    EXPECT_EQ(gerahmt(), std::vector<int>{0});
}

TEST_F(BrowserTest, AClickedSlotIsTheOnlyFramedOneUntilTheNextScroll) {
    logos(30);
    oeffnen(false);
    // The mouse over a slot's picture is over its frame.
    const QWidget* bild = F().Fotos_Vorschaubild_Bild[7]->Widget();
    EXPECT_EQ(F().Widget()->childAt(bild->geometry().center()), F().Fotos_Vorschaubild[7]->Widget());
    F().Fotos_Vorschaubild[7]->FireClick();
    EXPECT_EQ(gerahmt(), std::vector<int>{7});
    F().Fotos_Vorschaubild_Bild_Click(12);
    EXPECT_EQ(gerahmt(), std::vector<int>{12});
    F().FotosScrollbalken->setValue(5);
    EXPECT_EQ(gerahmt(), std::vector<int>{0});
}

TEST_F(BrowserTest, PhotoTabsPrepareTheBrowserWithoutShowingThePicker) {
    logos(25);
    const QString fotos = ordner(true);
    QDir().mkpath(fotos);
    WriteFile(fotos + QStringLiteral("/V_Eins.bin"), Fotovorschau::Sammlungsdatei(farbbild(8, 8, qRgb(1, 1, 1))));
    StartbildschirmForm& S = *Startbildschirm;

    // From the gallery view the mode stays: logos of the current type.
    Foto_Modus = false;
    S.Reiter_Fotos_inLogos_Click();
    EXPECT_FALSE(Foto_Modus);
    EXPECT_EQ(F().Fileilistbox->Path(), ordner(false));
    EXPECT_EQ(F().FotosScrollbalken->Max(), 5);
    EXPECT_EQ(Browser_Seitenende, 19);
    EXPECT_EQ(Browser_Schrittweite, 5);
    EXPECT_EQ(gerahmt(), std::vector<int>{0});

    // From the editor view: the editor layer goes, the shipped photos come.
    S.Layer_Kalvoren->setVisible(true);
    S.Reiter_Fotos_inKalvoren_Click();
    EXPECT_FALSE(S.Layer_Kalvoren->Visible());
    EXPECT_TRUE(Foto_Modus);
    EXPECT_EQ(F().Fileilistbox->Path(), fotos);
    EXPECT_EQ(F().Fotos_Vorschaubild_Bild[0]->ToolTipText(), fotos + QStringLiteral("/Eins.bin"));
    EXPECT_FALSE(F().Fotos_Vorschaubild_Bild[0]->Picture().IsEmpty());
    EXPECT_EQ(gerahmt(), std::vector<int>{0});
    EXPECT_FALSE(F().Visible());
}

// A file that is no picture shows no picture in its slot, not the one an earlier page left
// there; its path stays, as the picker reads it, and the other slots fill.
TEST_F(BrowserTest, ASlotWhoseFileIsNoPictureShowsNoPicture) {
    for (const bool foto : {false, true}) {
        SCOPED_TRACE(foto);
        const QString o = foto ? ordner(true) : logos(0);
        QDir().mkpath(o);
        const QString a = o + (foto ? QStringLiteral("/XxA.jpg") : QStringLiteral("/A.bmp"));
        const QString b = o + (foto ? QStringLiteral("/XxB.jpg") : QStringLiteral("/B.bmp"));
        writeImage(a, farbbild(40, 30, qRgb(200, 0, 0)));
        writeImage(b, farbbild(40, 30, qRgb(0, 200, 0)));
        oeffnen(foto);
        ASSERT_FALSE(F().Fotos_Vorschaubild_Bild[0]->Picture().IsEmpty());
        WriteFile(a, "kein Bild");
        Fotovorschau::Vorschaubilder_fuellen(F().Vorschau());
        EXPECT_TRUE(F().Fotos_Vorschaubild_Bild[0]->Picture().IsEmpty());
        EXPECT_FALSE(F().Fotos_Vorschaubild_Bild[0]->Visible());
        EXPECT_EQ(F().Fotos_Vorschaubild[0]->ToolTipText(), Fotovorschau::Slotpfad(o, QFileInfo(a).fileName(), foto));
        EXPECT_EQ(F().Fotos_Vorschaubild_Bild[1]->Picture().Image().pixel(0, 0), qRgb(0, 200, 0));
    }
}

// Paging while a page fills drops the rest of that page: every slot ends with the new page's
// picture, none with a late one of the old page.
TEST_F(BrowserTest, PagingDuringAFillDropsTheRestOfTheOldPage) {
    logos(45);
    oeffnen(false);
    vb::ScrollBar& s = *F().FotosScrollbalken;
    s.setValue(0);
    bool geblaettert = false;
    QTimer blick;
    QObject::connect(&blick, &QTimer::timeout, [&] {
        if (geblaettert || F().Fotos_Vorschaubild_Bild[0]->Picture().IsEmpty()) return;
        geblaettert = true;
        s.setValue(19);
    });
    blick.start(0);
    Fotovorschau::Vorschaubilder_leeren(F().Vorschau());
    Fotovorschau::Vorschaubilder_fuellen(F().Vorschau());
    blick.stop();
    EXPECT_TRUE(geblaettert);
    EXPECT_EQ(s.Value(), 19);
    expectSeite(19);
    // Nothing of the old page is still under way.
    vb::App::DoEvents();
    expectSeite(19);
}
