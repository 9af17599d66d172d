#include "imaging/GCommonDialog.h"

#include "platform/system/VBError.h"

#include <QApplication>
#include <QFileInfo>
#include <QPalette>
#include <QPrinter>

namespace {
uint32_t colorRef(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

// Names handed back through a buffer of kMaxPath characters, its terminating zero included.
bool fits(const QString& s) { return s.size() < GCommonDialog::kMaxPath; }

// The file-title part of a path: what follows its last separator.
QString titleOf(const QString& path) {
    const qsizetype cut = std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    return path.mid(cut + 1);
}

int hDlgCounter = 0;
} // namespace

GCommonDialog::GCommonDialog() = default;
GCommonDialog::~GCommonDialog() = default;

QString GCommonDialog::StrZToStr(const QString& s) {
    const qsizetype zero = s.indexOf(QChar(0));
    return zero < 0 ? s : s.left(zero);
}

QString GCommonDialog::FilterToZString(const QString& sFilter) {
    QString z = sFilter;
    z.replace(QLatin1Char('|'), QChar(0));
    z.replace(QLatin1Char(':'), QChar(0));
    return z + QChar(0) + QChar(0);
}

long GCommonDialog::ObjectErrorNumber(long lNumber) { return int32_t(uint32_t(lNumber) | 0x80040000u); }

void GCommonDialog::RaiseDialogError(long lNumber) {
    if (lNumber < 1001) throw vb::VBError(lNumber, vb::AppExeName() + QStringLiteral(".VBError"), vb::ErrorText(lNumber));
    throw vb::VBError(ObjectErrorNumber(lNumber), vb::AppExeName() + QStringLiteral(".CommonDialog"),
                      QStringLiteral("Common dialog error %1").arg(lNumber));
}

long GCommonDialog::DialogHook(long hDlg, long msg, long wParam, long lParam) {
    (void)wParam;
    if (!NotifyObject) return 0;
    switch (msg) {
    case WM_INITDIALOG:
        NotifyObject->InitDialog(hDlg);
        break;
    case WM_NOTIFY:
        switch (lParam) {
        case CDN_TYPECHANGE: NotifyObject->TypeChange(hDlg); break;
        case CDN_FILEOK:
            // The message result 1 refuses the OK.
            if (!NotifyObject->ConfirmOK()) return 1;
            break;
        case CDN_FOLDERCHANGE: NotifyObject->FolderChange(hDlg); break;
        case CDN_SELCHANGE: NotifyObject->FileChange(hDlg); break;
        default: break;
        }
        break;
    case WM_NCDESTROY:
        NotifyObject->DialogClose();
        break;
    default:
        break;
    }
    return 0;
}

bool GCommonDialog::fileDialog(bool bSave, QString& Filename, QString& FileTitle, bool bMustExistOrPrompt,
                               bool MultiSelect, bool& ReadOnly, bool HideReadOnly, QString& Filter, int& FilterIndex,
                               const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt, long& flags) {
    m_lExtendedError = 0;
    long f = flags & ~(vb::OFN_ENABLEHOOK | vb::OFN_ENABLETEMPLATE);
    if (bMustExistOrPrompt) f |= bSave ? vb::OFN_OVERWRITEPROMPT : vb::OFN_FILEMUSTEXIST;
    if (MultiSelect) f |= vb::OFN_ALLOWMULTISELECT;
    if (ReadOnly) f |= vb::OFN_READONLY;
    if (HideReadOnly) f |= vb::OFN_HIDEREADONLY;

    vb::DialogRequest r;
    r.kind = bSave ? QStringLiteral("save") : QStringLiteral("open");
    r.fileName = StrZToStr(Filename.left(kMaxPath - 1));
    // The dialog reads the zero-separated filter; the runtime takes it "|"-separated.
    QString z = FilterToZString(Filter);
    while (z.endsWith(QChar(0))) z.chop(1);
    r.filter = z.replace(QChar(0), QLatin1Char('|'));
    r.filterIndex = FilterIndex;
    r.folder = InitDir;
    r.title = DlgTitle;
    r.defaultExt = DefaultExt;
    r.readOnly = ReadOnly;
    r.flags = f;
    if (NotifyObject) {
        const long hDlg = ++hDlgCounter;
        r.flags |= vb::OFN_ENABLEHOOK;
        r.notify = [this, hDlg](vb::DialogEvent e) {
            switch (e) {
            case vb::DialogEvent::Init: DialogHook(hDlg, WM_INITDIALOG, 0, 0); break;
            case vb::DialogEvent::TypeChange: DialogHook(hDlg, WM_NOTIFY, 0, CDN_TYPECHANGE); break;
            case vb::DialogEvent::FolderChange: DialogHook(hDlg, WM_NOTIFY, 0, CDN_FOLDERCHANGE); break;
            case vb::DialogEvent::FileChange: DialogHook(hDlg, WM_NOTIFY, 0, CDN_SELCHANGE); break;
            case vb::DialogEvent::ConfirmOK: return DialogHook(hDlg, WM_NOTIFY, 0, CDN_FILEOK) == 0;
            case vb::DialogEvent::Close: DialogHook(hDlg, WM_NCDESTROY, 0, 0); break;
            }
            return true;
        };
    }

    const std::optional<vb::DialogAnswer> a = vb::ShowDialog(r);
    QString sName, sTitle;
    if (a) {
        // Several names come back as the folder, then the names, each closed by a zero: the
        // text up to the first zero is the folder.
        sName = a->fileNames.size() > 1 ? QFileInfo(a->fileNames.first()).path() : a->fileName;
        sTitle = a->fileTitle.isEmpty() ? titleOf(a->fileNames.size() > 1 ? a->fileNames.first() : a->fileName) : a->fileTitle;
    }
    m_lApiReturn = a && fits(sName) && fits(sTitle) ? 1 : 0;
    if (m_lApiReturn == 0) {
        // A name that does not fit is the dialog library's failure, not a cancel.
        if (a) m_lExtendedError = FNERR_BUFFERTOOSMALL;
        Filename.clear();
        FileTitle.clear();
        Filter.clear();
        flags = 0;
        FilterIndex = -1;
        return false;
    }
    long out = r.flags & ~(vb::OFN_ENABLEHOOK | vb::OFN_READONLY);
    if (a->readOnly.value_or(ReadOnly)) out |= vb::OFN_READONLY;
    if (!DefaultExt.isEmpty() && QFileInfo(titleOf(sName)).suffix().compare(DefaultExt, Qt::CaseInsensitive) != 0)
        out |= vb::OFN_EXTENSIONDIFFERENT;
    Filename = sName;
    FileTitle = sTitle;
    flags = out;
    FilterIndex = a->filterIndex.value_or(FilterIndex);
    ReadOnly = (out & vb::OFN_READONLY) != 0;
    return true;
}

bool GCommonDialog::VBGetOpenFileName(QString& Filename, QString& FileTitle, bool FileMustExist, bool MultiSelect,
                                      bool& ReadOnly, bool HideReadOnly, QString& Filter, int& FilterIndex,
                                      const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt,
                                      long Owner, long& flags) {
    (void)Owner; // the runtime's dialogs belong to the active window
    return fileDialog(false, Filename, FileTitle, FileMustExist, MultiSelect, ReadOnly, HideReadOnly, Filter,
                      FilterIndex, InitDir, DlgTitle, DefaultExt, flags);
}

bool GCommonDialog::VBGetSaveFileName(QString& Filename, QString& FileTitle, bool OverWritePrompt, bool MultiSelect,
                                      bool& ReadOnly, bool HideReadOnly, QString& Filter, int& FilterIndex,
                                      const QString& InitDir, const QString& DlgTitle, const QString& DefaultExt,
                                      long Owner, long& flags) {
    (void)Owner;
    return fileDialog(true, Filename, FileTitle, OverWritePrompt, MultiSelect, ReadOnly, HideReadOnly, Filter,
                      FilterIndex, InitDir, DlgTitle, DefaultExt, flags);
}

QString GCommonDialog::VBGetFileTitle(const QString& sFIle) const {
    const QString t = titleOf(StrZToStr(sFIle));
    return fits(t) ? t : QString();
}

void GCommonDialog::InitCustomColours() {
    if (m_bCustomColoursSet) return;
    m_bCustomColoursSet = true;
    // The first sixteen system colours, from the desktop's palette.
    const QPalette p = QGuiApplication::palette();
    const QPalette::ColorRole roles[16] = {
        QPalette::Midlight, QPalette::Dark,   QPalette::Highlight, QPalette::Mid,
        QPalette::Window,   QPalette::Base,   QPalette::Shadow,    QPalette::WindowText,
        QPalette::Text,     QPalette::HighlightedText, QPalette::Button, QPalette::Button,
        QPalette::Dark,     QPalette::Highlight, QPalette::HighlightedText, QPalette::Button,
    };
    for (size_t i = 0; i < 16; ++i) m_lCustomColours[i] = colorRef(p.color(QPalette::Active, roles[i]));
}

uint32_t GCommonDialog::CustomColor(int iIndex) {
    if (iIndex < 0 || iIndex > 15) RaiseDialogError(9);
    InitCustomColours();
    return m_lCustomColours[size_t(iIndex)];
}

void GCommonDialog::SetCustomColor(int iIndex, uint32_t Color) {
    if (iIndex < 0 || iIndex > 15) RaiseDialogError(9);
    InitCustomColours();
    m_lCustomColours[size_t(iIndex)] = Color & 0xffffffu;
}

bool GCommonDialog::VBChooseColor(uint32_t& Color, bool AnyColor, bool FullOpen, bool DisableFullOpen, long Owner,
                                  long flags) {
    (void)Owner;
    InitCustomColours();
    m_lExtendedError = 0;
    vb::DialogRequest r;
    r.kind = QStringLiteral("color");
    r.color = Color & 0xffffffu;
    r.customColors = m_lCustomColours;
    r.flags = (flags & ~0x10L) | vb::CC_RGBINIT | (AnyColor ? long(vb::CC_ANYCOLOR) : 0L) | (FullOpen ? long(vb::CC_FULLOPEN) : 0L) |
              (DisableFullOpen ? long(vb::CC_PREVENTFULLOPEN) : 0L);
    const std::optional<vb::DialogAnswer> a = ask(r);
    if (!a) return false;
    Color = a->color.value_or(r.color) & 0xffffffu;
    if (a->customColors) m_lCustomColours = *a->customColors;
    return true;
}

bool GCommonDialog::VBChooseFont(vb::FontChoice& CurFont, long PrinterDC, long Owner, uint32_t& Color, int MinSize,
                                 int MaxSize, long flags) {
    (void)PrinterDC;
    (void)Owner;
    m_lExtendedError = 0;
    vb::DialogRequest r;
    r.kind = QStringLiteral("font");
    r.font = CurFont;
    r.color = Color & 0xffffffu;
    r.flags = (flags & ~0x8L) | vb::CF_EFFECTS | ((MinSize > 0 || MaxSize > 0) ? long(vb::CF_LIMITSIZE) : 0L);
    if (!(r.flags & 0x3)) r.flags |= vb::CF_SCREENFONTS;
    const std::optional<vb::DialogAnswer> a = ask(r);
    if (!a) return false;
    CurFont = a->font;
    // The dialog keeps the size within the limits it was given.
    if (MinSize > 0 && CurFont.size < MinSize) CurFont.size = MinSize;
    if (MaxSize > 0 && CurFont.size > MaxSize) CurFont.size = MaxSize;
    Color = a->color.value_or(r.color) & 0xffffffu;
    return true;
}

QPrinter* GCommonDialog::printer(QPrinter* given) {
    if (given) return given;
    if (!m_printer) m_printer = std::make_unique<QPrinter>();
    return m_printer.get();
}

std::optional<vb::DialogAnswer> GCommonDialog::ask(vb::DialogRequest& r, QPrinter* p) {
    if (p) r.print.printer = p->printerName();
    std::optional<vb::DialogAnswer> a = vb::ShowDialog(r, p);
    m_lApiReturn = a ? 1 : 0;
    return a;
}

bool GCommonDialog::VBPrintDlg(QPrinter*& hdc, EPrintRange& PrintRange, bool DisablePageNumbers, int& FromPage,
                               int& ToPage, bool DisableSelection, int& Copies, bool ShowPrintToFile,
                               bool DisablePrintToFile, bool& PrintToFile, bool& Collate, bool PreventWarning,
                               long Owner, QPrinter* Printer, long flags) {
    (void)Owner;
    m_lExtendedError = 0;
    vb::DialogRequest r;
    r.kind = QStringLiteral("print");
    long f = (flags & ~0x1000L) | vb::PD_RETURNDC;
    if (PrintRange == eprSelection) f |= vb::PD_SELECTION;
    if (PrintRange == eprPageNumbers) f |= vb::PD_PAGENUMS;
    if (DisablePageNumbers) f |= vb::PD_NOPAGENUMS;
    if (DisableSelection) f |= vb::PD_NOSELECTION;
    if (!ShowPrintToFile) f |= vb::PD_HIDEPRINTTOFILE;
    if (DisablePrintToFile) f |= vb::PD_DISABLEPRINTTOFILE;
    if (PrintToFile) f |= vb::PD_PRINTTOFILE;
    if (Collate) f |= vb::PD_COLLATE;
    if (PreventWarning) f |= vb::PD_NOWARNING;
    r.flags = f;
    r.print.fromPage = FromPage;
    r.print.toPage = ToPage;
    r.print.minPage = FromPage > 0 ? 1 : 0;
    r.print.maxPage = std::max(ToPage, FromPage);
    r.print.copies = Copies;
    QPrinter* p = printer(Printer);
    const std::optional<vb::DialogAnswer> a = ask(r, p);
    if (!a) return false;
    const vb::PrintSetup s = a->print.value_or(r.print);
    PrintRange = a->flags & vb::PD_SELECTION ? eprSelection : a->flags & vb::PD_PAGENUMS ? eprPageNumbers : eprAll;
    FromPage = s.fromPage;
    ToPage = s.toPage;
    Copies = s.copies;
    PrintToFile = (a->flags & vb::PD_PRINTTOFILE) != 0;
    Collate = (a->flags & vb::PD_COLLATE) != 0;
    // The printer carries what was chosen, also when a test answered.
    p->setCopyCount(std::max(1, Copies));
    p->setCollateCopies(Collate);
    if (FromPage > 0 && ToPage >= FromPage) p->setFromTo(FromPage, ToPage);
    p->setPrintRange(PrintRange == eprSelection ? QPrinter::Selection : PrintRange == eprPageNumbers ? QPrinter::PageRange : QPrinter::AllPages);
    if (!s.printer.isEmpty() && s.printer != p->printerName()) p->setPrinterName(s.printer);
    hdc = p;
    return true;
}

bool GCommonDialog::VBPageSetupDlg(long Owner, bool DisableMargins, bool DisableOrientation, bool DisablePaper,
                                   bool DisablePrinter, int& LeftMargin, int MinLeftMargin, int& RightMargin,
                                   int MinRightMargin, int& TopMargin, int MinTopMargin, int& BottomMargin,
                                   int MinBottomMargin, int& PaperSize, int& Orientation, int& PrintQuality, long Units,
                                   QPrinter* Printer, long flags) {
    (void)Owner;
    m_lExtendedError = 0;
    vb::DialogRequest r;
    r.kind = QStringLiteral("pagesetup");
    long f = flags | vb::PSD_MARGINS | vb::PSD_MINMARGINS |
             (Units == vb::PSD_INHUNDREDTHSOFMILLIMETERS ? vb::PSD_INHUNDREDTHSOFMILLIMETERS : vb::PSD_INTHOUSANDTHSOFINCHES);
    if (DisableMargins) f |= vb::PSD_DISABLEMARGINS;
    if (DisableOrientation) f |= vb::PSD_DISABLEORIENTATION;
    if (DisablePaper) f |= vb::PSD_DISABLEPAPER;
    if (DisablePrinter) f |= vb::PSD_DISABLEPRINTER;
    r.flags = f;
    r.print.margins = QMarginsF(LeftMargin, TopMargin, RightMargin, BottomMargin);
    r.print.minMargins = QMarginsF(MinLeftMargin, MinTopMargin, MinRightMargin, MinBottomMargin);
    r.print.paperSize = PaperSize;
    r.print.orientation = Orientation;
    r.print.printQuality = PrintQuality;
    QPrinter* p = printer(Printer);
    const std::optional<vb::DialogAnswer> a = ask(r, p);
    if (!a) return false;
    const vb::PrintSetup s = a->print.value_or(r.print);
    // Margins never fall below their minimum.
    LeftMargin = std::max(int(std::lround(s.margins.left())), MinLeftMargin);
    TopMargin = std::max(int(std::lround(s.margins.top())), MinTopMargin);
    RightMargin = std::max(int(std::lround(s.margins.right())), MinRightMargin);
    BottomMargin = std::max(int(std::lround(s.margins.bottom())), MinBottomMargin);
    PaperSize = s.paperSize;
    Orientation = s.orientation;
    PrintQuality = s.printQuality;
    const double scale = f & vb::PSD_INHUNDREDTHSOFMILLIMETERS ? 100.0 : 1000.0;
    if (PaperSize > 0) p->setPageSize(QPageSize(QPageSize::id(PaperSize)));
    p->setPageOrientation(Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    p->setPageMargins(QMarginsF(LeftMargin, TopMargin, RightMargin, BottomMargin) / scale,
                      f & vb::PSD_INHUNDREDTHSOFMILLIMETERS ? QPageLayout::Millimeter : QPageLayout::Inch);
    return true;
}
