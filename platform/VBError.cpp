#include "platform/VBError.h"

namespace vb {
namespace {
QString& exeName() {
    static QString name = QStringLiteral("vorad");
    return name;
}
} // namespace

QString AppExeName() { return exeName(); }
void SetAppExeName(const QString& name) { exeName() = name; }

} // namespace vb
