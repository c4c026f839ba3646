#include "bench/common/Rivals.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>

namespace bench {

double Min(std::vector<double> v) { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

namespace {

double Ratio(double a, double b) { return b > 0 ? a / b : 0; }

}  // namespace

double ProcessCpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

void RunRivals(benchmark::State& state, const std::vector<Rival>& rivals, const std::string& yardstick) {
    const size_t n = rivals.size();
    std::vector<std::vector<double>> wall(n), cpu(n);
    size_t round = 0;
    for (auto _ : state) {
        double firstWall = 0;
        for (size_t k = 0; k < n; ++k) {
            const size_t i = (round + k) % n;
            if (rivals[i].prepare) rivals[i].prepare();
            double w = 0, c = 0;
            bool ok;
            if (rivals[i].timed) {
                ok = rivals[i].timed(w, c);
            } else {
                const auto t0 = std::chrono::steady_clock::now();
                const double c0 = ProcessCpuSeconds();
                ok = rivals[i].run();
                c = ProcessCpuSeconds() - c0;
                w = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
            }
            if (!ok) {
                state.SkipWithError((rivals[i].name + ": wrong result").c_str());
                return;
            }
            wall[i].push_back(w);
            cpu[i].push_back(c);
            if (i == 0) firstWall = w;
        }
        state.SetIterationTime(firstWall);
        ++round;
    }
    for (size_t i = 1; i < n; ++i) {
        const std::string& r = rivals[i].name;
        state.counters[r + "_ms"] = Min(wall[i]) * 1e3;
        state.counters["x_" + r] = Ratio(Min(wall[0]), Min(wall[i]));
        state.counters["x_" + r + "_med"] = Ratio(Median(wall[0]), Median(wall[i]));
        state.counters["x_" + r + "_cpu"] = Ratio(Min(cpu[0]), Min(cpu[i]));
        state.counters["x_" + r + "_cpu_med"] = Ratio(Median(cpu[0]), Median(cpu[i]));
    }
    state.SetLabel(yardstick);
}

}  // namespace bench
