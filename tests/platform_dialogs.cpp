// The real file dialog built from a request: title, filter choice, read-only box, default
// extension, the answer read from it, and the owner's say over its OK.
#include "platform/system/CommonDialog.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
void touch(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
}
} // namespace

TEST(Dialogs, FileDialogFollowsTheRequest) {
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("a.gif")));
    struct Case {
        const char* what;
        long flags;
        bool readOnly;
        bool box;
        int index;
    };
    const Case cases[] = {
        {"read-only box ticked", 0, true, true, 2},
        {"read-only box clear", vb::OFN_FILEMUSTEXIST, false, true, 3},
        {"read-only hidden", vb::OFN_HIDEREADONLY, true, false, 1},
        {"index out of range picks the first", vb::OFN_HIDEREADONLY, false, false, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        vb::DialogRequest r;
        r.kind = QStringLiteral("open");
        r.filter = QStringLiteral("Bitmap|*.bmp|GIF|*.gif|Alle|*.*");
        r.filterIndex = c.index;
        r.folder = dir.path();
        r.title = QStringLiteral("Bild öffnen");
        r.flags = c.flags;
        r.readOnly = c.readOnly;
        const std::unique_ptr<QDialog> d = vb::MakeDialog(r);
        auto* f = qobject_cast<QFileDialog*>(d.get());
        ASSERT_TRUE(f);
        EXPECT_EQ(f->windowTitle(), QStringLiteral("Bild öffnen"));
        const int expectedIndex = c.index <= 3 ? c.index : 1;
        EXPECT_EQ(f->selectedNameFilter(), f->nameFilters().value(expectedIndex - 1));
        auto* box = f->findChild<QCheckBox*>(QStringLiteral("readOnly"));
        ASSERT_EQ(box != nullptr, c.box);
        if (box) {
            EXPECT_EQ(box->isChecked(), c.readOnly);
            box->setChecked(!c.readOnly);
        }
        f->selectFile(dir.filePath(QStringLiteral("a.gif")));
        const vb::DialogAnswer a = vb::ReadDialog(*d, r);
        EXPECT_EQ(a.fileName, dir.filePath(QStringLiteral("a.gif")));
        EXPECT_EQ(a.filterIndex, expectedIndex);
        EXPECT_EQ(a.readOnly, box ? std::optional<bool>(!c.readOnly) : std::nullopt);
    }
}

TEST(Dialogs, SaveDialogAddsTheDefaultExtensionAndAsksOnlyWhenTold) {
    for (const long flags : {0L, long(vb::OFN_OVERWRITEPROMPT)}) {
        vb::DialogRequest r;
        r.kind = QStringLiteral("save");
        r.defaultExt = QStringLiteral("bmp");
        r.flags = flags;
        const std::unique_ptr<QDialog> d = vb::MakeDialog(r);
        auto* f = qobject_cast<QFileDialog*>(d.get());
        ASSERT_TRUE(f);
        EXPECT_EQ(f->defaultSuffix(), QStringLiteral("bmp"));
        EXPECT_EQ(f->testOption(QFileDialog::DontConfirmOverwrite), flags == 0);
        EXPECT_EQ(f->findChild<QCheckBox*>(QStringLiteral("readOnly")), nullptr);
    }
}

TEST(Dialogs, OwnerHearsTheFileDialogAndMayRefuseItsOK) {
    QTemporaryDir dir;
    touch(dir.filePath(QStringLiteral("a.bmp")));
    std::vector<vb::DialogEvent> heard;
    bool allow = false;
    vb::DialogRequest r;
    r.kind = QStringLiteral("open");
    r.folder = dir.path();
    r.flags = vb::OFN_HIDEREADONLY;
    r.notify = [&](vb::DialogEvent e) {
        heard.push_back(e);
        return e != vb::DialogEvent::ConfirmOK || allow;
    };
    const std::unique_ptr<QDialog> d = vb::MakeDialog(r);
    d->show();
    auto* f = qobject_cast<QFileDialog*>(d.get());
    f->selectFile(dir.filePath(QStringLiteral("a.bmp")));
    d->accept();
    EXPECT_TRUE(d->isVisible());
    EXPECT_NE(d->result(), QDialog::Accepted);
    allow = true;
    d->accept();
    EXPECT_FALSE(d->isVisible());
    EXPECT_EQ(d->result(), QDialog::Accepted);
    using E = vb::DialogEvent;
    ASSERT_FALSE(heard.empty());
    EXPECT_EQ(heard.front(), E::Init);
    EXPECT_EQ(std::count(heard.begin(), heard.end(), E::ConfirmOK), 2);
    EXPECT_EQ(heard.back(), E::Close);
}
