#include "platform/system/VBError.h"

#include <utility>

namespace vb {
namespace {
QString& exeName() {
    static QString name = QStringLiteral("vorad");
    return name;
}
} // namespace

QString ErrorText(long number) {
    static const std::pair<long, const char*> texts[] = {
        {3, "Return without GoSub"},
        {5, "Invalid procedure call or argument"},
        {6, "Overflow"},
        {7, "Out of memory"},
        {9, "Subscript out of range"},
        {10, "This array is fixed or temporarily locked"},
        {11, "Division by zero"},
        {13, "Type mismatch"},
        {14, "Out of string space"},
        {16, "Expression too complex"},
        {17, "Can't perform requested operation"},
        {18, "User interrupt occurred"},
        {20, "Resume without error"},
        {28, "Out of stack space"},
        {35, "Sub or Function not defined"},
        {47, "Too many DLL application clients"},
        {48, "Error in loading DLL"},
        {49, "Bad DLL calling convention"},
        {51, "Internal error"},
        {52, "Bad file name or number"},
        {53, "File not found"},
        {54, "Bad file mode"},
        {55, "File already open"},
        {57, "Device I/O error"},
        {58, "File already exists"},
        {59, "Bad record length"},
        {61, "Disk full"},
        {62, "Input past end of file"},
        {63, "Bad record number"},
        {67, "Too many files"},
        {68, "Device unavailable"},
        {70, "Permission denied"},
        {71, "Disk not ready"},
        {74, "Can't rename with different drive"},
        {75, "Path/File access error"},
        {76, "Path not found"},
        {91, "Object variable or With block variable not set"},
        {92, "For loop not initialized"},
        {93, "Invalid pattern string"},
        {94, "Invalid use of Null"},
    };
    for (const auto& [n, text] : texts)
        if (n == number) return QString::fromLatin1(text);
    return QStringLiteral("Application-defined or object-defined error");
}

QString AppExeName() { return exeName(); }
void SetAppExeName(const QString& name) { exeName() = name; }

} // namespace vb
