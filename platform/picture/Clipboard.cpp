#include "platform/picture/Clipboard.h"

#include "platform/system/Seams.h"

#include <QClipboard>
#include <QGuiApplication>

namespace vb::Clipboard {
namespace {
// Without a GUI application (tools, some tests) the clipboard is this process's own.
QImage& localCopy() { return seams().clipboard; }
QClipboard* sys() {
    if (seams().privateClipboard) return nullptr;
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr;
}
} // namespace

void Clear() {
    localCopy() = QImage();
    if (auto* c = sys()) c->clear();
}
void SetData(const QImage& picture) {
    localCopy() = picture;
    if (auto* c = sys()) c->setImage(picture);
}
QImage GetData() {
    if (auto* c = sys()) {
        QImage img = c->image();
        if (!img.isNull()) return img;
    }
    return localCopy();
}
} // namespace vb::Clipboard
