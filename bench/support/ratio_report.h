#pragma once

// Every benchmark here is a pair: the program's own path and the floor, the
// least the machine must do for the same work, measured in the same run. This
// runs the registered benchmarks and then prints, per pair, both figures, their
// ratio and whether it is within its target; likewise for plain limits.

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Ratio
{
    std::string row;          // the results table's row, e.g. "command latency"
    std::string program;      // benchmark name of the program's path
    std::string floor;        // benchmark name of the floor
    std::string counter;      // compared counter; empty compares wall time per iteration
    std::string unit;         // shown with counter values
    double targetRatio;       // pass when program / floor <= targetRatio
    std::string measure = {}; // what the table calls it; the counter's name, or "time", when empty
};

struct Limit
{
    std::string row;
    std::string benchmark; // whose counter is checked, unless value is given
    std::string counter;   // also what the table calls it
    std::string unit;
    double limit; // pass when the value <= limit
    // A figure gathered outside the benchmarks' counters, read once they have all run.
    std::function<double()> value = {};
};

// Each result line goes to stdout and, when CORVANE_BENCH_RESULTS names a
// file, is appended there for bench/run.sh to gather into one table:
//   row|what|program figure|floor figure|ratio|target|PASS or FAIL
// Returns 0 when every pair and limit passes, 1 when one misses, 2 when a
// benchmark could not run.
int RunAndReport(int argc, char **argv, const std::vector<Ratio> &ratios,
                 const std::vector<Limit> &limits = {});

// A time in nanoseconds as text with a readable unit.
std::string FormatNanoseconds(double ns);

} // namespace bench
