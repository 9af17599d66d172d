#pragma once
// The image library's hot loops: work split over the processor's threads by bands of rows, and
// each loop built twice, for the baseline processor and for AVX2, the processor choosing.
//
// Rows are independent in every caller, so the bytes never depend on the split; the two builds
// run the same source and give the same bytes (the tests compare them).
#include <algorithm>
#include <cstdint>
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

// How many bands rows of bytesPerRow bytes are split into: one per thread, but at least half a
// megabyte of work each, so that small pictures stay on the caller's thread.
inline int bandsFor(int rows, int64_t bytesPerRow) {
    if (rows <= 0) return 0;
    constexpr int64_t kBytesPerThread = int64_t(1) << 19;
    const int64_t byWork = std::max<int64_t>(1, int64_t(rows) * std::max<int64_t>(bytesPerRow, 1) / kBytesPerThread);
    return int(std::min<int64_t>({int64_t(std::max(1u, std::thread::hardware_concurrency())), byWork, rows}));
}
// First row of band t of n over [y0, y1).
inline int bandStart(int y0, int y1, int n, int t) { return y0 + int(int64_t(y1 - y0) * t / n); }

// Runs f(t, first, last) for the n bands of [y0, y1), band 0 on the caller's thread.
template <class F>
void forBands(int y0, int y1, int n, F&& f) {
    if (n <= 1) {
        if (y1 > y0) f(0, y0, y1);
        return;
    }
    std::vector<std::thread> pool;
    pool.reserve(size_t(n - 1));
    for (int t = 1; t < n; ++t) pool.emplace_back([&, t] { f(t, bandStart(y0, y1, n, t), bandStart(y0, y1, n, t + 1)); });
    f(0, bandStart(y0, y1, n, 0), bandStart(y0, y1, n, 1));
    for (std::thread& th : pool) th.join();
}

// Runs f(first, last) over the rows [y0, y1), split among threads when the work pays for them.
template <class F>
void forRows(int y0, int y1, int64_t bytesPerRow, F&& f) {
    forBands(y0, y1, bandsFor(y1 - y0, bytesPerRow), [&](int, int ya, int yb) { f(ya, yb); });
}

} // namespace imaging
