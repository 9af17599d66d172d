#pragma once
#include "platform/window/Control.h"

class QScrollBar;

namespace vb {

// A scroll bar, vertical when it is taller than wide. Changing Value runs Change.
class ScrollBar : public Control {
public:
    ScrollBar(Form& f, QString name, int index, bool vertical);
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Value() const { return m_value; }
    int SmallChange() const { return m_small; }
    int LargeChange() const { return m_large; }
    void setMin(int v);
    void setMax(int v);
    void setValue(int v); // raises 380 outside Min .. Max
    void setSmallChange(int v);
    void setLargeChange(int v);
    bool IsWindowed() const override { return true; }
    bool HasFont() const override { return false; }

private:
    void sync();
    QScrollBar* m_bar;
    int m_min = 0, m_max = 32767, m_value = 0, m_small = 1, m_large = 1;
};

} // namespace vb
