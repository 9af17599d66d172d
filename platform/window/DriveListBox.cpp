#include "platform/window/DriveListBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"
#include "platform/system/Seams.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QSignalBlocker>
#include <QStorageInfo>
#include <algorithm>

namespace vb {
namespace {
std::optional<std::vector<Volume>>& overrideVolumes() { return seams().volumes; }

bool isPseudo(const Volume& v) {
    static const QStringList kPseudo = {
        QStringLiteral("proc"), QStringLiteral("sysfs"), QStringLiteral("devtmpfs"), QStringLiteral("devpts"),
        QStringLiteral("cgroup"), QStringLiteral("cgroup2"), QStringLiteral("securityfs"), QStringLiteral("pstore"),
        QStringLiteral("debugfs"), QStringLiteral("tracefs"), QStringLiteral("configfs"), QStringLiteral("fusectl"),
        QStringLiteral("mqueue"), QStringLiteral("hugetlbfs"), QStringLiteral("binfmt_misc"), QStringLiteral("autofs"),
        QStringLiteral("bpf"), QStringLiteral("efivarfs"), QStringLiteral("nsfs"), QStringLiteral("rpc_pipefs"),
        QStringLiteral("ramfs"), QStringLiteral("squashfs"), QStringLiteral("selinuxfs"), QStringLiteral("fuse.gvfsd-fuse"),
        QStringLiteral("fuse.portal"), QStringLiteral("tmpfs"), QStringLiteral("overlay")};
    if (kPseudo.contains(v.fsType, Qt::CaseInsensitive)) return true;
    // Places of the system, not of the user's data; volumes mounted for the user under
    // /run/media stay.
    for (const char* p : {"/proc", "/sys", "/dev", "/snap", "/boot", "/var/lib", "/var/snap"})
        if (v.root == QLatin1String(p) || v.root.startsWith(QLatin1String(p) + QLatin1Char('/'))) return true;
    if (v.root.startsWith(QLatin1String("/run/")) && !v.root.startsWith(QLatin1String("/run/media/"))) return true;
    return false;
}

QString clean(const QString& p) {
    QString c = QDir::cleanPath(p);
    return c.isEmpty() ? QStringLiteral("/") : c;
}
} // namespace

QStringList DriveRoots(const std::vector<Volume>& mounted, const QString& home) {
    QStringList roots{QStringLiteral("/")};
    if (!home.isEmpty() && !roots.contains(clean(home))) roots << clean(home);
    QStringList rest;
    for (const Volume& v : mounted) {
        if (v.root.isEmpty() || isPseudo(v)) continue;
        const QString r = clean(v.root);
        if (!roots.contains(r) && !rest.contains(r)) rest << r;
    }
    std::sort(rest.begin(), rest.end());
    return roots + rest;
}

QString DriveOf(const QString& path, const QStringList& roots) {
    const QString p = clean(path);
    QString best = QStringLiteral("/");
    for (const QString& r : roots) {
        const bool holds = r == QLatin1String("/") || p == r || p.startsWith(r + QLatin1Char('/'));
        if (holds && r.size() > best.size()) best = r;
    }
    return best;
}

bool DriveReady(const QString& root) {
    const QFileInfo fi(root);
    return fi.isDir() && fi.isReadable() && fi.isExecutable();
}

std::vector<Volume> MountedVolumes() {
    if (overrideVolumes()) return *overrideVolumes();
    std::vector<Volume> out;
    for (const QStorageInfo& s : QStorageInfo::mountedVolumes())
        out.push_back({s.rootPath(), QString::fromUtf8(s.fileSystemType()), s.name()});
    return out;
}
DriveListBox::DriveListBox(Form& f, QString name, int index) : Control(f, Kind::DriveListBox, std::move(name), index) {
    m_box = new QComboBox(f.ClientWidget());
    m_box->setMouseTracking(true);
    m_box->installEventFilter(new NativeEventFilter(*this, m_box));
    QObject::connect(m_box, QOverload<int>::of(&QComboBox::activated), [this](int i) { choose(i); });
    setWidget(m_box);
    ReRead();
}

void DriveListBox::ReRead() {
    const QString before = Drive();
    m_roots = DriveRoots(MountedVolumes(), QDir::homePath());
    m_index = before.isEmpty() ? 0 : int(m_roots.indexOf(DriveOf(before, m_roots)));
    QSignalBlocker b(m_box);
    m_box->clear();
    m_box->addItems(m_roots);
    m_box->setCurrentIndex(m_index);
    FitDropDown(*m_box);
}

void DriveListBox::choose(int i) {
    if (i < 0 || i >= ListCount()) return;
    const bool changed = i != m_index;
    m_index = i;
    {
        QSignalBlocker b(m_box);
        m_box->setCurrentIndex(i);
    }
    if (changed && Change) Change();
}

void DriveListBox::setListIndex(int i) { choose(i); }

void DriveListBox::setDrive(const QString& path) {
    if (path.isEmpty()) return;
    int i = int(m_roots.indexOf(DriveOf(path, m_roots)));
    if (i < 0) i = 0;
    choose(i);
}

} // namespace vb
