#pragma once
#include "platform/window/Control.h"

#include <QRect>
#include <QStringList>

class QComboBox;

namespace vb {

// Where a closed list of this size in pixels shows its text and its arrow, as the platform's
// style lays it out; a label that stands for a closed list uses the same places.
QRect ListTextRect(QSize px);
QRect ListArrowRect(QSize px);

// A drop-down list. Setting ListIndex from code runs Click at once when the index changes;
// a choice by the user always runs it.
class ComboBox : public Control {
public:
    ComboBox(Form& f, QString name, int index);
    void AddItem(const QString& item);
    void Clear(); // no selection afterwards, no Click
    int ListCount() const { return int(m_items.size()); }
    QString List(int i) const { return i >= 0 && i < ListCount() ? m_items[i] : QString(); }
    int ListIndex() const { return m_index; }
    void setListIndex(int i); // raises 380 outside -1 .. ListCount - 1
    QString Text() const { return List(m_index); }
    bool IsWindowed() const override { return true; }
    void Choose(int i); // as the user choosing item i

private:
    void sync();
    QComboBox* m_box;
    QStringList m_items;
    int m_index = -1;
};

} // namespace vb
