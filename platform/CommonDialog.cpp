#include "platform/CommonDialog.h"

#include "platform/HelpViewer.h"
#include "platform/VBError.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QStringList>

namespace vb {
namespace {
DialogHook& hook() {
    static DialogHook h;
    return h;
}
bool gui() { return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr; }

std::optional<DialogAnswer> ask(const DialogRequest& r) {
    if (hook()) return hook()(r);
    if (!gui()) return std::nullopt;
    if (r.kind == QLatin1String("font")) {
        bool ok = false;
        QFont initial(r.font.name, int(r.font.size));
        initial.setBold(r.font.bold);
        initial.setItalic(r.font.italic);
        const QFont f = QFontDialog::getFont(&ok, initial, QApplication::activeWindow(), QString(), QFontDialog::FontDialogOptions());
        if (!ok) return std::nullopt;
        DialogAnswer a;
        a.font = {f.family(), f.pointSizeF(), f.bold(), f.italic(), f.underline()};
        return a;
    }
    QFileDialog dlg(QApplication::activeWindow());
    dlg.setNameFilters(DialogFilter(r.filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    dlg.setDirectory(r.folder.isEmpty() ? QDir::currentPath() : r.folder);
    if (r.kind == QLatin1String("save")) {
        dlg.setAcceptMode(QFileDialog::AcceptSave);
        dlg.setFileMode(QFileDialog::AnyFile);
        // The program asks before replacing a file itself.
        dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!r.fileName.isEmpty()) dlg.selectFile(r.fileName);
    } else {
        dlg.setAcceptMode(QFileDialog::AcceptOpen);
        dlg.setFileMode(QFileDialog::ExistingFile);
    }
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return std::nullopt;
    return DialogAnswer{dlg.selectedFiles().first(), {}};
}
} // namespace

void SetDialogHook(DialogHook h) { hook() = std::move(h); }

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

QString GetOpenFileName(const QString& filter, const QString& folder, const QString&) {
    const auto a = ask({QStringLiteral("open"), QString(), filter, folder, {}});
    if (!a || a->fileName.size() > 260) return QString();
    return a->fileName;
}

QString GetSaveFileName(const QString& proposed, const QString& filter, const QString& folder) {
    const auto a = ask({QStringLiteral("save"), proposed, filter, folder, {}});
    if (!a || a->fileName.size() > 260) return QString();
    return a->fileName;
}

void CommonDialog::ShowSave() {
    const auto a = ask({QStringLiteral("save"), FileName, Filter, InitDir, {}});
    if (!a) {
        if (CancelError) throw VBError(cdlCancel, QStringLiteral("CommonDialog"), QStringLiteral("Cancel was selected."));
        return;
    }
    FileName = a->fileName;
}

void CommonDialog::ShowOpen() {
    const auto a = ask({QStringLiteral("open"), FileName, Filter, InitDir, {}});
    if (!a) {
        if (CancelError) throw VBError(cdlCancel, QStringLiteral("CommonDialog"), QStringLiteral("Cancel was selected."));
        return;
    }
    FileName = a->fileName;
}

void CommonDialog::ShowFont() {
    DialogRequest r{QStringLiteral("font"), {}, {}, {}, {FontName, FontSize, FontBold, FontItalic, FontUnderline}};
    const auto a = ask(r);
    if (!a) {
        if (CancelError) throw VBError(cdlCancel, QStringLiteral("CommonDialog"), QStringLiteral("Cancel was selected."));
        return;
    }
    FontName = a->font.name;
    FontSize = a->font.size;
    FontBold = a->font.bold;
    FontItalic = a->font.italic;
    FontUnderline = a->font.underline;
}

void CommonDialog::ShowHelp() { Help::ShowContents(HelpFile); }

} // namespace vb
