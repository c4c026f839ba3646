// Side-by-side timing in one process: the program's way of doing something
// and its yardsticks (a plain Qt program, a plain sqlite3 read, ...) run in
// turns, the order turned at every round so that each takes every place,
// each timed by the wall clock and by the process's CPU time. What a busy
// machine does to one round falls on all of them alike.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace benchmark {
class State;
}

namespace bench {

struct Rival {
    std::string name;                         // short, used in the counters' names
    std::function<bool()> run;                // does the work to idle; false when its result is wrong
    std::function<void()> prepare = nullptr;  // if set, run untimed before each run
    // If set, the rival times itself (another process's clocks): it returns
    // its wall and CPU seconds and is used in place of run.
    std::function<bool(double& wall, double& cpu)> timed = nullptr;
};

// Runs every rival once per iteration of the state, in an order that turns
// each round. The first rival is the one measured: its wall time is the
// iteration's time (register with UseManualTime). Counters, for each other
// rival R: `R_ms` its least wall time, `x_R` and `x_R_med` the first's wall
// time over R's (minimum over minimum, median over median), `x_R_cpu` and
// `x_R_cpu_med` the same for CPU time. The label is `yardstick`, one line
// saying what the others are.
void RunRivals(benchmark::State& state, const std::vector<Rival>& rivals, const std::string& yardstick);

// The process's CPU time in seconds (every thread, user and system).
double ProcessCpuSeconds();

// The least and the median of the samples; 0 where there are none.
double Min(std::vector<double> v);
double Median(std::vector<double> v);

}  // namespace bench
