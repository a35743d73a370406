// Times one evaluation of the valve check of a circuit (the README's worked
// case, its heat load changing every time), as a keystroke in the check
// window or the main window runs it.
// Usage: bench_valvecheck [iterations]
#include "bench/benchstats.h"
#include "core/valvecheck.h"

#include <chrono>
#include <cstdlib>
#include <vector>

int main(int argc, char **argv)
{
    const int iterations = argc > 1 ? std::atoi(argv[1]) : 20000;
    using Clock = std::chrono::steady_clock;
    const CircuitValues circuit{Scheme::Dependent, 1, 0, 0.8, 15.06, 13.47, 15};
    CheckInputs inputs{1, 150, 70, 6, 0.5};
    std::vector<double> ms;
    double sink = 0;
    for (int i = 0; i < iterations; ++i) {
        inputs.HeatLoad = 1 + (i % 100) * 0.01;
        const auto start = Clock::now();
        const ValveCheck check = evaluateValveCheck(circuit, inputs);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        sink += check.flow.flowM3h + check.rows.size();
    }
    printTimings("one evaluation of the valve check (three rows)", ms);
    return sink > 0 ? 0 : 1;
}
