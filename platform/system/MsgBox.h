#pragma once
// The platform's message box. Tests answer it through Seams::msgBox.
#include <QString>
#include <functional>

namespace vb {

enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

int MsgBox(const QString& prompt, int style = vbOKOnly, const QString& title = QString());

using MsgBoxHandler = std::function<int(const QString& prompt, int style, const QString& title)>;

} // namespace vb
