// The host's recent-file list in the key-value store, and its open dialog.
#include "support/Fixture.h"

#include "imaging/mfrmMain.h"
#include "platform/system/CommonDialog.h"
#include "platform/window/Image.h"
#include "platform/system/MsgBox.h"
#include "platform/window/PictureBox.h"
#include "platform/system/Registry.h"
#include "platform/system/Seams.h"

namespace {
const QString kKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Zaroreriri\\Morlikvast");

QStringList liste() {
    QStringList out;
    for (int i = 1; i <= mfrmMain->m_cMRU.FileCount(); ++i) out << mfrmMain->m_cMRU.file(i);
    return out;
}
QByteArray dword(int n) { return QByteArray(reinterpret_cast<const char*>(&n), 4); }

using HostMRUTest = ProgramTest;
} // namespace

TEST_F(HostMRUTest, RecentFilesSurviveTheHost) {
    EXPECT_EQ(mfrmMain->m_cMRU.MaxFileCount(), 4);
    mfrmMain->LoadMRUList(); // nothing stored yet
    EXPECT_EQ(mfrmMain->m_cMRU.MaxFileCount(), 4);
    EXPECT_EQ(liste(), QStringList());
    for (const char* name : {"/bilder/1.bmp", "/bilder/2.jpg", "/bilder/3.gif", "/bilder/4.bmp", "/bilder/5.bmp", "/BILDER/3.GIF"})
        mfrmMain->AddMRUFile(QString::fromLatin1(name));
    const QStringList erwartet{"/BILDER/3.GIF", "/bilder/5.bmp", "/bilder/4.bmp", "/bilder/2.jpg"};
    EXPECT_EQ(liste(), erwartet);
    mfrmMain->SaveMRUList();
    using D = vb::Registry::Data;
    EXPECT_EQ(vb::Registry::ValueData(kKey, QStringLiteral("MaxCount")), (D{4, dword(4)}));
    EXPECT_EQ(vb::Registry::ValueData(kKey, QStringLiteral("Count")), (D{4, dword(4)}));
    for (int i = 1; i <= 4; ++i)
        EXPECT_EQ(vb::Registry::ValueData(kKey, QStringLiteral("File%1").arg(i)), (D{1, erwartet[i - 1].toUtf8() + '\0'}));

    // A new host starts empty and loads what the last one saved.
    mfrmMain.Destroy();
    EXPECT_EQ(liste(), QStringList());
    mfrmMain->LoadMRUList();
    EXPECT_EQ(liste(), erwartet);
    mfrmMain->AddMRUFile(QStringLiteral("/bilder/4.BMP"));
    EXPECT_EQ(liste(), (QStringList{"/bilder/4.BMP", "/BILDER/3.GIF", "/bilder/5.bmp", "/bilder/2.jpg"}));
}

TEST_F(HostMRUTest, ATamperedListStillLoadsAndTakesNames) {
    vb::Registry::SetValueData(kKey, QStringLiteral("MaxCount"), {4, dword(2)});
    vb::Registry::SetValueData(kKey, QStringLiteral("Count"), {4, dword(9)});
    vb::Registry::SetValueData(kKey, QStringLiteral("File1"), {1, QByteArray("a", 2)});
    vb::Registry::SetValueData(kKey, QStringLiteral("File2"), {1, QByteArray("b", 2)});
    vb::Registry::SetValueData(kKey, QStringLiteral("File3"), {1, QByteArray("c", 2)});
    mfrmMain->LoadMRUList();
    EXPECT_EQ(liste(), (QStringList{"a", "b"}));
    mfrmMain->AddMRUFile(QStringLiteral("neu"));
    EXPECT_EQ(liste(), (QStringList{"neu", "a"}));
}

TEST_F(HostMRUTest, OpeningWithoutAPathAsksForAPicture) {
    const vb::LayoutItem layout[] = {
        {"picImage", vb::Kind::PictureBox, -1, 0, 0, 300, 300},
        {"Bildimage", vb::Kind::Image, -1, 0, 0, 300, 300},
    };
    vb::Form form(QStringLiteral("HostForm"), layout, 3000, 3000);
    form.Load();
    mfrmMain->Ziele_setzen(form.Get<vb::PictureBox>("picImage"), form.Get<vb::Image>("Bildimage"));
    QImage bild(12, 7, QImage::Format_RGB32);
    bild.fill(qRgb(10, 200, 30));
    writeImage(file("a.bmp"), bild);
    std::vector<vb::DialogRequest> gefragt;
    std::optional<vb::DialogAnswer> antwort;
    vb::seams().dialog = [&](const vb::DialogRequest& r) {
        gefragt.push_back(r);
        return antwort;
    };
    mfrmMain->Lade_Bild(QString()); // cancelled
    ASSERT_EQ(gefragt.size(), 1u);
    EXPECT_EQ(gefragt[0].kind, QStringLiteral("open"));
    EXPECT_EQ(gefragt[0].filter,
              QStringLiteral("Picture Files (*.BMP;*.GIF;*.JPG;*.DIB)|*.BMP;*.GIF;*.JPG;*.DIB|Bitmap Files (*.BMP;*.DIB)|*.BMP;*.DIB|"
                             "GIF Files (*.GIF)|*.GIF|JPEG Files (*.JPG)|*.JPG|All FIles (*.*)|*.*"));
    EXPECT_EQ(gefragt[0].flags, vb::OFN_FILEMUSTEXIST | vb::OFN_HIDEREADONLY);
    EXPECT_EQ(mfrmMain->ImageWidth(), 0);
    antwort = vb::DialogAnswer{file("a.bmp"), {}};
    mfrmMain->Lade_Bild(QString());
    EXPECT_EQ(mfrmMain->Filename(), file("a.bmp"));
    EXPECT_EQ(form.Get<vb::PictureBox>("picImage")->hDC().convertToFormat(QImage::Format_RGB32), bild);
}
