#pragma once
// The common-dialog control (save and open dialogs, the font dialog and help) and the platform's
// standard dialogs behind it: open, save, font, colour, print and page setup. Tests answer the
// dialogs through Seams::dialog.
#include <QMarginsF>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QDialog;
class QPrinter;

namespace vb {

constexpr long cdlCancel = 32755;

// Flags of the file dialogs (the platform's values).
enum : long {
    OFN_READONLY = 0x1,
    OFN_OVERWRITEPROMPT = 0x2,
    OFN_HIDEREADONLY = 0x4,
    OFN_ENABLEHOOK = 0x20,
    OFN_ENABLETEMPLATE = 0x40,
    OFN_ALLOWMULTISELECT = 0x200,
    OFN_EXTENSIONDIFFERENT = 0x400,
    OFN_PATHMUSTEXIST = 0x800,
    OFN_FILEMUSTEXIST = 0x1000,
    OFN_EXPLORER = 0x80000,
};
// Flags of the font dialog.
enum : long {
    CF_SCREENFONTS = 0x1,
    CF_EFFECTS = 0x100,
    CF_APPLY = 0x200,
    CF_LIMITSIZE = 0x2000,
    CF_FIXEDPITCHONLY = 0x4000,
    CF_SCALABLEONLY = 0x20000,
    CF_TTONLY = 0x40000,
};
// Flags of the colour dialog.
enum : long { CC_RGBINIT = 0x1, CC_FULLOPEN = 0x2, CC_PREVENTFULLOPEN = 0x4, CC_ANYCOLOR = 0x100 };
// Flags of the print dialog.
enum : long {
    PD_SELECTION = 0x1,
    PD_PAGENUMS = 0x2,
    PD_NOSELECTION = 0x4,
    PD_NOPAGENUMS = 0x8,
    PD_COLLATE = 0x10,
    PD_PRINTTOFILE = 0x20,
    PD_NOWARNING = 0x80,
    PD_RETURNDC = 0x100,
    PD_DISABLEPRINTTOFILE = 0x80000,
    PD_HIDEPRINTTOFILE = 0x100000,
};
// Flags of the page-setup dialog.
enum : long {
    PSD_MINMARGINS = 0x1,
    PSD_MARGINS = 0x2,
    PSD_INTHOUSANDTHSOFINCHES = 0x4,
    PSD_INHUNDREDTHSOFMILLIMETERS = 0x8,
    PSD_DISABLEMARGINS = 0x10,
    PSD_DISABLEPRINTER = 0x20,
    PSD_DISABLEORIENTATION = 0x100,
    PSD_DISABLEPAPER = 0x200,
};

struct FontChoice {
    QString name;
    double size = 9;
    bool bold = false, italic = false, underline = false, strikeout = false;
};

// The print and page-setup dialogs' settings. Margins are in thousandths of an inch, or
// hundredths of a millimetre with PSD_INHUNDREDTHSOFMILLIMETERS.
struct PrintSetup {
    int fromPage = 0, toPage = 0, minPage = 0, maxPage = 0, copies = 1;
    QMarginsF margins, minMargins;
    int paperSize = 0;   // the platform's paper number (9 = A4); 0 keeps the printer's
    int orientation = 1; // 1 portrait, 2 landscape
    int printQuality = 0;
    QString printer;
};

// What an open file dialog tells its owner; ConfirmOK answers false to keep the dialog open.
enum class DialogEvent { Init, TypeChange, FolderChange, FileChange, ConfirmOK, Close };

// One dialog: kind is "open", "save", "font", "color", "print" or "pagesetup". Flags are the
// kind's platform flags above; filterIndex counts from 1; colours are 0x00BBGGRR.
struct DialogRequest {
    QString kind, fileName, filter, folder;
    FontChoice font;
    QString title; // "" for the dialog's own
    long flags = 0;
    int filterIndex = 1;
    bool readOnly = false;
    QString defaultExt;
    uint32_t color = 0;
    std::array<uint32_t, 16> customColors{};
    PrintSetup print;
    std::function<bool(DialogEvent)> notify; // may be empty
};
// The user's choice; what is left unset keeps the request's value.
struct DialogAnswer {
    QString fileName;
    FontChoice font;
    std::optional<int> filterIndex;
    std::optional<bool> readOnly;
    QStringList fileNames; // every name of a multiple selection
    QString fileTitle;     // "" for the chosen name's own
    std::optional<uint32_t> color;
    std::optional<std::array<uint32_t, 16>> customColors;
    long flags = 0; // flags the user set in the dialog (PD_ and PSD_ choices)
    std::optional<PrintSetup> print;
};
using DialogHook = std::function<std::optional<DialogAnswer>(const DialogRequest&)>;

// Asks the user (or the test's hook); nullopt when cancelled. Print and page-setup dialogs set up
// the printer given (or one of their own).
std::optional<DialogAnswer> ShowDialog(const DialogRequest& r, QPrinter* printer = nullptr);
// The platform dialog for a request and the answer read from it once accepted; split so that
// tests can look at the real dialogs without showing them. The printer of a print or page-setup
// dialog must outlive the dialog.
std::unique_ptr<QDialog> MakeDialog(const DialogRequest& r, QPrinter* printer = nullptr);
DialogAnswer ReadDialog(QDialog& d, const DialogRequest& r, QPrinter* printer = nullptr);

class CommonDialog {
public:
    QString FileName, Filter, DialogTitle, InitDir, HelpFile;
    bool CancelError = false;
    long Flags = 0;
    int HelpCommand = 0;
    QString FontName;
    double FontSize = 9;
    bool FontBold = false, FontItalic = false, FontUnderline = false;

    void ShowSave(); // raises cdlCancel when cancelled and CancelError is on
    void ShowOpen();
    void ShowFont();
    void ShowHelp();

private:
    void showFile(const QString& kind);
};

// The "|"-joined filter ("Description|*.a;*.b|...") as the dialogs' own form.
QString DialogFilter(const QString& pipeFilter);

// Plain dialogs: "" when cancelled.
QString GetOpenFileName(const QString& pipeFilter, const QString& initialFolder, const QString& title = QString());
QString GetSaveFileName(const QString& proposedName, const QString& pipeFilter, const QString& initialFolder);

} // namespace vb
