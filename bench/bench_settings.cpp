// Times a full SaveSettings + LoadSettings of settings.ini in a temporary
// directory, and a load and save of a large file with foreign content.
// Usage: bench_settings [iterations]
#include "core/settings.h"
#include "core/sizing.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Stats {
    double median;
    double p95;
};

Stats measure(int iterations, const std::function<void(int)> &run)
{
    std::vector<double> us;
    us.reserve(iterations);
    for (int i = 0; i < iterations; ++i) {
        const auto start = Clock::now();
        run(i);
        us.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
    std::sort(us.begin(), us.end());
    const auto at = [&](double q) { return us[std::min(us.size() - 1, static_cast<std::size_t>(q * us.size()))]; };
    return {at(0.5), at(0.95)};
}

void print(const char *what, int iterations, Stats s)
{
    std::printf("%-46s n=%-5d median %10.1f us   p95 %10.1f us\n", what, iterations, s.median, s.p95);
}

void setValues(int seed)
{
    SizingState &s = sizing();
    double v = 0.25 + seed * 0.01;
    for (double *f : {&s.Q1, &s.dPr1, &s.dPf1, &s.dPppr1, &s.dPs, &s.dPtr1, &s.dPdr1, &s.dPn, &s.Kvy1, &s.Q2, &s.dPr2,
                      &s.dPf2, &s.dPppr2, &s.dPt, &s.dPtr2, &s.dPdr2, &s.Kvy2}) {
        *f = v;
        v += 1.5;
    }
    s.LastSys = static_cast<std::uint8_t>(seed % 3);
}

} // namespace

int main(int argc, char **argv)
{
    const int iterations = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    char dirTemplate[] = "/tmp/bench_settings.XXXXXX";
    if (!::mkdtemp(dirTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string dir = dirTemplate;
    const std::string path = dir + "/settings.ini";

    setValues(0);
    SaveSettings(path);
    print("save + load (values change every time)", iterations, measure(iterations, [&](int i) {
              setValues(i + 1);
              SaveSettings(path);
              LoadSettings(path);
          }));
    print("save + load (values unchanged)", iterations, measure(iterations, [&](int) {
              SaveSettings(path);
              LoadSettings(path);
          }));
    print("load only", iterations, measure(iterations, [&](int) { LoadSettings(path); }));

    // 30 MB of foreign content before the keys, with megabyte lines
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        const std::string line(1 << 20, 'x');
        for (int i = 0; i < 30; ++i)
            out << "[Foreign" << i << "]\r\nkey=" << line << "\r\n";
    }
    SaveSettings(path);
    const int large = std::max(1, iterations / 20);
    print("load, 30 MB file", large, measure(large, [&](int) { LoadSettings(path); }));
    print("save + load, 30 MB file", large, measure(large, [&](int i) {
              setValues(i + 1);
              SaveSettings(path);
              LoadSettings(path);
          }));

    ::unlink(path.c_str());
    ::rmdir(dir.c_str());
    return 0;
}
