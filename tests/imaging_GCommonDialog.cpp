// The dialog wrapper: arguments into the runtime's dialog request, answers back into the
// arguments, cancel and failure, the notification object, and the other dialogs.
#include "imaging/GCommonDialog.h"
#include "platform/system/VBError.h"
#include "support/Fixture.h"
#include "support/Raised.h"
#include "platform/system/Seams.h"

#include <QFileDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct FileArgs {
    QString Filename, FileTitle, Filter = QStringLiteral("Alle Dateien (*.*)|*.*");
    bool MustExistOrPrompt = true, MultiSelect = false, ReadOnly = false, HideReadOnly = false;
    int FilterIndex = 1;
    QString InitDir, DlgTitle, DefaultExt;
    long flags = 0;
    bool call(GCommonDialog& d, bool save) {
        return save ? d.VBGetSaveFileName(Filename, FileTitle, MustExistOrPrompt, MultiSelect, ReadOnly, HideReadOnly,
                                          Filter, FilterIndex, InitDir, DlgTitle, DefaultExt, -1, flags)
                    : d.VBGetOpenFileName(Filename, FileTitle, MustExistOrPrompt, MultiSelect, ReadOnly, HideReadOnly,
                                          Filter, FilterIndex, InitDir, DlgTitle, DefaultExt, -1, flags);
    }
};

class DialogWrapperTest : public ProgramTest {
protected:
    std::vector<vb::DialogRequest> asked;
    std::function<std::optional<vb::DialogAnswer>(const vb::DialogRequest&)> reply = [](const vb::DialogRequest&) {
        return std::optional<vb::DialogAnswer>();
    };
    void SetUp() override {
        ProgramTest::SetUp();
        vb::seams().dialog = [this](const vb::DialogRequest& r) {
            asked.push_back(r);
            return reply(r);
        };
    }
    void answerWith(vb::DialogAnswer a) {
        reply = [a](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(a); };
    }
};

struct Recorder : IGCommonDialogNotify {
    QStringList calls;
    std::vector<long> handles;
    int refuse = 0; // OKs still to refuse
    void InitDialog(long h) override { calls << "InitDialog"; handles.push_back(h); }
    void TypeChange(long h) override { calls << "TypeChange"; handles.push_back(h); }
    bool ConfirmOK() override {
        calls << "ConfirmOK";
        return refuse-- <= 0;
    }
    void FolderChange(long h) override { calls << "FolderChange"; handles.push_back(h); }
    void FileChange(long h) override { calls << "FileChange"; handles.push_back(h); }
    void DialogClose() override { calls << "DialogClose"; }
};

} // namespace

TEST(GCommonDialogHelpers, FilterStringsAndNumbers) {
    const QChar z(0);
    EXPECT_EQ(GCommonDialog::FilterToZString(QStringLiteral("Alle Dateien (*.*)|*.*")),
              QStringLiteral("Alle Dateien (*.*)") + z + QStringLiteral("*.*") + z + z);
    EXPECT_EQ(GCommonDialog::FilterToZString(QStringLiteral("Bilder: BMP|*.bmp")),
              QStringLiteral("Bilder") + z + QStringLiteral(" BMP") + z + QStringLiteral("*.bmp") + z + z);
    EXPECT_EQ(GCommonDialog::StrZToStr(QStringLiteral("abc") + z + QStringLiteral("def")), QStringLiteral("abc"));
    EXPECT_EQ(GCommonDialog::StrZToStr(QStringLiteral("abc")), QStringLiteral("abc"));
    EXPECT_EQ(GCommonDialog::ObjectErrorNumber(0x3003), long(int32_t(0x80043003u)));
    GCommonDialog d;
    const std::pair<const char*, const char*> titles[] = {
        {"/home/maria/Bilder/foto.jpg", "foto.jpg"}, {"C:\\Bilder\\logo.bmp", "logo.bmp"}, {"logo.bmp", "logo.bmp"}, {"/home/", ""}};
    for (const auto& [path, title] : titles) EXPECT_EQ(d.VBGetFileTitle(QString::fromUtf8(path)), QString::fromUtf8(title)) << path;
    EXPECT_EQ(d.VBGetFileTitle(QStringLiteral("/") + QString(260, QLatin1Char('a'))), QString());
}

TEST(GCommonDialogHelpers, EachDialogErrorCarriesItsOwnText) {
    const struct {
        long number;
        long raised;
        const char* source;
        const char* text;
    } cases[] = {
        {5, 5, ".VBError", "Invalid procedure call or argument"},
        {9, 9, ".VBError", "Subscript out of range"},
        {13, 13, ".VBError", "Type mismatch"},
        {75, 75, ".VBError", "Path/File access error"},
        {999, 999, ".VBError", "Application-defined or object-defined error"},
        {0x3003, long(int32_t(0x80043003u)), ".CommonDialog", "Common dialog error 12291"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.number);
        const vb::VBError e = caught([&] { GCommonDialog::RaiseDialogError(c.number); });
        EXPECT_EQ(e.Number(), c.raised);
        EXPECT_EQ(e.Source(), vb::AppExeName() + QString::fromLatin1(c.source));
        EXPECT_EQ(e.Description(), QString::fromLatin1(c.text));
    }
}

// "File must exist" off: the open dialog takes a name that is not on the disk yet; on, it takes
// only existing files.
TEST_F(DialogWrapperTest, OpenWithoutFileMustExistTakesANewName) {
    QTemporaryDir dir;
    const QString neu = dir.filePath(QStringLiteral("neu.bmp"));
    std::vector<QFileDialog::FileMode> modes;
    // The platform's dialog built from the request, the new name typed and confirmed.
    reply = [&](const vb::DialogRequest& r) -> std::optional<vb::DialogAnswer> {
        const std::unique_ptr<QDialog> d = vb::MakeDialog(r);
        auto* f = qobject_cast<QFileDialog*>(d.get());
        modes.push_back(f->fileMode());
        if (f->fileMode() != QFileDialog::AnyFile) return std::nullopt; // it would refuse the name with a message
        f->selectFile(neu);
        d->accept();
        if (d->result() != QDialog::Accepted) return std::nullopt;
        return vb::ReadDialog(*d, r);
    };
    GCommonDialog d;
    FileArgs frei;
    frei.MustExistOrPrompt = false;
    frei.InitDir = dir.path();
    EXPECT_TRUE(frei.call(d, false));
    EXPECT_EQ(frei.Filename, neu);
    EXPECT_EQ(frei.FileTitle, QStringLiteral("neu.bmp"));
    FileArgs vorhanden;
    vorhanden.InitDir = dir.path();
    EXPECT_FALSE(vorhanden.call(d, false));
    EXPECT_EQ(modes, (std::vector<QFileDialog::FileMode>{QFileDialog::AnyFile, QFileDialog::ExistingFile}));
}

TEST_F(DialogWrapperTest, OpenAndSaveRequestsAndAnswers) {
    struct Case {
        const char* what;
        bool save, mustOrPrompt, multi, readOnly, hideReadOnly;
        long flags;
        long requested;
        std::optional<bool> answerReadOnly;
        QString answerName;
        long returned;
        bool readOnlyAfter;
    };
    const QString name = file("bild.bmp");
    const Case cases[] = {
        {"open, hook and template bits dropped", false, true, false, false, false, 0x80060, 0x81000, {}, name, 0x81000, false},
        {"open, read-only chosen", false, false, true, false, true, 0, 0x204, true, name, 0x205, true},
        {"open, read-only cleared", false, true, false, true, false, 0, 0x1001, false, name, 0x1000, false},
        {"open, other extension", false, true, false, false, false, 0, 0x1000, {}, file("bild.jpg"), 0x1400, false},
        {"save with prompt", true, true, false, false, true, 0x80000, 0x80006, {}, name, 0x80006, false},
        {"save without prompt", true, false, false, false, true, 0, 0x4, {}, name, 0x4, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        asked.clear();
        vb::DialogAnswer a;
        a.fileName = c.answerName;
        a.readOnly = c.answerReadOnly;
        a.filterIndex = 2;
        answerWith(a);
        GCommonDialog d;
        FileArgs x;
        x.Filename = QStringLiteral("vorschlag.bmp");
        x.Filter = QStringLiteral("Bitmap (*.BMP)|*.BMP|Alle|*.*");
        x.MustExistOrPrompt = c.mustOrPrompt;
        x.MultiSelect = c.multi;
        x.ReadOnly = c.readOnly;
        x.HideReadOnly = c.hideReadOnly;
        x.flags = c.flags;
        x.InitDir = dir();
        x.DlgTitle = QStringLiteral("Bild wählen");
        x.DefaultExt = QStringLiteral("bmp");
        EXPECT_TRUE(x.call(d, c.save));
        ASSERT_EQ(asked.size(), 1u);
        const vb::DialogRequest& r = asked[0];
        EXPECT_EQ(r.kind, c.save ? QStringLiteral("save") : QStringLiteral("open"));
        EXPECT_EQ(r.flags, c.requested);
        EXPECT_EQ(r.fileName, QStringLiteral("vorschlag.bmp"));
        EXPECT_EQ(r.filter, QStringLiteral("Bitmap (*.BMP)|*.BMP|Alle|*.*"));
        EXPECT_EQ(r.filterIndex, 1);
        EXPECT_EQ(r.folder, dir());
        EXPECT_EQ(r.title, QStringLiteral("Bild wählen"));
        EXPECT_EQ(r.defaultExt, QStringLiteral("bmp"));
        EXPECT_EQ(r.readOnly, c.readOnly);
        EXPECT_FALSE(r.notify);
        EXPECT_EQ(x.Filename, c.answerName);
        EXPECT_EQ(x.FileTitle, c.answerName.mid(dir().size()));
        EXPECT_EQ(x.flags, c.returned);
        EXPECT_EQ(x.ReadOnly, c.readOnlyAfter);
        EXPECT_EQ(x.FilterIndex, 2);
        EXPECT_EQ(x.Filter, QStringLiteral("Bitmap (*.BMP)|*.BMP|Alle|*.*"));
        EXPECT_EQ(d.APIReturn(), 1);
        EXPECT_EQ(d.ExtendedError(), 0);
    }
}

TEST_F(DialogWrapperTest, CancelFailureAndSeveralNames) {
    struct Case {
        const char* what;
        std::optional<vb::DialogAnswer> answer;
        bool result;
        QString name, title;
        long extended;
    };
    vb::DialogAnswer tooLong;
    tooLong.fileName = QStringLiteral("/") + QString(259, QLatin1Char('a'));
    vb::DialogAnswer longest;
    longest.fileName = QStringLiteral("/") + QString(258, QLatin1Char('a'));
    vb::DialogAnswer several;
    several.fileName = file("a.bmp");
    several.fileNames = QStringList{file("a.bmp"), file("b.bmp")};
    vb::DialogAnswer titled;
    titled.fileName = file("a.bmp");
    titled.fileTitle = QStringLiteral("a");
    const Case cases[] = {
        {"cancelled", std::nullopt, false, QString(), QString(), 0},
        {"name too long for the buffer", tooLong, false, QString(), QString(), GCommonDialog::FNERR_BUFFERTOOSMALL},
        {"longest name that fits", longest, true, longest.fileName, QString(258, QLatin1Char('a')), 0},
        {"several names give their folder", several, true, dir().chopped(1), QStringLiteral("a.bmp"), 0},
        {"the dialog's own title", titled, true, file("a.bmp"), QStringLiteral("a"), 0},
    };
    GCommonDialog d;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reply = [&c](const vb::DialogRequest&) { return c.answer; };
        FileArgs x;
        x.Filename = QStringLiteral("alt.bmp");
        x.FileTitle = QStringLiteral("alt");
        x.flags = 0x80000;
        x.FilterIndex = 1;
        x.MultiSelect = true;
        EXPECT_EQ(x.call(d, false), c.result);
        EXPECT_EQ(x.Filename, c.name);
        EXPECT_EQ(x.FileTitle, c.title);
        EXPECT_EQ(d.APIReturn(), c.result ? 1 : 0);
        EXPECT_EQ(d.ExtendedError(), c.extended);
        if (!c.result) {
            EXPECT_EQ(x.Filter, QString());
            EXPECT_EQ(x.flags, 0);
            EXPECT_EQ(x.FilterIndex, -1);
        }
    }
}

TEST_F(DialogWrapperTest, NotificationObjectHearsTheDialog) {
    Recorder rec;
    rec.refuse = 1;
    GCommonDialog d;
    d.NotifyObject = &rec;
    std::vector<bool> oks;
    // The user opens the dialog, picks a type, a folder and a file, presses OK twice (the first
    // is refused) and the dialog closes.
    reply = [&](const vb::DialogRequest& r) {
        using E = vb::DialogEvent;
        for (E e : {E::Init, E::TypeChange, E::FolderChange, E::FileChange}) r.notify(e);
        oks.push_back(r.notify(E::ConfirmOK));
        oks.push_back(r.notify(E::ConfirmOK));
        r.notify(E::Close);
        vb::DialogAnswer a;
        a.fileName = file("x.bmp");
        return std::optional<vb::DialogAnswer>(a);
    };
    FileArgs x;
    x.flags = vb::OFN_ENABLEHOOK;
    EXPECT_TRUE(x.call(d, false));
    EXPECT_EQ(asked.at(0).flags & vb::OFN_ENABLEHOOK, vb::OFN_ENABLEHOOK);
    EXPECT_EQ(rec.calls, (QStringList{"InitDialog", "TypeChange", "FolderChange", "FileChange", "ConfirmOK", "ConfirmOK", "DialogClose"}));
    EXPECT_EQ(oks, (std::vector<bool>{false, true}));
    ASSERT_EQ(rec.handles.size(), 4u);
    for (long h : rec.handles) EXPECT_EQ(h, rec.handles[0]);
    EXPECT_EQ(x.flags & vb::OFN_ENABLEHOOK, 0);

    // The hook itself, message by message.
    rec.calls.clear();
    rec.refuse = 1;
    struct Case {
        long msg, code, result;
        const char* call;
    };
    const Case cases[] = {
        {GCommonDialog::WM_INITDIALOG, 0, 0, "InitDialog"},
        {GCommonDialog::WM_NOTIFY, GCommonDialog::CDN_TYPECHANGE, 0, "TypeChange"},
        {GCommonDialog::WM_NOTIFY, GCommonDialog::CDN_FILEOK, 1, "ConfirmOK"},
        {GCommonDialog::WM_NOTIFY, GCommonDialog::CDN_FILEOK, 0, "ConfirmOK"},
        {GCommonDialog::WM_NOTIFY, GCommonDialog::CDN_FOLDERCHANGE, 0, "FolderChange"},
        {GCommonDialog::WM_NOTIFY, GCommonDialog::CDN_SELCHANGE, 0, "FileChange"},
        {GCommonDialog::WM_NOTIFY, -605, 0, nullptr},
        {GCommonDialog::WM_NCDESTROY, 0, 0, "DialogClose"},
        {0x111, 0, 0, nullptr},
    };
    for (const Case& c : cases) {
        const qsizetype before = rec.calls.size();
        EXPECT_EQ(d.DialogHook(7, c.msg, 0, c.code), c.result);
        if (c.call) EXPECT_EQ(rec.calls.value(before), QString::fromLatin1(c.call));
        else EXPECT_EQ(rec.calls.size(), before);
    }
    // Without an object the dialog runs without a hook.
    d.NotifyObject = nullptr;
    asked.clear();
    reply = [](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(); };
    x.call(d, false);
    EXPECT_FALSE(asked.at(0).notify);
    EXPECT_EQ(asked.at(0).flags & vb::OFN_ENABLEHOOK, 0);
    EXPECT_EQ(d.DialogHook(7, GCommonDialog::WM_NOTIFY, 0, GCommonDialog::CDN_FILEOK), 0);
}

TEST_F(DialogWrapperTest, ColourAndFont) {
    GCommonDialog d;
    // Custom colours start as the desktop's colours and can be set.
    const uint32_t first = d.CustomColor(0);
    d.SetCustomColor(3, 0x123456);
    try {
        d.CustomColor(16);
        ADD_FAILURE() << "colour 16";
    } catch (const vb::VBError& e) {
        EXPECT_EQ(e.Number(), 9);
        EXPECT_EQ(e.Source(), vb::AppExeName() + QStringLiteral(".VBError"));
    }
    uint32_t colour = 0x00ff8040;
    EXPECT_FALSE(d.VBChooseColor(colour, true, true, false, -1, 0));
    EXPECT_EQ(colour, 0x00ff8040u);
    EXPECT_EQ(d.APIReturn(), 0);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, QStringLiteral("color"));
    EXPECT_EQ(asked[0].color, 0x00ff8040u);
    EXPECT_EQ(asked[0].flags, vb::CC_RGBINIT | vb::CC_ANYCOLOR | vb::CC_FULLOPEN);
    EXPECT_EQ(asked[0].customColors[0], first);
    EXPECT_EQ(asked[0].customColors[3], 0x123456u);
    vb::DialogAnswer a;
    a.color = 0x000000ff;
    a.customColors = std::array<uint32_t, 16>{};
    (*a.customColors)[15] = 0xabcdef;
    answerWith(a);
    EXPECT_TRUE(d.VBChooseColor(colour, false, false, true, -1, 0));
    EXPECT_EQ(asked[1].flags, vb::CC_RGBINIT | vb::CC_PREVENTFULLOPEN);
    EXPECT_EQ(colour, 0x000000ffu);
    EXPECT_EQ(d.CustomColor(15), 0xabcdefu);
    EXPECT_EQ(d.CustomColor(3), 0u);

    // Font: the request carries the font and flags; sizes stay inside the limits.
    struct Case {
        double chosen;
        int min, max;
        double result;
    };
    for (const Case c : {Case{30, 8, 24, 24}, Case{6, 8, 24, 8}, Case{12, 8, 24, 12}, Case{72, 0, 0, 72}}) {
        asked.clear();
        vb::DialogAnswer f;
        f.font = {QStringLiteral("DejaVu Serif"), c.chosen, true, false, true, false};
        answerWith(f);
        vb::FontChoice font{QStringLiteral("Arial"), 10, false, true, false, true};
        uint32_t farbe = 0x0000ff00;
        EXPECT_TRUE(d.VBChooseFont(font, 0, -1, farbe, c.min, c.max, vb::CF_TTONLY | 0x8));
        ASSERT_EQ(asked.size(), 1u);
        EXPECT_EQ(asked[0].kind, QStringLiteral("font"));
        EXPECT_EQ(asked[0].font.name, QStringLiteral("Arial"));
        EXPECT_EQ(asked[0].font.size, 10);
        EXPECT_TRUE(asked[0].font.italic && asked[0].font.strikeout);
        EXPECT_EQ(asked[0].color, 0x0000ff00u);
        EXPECT_EQ(asked[0].flags, vb::CF_TTONLY | vb::CF_EFFECTS | vb::CF_SCREENFONTS | (c.min ? long(vb::CF_LIMITSIZE) : 0L));
        EXPECT_EQ(font.name, QStringLiteral("DejaVu Serif"));
        EXPECT_EQ(font.size, c.result);
        EXPECT_TRUE(font.bold && font.underline && !font.italic);
        EXPECT_EQ(farbe, 0x0000ff00u);
    }
    reply = [](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(); };
    vb::FontChoice font{QStringLiteral("Arial"), 10};
    uint32_t farbe = 0;
    EXPECT_FALSE(d.VBChooseFont(font, 0, -1, farbe, 0, 0, 0));
    EXPECT_EQ(font.name, QStringLiteral("Arial"));
}

TEST_F(DialogWrapperTest, PrintAndPageSetup) {
    GCommonDialog d;
    QPrinter printer;
    vb::DialogAnswer a;
    a.flags = vb::PD_PAGENUMS | vb::PD_COLLATE;
    vb::PrintSetup chosen;
    chosen.fromPage = 2;
    chosen.toPage = 3;
    chosen.copies = 4;
    a.print = chosen;
    answerWith(a);
    QPrinter* hdc = nullptr;
    GCommonDialog::EPrintRange range = GCommonDialog::eprAll;
    int from = 1, to = 5, copies = 1;
    bool toFile = true, collate = false;
    EXPECT_TRUE(d.VBPrintDlg(hdc, range, false, from, to, true, copies, false, false, toFile, collate, true, -1, &printer, 0));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, QStringLiteral("print"));
    EXPECT_EQ(asked[0].flags, vb::PD_RETURNDC | vb::PD_NOSELECTION | vb::PD_HIDEPRINTTOFILE | vb::PD_PRINTTOFILE | vb::PD_NOWARNING);
    EXPECT_EQ(asked[0].print.fromPage, 1);
    EXPECT_EQ(asked[0].print.toPage, 5);
    EXPECT_EQ(hdc, &printer);
    EXPECT_EQ(range, GCommonDialog::eprPageNumbers);
    EXPECT_EQ(from, 2);
    EXPECT_EQ(to, 3);
    EXPECT_EQ(copies, 4);
    EXPECT_FALSE(toFile);
    EXPECT_TRUE(collate);
    EXPECT_EQ(printer.fromPage(), 2);
    EXPECT_EQ(printer.toPage(), 3);
    EXPECT_EQ(printer.printRange(), QPrinter::PageRange);

    asked.clear();
    vb::DialogAnswer p;
    vb::PrintSetup page;
    page.margins = QMarginsF(1000, 2000, 500, 1500); // left, top, right, bottom: hundredths of a mm
    page.paperSize = 9;                              // A4
    page.orientation = 2;
    p.print = page;
    answerWith(p);
    int left = 2500, right = 2500, top = 2500, bottom = 2500, paper = 1, orientation = 1, quality = 0;
    EXPECT_TRUE(d.VBPageSetupDlg(-1, false, false, false, true, left, 1200, right, 0, top, 0, bottom, 0, paper,
                                 orientation, quality, vb::PSD_INHUNDREDTHSOFMILLIMETERS, &printer, 0));
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].kind, QStringLiteral("pagesetup"));
    EXPECT_EQ(asked[0].flags, vb::PSD_MARGINS | vb::PSD_MINMARGINS | vb::PSD_INHUNDREDTHSOFMILLIMETERS | vb::PSD_DISABLEPRINTER);
    EXPECT_EQ(asked[0].print.margins, QMarginsF(2500, 2500, 2500, 2500));
    EXPECT_EQ(asked[0].print.minMargins, QMarginsF(1200, 0, 0, 0));
    EXPECT_EQ(asked[0].print.paperSize, 1);
    // The left margin keeps its minimum.
    EXPECT_EQ((std::array<int, 4>{left, top, right, bottom}), (std::array<int, 4>{1200, 2000, 500, 1500}));
    EXPECT_EQ(paper, 9);
    EXPECT_EQ(orientation, 2);
    EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
    EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
    reply = [](const vb::DialogRequest&) { return std::optional<vb::DialogAnswer>(); };
    EXPECT_FALSE(d.VBPageSetupDlg(-1, false, false, false, false, left, 0, right, 0, top, 0, bottom, 0, paper,
                                  orientation, quality, vb::PSD_INTHOUSANDTHSOFINCHES, &printer, 0));
    EXPECT_EQ(left, 1200);
    EXPECT_EQ(d.APIReturn(), 0);
}
