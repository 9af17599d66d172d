#pragma once
// The image library's hot loops: work split over the processor's threads by bands of rows, and
// each loop built twice, for the baseline processor and for AVX2, the processor choosing.
//
// Rows are independent in every caller, so the bytes never depend on the split; the two builds
// run the same source and give the same bytes (the tests compare them).
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

namespace imaging {

// True when the processor has AVX2 and no test asked for the baseline build.
bool UseAvx2();
// Tests run the baseline build with true, and put the processor's choice back with false.
void BaselineOnly(bool bBaseline);

template <class F>
[[gnu::target("avx2"), gnu::flatten]] inline void runAvx2(F& f) {
    f();
}
template <class F>
[[gnu::flatten]] inline void runBaseline(F& f) {
    f();
}
// Runs f with its loops built for the best instruction set at hand.
template <class F>
inline void withBestIsa(F&& f) {
    if (UseAvx2()) runAvx2(f);
    else runBaseline(f);
}

// How many bands rows of bytesPerRow bytes are split into: about a quarter megabyte each, and
// at least minRows rows each. The bands are many more than the threads, which take them one
// after another: on a busy machine a thread held up costs one band, not a share of the picture.
inline int bandsFor(int rows, int64_t bytesPerRow, int minRows = 1) {
    if (rows <= 0) return 0;
    constexpr int64_t kBytesPerBand = int64_t(1) << 18;
    const int64_t byWork = int64_t(rows) * std::max<int64_t>(bytesPerRow, 1) / kBytesPerBand;
    return int(std::max<int64_t>(1, std::min<int64_t>(byWork, rows / std::max(minRows, 1))));
}
// First row of band t of n over [y0, y1).
inline int bandStart(int y0, int y1, int n, int t) { return y0 + int(int64_t(y1 - y0) * t / n); }

// Runs work on up to threads threads at once, the caller's among them, and returns when every
// run has ended. The threads are kept from one call to the next: starting threads costs
// milliseconds here. A call made while another runs (from another thread, or from inside the
// work) runs work on the caller's thread alone.
void runOnThreads(int threads, const std::function<void()>& work);

// Runs f(t, first, last) for the n bands of [y0, y1) on the processor's threads (the caller's
// among them), each band on one thread, in any order.
template <class F>
void forBands(int y0, int y1, int n, F&& f) {
    if (n <= 1) {
        if (y1 > y0) f(0, y0, y1);
        return;
    }
    std::atomic<int> next{0};
    runOnThreads(n, [&] {
        for (int t; (t = next.fetch_add(1, std::memory_order_relaxed)) < n;) f(t, bandStart(y0, y1, n, t), bandStart(y0, y1, n, t + 1));
    });
}

// Runs f(first, last) over the rows [y0, y1), split among threads when the work pays for them.
template <class F>
void forRows(int y0, int y1, int64_t bytesPerRow, F&& f) {
    forBands(y0, y1, bandsFor(y1 - y0, bytesPerRow), [&](int, int ya, int yb) { f(ya, yb); });
}

} // namespace imaging
