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
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.error_occurred ||
                !(median || (run.run_type == Run::RT_Iteration && run.repetitions <= 1)))
                continue;
            entry.realNs = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto &[name, counter] : run.counters)
                entry.counters[name] = counter.value;
        }
    }
};

std::string Format(double value, const std::string &unit)
{
    char text[64];
    if (!unit.empty())
        std::snprintf(text, sizeof text, "%.4g %s", value, unit.c_str());
    else // nanoseconds
        std::snprintf(text, sizeof text, "%.3g %s",
                      value >= 1e9   ? value / 1e9
                      : value >= 1e6 ? value / 1e6
                                     : value / 1e3,
                      value >= 1e9   ? "s"
                      : value >= 1e6 ? "ms"
                                     : "us");
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
        const auto figure = [&](const std::string &name) {
            const Figures &f = reporter.figures[name];
            if (row.value && row.floor.empty())
                return f.error.empty() ? row.value() : NAN;
            const auto it = f.counters.find(row.counter);
            return row.counter.empty() ? f.realNs : it == f.counters.end() ? NAN : it->second;
        };
        const double program = figure(row.program);
        const double floor = row.floor.empty() ? 1.0 : figure(row.floor);
        const double ratio = program / floor;
        char target[64];
        std::snprintf(target, sizeof target, "<= %.4g%s", row.target,
                      row.floor.empty() ? (" " + row.unit).c_str() : "");
        std::string line = row.what + "|" + row.measure + "|";
        if (std::isnan(ratio) || floor <= 0) {
            line += "-|-|-|" + std::string(target) + "|ERROR " + reporter.figures[row.program].error +
                    (row.floor.empty() ? "" : reporter.figures[row.floor].error);
            status = 2;
        } else {
            char ratioText[32] = "-";
            if (!row.floor.empty())
                std::snprintf(ratioText, sizeof ratioText, "%.2f", ratio);
            const bool pass = ratio <= row.target;
            line += Format(program, row.unit) + "|" + (row.floor.empty() ? "-" : Format(floor, row.unit)) +
                    "|" + ratioText + "|" + target + "|" + (pass ? "PASS" : "FAIL");
            if (!pass && status == 0)
                status = 1;
        }
        std::printf("RESULT|%s\n", line.c_str());
        if (const char *path = std::getenv("CORVANE_BENCH_RESULTS"))
            std::ofstream(path, std::ios::app) << line << '\n';
    }
    return status;
}

} // namespace bench
