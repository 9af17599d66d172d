#pragma once
// The common-dialog control: save and open dialogs, the font dialog and help. Tests answer the
// dialogs through SetDialogHook.
#include <QString>
#include <functional>
#include <optional>

namespace vb {

constexpr long cdlCancel = 32755;

struct FontChoice {
    QString name;
    double size = 9;
    bool bold = false, italic = false, underline = false;
};

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
};

// The "|"-joined filter ("Description|*.a;*.b|...") as the dialogs' own form.
QString DialogFilter(const QString& pipeFilter);

// Plain dialogs: "" when cancelled.
QString GetOpenFileName(const QString& pipeFilter, const QString& initialFolder, const QString& title = QString());
QString GetSaveFileName(const QString& proposedName, const QString& pipeFilter, const QString& initialFolder);

// Tests answer every dialog: kind is "open", "save" or "font"; return nullopt for cancel.
struct DialogRequest {
    QString kind, fileName, filter, folder;
    FontChoice font;
};
struct DialogAnswer {
    QString fileName;
    FontChoice font;
};
using DialogHook = std::function<std::optional<DialogAnswer>(const DialogRequest&)>;
void SetDialogHook(DialogHook hook);

} // namespace vb
