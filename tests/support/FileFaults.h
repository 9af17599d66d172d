#pragma once
// File-system faults for tests: a disk that fills up after a few bytes, and a file that cannot
// be changed even by root.
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

// While alive, no file of this process can grow beyond `bytes`: writes past it fail as on a
// full disk.
class FullDisk {
public:
    explicit FullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lim = m_old;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FullDisk() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    FullDisk(const FullDisk&) = delete;
    FullDisk& operator=(const FullDisk&) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// Sets or clears the immutable flag of a file; false when the file system or the user's rights
// do not allow it.
inline bool setImmutable(const QString& path, bool on) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    int flags = 0;
    bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    if (ok) {
        flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
        ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    }
    ::close(fd);
    return ok;
}

// A file that refuses every change while alive, as in a write-protected folder: by the immutable
// flag, or by the rights of the file and its folder where that flag is not allowed. `ok` is false
// when neither works here.
class LockedFile {
public:
    explicit LockedFile(const QString& path) : m_path(path), m_folder(QFileInfo(path).absolutePath()) {
        m_ok = setImmutable(path, true);
        if (!m_ok) {
            QFile::setPermissions(path, QFileDevice::ReadOwner);
            QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            QFile probe(path);
            m_ok = !probe.open(QIODevice::ReadWrite);
        }
    }
    ~LockedFile() {
        setImmutable(m_path, false);
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QFile::setPermissions(m_path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    bool ok() const { return m_ok; }

private:
    QString m_path, m_folder;
    bool m_ok = false;
};
