#pragma once
#include "platform/window/Control.h"

#include <QStringList>

class QListWidget;

namespace vb {

// A file list box: the files of one folder that match its pattern ("*.jpg;*.bmp"), sorted by
// name without regard to case; hidden files are not listed. Setting Path or Pattern lists the
// folder again; a new Path runs PathChange.
class FileListBox : public Control {
public:
    FileListBox(Form& f, QString name, int index);
    const QString& Path() const { return m_path; }
    void setPath(const QString& p);
    const QString& Pattern() const { return m_pattern; }
    void setPattern(const QString& p);
    int ListCount() const { return int(m_files.size()); }
    QString List(int i) const { return i >= 0 && i < ListCount() ? m_files[i] : QString(); }
    int ListIndex() const { return m_index; }
    void setListIndex(int i);
    QString FileName() const { return List(m_index); }
    // Only the empty name is accepted here: it clears the selection.
    void setFileName(const QString& name);
    std::function<void()> PathChange;
    void ReRead(); // the list box's Refresh: reads the folder again
    bool IsWindowed() const override { return true; }

private:
    void fill();
    QListWidget* m_list;
    QString m_path, m_pattern = QStringLiteral("*.*");
    QStringList m_files;
    int m_index = -1;
};

} // namespace vb
