#include "platform/system/CommonDialog.h"

#include "platform/window/App.h"
#include "platform/system/HelpViewer.h"
#include "platform/system/Seams.h"
#include "platform/system/VBError.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGridLayout>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QStringList>

namespace vb {
namespace {
DialogHook& hook() { return seams().dialog; }
bool gui() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

QColor fromColorRef(uint32_t c) { return QColor(int(c & 0xff), int((c >> 8) & 0xff), int((c >> 16) & 0xff)); }
uint32_t toColorRef(const QColor& c) { return uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16; }

// The file dialog tells its owner what happens in it, and lets the owner refuse the OK.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, std::function<bool(DialogEvent)> notify) : QFileDialog(parent), m_notify(std::move(notify)) {
        setOption(QFileDialog::DontUseNativeDialog, true);
        if (!m_notify) return;
        connect(this, &QFileDialog::filterSelected, this, [this] { m_notify(DialogEvent::TypeChange); });
        connect(this, &QFileDialog::directoryEntered, this, [this] { m_notify(DialogEvent::FolderChange); });
        connect(this, &QFileDialog::currentChanged, this, [this] { m_notify(DialogEvent::FileChange); });
        connect(this, &QDialog::finished, this, [this] { m_notify(DialogEvent::Close); });
    }
    void accept() override {
        if (m_notify && !m_notify(DialogEvent::ConfirmOK)) return;
        QFileDialog::accept();
    }

protected:
    void showEvent(QShowEvent* e) override {
        QFileDialog::showEvent(e);
        if (m_notify && !m_initDone) {
            m_initDone = true;
            m_notify(DialogEvent::Init);
        }
    }

private:
    std::function<bool(DialogEvent)> m_notify;
    bool m_initDone = false;
};

std::unique_ptr<QDialog> makeFileDialog(const DialogRequest& r) {
    auto d = std::make_unique<FileDialog>(QApplication::activeWindow(), r.notify);
    const bool save = r.kind == QLatin1String("save");
    if (!r.title.isEmpty()) d->setWindowTitle(r.title);
    const QStringList filters = DialogFilter(r.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    d->setNameFilters(filters);
    if (r.filterIndex >= 1 && r.filterIndex <= filters.size()) d->selectNameFilter(filters[r.filterIndex - 1]);
    d->setDirectory(r.folder.isEmpty() ? QDir::currentPath() : r.folder);
    if (!r.defaultExt.isEmpty()) d->setDefaultSuffix(r.defaultExt);
    if (save) {
        d->setAcceptMode(QFileDialog::AcceptSave);
        d->setFileMode(QFileDialog::AnyFile);
        // Unless asked to, the caller asks before replacing a file itself.
        d->setOption(QFileDialog::DontConfirmOverwrite, !(r.flags & OFN_OVERWRITEPROMPT));
    } else {
        d->setAcceptMode(QFileDialog::AcceptOpen);
        // Without "file must exist" a name not yet on the disk may be given; several names are
        // always existing ones.
        d->setFileMode(r.flags & OFN_ALLOWMULTISELECT ? QFileDialog::ExistingFiles
                       : r.flags & OFN_FILEMUSTEXIST  ? QFileDialog::ExistingFile
                                                      : QFileDialog::AnyFile);
    }
    if (!r.fileName.isEmpty()) d->selectFile(r.fileName);
    if (!save && !(r.flags & OFN_HIDEREADONLY)) {
        if (auto* grid = qobject_cast<QGridLayout*>(d->layout())) {
            auto* box = new QCheckBox(QStringLiteral("Schreibgeschützt öffnen"), d.get());
            box->setObjectName(QStringLiteral("readOnly"));
            box->setChecked(r.readOnly);
            grid->addWidget(box, grid->rowCount(), 0, 1, grid->columnCount());
        }
    }
    return d;
}

std::unique_ptr<QDialog> makeFontDialog(const DialogRequest& r) {
    QFont initial(r.font.name.isEmpty() ? QApplication::font().family() : r.font.name);
    if (r.font.size > 0) initial.setPointSizeF(r.font.size);
    initial.setBold(r.font.bold);
    initial.setItalic(r.font.italic);
    initial.setUnderline(r.font.underline);
    initial.setStrikeOut(r.font.strikeout);
    auto d = std::make_unique<QFontDialog>(initial, QApplication::activeWindow());
    QFontDialog::FontDialogOptions o = QFontDialog::DontUseNativeDialog;
    if (r.flags & (CF_TTONLY | CF_SCALABLEONLY)) o |= QFontDialog::ScalableFonts;
    if (r.flags & CF_FIXEDPITCHONLY) o |= QFontDialog::MonospacedFonts;
    d->setOptions(o);
    d->setCurrentFont(initial);
    if (!r.title.isEmpty()) d->setWindowTitle(r.title);
    // The Apply button tells nobody anything without a hook, as on the original platform.
    if (r.flags & CF_APPLY)
        if (auto* buttons = d->findChild<QDialogButtonBox*>()) buttons->addButton(QDialogButtonBox::Apply);
    return d;
}

std::unique_ptr<QDialog> makeColorDialog(const DialogRequest& r) {
    for (int i = 0; i < 16; ++i) QColorDialog::setCustomColor(i, fromColorRef(r.customColors[size_t(i)]));
    auto d = std::make_unique<QColorDialog>(fromColorRef(r.color), QApplication::activeWindow());
    d->setOption(QColorDialog::DontUseNativeDialog, true);
    if (!r.title.isEmpty()) d->setWindowTitle(r.title);
    return d;
}

QPageLayout::Unit pageUnit(long flags) { return flags & PSD_INHUNDREDTHSOFMILLIMETERS ? QPageLayout::Millimeter : QPageLayout::Inch; }
double pageScale(long flags) { return flags & PSD_INHUNDREDTHSOFMILLIMETERS ? 100.0 : 1000.0; }

std::unique_ptr<QDialog> makePrintDialog(const DialogRequest& r, QPrinter* printer) {
    const PrintSetup& p = r.print;
    printer->setCopyCount(std::max(1, p.copies));
    printer->setCollateCopies(r.flags & PD_COLLATE);
    if (p.fromPage > 0 && p.toPage >= p.fromPage) printer->setFromTo(p.fromPage, p.toPage);
    printer->setPrintRange(r.flags & PD_SELECTION ? QPrinter::Selection
                           : r.flags & PD_PAGENUMS ? QPrinter::PageRange
                                                   : QPrinter::AllPages);
    auto d = std::make_unique<QPrintDialog>(printer, QApplication::activeWindow());
    if (p.maxPage > 0) d->setMinMax(std::max(1, p.minPage), p.maxPage);
    QAbstractPrintDialog::PrintDialogOptions o = QAbstractPrintDialog::PrintShowPageSize | QAbstractPrintDialog::PrintCollateCopies;
    if (!(r.flags & PD_NOSELECTION)) o |= QAbstractPrintDialog::PrintSelection;
    if (!(r.flags & PD_NOPAGENUMS)) o |= QAbstractPrintDialog::PrintPageRange;
    if (!(r.flags & (PD_DISABLEPRINTTOFILE | PD_HIDEPRINTTOFILE))) o |= QAbstractPrintDialog::PrintToFile;
    d->setOptions(o);
    if (!r.title.isEmpty()) d->setWindowTitle(r.title);
    return d;
}

std::unique_ptr<QDialog> makePageSetupDialog(const DialogRequest& r, QPrinter* printer) {
    const PrintSetup& p = r.print;
    const double s = pageScale(r.flags);
    const QPageLayout::Unit unit = pageUnit(r.flags);
    if (p.paperSize > 0) printer->setPageSize(QPageSize(QPageSize::id(p.paperSize)));
    printer->setPageOrientation(p.orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait);
    if (r.flags & PSD_MARGINS) printer->setPageMargins(p.margins / s, unit);
    auto d = std::make_unique<QPageSetupDialog>(printer, QApplication::activeWindow());
    if (!r.title.isEmpty()) d->setWindowTitle(r.title);
    return d;
}

} // namespace

std::unique_ptr<QDialog> MakeDialog(const DialogRequest& r, QPrinter* printer) {
    if (r.kind == QLatin1String("font")) return makeFontDialog(r);
    if (r.kind == QLatin1String("color")) return makeColorDialog(r);
    if (r.kind == QLatin1String("print")) return makePrintDialog(r, printer);
    if (r.kind == QLatin1String("pagesetup")) return makePageSetupDialog(r, printer);
    return makeFileDialog(r);
}

DialogAnswer ReadDialog(QDialog& dialog, const DialogRequest& r, QPrinter* printer) {
    DialogAnswer a;
    if (auto* d = qobject_cast<QFontDialog*>(&dialog)) {
        const QFont f = d->currentFont();
        a.font = {f.family(), f.pointSizeF(), f.bold(), f.italic(), f.underline(), f.strikeOut()};
    } else if (auto* cd = qobject_cast<QColorDialog*>(&dialog)) {
        a.color = toColorRef(cd->currentColor());
        std::array<uint32_t, 16> custom{};
        for (int i = 0; i < 16; ++i) custom[size_t(i)] = toColorRef(QColorDialog::customColor(i));
        a.customColors = custom;
    } else if (qobject_cast<QPrintDialog*>(&dialog)) {
        PrintSetup p = r.print;
        p.copies = printer->copyCount();
        p.fromPage = printer->fromPage();
        p.toPage = printer->toPage();
        p.printer = printer->printerName();
        if (printer->printRange() == QPrinter::Selection) a.flags |= PD_SELECTION;
        if (printer->printRange() == QPrinter::PageRange) a.flags |= PD_PAGENUMS;
        if (printer->collateCopies()) a.flags |= PD_COLLATE;
        if (!printer->outputFileName().isEmpty()) a.flags |= PD_PRINTTOFILE;
        a.print = p;
    } else if (qobject_cast<QPageSetupDialog*>(&dialog)) {
        PrintSetup p = r.print;
        const double s = pageScale(r.flags);
        const QPageLayout layout = printer->pageLayout();
        p.margins = layout.margins(pageUnit(r.flags)) * s;
        p.paperSize = layout.pageSize().windowsId();
        p.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
        p.printer = printer->printerName();
        a.print = p;
    } else if (auto* fd = qobject_cast<QFileDialog*>(&dialog)) {
        a.fileNames = fd->selectedFiles();
        if (!a.fileNames.isEmpty()) a.fileName = a.fileNames.first();
        const int index = fd->nameFilters().indexOf(fd->selectedNameFilter());
        if (index >= 0) a.filterIndex = index + 1;
        if (auto* box = fd->findChild<QCheckBox*>(QStringLiteral("readOnly"))) a.readOnly = box->isChecked();
    }
    return a;
}

std::optional<DialogAnswer> ShowDialog(const DialogRequest& r, QPrinter* printer) {
    if (hook()) return hook()(r);
    if (!gui()) return std::nullopt;
    std::unique_ptr<QPrinter> own;
    const bool printing = r.kind == QLatin1String("print") || r.kind == QLatin1String("pagesetup");
    if (printing && !printer) printer = (own = std::make_unique<QPrinter>()).get();
    std::unique_ptr<QDialog> d = MakeDialog(r, printer);
    if (d->exec() != QDialog::Accepted) return std::nullopt;
    DialogAnswer a = ReadDialog(*d, r, printer);
    if (r.kind == QLatin1String("open") || r.kind == QLatin1String("save"))
        if (a.fileName.isEmpty()) return std::nullopt;
    return a;
}

QString DialogFilter(const QString& pipeFilter) {
    QString f = pipeFilter;
    if (!f.endsWith(QLatin1Char('|'))) f += QLatin1Char('|');
    const QStringList parts = f.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].isEmpty() && parts[i + 1].isEmpty()) continue;
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

namespace {
DialogRequest fileRequest(const QString& kind, const QString& fileName, const QString& filter, const QString& folder,
                          const QString& title = QString()) {
    DialogRequest r;
    r.kind = kind;
    r.fileName = fileName;
    r.filter = filter;
    r.folder = folder;
    r.title = title;
    // These dialogs offer no read-only choice.
    r.flags = OFN_HIDEREADONLY | (kind == QLatin1String("open") ? OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST : 0);
    return r;
}
[[noreturn]] void cancelled() { throw VBError(cdlCancel, QStringLiteral("CommonDialog"), QStringLiteral("Cancel was selected.")); }
} // namespace

QString GetOpenFileName(const QString& filter, const QString& folder, const QString& title) {
    const auto a = ShowDialog(fileRequest(QStringLiteral("open"), QString(), filter, folder, title));
    if (!a || a->fileName.size() > 260) return QString();
    return a->fileName;
}

QString GetSaveFileName(const QString& proposed, const QString& filter, const QString& folder) {
    const auto a = ShowDialog(fileRequest(QStringLiteral("save"), proposed, filter, folder));
    if (!a || a->fileName.size() > 260) return QString();
    return a->fileName;
}

void CommonDialog::showFile(const QString& kind) {
    DialogRequest r = fileRequest(kind, FileName, Filter, InitDir, DialogTitle);
    r.flags |= Flags;
    const auto a = ShowDialog(r);
    if (!a) {
        if (CancelError) cancelled();
        return;
    }
    FileName = a->fileName;
}

void CommonDialog::ShowSave() { showFile(QStringLiteral("save")); }

void CommonDialog::ShowOpen() { showFile(QStringLiteral("open")); }

void CommonDialog::ShowFont() {
    DialogRequest r;
    r.kind = QStringLiteral("font");
    r.font = {FontName, FontSize, FontBold, FontItalic, FontUnderline};
    r.flags = Flags;
    r.title = DialogTitle;
    const auto a = ShowDialog(r);
    if (!a) {
        if (CancelError) cancelled();
        return;
    }
    FontName = a->font.name;
    FontSize = a->font.size;
    FontBold = a->font.bold;
    FontItalic = a->font.italic;
    FontUnderline = a->font.underline;
}

// Without a help file of its own the control shows the program's.
void CommonDialog::ShowHelp() { Help::ShowContents(HelpFile.isEmpty() ? App::HelpFile() : HelpFile); }

} // namespace vb
