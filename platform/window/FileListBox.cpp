#include "platform/window/FileListBox.h"

#include "platform/window/ControlWidget.h"
#include "platform/window/Form.h"

#include <QCollator>
#include <QDir>
#include <QListWidget>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <algorithm>

namespace vb {

FileListBox::FileListBox(Form& f, QString name, int index) : Control(f, Kind::FileListBox, std::move(name), index) {
    m_list = new QListWidget(f.ClientWidget());
    m_list->setMouseTracking(true);
    m_list->viewport()->setMouseTracking(true);
    m_list->viewport()->installEventFilter(new NativeEventFilter(*this, m_list->viewport()));
    // The chosen file is the marked one. A current row without a mark (the view makes its first
    // row current when it takes the focus with none) chooses nothing, and a press marks its row
    // only after making it current, so the mark is what is followed.
    QObject::connect(m_list, &QListWidget::itemSelectionChanged, [this] {
        const QList<QListWidgetItem*> marked = m_list->selectedItems();
        const int r = marked.isEmpty() ? -1 : m_list->row(marked.first());
        if (r < 0 || r == m_index) return;
        m_index = r;
        if (Click) Click();
    });
    QObject::connect(m_list, &QListWidget::itemDoubleClicked, [this] { if (DblClick) DblClick(); });
    setWidget(m_list);
}

void FileListBox::setPath(const QString& p) {
    if (p == m_path) {
        ReRead();
        return;
    }
    m_path = p;
    fill();
    if (PathChange) PathChange();
}
void FileListBox::setFileName(const QString& name) {
    if (!name.isEmpty()) return;
    m_index = -1;
    QSignalBlocker b(m_list);
    m_list->setCurrentRow(-1);
    m_list->clearSelection();
}
void FileListBox::setPattern(const QString& p) {
    m_pattern = p;
    fill();
}
void FileListBox::ReRead() {
    // The chosen file stays chosen while it is still listed.
    const QString chosen = FileName();
    fill();
    const int i = chosen.isEmpty() ? -1 : int(m_files.indexOf(chosen));
    if (i < 0) return;
    m_index = i;
    QSignalBlocker b(m_list);
    m_list->setCurrentRow(i);
}

void FileListBox::setListIndex(int i) {
    if (i < -1 || i >= ListCount() || i == m_index) return;
    m_index = i;
    {
        QSignalBlocker b(m_list);
        m_list->setCurrentRow(i);
    }
    if (Click) Click();
}

void FileListBox::fill() {
    m_files.clear();
    m_index = -1;
    QDir dir(m_path);
    if (!m_path.isEmpty() && dir.exists()) {
        // Patterns match without regard to case, as the file list of the platform did.
        std::vector<QRegularExpression> patterns;
        bool all = false;
        for (const QString& p : m_pattern.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString t = p.trimmed();
            all = all || t == QLatin1String("*.*") || t == QLatin1String("*");
            patterns.emplace_back(QRegularExpression::wildcardToRegularExpression(t), QRegularExpression::CaseInsensitiveOption);
        }
        for (const QString& f : dir.entryList(QDir::Files | QDir::Readable))
            if (all || std::any_of(patterns.begin(), patterns.end(), [&](const QRegularExpression& re) { return re.match(f).hasMatch(); }))
                m_files << f;
        QCollator coll;
        coll.setCaseSensitivity(Qt::CaseInsensitive);
        std::sort(m_files.begin(), m_files.end(), [&](const QString& a, const QString& b) { return coll.compare(a, b) < 0; });
    }
    QSignalBlocker b(m_list);
    m_list->clear();
    m_list->addItems(m_files);
}

} // namespace vb
