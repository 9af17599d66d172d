#pragma once
#include "platform/window/Control.h"

#include <QTimer>

namespace vb {

// A timer control: ticks every Interval milliseconds while enabled and the interval is not 0.
class Timer : public Control {
public:
    Timer(Form& f, QString name, int index);
    int Interval() const { return m_interval; }
    void setInterval(int ms);
    bool TimerEnabled() const { return m_enabled; }
    void setTimerEnabled(bool e);
    std::function<void()> Tick; // the Timer event
    void Fire();                // one tick now (what the clock would do)
    bool HasFont() const override { return false; }

private:
    void update();
    QTimer m_timer;
    int m_interval = 0;
    bool m_enabled = true;
};

} // namespace vb
