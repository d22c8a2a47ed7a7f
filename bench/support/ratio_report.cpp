// SPDX-License-Identifier: MIT
#include "support/ratio_report.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>

namespace bench {

namespace {

struct Figures
{
    double realNs = NAN;
    std::map<std::string, double> counters;
    std::string error; // the benchmark could not run when not empty
};

// Keeps the console output and remembers, per benchmark, the median of its
// repetitions (or its single run when it has none).
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, Figures> figures;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            Figures &entry = figures[run.run_name.function_name];
            if (run.error_occurred)
                entry.error = run.error_message.empty() ? "failed" : run.error_message;
            else if (run.aggregate_name == "median" || run.repetitions <= 1) {
                entry.realNs =
                    run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
                for (const auto &[name, counter] : run.counters)
                    entry.counters[name] = counter.value;
            }
        }
    }
};

std::string Format(double value, const std::string &unit)
{
    char text[64];
    if (unit.empty()) // nanoseconds
        std::snprintf(text, sizeof text, "%.3g %s",
                      value / (value >= 1e9   ? 1e9
                               : value >= 1e6 ? 1e6
                                              : 1e3),
                      value >= 1e9   ? "s"
                      : value >= 1e6 ? "ms"
                                     : "us");
    else
        std::snprintf(text, sizeof text, "%.4g %s", value, unit.c_str());
    return text;
}

} // namespace

int RunAndReport(int argc, char **argv, const std::vector<Row> &rows)
{
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    int status = 0;
    for (const Row &row : rows) {
        const bool plain = row.floor.empty();
        const auto figure = [&](const std::string &name) {
            const Figures &f = reporter.figures[name];
            const auto it = f.counters.find(row.counter);
            return !f.error.empty()         ? NAN
                   : row.value              ? row.value()
                   : row.counter.empty()    ? f.realNs
                   : it != f.counters.end() ? it->second
                                            : NAN;
        };
        const double program = figure(row.program);
        const double floor = plain ? 1.0 : figure(row.floor);
        char target[64];
        std::snprintf(target, sizeof target, "<= %.4g%s", row.target, plain ? (" " + row.unit).c_str() : "");
        std::string line = row.what + "|" + row.measure + "|";
        if (std::isnan(program / floor) || floor <= 0) {
            line += "-|-|-|" + std::string(target) + "|ERROR " + reporter.figures[row.program].error +
                    (plain ? "" : reporter.figures[row.floor].error);
            status = 2;
        } else {
            char ratio[32] = "-";
            if (!plain)
                std::snprintf(ratio, sizeof ratio, "%.2f", program / floor);
            const bool pass = program / floor <= row.target;
            line += Format(program, row.unit) + "|" + (plain ? "-" : Format(floor, row.unit)) + "|" + ratio +
                    "|" + target + "|" + (pass ? "PASS" : "FAIL");
            status = pass ? status : std::max(status, 1);
        }
        std::printf("RESULT|%s\n", line.c_str());
        if (const char *path = std::getenv("CORVANE_BENCH_RESULTS"))
            std::ofstream(path, std::ios::app) << line << '\n';
    }
    return status;
}

} // namespace bench
