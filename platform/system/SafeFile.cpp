#include "platform/system/SafeFile.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vb {
namespace {
// Opens without blocking on a pipe's writer and accepts only a regular file.
int openRegular(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

std::optional<QByteArray> ReadRegularFile(const QString& path, qint64 maxBytes) {
    const int fd = openRegular(path);
    if (fd < 0) return std::nullopt;
    QFile f;
    if (!f.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return std::nullopt;
    }
    if (f.size() > maxBytes) return std::nullopt;
    // Sized by the file, not by the limit: a read buffer of the whole limit would be allocated
    // (and, in instrumented builds, cleared) for every small picture.
    QByteArray data = f.read(f.size() + 1);
    while (data.size() <= maxBytes) { // the file may still grow while it is read
        const QByteArray mehr = f.read(std::min<qint64>(qint64(1) << 16, maxBytes + 1 - data.size()));
        if (mehr.isEmpty()) break;
        data += mehr;
    }
    if (data.size() > maxBytes) return std::nullopt;
    return data;
}

bool ReplaceableFile(const QString& path) {
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) return errno == ENOENT;
    return S_ISREG(st.st_mode);
}

Replacement ReplaceFile(const QString& path, const std::function<bool(QIODevice&)>& write, int* openErrno) {
    if (!ReplaceableFile(path)) return Replacement::NotReplaceable;
    QSaveFile f(path);
    errno = 0;
    if (!f.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (openErrno) *openErrno = errno;
        return Replacement::NotOpened;
    }
    if (!write(f)) {
        f.cancelWriting();
        return Replacement::Failed;
    }
    return f.commit() ? Replacement::Done : Replacement::Failed;
}

bool WriteFileAtomic(const QString& path, const QByteArray& data) {
    return ReplaceFile(path, [&](QIODevice& f) { return f.write(data) == data.size(); }) == Replacement::Done;
}

bool CopyFileAtomic(const QString& source, const QString& target) {
    const int fd = openRegular(source);
    if (fd < 0) return false;
    QFile in;
    if (!in.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return ReplaceFile(target, [&](QIODevice& out) {
               for (;;) {
                   const QByteArray buffer = in.read(1 << 20);
                   if (buffer.isEmpty()) break;
                   if (out.write(buffer) != buffer.size()) return false;
               }
               return in.error() == QFileDevice::NoError;
           }) == Replacement::Done;
}

} // namespace vb
