// File services: shell copy and delete, the open dialog's filter, the picture prompt.
#include "support/Files.h"
#include "support/Fixture.h"

#include "frame/Datei_Laden_Speichern.h"
#include "frame/Dateiauswahldialog.h"
#include "frame/FileOP.h"
#include "frame/Parameter_und_Start.h"
#include "frame/Strings.h"
#include "platform/system/CommonDialog.h"
#include "platform/system/Shell.h"
#include "platform/system/Seams.h"

#include <QFile>
#include <sys/inotify.h>
#include <unistd.h>

using namespace Parameter_und_Start;

namespace {

class FilesTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        vb::seams().shell = {}; // real file operations, inside the test's folder
    }
};
} // namespace

TEST_F(FilesTest, CopyReplacesWithoutAskingAndDeleteRemoves) {
    WriteFile(file("a.bmp"), "neu");
    WriteFile(file("b.bmp"), "alt");
    QString from = file("a.bmp"), to = file("b.bmp");
    EXPECT_EQ(FileOP().Copy(from, to), 0);
    EXPECT_EQ(ReadFile(file("b.bmp")), QByteArray("neu"));
    EXPECT_EQ(ReadFile(file("a.bmp")), QByteArray("neu"));
    QDir().mkpath(file("ziel"));
    QString folder = file("ziel/");
    FileOP().Copy(from, folder);
    EXPECT_EQ(ReadFile(file("ziel/a.bmp")), QByteArray("neu"));
    FileOP().Delete(from);
    EXPECT_FALSE(QFile::exists(file("a.bmp")));
    QString missing = file("fehlt.bmp");
    FileOP().Delete(missing); // no error
}

TEST_F(FilesTest, CopyReplacesTheTargetWithoutEverRemovingIt) {
    WriteFile(file("a.bmp"), QByteArray(100000, 'n'));
    WriteFile(file("b.bmp"), "alt");
    const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(fd, 0);
    ASSERT_GE(inotify_add_watch(fd, QFile::encodeName(dir()).constData(), IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE), 0);
    QString from = file("a.bmp"), to = file("b.bmp");
    EXPECT_EQ(FileOP().Copy(from, to), 0);
    EXPECT_EQ(ReadFile(file("b.bmp")), QByteArray(100000, 'n'));
    // What happened to the target's name: it only ever received a whole file by a rename.
    QStringList ereignisse;
    alignas(inotify_event) char puffer[8192];
    for (ssize_t n; (n = ::read(fd, puffer, sizeof puffer)) > 0;) {
        for (char* p = puffer; p < puffer + n;) {
            const auto* e = reinterpret_cast<const inotify_event*>(p);
            if (e->len && QString::fromLocal8Bit(e->name) == QLatin1String("b.bmp"))
                ereignisse << QString::fromLatin1(e->mask & IN_DELETE ? "delete" : e->mask & IN_MOVED_TO ? "renamed-in" : e->mask & IN_MOVED_FROM ? "renamed-away" : "written");
            p += sizeof(inotify_event) + e->len;
        }
    }
    ::close(fd);
    EXPECT_EQ(ereignisse, QStringList{QStringLiteral("renamed-in")});
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files | QDir::Hidden), (QStringList{QStringLiteral("a.bmp"), QStringLiteral("b.bmp")}));
}

TEST_F(FilesTest, FilterWithOrWithoutTrailingBarIsTheSame) {
    EXPECT_EQ(vb::DialogFilter(QStringLiteral("Bilder|*.bmp;*.jpg")), vb::DialogFilter(QStringLiteral("Bilder|*.bmp;*.jpg|")));
    EXPECT_EQ(vb::DialogFilter(QStringLiteral("Bilder|*.bmp;*.jpg|Alle|*.*")), QStringLiteral("Bilder (*.bmp *.jpg);;Alle (*.*)"));
}

TEST_F(FilesTest, PicturePrompt) {
    vb::DialogRequest seen;
    std::optional<vb::DialogAnswer> reply;
    vb::seams().dialog = [&](const vb::DialogRequest& r) {
        seen = r;
        return reply;
    };
    Bilddatei_Pfad = QStringLiteral("vorher");
    EXPECT_EQ(Datei_Laden_Speichern::Bilddatei_laden(), QString());
    EXPECT_EQ(Bilddatei_Pfad, QStringLiteral("vorher"));
    EXPECT_EQ(seen.kind, QStringLiteral("open"));
    EXPECT_EQ(seen.filter, LoadResString(302) + QStringLiteral(" (*.jpg,*.bmp,*.gif)|*.bmp;*.gif;*.jpg"));
    reply = vb::DialogAnswer{file("x.jpg"), {}};
    EXPECT_EQ(Datei_Laden_Speichern::Bilddatei_laden(), file("x.jpg"));
    EXPECT_EQ(Bilddatei_Pfad, file("x.jpg"));
    // A path longer than the dialog's buffer cannot come back.
    reply = vb::DialogAnswer{QStringLiteral("/") + QString(300, QLatin1Char('a')), {}};
    EXPECT_EQ(Dateiauswahl().OpenFile(), QString());
    // Without a filter every file is offered, in both dialogs.
    reply.reset();
    Dateiauswahl().OpenFile();
    EXPECT_EQ(seen.filter, QStringLiteral("Alle Dateien (*.*)|*.*"));
    EXPECT_EQ(Dateiauswahl().SaveFile(QStringLiteral("logo.bmp")), QString());
    EXPECT_EQ(seen.kind, QStringLiteral("save"));
    EXPECT_EQ(seen.fileName, QStringLiteral("logo.bmp"));
    EXPECT_EQ(seen.filter, QStringLiteral("Alle Dateien (*.*)|*.*"));
}
