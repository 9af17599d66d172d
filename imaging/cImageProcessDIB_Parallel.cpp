#include "imaging/cImageProcessDIB_Parallel.h"

#include <condition_variable>
#include <mutex>

namespace imaging {

namespace {

// Worker threads that sleep between calls. A call opens a round; the workers that wake while it
// is open take part, and the caller closes it when its own share is done, waiting only for the
// workers that took part.
class Pool {
public:
    Pool() {
        const int n = int(std::max(1u, std::thread::hardware_concurrency())) - 1;
        for (int i = 0; i < n; ++i) m_workers.emplace_back([this] { loop(); });
    }
    ~Pool() {
        {
            std::lock_guard<std::mutex> l(m_m);
            m_stop = true;
        }
        m_wake.notify_all();
        for (std::thread& t : m_workers) t.join();
    }
    bool run(int threads, const std::function<void()>& work) {
        std::unique_lock<std::mutex> busy(m_busy, std::try_to_lock);
        if (!busy.owns_lock() || m_workers.empty()) return false;
        {
            std::lock_guard<std::mutex> l(m_m);
            m_work = &work;
            m_wanted = std::min<int>(threads - 1, int(m_workers.size()));
            m_joined = 0;
            m_open = true;
            ++m_round;
        }
        m_wake.notify_all();
        work();
        std::unique_lock<std::mutex> l(m_m);
        m_open = false;
        m_done.wait(l, [this] { return m_running == 0; });
        m_work = nullptr;
        return true;
    }

private:
    void loop() {
        uint64_t seen = 0;
        std::unique_lock<std::mutex> l(m_m);
        for (;;) {
            m_wake.wait(l, [&] { return m_stop || m_round != seen; });
            if (m_stop) return;
            seen = m_round;
            if (!m_open || m_joined >= m_wanted) continue;
            ++m_joined;
            ++m_running;
            const std::function<void()>* work = m_work;
            l.unlock();
            (*work)();
            l.lock();
            if (--m_running == 0) m_done.notify_all();
        }
    }

    std::mutex m_busy, m_m;
    std::condition_variable m_wake, m_done;
    std::vector<std::thread> m_workers;
    const std::function<void()>* m_work = nullptr;
    uint64_t m_round = 0;
    int m_wanted = 0, m_joined = 0, m_running = 0;
    bool m_open = false, m_stop = false;
};

} // namespace

void runOnThreads(int threads, const std::function<void()>& work) {
    static Pool pool;
    if (threads <= 1 || !pool.run(threads, work)) work();
}

} // namespace imaging
