#pragma once
// The desktop shell: file operations, opening documents and web addresses, and the display
// settings. Tests watch the calls through Seams::shell.
#include <QString>
#include <QStringList>
#include <functional>

namespace vb::Shell {

enum { FO_MOVE = 1, FO_COPY = 2, FO_DELETE = 3 };
enum { FOF_SILENT = 0x4, FOF_NOCONFIRMATION = 0x10, FOF_ALLOWUNDO = 0x40, FOF_FILESONLY = 0x80 };

// Copies or deletes the files named in `from` (wildcards allowed in the file part). A copy
// replaces an existing target; a target ending in a separator or naming a folder receives
// the files under their own names. Returns 0 on success.
int FileOperation(int func, const QStringList& from, const QString& to, int flags);

// Opens a web address or document with the user's program for it; a result below 32 is a failure.
int Execute(const QString& operation, const QString& file);
// Starts the desktop's display settings when a program for them is installed.
void StartDisplaySettings();

// Every call above is reported to the hook first; a hook that returns true handles it alone.
using Hook = std::function<bool(const QString& what, const QString& argument)>;

} // namespace vb::Shell
