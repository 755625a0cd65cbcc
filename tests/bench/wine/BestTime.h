// The time of the best of several runs, for the Windows benchmarks.
#pragma once

#include <windows.h>

#include <algorithm>

namespace bench {

inline double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// The shortest of `times` runs in milliseconds; -1 when a run fails.
template <typename Run> double Best(Run run, int times) {
    double best = 1e30;
    for (int i = 0; i < times; ++i) {
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        if (!run())
            return -1;
        QueryPerformanceCounter(&b);
        best = std::min(best, Milliseconds(a, b));
    }
    return best;
}

} // namespace bench
