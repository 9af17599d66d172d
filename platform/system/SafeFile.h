#pragma once
// Reading and writing the user's files safely: only regular files are read (a named pipe or a
// device would block or never end), and a file is replaced only once its new content is whole.
#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;

namespace vb {

// The content of a regular file of at most maxBytes; nothing for anything else (missing, a
// folder, a pipe, a device, larger than maxBytes, unreadable). Never blocks on the file itself.
std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes);

// True when path names a regular file or nothing yet: only such a target is replaced by a
// rename (a device or pipe in its place is never swapped for a file).
bool ReplaceableFile(const QString& path);

// How a replacement of a file ended.
enum class Replacement { Done, NotReplaceable, NotOpened, Failed };
// The one way a file is replaced: write puts the new content into a temporary file in the
// target's folder, which is renamed over the target once write returned true and all of it is
// on disk. Any other end leaves the old target untouched. openErrno, when given, receives the
// system's error when the temporary file cannot be made.
Replacement ReplaceFile(const QString& path, const std::function<bool(QIODevice&)>& write, int* openErrno = nullptr);

// Writes data so; false (the old target untouched) when any step fails.
bool WriteFileAtomic(const QString& path, const QByteArray& data);

// Copies a regular file the same way; false when the source cannot be read or the target not
// be written (the old target then stays as it was).
bool CopyFileAtomic(const QString& source, const QString& target);

} // namespace vb
