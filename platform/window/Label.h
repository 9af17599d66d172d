#pragma once
#include "platform/window/Control.h"

namespace vb {

class Label : public Control {
public:
    Label(Form& f, QString name, int index);
    const QString& Caption() const { return m_caption; }
    void setCaption(const QString& c); // runs Change when the text differs
    int Alignment() const { return m_alignment; }
    void setAlignment(int a) { m_alignment = a; Refresh(); } // 0 left, 1 right, 2 centre
    int BackStyle() const { return m_backStyle; }
    void setBackStyle(int s) { m_backStyle = s; Refresh(); } // 0 transparent, 1 opaque
    long BackColor() const { return m_backColor; }
    void setBackColor(long c) { m_backColor = c; Refresh(); }
    long ForeColor() const { return m_foreColor; }
    void setForeColor(long c) { m_foreColor = c; Refresh(); }
    // A label standing for a closed list shows its caption on one line where the list shows
    // its text, clear of the arrow.
    bool ListLook() const { return m_listLook; }
    void setListLook(bool on) { m_listLook = on; Refresh(); }
    // Where the caption is drawn, in pixels of the label.
    QRect TextRect() const;
    void Paint(QPainter& p) override;

private:
    QString m_caption;
    int m_alignment = 0, m_backStyle = 0;
    bool m_listLook = false;
    long m_backColor = 0xFFFFFF, m_foreColor = 0;
};

} // namespace vb
