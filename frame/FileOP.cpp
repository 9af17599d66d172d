#include "frame/FileOP.h"

#include "platform/system/Shell.h"
#include "platform/system/VBError.h"

using namespace vb::Shell;

namespace {
int flags(int base, std::optional<bool> b) { return base | (b.has_value() && !*b ? FOF_FILESONLY : 0); }
} // namespace

int FileOP::Copy(QString& dateinamen, QString& zielverzeichnis, std::optional<bool> nurDateien) {
    return FileOperation(FO_COPY, {dateinamen}, zielverzeichnis, flags(FOF_SILENT | FOF_NOCONFIRMATION, nurDateien));
}

// Uses the copy operation: the source files stay.
void FileOP::Move(QString& dateinamen, QString& zielverzeichnis, std::optional<bool> nurDateien) {
    FileOperation(FO_COPY, {dateinamen}, zielverzeichnis, flags(0, nurDateien));
}

void FileOP::Delete(QString& dateinamen, std::optional<bool> nurDateien) {
    vb::Try([&] { FileOperation(FO_DELETE, {dateinamen}, QString(), flags(FOF_SILENT | FOF_NOCONFIRMATION, nurDateien)); });
}

void FileOP::DeleteDir(const QString& ordner, std::optional<bool> inklusiveUnterverzeichnisse) {
    FileOperation(FO_DELETE, {ordner}, QString(), flags(FOF_NOCONFIRMATION, inklusiveUnterverzeichnisse));
}
