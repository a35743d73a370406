#pragma once
// Median and 95th percentile of a series of timings.
#include <algorithm>
#include <cstdio>
#include <vector>

inline void printTimings(const char *what, std::vector<double> ms)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[std::min(ms.size() - 1, size_t(q * double(ms.size())))]; };
    std::printf("%-58s n=%-5zu median %9.3f ms   p95 %9.3f ms   min %9.3f ms\n", what, ms.size(), at(0.5), at(0.95),
                ms.front());
}
