// Reply storm: 100,000 datagrams of mixed sizes blasted at the program's port.
// The program is the real window on the offscreen platform: each datagram
// goes through the endpoint and the controller's reply rule, and the reply
// field shows the latest. The floor reads the same datagrams with a plain
// recvfrom() loop. While the program takes a storm, a 10 ms timer on its
// event loop must never be late by more than 10 ms; and a storm must leave
// the program's memory no larger (the median over the storms, after warm-up
// storms, so that the verdict does not flip with the allocator's moods).

#include "net/udp_endpoint.h"
#include "support/plain_udp.h"
#include "support/private_namespace.h"
#include "support/ratio_report.h"
#include "support/storm.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kDatagrams = 100000;

// Mostly the short answers units give, some longer text, a few full-size
// Ethernet payloads and now and then one up to the largest UDP payload.
const std::vector<bench::SizeClass> kMix = {
    {0.70, 1, 32}, {0.25, 33, 512}, {0.049, 513, 1472}, {0.001, 1473, 65507}};

std::unique_ptr<bench::Storm> g_storm;
std::uint16_t g_port = 0;        // the window's
std::atomic<long> g_consumed{0}; // datagrams the window is done with
double g_worstLatenessMs = 0;

// One storm through the window: the seconds from the first datagram sent to
// the last one handled, or a negative value when it could not be completed.
double StormThroughProgram()
{
    g_consumed = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QElapsedTimer sinceTick;
    QObject::connect(&tick, &QTimer::timeout, [&sinceTick] {
        g_worstLatenessMs =
            std::max(g_worstLatenessMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6 - 10.0);
        sinceTick.start();
    });
    bench::StormSender sender(*g_storm, g_port, g_consumed);
    const auto deadline = Clock::now() + std::chrono::seconds(120);
    const auto start = Clock::now();
    sinceTick.start();
    tick.start(10);
    sender.start();
    while (g_consumed.load(std::memory_order_relaxed) < static_cast<long>(kDatagrams) && !sender.stalled() &&
           Clock::now() < deadline)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto end = Clock::now();
    tick.stop();
    const bool complete = sender.finish() && g_consumed == static_cast<long>(kDatagrams);
    // What the storm left to do (the last reply shown, repaints) is part of its cost to memory.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return complete ? std::chrono::duration<double>(end - start).count() : -1.0;
}

void ProgramStorm(benchmark::State &state)
{
    double growthKib = 0;
    for (auto _ : state) {
        const double before = bench::ResidentKib();
        const double seconds = StormThroughProgram();
        growthKib = bench::ResidentKib() - before;
        if (seconds < 0) {
            state.SkipWithError("the program did not take the whole storm");
            return;
        }
        state.SetIterationTime(seconds);
    }
    state.counters["memory_growth_kib"] = growthKib;
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
    corvane::Main window;
    window.startUp();
    window.show();
    g_port = window.findChild<QLineEdit *>(QStringLiteral("LocalPortTxt"))->text().toUShort();
    // Connected after the window's own handler, so it counts datagrams the rules are done with.
    QObject::connect(window.findChild<corvane::UdpEndpoint *>(), &corvane::UdpEndpoint::datagramArrived,
                     [] { g_consumed.fetch_add(1, std::memory_order_release); });
    // Two storms first, unmeasured, so that every cache the program fills is full.
    for (int i = 0; i < 2; ++i) {
        if (StormThroughProgram() < 0) {
            std::fprintf(stderr, "the program did not take the warm-up storm\n");
            return 2;
        }
    }
    g_worstLatenessMs = 0;

    return bench::RunAndReport(argc, argv,
                               {{"reply storm", "time", "ProgramStorm", "FloorStorm", 1.25},
                                {"reply storm", "10 ms timer, worst lateness", "ProgramStorm", "", 10.0, "",
                                 "ms", [] { return g_worstLatenessMs; }},
                                {"reply storm", "memory growth after a storm (median)", "ProgramStorm", "",
                                 1024.0, "memory_growth_kib", "KiB"}});
}
