#pragma once
// A phone on a pseudo-terminal: answers the wake-up and every frame as told, and keeps what it got.
#include <QByteArray>
#include <QString>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

namespace fakephone {
constexpr char ENQ = 0x05, ACK = 0x06, NAK = 0x15, STX = 0x02, ETX = 0x03;
struct Frame {
    char command = 0;
    QByteArray payload;
    bool intact = false; // checksum and ETX right
};

// Answers ENQ with enqAnswer and every frame with frameAnswer (empty = stays silent).
class FakePhone {
public:
    FakePhone(QByteArray enqAnswer, QByteArray frameAnswer)
        : m_enqAnswer(std::move(enqAnswer)), m_frameAnswer(std::move(frameAnswer)) {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) != 0) return;
        m_device = QString::fromLocal8Bit(name);
        ::fcntl(m_master, F_SETFL, ::fcntl(m_master, F_GETFL) | O_NONBLOCK);
        m_thread = std::thread([this] { run(); });
    }
    ~FakePhone() {
        m_stop = true;
        if (m_thread.joinable()) m_thread.join();
        if (m_master >= 0) ::close(m_master);
        if (m_slave >= 0) ::close(m_slave);
    }
    QString device() const { return m_device; }
    std::vector<Frame> frames() {
        std::lock_guard lock(m_mutex);
        return m_frames;
    }
    QByteArray received() {
        std::lock_guard lock(m_mutex);
        return m_received;
    }

private:
    void answer(const QByteArray& a) {
        if (!a.isEmpty()) (void)::write(m_master, a.constData(), size_t(a.size()));
    }
    void run() {
        QByteArray pending;
        while (!m_stop) {
            pollfd p{m_master, POLLIN, 0};
            if (::poll(&p, 1, 10) <= 0 || !(p.revents & POLLIN)) continue;
            char buf[4096];
            const ssize_t n = ::read(m_master, buf, sizeof buf);
            if (n <= 0) continue;
            std::lock_guard lock(m_mutex);
            m_received.append(buf, n);
            pending.append(buf, n);
            while (!pending.isEmpty()) {
                if (pending[0] == ENQ) {
                    pending.remove(0, 1);
                    answer(m_enqAnswer);
                } else if (pending[0] == STX) {
                    if (pending.size() < 4) break;
                    const int len = quint8(pending[2]) << 8 | quint8(pending[3]);
                    if (pending.size() < 4 + len + 2) break;
                    Frame f{pending[1], pending.mid(4, len)};
                    quint8 sum = 0;
                    for (int i = 1; i < 4 + len; ++i) sum ^= quint8(pending[i]);
                    f.intact = quint8(pending[4 + len]) == sum && pending[5 + len] == ETX;
                    m_frames.push_back(f);
                    pending.remove(0, 4 + len + 2);
                    answer(m_frameAnswer);
                } else {
                    pending.remove(0, 1); // stray byte: a frame out of step shows up as !intact
                }
            }
        }
    }

    QByteArray m_enqAnswer, m_frameAnswer;
    int m_master = -1, m_slave = -1;
    QString m_device;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::vector<Frame> m_frames;
    QByteArray m_received;
};

} // namespace fakephone
