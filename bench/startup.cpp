// SPDX-License-Identifier: MIT
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

extern char **environ;

namespace {

std::string g_directory; // where the two children were built, next to this driver

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

// Starts the child and waits for it: its seconds from start until shown and
// bound, and its peak resident memory in KiB; an error text when it failed.
std::string RunChild(const std::string &program, double *seconds, double *maxRssKib)
{
    int out[2];
    if (pipe(out) != 0)
        return "no pipe";
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
    FILE *report = fdopen(out[0], "r");
    long long shownAt = 0;
    int bound = 0;
    const bool read = spawned == 0 && report && std::fscanf(report, "%lld %d", &shownAt, &bound) == 2;
    report ? std::fclose(report) : close(out[0]);
    int status = 0;
    rusage usage{};
    if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0 || !read)
        return program + " did not report its window shown";
    if (!bound)
        return program + " showed its window without a bound port";
    *seconds = static_cast<double>(shownAt - startedAt) / 1e9;
    *maxRssKib = static_cast<double>(usage.ru_maxrss);
    return {};
}

void Measure(benchmark::State &state, const std::string &program)
{
    double rss = 0;
    for (auto _ : state) {
        double seconds = 0, maxRssKib = 0;
        if (const std::string error = RunChild(program, &seconds, &maxRssKib); !error.empty()) {
            state.SkipWithError(error.c_str());
            return;
        }
        state.SetIterationTime(seconds);
        rss += maxRssKib;
    }
    state.counters["max_rss_mib"] = benchmark::Counter(rss / 1024.0, benchmark::Counter::kAvgIterations);
}

void ProgramStartUp(benchmark::State &state) { Measure(state, "corvane_startup_program"); }
void FloorStartUp(benchmark::State &state) { Measure(state, "corvane_startup_widgets"); }

void Settings(benchmark::internal::Benchmark *b)
{
    b->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(5)
        ->Repetitions(21)
        ->ReportAggregatesOnly(true);
}
BENCHMARK(ProgramStartUp)->Apply(Settings);
BENCHMARK(FloorStartUp)->Apply(Settings);

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    const std::string self = argv[0];
    g_directory = self.find('/') == std::string::npos ? "." : self.substr(0, self.rfind('/'));

    // Fills the file system's and the font configuration's caches once, so
    // that neither side pays for a cold start the other does not.
    double seconds = 0, maxRssKib = 0;
    RunChild("corvane_startup_program", &seconds, &maxRssKib);
    RunChild("corvane_startup_widgets", &seconds, &maxRssKib);

    return bench::RunAndReport(
        argc, argv,
        {{"start-up", "time", "ProgramStartUp", "FloorStartUp", 1.10},
         {"start-up", "peak memory", "ProgramStartUp", "FloorStartUp", 1.05, "max_rss_mib", "MiB"}});
}
