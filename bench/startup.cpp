// Start-up: from the start of a process until its window is shown and its
// port bound, and the process's peak memory, for the program and for the
// floor, the same controls as plain widgets (both built from
// startup_child.cpp). Both run on the offscreen platform.

#include "support/private_namespace.h"
#include "support/ratio_report.h"

#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

extern char **environ;

namespace {

std::string g_directory; // where the two children were built, next to this driver

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

struct ChildRun
{
    bool ok = false;
    double seconds = 0;   // process start until shown and bound
    double maxRssKib = 0; // the child's peak resident memory
    std::string error;
};

ChildRun RunChild(const std::string &program)
{
    ChildRun run;
    int out[2];
    if (pipe(out) != 0) {
        run.error = "no pipe";
        return run;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    posix_spawn_file_actions_addclose(&actions, out[1]);
    const std::string path = g_directory + "/" + program;
    char *argv[] = {const_cast<char *>(path.c_str()), nullptr};

    const long long startedAt = MonotonicNs();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(out[1]);
    if (spawned != 0) {
        close(out[0]);
        run.error = "cannot start " + path;
        return run;
    }
    std::string line;
    char buffer[256];
    ssize_t n = 0;
    while ((n = read(out[0], buffer, sizeof buffer)) > 0)
        line.append(buffer, static_cast<std::size_t>(n));
    close(out[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);

    long long shownAt = 0;
    int bound = 0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
        std::sscanf(line.c_str(), "%lld %d", &shownAt, &bound) != 2) {
        run.error = program + " did not report its window shown";
        return run;
    }
    if (!bound) {
        run.error = program + " showed its window without a bound port";
        return run;
    }
    run.ok = true;
    run.seconds = static_cast<double>(shownAt - startedAt) / 1e9;
    run.maxRssKib = static_cast<double>(usage.ru_maxrss);
    return run;
}

void Measure(benchmark::State &state, const std::string &program)
{
    double rss = 0;
    for (auto _ : state) {
        const ChildRun run = RunChild(program);
        if (!run.ok) {
            state.SkipWithError(run.error.c_str());
            return;
        }
        state.SetIterationTime(run.seconds);
        rss += run.maxRssKib;
    }
    state.counters["max_rss_mib"] = benchmark::Counter(rss / 1024.0, benchmark::Counter::kAvgIterations);
}

void ProgramStartUp(benchmark::State &state) { Measure(state, "corvane_startup_program"); }
void FloorStartUp(benchmark::State &state) { Measure(state, "corvane_startup_widgets"); }

BENCHMARK(ProgramStartUp)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);
BENCHMARK(FloorStartUp)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = argv[0];
    const auto slash = self.rfind('/');
    g_directory = slash == std::string::npos ? "." : self.substr(0, slash);

    // Fills the file system's and the font configuration's caches once, so
    // that neither side pays for a cold start the other does not.
    RunChild("corvane_startup_program");
    RunChild("corvane_startup_widgets");

    return bench::RunAndReport(
        argc, argv,
        {{"start-up", "time", "ProgramStartUp", "FloorStartUp", 1.10},
         {"start-up", "peak memory", "ProgramStartUp", "FloorStartUp", 1.05, "max_rss_mib", "MiB"}});
}
