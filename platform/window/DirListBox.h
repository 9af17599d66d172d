#pragma once
// A folder list box: the folders from the root down to Path, and Path's own sub-folders below.
// Setting Path runs Change when the folder differs; the user opens a folder by a double-click.
// Hidden folders are not listed.
#include "platform/window/Control.h"

#include <QStringList>

class QListWidget;

namespace vb {

class DirListBox : public Control {
public:
    DirListBox(Form& f, QString name, int index);
    const QString& Path() const { return m_path; }
    void setPath(const QString& p);
    // Sub-folders of Path, 0 .. ListCount - 1, as full paths; List(-1) is Path itself, List(-2)
    // its parent, and so on up to the root.
    int ListCount() const { return int(m_subdirs.size()); }
    QString List(int i) const;
    int ListIndex() const { return m_listIndex; }
    void setListIndex(int i);
    void ReRead(); // the list box's Refresh: reads the folder again
    // As the user opening the listed folder (a double-click on its line).
    void Open(int i);
    bool IsWindowed() const override { return true; }

private:
    void fill();
    QListWidget* m_list;
    QString m_path;
    QStringList m_ancestors; // root first, Path last
    QStringList m_subdirs;
    int m_listIndex = -1;
};

} // namespace vb
