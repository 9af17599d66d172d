#include "platform/system/MsgBox.h"

#include "platform/system/Seams.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace vb {
namespace {
MsgBoxHandler& handler() { return seams().msgBox; }
} // namespace

int MsgBox(const QString& prompt, int style, const QString& title) {
    if (handler()) return handler()(prompt, style, title);
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return vbOK;
    QMessageBox box;
    box.setWindowTitle(title.isEmpty() ? QCoreApplication::applicationName() : title);
    box.setText(prompt);
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    struct B { QMessageBox::StandardButton sb; int result; };
    std::vector<B> buttons;
    switch (style & 7) {
    case vbOKCancel: buttons = {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbAbortRetryIgnore: buttons = {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}}; break;
    case vbYesNoCancel: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}}; break;
    case vbYesNo: buttons = {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}}; break;
    case vbRetryCancel: buttons = {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}}; break;
    default: buttons = {{QMessageBox::Ok, vbOK}}; break;
    }
    QMessageBox::StandardButtons all;
    for (auto& b : buttons) all |= b.sb;
    box.setStandardButtons(all);
    const int r = box.exec();
    for (auto& b : buttons)
        if (r == b.sb) return b.result;
    return buttons.size() > 1 ? vbCancel : vbOK;
}

} // namespace vb
