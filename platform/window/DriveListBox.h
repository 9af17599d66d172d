#pragma once
// A drive list box. On Linux a drive is a mounted file system a user would pick: the root "/"
// first, then the home folder, then every other mounted volume (removable media, network shares,
// further disks); pseudo file systems are left out. Drive is the mount point of the chosen entry.
#include "platform/window/Control.h"

#include <QStringList>
#include <optional>
#include <vector>

class QComboBox;

namespace vb {

struct Volume {
    QString root;   // mount point
    QString fsType; // "ext4", "proc", "tmpfs" ...
    QString name;   // label of the volume, may be empty
};

// The drives a list shows for these mounted volumes and this home folder, in order.
QStringList DriveRoots(const std::vector<Volume>& mounted, const QString& home);
// The drive that holds a path: the longest drive root that is a prefix of it ("/" at least).
QString DriveOf(const QString& path, const QStringList& roots);
// A drive is ready when its root folder can be read.
bool DriveReady(const QString& root);

// The volumes the system has mounted; tests give their own (Seams::volumes).
std::vector<Volume> MountedVolumes();

class DriveListBox : public Control {
public:
    DriveListBox(Form& f, QString name, int index);
    // The chosen drive's root. Setting it to any path chooses the drive that holds the path and
    // runs Change when the drive differs.
    QString Drive() const { return List(m_index); }
    void setDrive(const QString& path);
    int ListCount() const { return int(m_roots.size()); }
    QString List(int i) const { return i >= 0 && i < ListCount() ? m_roots[i] : QString(); }
    int ListIndex() const { return m_index; }
    void setListIndex(int i);
    // Reads the mounted volumes again, keeping the chosen drive when it is still there.
    void ReRead();
    bool IsWindowed() const override { return true; }

private:
    void choose(int i);
    QComboBox* m_box;
    QStringList m_roots;
    int m_index = -1;
};

} // namespace vb
