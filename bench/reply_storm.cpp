// Reply storm: 100,000 datagrams of mixed sizes blasted at the program's port.
// The program is the real window on the offscreen platform: each datagram
// goes through the endpoint and the controller into the reply field, whose
// change runs the reply rule. The floor reads the same datagrams with a plain
// recvfrom() loop. While the program takes the storm, a 10 ms timer on its
// event loop must never be more than 50 ms late, and once it is over the
// program's memory must not have grown by 1 MiB or more.

#include "net/udp_endpoint.h"
#include "support/plain_udp.h"
#include "support/private_namespace.h"
#include "support/ratio_report.h"
#include "support/storm.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kDatagrams = 100000;
constexpr auto kStormDeadline = std::chrono::seconds(120);

// Mostly the short answers units give, some longer text, a few full-size
// Ethernet payloads and now and then one up to the largest UDP payload.
const std::vector<bench::SizeClass> kMix = {
    {0.70, 1, 32},
    {0.25, 33, 512},
    {0.049, 513, 1472},
    {0.001, 1473, 65507},
};

struct ProgramUnderStorm
{
    corvane::Main window;
    std::uint16_t port = 0;
    std::atomic<long> consumed{0};
    double worstLatenessMs = 0;
    double residentBeforeKib = 0;
};

std::unique_ptr<bench::Storm> g_storm;
ProgramUnderStorm *g_program = nullptr;

// Runs one storm through the window; returns the seconds from the first
// datagram sent to the last one handled, or a negative value when the storm
// could not be completed.
double StormThroughProgram(ProgramUnderStorm &program)
{
    program.consumed = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    tick.setInterval(10);
    QElapsedTimer sinceTick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const double late = static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 10.0;
        program.worstLatenessMs = std::max(program.worstLatenessMs, late);
        sinceTick.start();
    });

    bench::StormSender sender(*g_storm, program.port, program.consumed);
    const auto deadline = Clock::now() + kStormDeadline;
    const auto start = Clock::now();
    sinceTick.start();
    tick.start();
    sender.start();
    while (program.consumed.load(std::memory_order_relaxed) < static_cast<long>(kDatagrams) &&
           !sender.stalled() && Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto end = Clock::now();
    tick.stop();
    const bool complete = sender.finish() && program.consumed == static_cast<long>(kDatagrams);
    // What the storm left queued (repaints, deferred deletions) is part of its cost to memory.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return complete ? std::chrono::duration<double>(end - start).count() : -1.0;
}

void ProgramStorm(benchmark::State &state)
{
    for (auto _ : state) {
        const double seconds = StormThroughProgram(*g_program);
        if (seconds < 0) {
            state.SkipWithError("the program did not take the whole storm");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["datagrams_per_s"] =
        benchmark::Counter(static_cast<double>(kDatagrams) * state.iterations(), benchmark::Counter::kIsRate);
}

void FloorStorm(benchmark::State &state)
{
    bench::PlainUdpSocket socket;
    if (!socket.bind(bench::kLoopback, 0)) {
        state.SkipWithError("no socket for the floor");
        return;
    }
    socket.setReceiveTimeout(1000);
    std::vector<char> buffer(65536);
    for (auto _ : state) {
        std::atomic<long> consumed{0};
        bench::StormSender sender(*g_storm, socket.localPort(), consumed);
        const auto start = Clock::now();
        sender.start();
        long received = 0;
        while (received < static_cast<long>(kDatagrams) && socket.receive(buffer.data(), buffer.size()) >= 0)
            consumed.store(++received, std::memory_order_release);
        const auto end = Clock::now();
        if (!sender.finish() || received != static_cast<long>(kDatagrams)) {
            state.SkipWithError("the floor did not take the whole storm");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
    state.counters["datagrams_per_s"] =
        benchmark::Counter(static_cast<double>(kDatagrams) * state.iterations(), benchmark::Counter::kIsRate);
}

BENCHMARK(ProgramStorm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(FloorStorm)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    g_storm = std::make_unique<bench::Storm>(kDatagrams, kMix, 2639);
    ProgramUnderStorm program;
    g_program = &program;
    program.window.startUp();
    program.window.show();
    program.port =
        static_cast<std::uint16_t>(std::stoi(program.window.ops().text(corvane::Field::LocalPortTxt)));
    auto *endpoint = program.window.findChild<corvane::UdpEndpoint *>();
    // Connected after the window's own handler, so it counts datagrams the controller is done with.
    QObject::connect(endpoint, &corvane::UdpEndpoint::datagramArrived,
                     [&program] { program.consumed.fetch_add(1, std::memory_order_release); });

    // One storm first, unmeasured, so that memory is compared from a steady state.
    if (StormThroughProgram(program) < 0) {
        std::fprintf(stderr, "the program did not take the warm-up storm\n");
        return 2;
    }
    program.worstLatenessMs = 0;
    program.residentBeforeKib = bench::ResidentKib();

    return bench::RunAndReport(
        argc, argv, {{"reply storm", "ProgramStorm", "FloorStorm", "", "", 3.0}},
        {{"reply storm", "ProgramStorm", "10 ms timer, worst lateness", "ms", 50.0,
          [&program] { return program.worstLatenessMs; }},
         {"reply storm", "ProgramStorm", "memory growth after the storms", "KiB", 1024.0,
          [&program] { return bench::ResidentKib() - program.residentBeforeKib; }}});
}
