// Timing samples shared by the benchmarks: the thread's own CPU clock and
// percentiles of a set of samples.
#pragma once

#include <time.h>

#include <algorithm>
#include <cstddef>
#include <vector>

namespace bench {

inline double threadCpuMicros()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// The sample below which `percent` of the samples lie (100 gives the largest);
// 0 for no samples.
inline double percentile(std::vector<double> v, size_t percent)
{
    if (v.empty())
        return 0;
    const size_t k = std::min(v.size() - 1, v.size() * percent / 100);
    std::nth_element(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(k), v.end());
    return v[k];
}

} // namespace bench
