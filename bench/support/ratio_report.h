// SPDX-License-Identifier: MIT
#pragma once

// Every benchmark here is a pair: the program's own path and the floor, the
// least the machine must do for the same work, measured in the same run. This
// runs the registered benchmarks (Google Benchmark interleaves the
// repetitions of both sides when asked to, as bench/run.sh does) and prints a
// row of the results table for each pair: both medians, their ratio and
// whether it is within its target. A row without a floor is a plain limit.

#include <functional>
#include <string>
#include <vector>

namespace bench {

struct Row
{
    std::string what;         // the row, e.g. "click to wire"
    std::string measure;      // e.g. "time"
    std::string program;      // benchmark of the program's path
    std::string floor;        // benchmark of the floor; empty for a plain limit
    double target;            // pass when program / floor, or the plain figure, <= target
    std::string counter = {}; // compared counter; empty compares wall time per iteration
    std::string unit = {};    // shown with counter values and plain figures
    // A plain figure gathered outside the counters, read once all have run.
    std::function<double()> value = {};
};

// Each row goes to stdout as
//   RESULT|what|measure|program figure|floor figure|ratio|target|PASS or FAIL
// and, when CORVANE_BENCH_RESULTS names a file, is appended there for
// bench/run.sh. Returns 0 when every row passes, 1 when one misses, 2 when a
// benchmark could not run.
int RunAndReport(int argc, char **argv, const std::vector<Row> &rows);

} // namespace bench
