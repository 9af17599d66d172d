#pragma once
// The standard dialogs (open, save, file title, colour, font, print, page setup) behind
// procedures with plain arguments. The dialogs are the runtime's (vb::ShowDialog), so tests
// answer them as they answer every dialog.
#include "platform/system/CommonDialog.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>

class QPrinter;

// The notification object: told what happens in an open or save dialog while it is shown.
class IGCommonDialogNotify {
public:
    virtual ~IGCommonDialogNotify() = default;
    virtual void InitDialog(long hDlg) { (void)hDlg; }
    virtual void TypeChange(long hDlg) { (void)hDlg; }
    // False keeps the dialog open.
    virtual bool ConfirmOK() { return true; }
    virtual void FolderChange(long hDlg) { (void)hDlg; }
    virtual void FileChange(long hDlg) { (void)hDlg; }
    virtual void DialogClose() {}
};

class GCommonDialog {
public:
    // Messages and notification codes the dialog hook understands.
    static constexpr long WM_INITDIALOG = 0x110, WM_NOTIFY = 0x4E, WM_NCDESTROY = 0x82;
    static constexpr long CDN_SELCHANGE = -602, CDN_FOLDERCHANGE = -603, CDN_FILEOK = -606, CDN_TYPECHANGE = -607;
    // The dialog library's error for a name that does not fit its buffer.
    static constexpr long FNERR_BUFFERTOOSMALL = 0x3003;
    static constexpr int kMaxPath = 260;
    enum EPrintRange { eprAll = 0, eprSelection = 1, eprPageNumbers = 2 };

    GCommonDialog();
    ~GCommonDialog();
    GCommonDialog(const GCommonDialog&) = delete;
    GCommonDialog& operator=(const GCommonDialog&) = delete;

    // The notification object; may be empty. Not owned.
    IGCommonDialogNotify* NotifyObject = nullptr;

    // lParam of a notification message is its code.
    long DialogHook(long hDlg, long msg, long wParam, long lParam);
    long APIReturn() const { return m_lApiReturn; }
    long ExtendedError() const { return m_lExtendedError; }

    bool VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist, bool MultiSelect, bool& ReadOnly,
                           bool HideReadOnly, QString& Filter, int& FilterIndex, const QString& InitDir,
                           const QString& DlgTitle, const QString& DefaultExt, long Owner, long& flags);
    bool VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt, bool MultiSelect, bool& ReadOnly,
                           bool HideReadOnly, QString& Filter, int& FilterIndex, const QString& InitDir,
                           const QString& DlgTitle, const QString& DefaultExt, long Owner, long& flags);
    QString VBGetFileTitle(const QString& sFIle) const;
    // Colours are 0x00BBGGRR.
    bool VBChooseColor(uint32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, long Owner, long flags);
    uint32_t CustomColor(int iIndex);
    void SetCustomColor(int iIndex, uint32_t Color);
    // Sizes in points; MinSize and MaxSize 0 for no limit.
    bool VBChooseFont(vb::FontChoice& CurFont, long PrinterDC, long Owner, uint32_t& Color, int MinSize, int MaxSize,
                      long flags);
    // hdc: the printer to draw on, set up as chosen (the given Printer, or one the object keeps).
    bool VBPrintDlg(QPrinter*& hdc, EPrintRange& PrintRange, bool DisablePageNumbers, int& FromPage, int& ToPage,
                    bool DisableSelection, int& Copies, bool ShowPrintToFile, bool DisablePrintToFile,
                    bool& PrintToFile, bool& Collate, bool PreventWarning, long Owner, QPrinter* Printer, long flags);
    // Margins in Units (PSD_INTHOUSANDTHSOFINCHES or PSD_INHUNDREDTHSOFMILLIMETERS); PaperSize is the
    // platform's paper number; Orientation 1 portrait, 2 landscape.
    bool VBPageSetupDlg(long Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper, bool DisablePrinter,
                        int& LeftMargin, int MinLeftMargin, int& RightMargin, int MinRightMargin, int& TopMargin,
                        int MinTopMargin, int& BottomMargin, int MinBottomMargin, int& PaperSize, int& Orientation,
                        int& PrintQuality, long Units, QPrinter* Printer, long flags);

    // The filter with its separators ("|" and ":") as zero characters, closed by two more.
    static QString FilterToZString(const QString& sFilter);
    static QString StrZToStr(const QString& s);
    static long ObjectErrorNumber(long lNumber);
    // Raises a dialog error: a run-time error (below 1001) with the runtime's text for it, or an
    // object error of the common dialog.
    [[noreturn]] static void RaiseDialogError(long lNumber);

private:
    bool fileDialog(bool bSave, QString& Filename, QString& FileTitle, bool bMustExistOrPrompt, bool MultiSelect,
                    bool& ReadOnly, bool HideReadOnly, QString& Filter, int& FilterIndex, const QString& InitDir,
                    const QString& DlgTitle, const QString& DefaultExt, long& flags);
    void InitCustomColours();
    QPrinter* printer(QPrinter* given);
    // Shows the dialog and keeps whether it was answered; a print or page-setup dialog is handed
    // the printer it sets up, under the printer's name.
    std::optional<vb::DialogAnswer> ask(vb::DialogRequest& r, QPrinter* p = nullptr);

    long m_lApiReturn = 0;
    long m_lExtendedError = 0;
    bool m_bCustomColoursSet = false;
    std::array<uint32_t, 16> m_lCustomColours{};
    std::unique_ptr<QPrinter> m_printer;
};
