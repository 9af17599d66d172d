#include "platform/window/DirListBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QSignalBlocker>
#include <algorithm>

namespace vb {

DirListBox::DirListBox(Form& f, QString name, int index) : Control(f, Kind::DirListBox, std::move(name), index) {
    m_list = new QListWidget(f.ClientWidget());
    m_list->setMouseTracking(true);
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(new NativeEventFilter(*this, m_list->viewport()));
    QObject::connect(m_list, &QListWidget::currentRowChanged, [this](int r) {
        const int i = r - int(m_ancestors.size());
        if (i == m_listIndex) return;
        m_listIndex = i;
        if (Click) Click();
    });
    QObject::connect(m_list, &QListWidget::itemActivated, [this](QListWidgetItem* it) { Open(m_list->row(it) - int(m_ancestors.size())); });
    setWidget(m_list);
}

QString DirListBox::List(int i) const {
    if (i >= 0) return i < ListCount() ? m_subdirs[i] : QString();
    const int a = int(m_ancestors.size()) + i; // -1 is the last ancestor, Path itself
    return a >= 0 ? m_ancestors[a] : QString();
}

void DirListBox::setPath(const QString& p) {
    QString c = QDir::cleanPath(p);
    if (c.isEmpty()) return;
    if (c == m_path) return;
    m_path = c;
    fill();
    if (Change) Change();
}

void DirListBox::setListIndex(int i) {
    if (i < -int(m_ancestors.size()) || i >= ListCount()) return;
    if (i == m_listIndex) return;
    m_listIndex = i;
    {
        QSignalBlocker b(m_list);
        m_list->setCurrentRow(int(m_ancestors.size()) + i);
    }
    if (Click) Click();
}

void DirListBox::Open(int i) {
    const QString target = List(i);
    if (!target.isEmpty()) setPath(target);
}

void DirListBox::ReRead() { fill(); }

void DirListBox::fill() {
    m_ancestors.clear();
    m_subdirs.clear();
    m_listIndex = -1;
    for (QString a = m_path;;) {
        m_ancestors.prepend(a);
        if (a == QLatin1String("/")) break;
        const QString up = QFileInfo(a).path();
        if (up == a || up.isEmpty()) break;
        a = up;
    }
    const QDir dir(m_path);
    QStringList names = dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCollator coll;
    coll.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(names.begin(), names.end(), [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; });
    for (const QString& n : names) m_subdirs << dir.filePath(n);

    QSignalBlocker b(m_list);
    m_list->clear();
    int depth = 0;
    for (const QString& a : m_ancestors) {
        const QString label = a == QLatin1String("/") ? a : QFileInfo(a).fileName();
        m_list->addItem(QString(depth * 2, QLatin1Char(' ')) + label);
        ++depth;
    }
    for (const QString& n : names) m_list->addItem(QString(depth * 2, QLatin1Char(' ')) + n);
    m_list->setCurrentRow(int(m_ancestors.size()) - 1);
}

} // namespace vb
