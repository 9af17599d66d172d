#include "platform/window/Timer.h"

namespace vb {

Timer::Timer(Form& f, QString name, int index) : Control(f, Kind::Timer, std::move(name), index) {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Fire(); });
}

void Timer::setInterval(int ms) {
    m_interval = ms < 0 ? 0 : ms;
    update();
}
void Timer::setTimerEnabled(bool e) {
    m_enabled = e;
    update();
}
void Timer::update() {
    if (m_enabled && m_interval > 0) m_timer.start(m_interval);
    else m_timer.stop();
}
void Timer::Fire() {
    if (Tick) Tick();
}

} // namespace vb
