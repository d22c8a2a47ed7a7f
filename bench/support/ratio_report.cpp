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
    bool failed = false;
    std::string error;
};

// Keeps the console output as usual and remembers, per benchmark, the median
// of its repetitions (or its single run when it has no repetitions).
class CollectingReporter : public benchmark::ConsoleReporter
{
public:
    std::map<std::string, Figures> figures;

    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs) {
            const std::string name = run.run_name.function_name;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            Figures &entry = figures[name];
            if (run.error_occurred) {
                entry.failed = true;
                entry.error = run.error_message;
                continue;
            }
            if (!median && !single)
                continue;
            entry.realNs = run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
            for (const auto &[counterName, counter] : run.counters)
                entry.counters[counterName] = counter.value;
        }
    }
};

std::string FormatValue(double value, const std::string &unit)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.4g %s", value, unit.c_str());
    return text;
}

void Emit(const std::string &line)
{
    std::printf("RESULT|%s\n", line.c_str());
    if (const char *path = std::getenv("CORVANE_BENCH_RESULTS")) {
        std::ofstream out(path, std::ios::app);
        out << line << '\n';
    }
}

} // namespace

std::string FormatNanoseconds(double ns)
{
    char text[64];
    if (ns >= 1e9)
        std::snprintf(text, sizeof text, "%.3g s", ns / 1e9);
    else if (ns >= 1e6)
        std::snprintf(text, sizeof text, "%.3g ms", ns / 1e6);
    else if (ns >= 1e3)
        std::snprintf(text, sizeof text, "%.3g us", ns / 1e3);
    else
        std::snprintf(text, sizeof text, "%.3g ns", ns);
    return text;
}

int RunAndReport(int argc, char **argv, const std::vector<Ratio> &ratios, const std::vector<Limit> &limits)
{
    benchmark::Initialize(&argc, argv);
    CollectingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    int status = 0;
    std::printf("\n");
    for (const Ratio &ratio : ratios) {
        const Figures &program = reporter.figures[ratio.program];
        const Figures &floor = reporter.figures[ratio.floor];
        const auto value = [&ratio](const Figures &f) {
            if (ratio.counter.empty())
                return f.realNs;
            const auto it = f.counters.find(ratio.counter);
            return it == f.counters.end() ? NAN : it->second;
        };
        const auto shown = [&ratio](double v) {
            return ratio.counter.empty() ? FormatNanoseconds(v) : FormatValue(v, ratio.unit);
        };
        const double p = value(program);
        const double f = value(floor);
        const std::string measure = !ratio.measure.empty()  ? ratio.measure
                                    : ratio.counter.empty() ? "time"
                                                            : ratio.counter;
        if (program.failed || floor.failed || std::isnan(p) || std::isnan(f) || f <= 0) {
            Emit(ratio.row + "|" + measure + "|-|-|-|<= " + std::to_string(ratio.targetRatio) + "|ERROR " +
                 program.error + floor.error);
            status = 2;
            continue;
        }
        const double r = p / f;
        char ratioText[32];
        char targetText[32];
        std::snprintf(ratioText, sizeof ratioText, "%.2f", r);
        std::snprintf(targetText, sizeof targetText, "<= %.2f", ratio.targetRatio);
        const bool pass = r <= ratio.targetRatio;
        Emit(ratio.row + "|" + measure + "|" + shown(p) + "|" + shown(f) + "|" + ratioText + "|" +
             targetText + "|" + (pass ? "PASS" : "FAIL"));
        if (!pass && status == 0)
            status = 1;
    }
    for (const Limit &limit : limits) {
        const Figures &figures = reporter.figures[limit.benchmark];
        const auto it = figures.counters.find(limit.counter);
        char limitText[64];
        std::snprintf(limitText, sizeof limitText, "<= %.4g %s", limit.limit, limit.unit.c_str());
        const bool measured = !figures.failed && (limit.value || it != figures.counters.end());
        if (!measured) {
            Emit(limit.row + "|" + limit.counter + "|-|-|-|" + limitText + "|ERROR " + figures.error);
            status = 2;
            continue;
        }
        const double value = limit.value ? limit.value() : it->second;
        const bool pass = value <= limit.limit;
        Emit(limit.row + "|" + limit.counter + "|" + FormatValue(value, limit.unit) + "|-|-|" + limitText +
             "|" + (pass ? "PASS" : "FAIL"));
        if (!pass && status == 0)
            status = 1;
    }
    return status;
}

} // namespace bench
