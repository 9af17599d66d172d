// Drive, folder and file lists: which drives a user sees, and the nested change events the
// picture picker relies on.
#include "platform/window/DirListBox.h"
#include "platform/window/DriveListBox.h"
#include "platform/window/FileListBox.h"
#include "platform/window/Form.h"
#include "platform/system/Seams.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace vb;

namespace {
const LayoutItem kLayout[] = {
    {"Drive1", Kind::DriveListBox, -1, 0, 0, 2000, 300},
    {"Dir1", Kind::DirListBox, -1, 0, 400, 2000, 2000},
    {"File1", Kind::FileListBox, -1, 2100, 0, 2000, 2400},
};
class ListForm : public Form {
public:
    ListForm() : Form(QStringLiteral("ListForm"), kLayout, 4200, 2500) {}
    DriveListBox* drive() const { return Get<DriveListBox>("Drive1"); }
    DirListBox* dir() const { return Get<DirListBox>("Dir1"); }
    FileListBox* files() const { return Get<FileListBox>("File1"); }
};

void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}

class Lists : public ::testing::Test {
protected:
    void TearDown() override { vb::seams().volumes = std::nullopt; }
};
} // namespace

TEST_F(Lists, DrivesAreRootHomeThenTheVolumesAUserWouldPick) {
    const std::vector<Volume> mounted = {
        {"/", "ext4", ""},
        {"/proc", "proc", ""},
        {"/sys", "sysfs", ""},
        {"/sys/fs/cgroup", "cgroup2", ""},
        {"/dev", "devtmpfs", ""},
        {"/dev/shm", "tmpfs", ""},
        {"/run", "tmpfs", ""},
        {"/run/user/1000", "tmpfs", ""},
        {"/run/user/1000/gvfs", "fuse.gvfsd-fuse", ""},
        {"/snap/core/123", "squashfs", ""},
        {"/boot/efi", "vfat", ""},
        {"/run/media/anna/USB STICK", "vfat", "USB STICK"},
        {"/media/cdrom0", "iso9660", "Fotos"},
        {"/mnt/nas", "nfs4", ""},
        {"/home", "ext4", ""},
        {"/home/anna", "ext4", ""},
    };
    EXPECT_EQ(DriveRoots(mounted, "/home/anna"),
              QStringList({"/", "/home/anna", "/home", "/media/cdrom0", "/mnt/nas", "/run/media/anna/USB STICK"}));
}

TEST_F(Lists, TheDriveOfAPathIsTheMountPointHoldingIt) {
    const QStringList roots = {"/", "/home/anna", "/media/cdrom0", "/media/cd"};
    const struct {
        const char* path;
        const char* drive;
    } cases[] = {
        {"/home/anna/Bilder/x.jpg", "/home/anna"}, {"/home/anna", "/home/anna"},     {"/home/annabel", "/"},
        {"/media/cdrom0/", "/media/cdrom0"},       {"/media/cd/a", "/media/cd"},     {"/etc", "/"},
        {"/", "/"},
    };
    for (const auto& c : cases) EXPECT_EQ(DriveOf(c.path, roots), QString::fromLatin1(c.drive)) << c.path;
}

TEST_F(Lists, ChoosingADriveRunsTheChangeEventsNested) {
    QTemporaryDir vol;
    QDir(vol.path()).mkpath("Bilder/Urlaub");
    QDir(vol.path()).mkpath(".versteckt");
    touch(vol.filePath("a.JPG"));
    touch(vol.filePath("b.bmp"));
    touch(vol.filePath(".c.jpg"));
    touch(vol.filePath("d.txt"));
    vb::seams().volumes = std::vector<Volume>{{"/", "ext4", ""}, {vol.path(), "vfat", "STICK"}};
    ListForm f;
    f.Load();
    ASSERT_EQ(f.drive()->List(0), "/");
    ASSERT_TRUE(f.drive()->ListCount() >= 2);

    std::vector<std::string> events;
    f.files()->setPattern("*.jpg;*.bmp");
    f.drive()->Change = [&] {
        events.push_back("drive");
        f.dir()->setPath(f.drive()->Drive());
        events.push_back("drive end");
    };
    f.dir()->Change = [&] {
        events.push_back("dir");
        f.files()->setPath(f.dir()->Path());
    };
    f.files()->PathChange = [&] { events.push_back("files"); };

    f.drive()->setDrive(vol.path() + "/Bilder");
    EXPECT_EQ(f.drive()->Drive(), QDir::cleanPath(vol.path()));
    EXPECT_EQ(events, std::vector<std::string>({"drive", "dir", "files", "drive end"}));
    // Hidden files and folders are not listed; patterns match without regard to case.
    EXPECT_EQ(f.files()->ListCount(), 2);
    EXPECT_EQ(f.files()->List(0), "a.JPG");
    EXPECT_EQ(f.files()->List(1), "b.bmp");
    ASSERT_EQ(f.dir()->ListCount(), 1);
    EXPECT_EQ(f.dir()->List(0), vol.filePath("Bilder"));
    EXPECT_EQ(f.dir()->List(-1), QDir::cleanPath(vol.path()));

    // Choosing the same drive again runs nothing; opening a folder runs the folder's change.
    events.clear();
    f.drive()->setDrive(vol.path());
    EXPECT_TRUE(events.empty());
    f.dir()->Open(0);
    EXPECT_EQ(events, std::vector<std::string>({"dir", "files"}));
    EXPECT_EQ(f.files()->Path(), vol.filePath("Bilder"));
    EXPECT_EQ(f.files()->ListCount(), 0);
    EXPECT_EQ(f.dir()->List(-2), QDir::cleanPath(vol.path()));
    f.dir()->Open(-2);
    EXPECT_EQ(f.files()->ListCount(), 2);
}

TEST_F(Lists, AFolderThatCannotBeReadOrHasGoneListsNothing) {
    QTemporaryDir tmp;
    ListForm f;
    f.Load();
    const QString gone = tmp.filePath("weg");
    f.dir()->setPath(gone);
    f.files()->setPath(gone);
    EXPECT_EQ(f.dir()->ListCount(), 0);
    EXPECT_EQ(f.files()->ListCount(), 0);
    EXPECT_FALSE(DriveReady(gone));
    EXPECT_TRUE(DriveReady(tmp.path()));
    touch(tmp.filePath("x.jpg"));
    f.files()->setPath(tmp.path());
    f.files()->setListIndex(0);
    EXPECT_EQ(f.files()->FileName(), "x.jpg");
    f.files()->setFileName("");
    EXPECT_EQ(f.files()->ListIndex(), -1);
}
