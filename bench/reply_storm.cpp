// SPDX-License-Identifier: MIT
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
#include "support/window_control.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr long kDatagrams = 100000;

// Mostly the short answers units give, some longer text, a few full-size
// Ethernet payloads and now and then one up to the largest UDP payload:
// 100,000 datagrams, the same every run, every byte value in them.
class Storm
{
public:
    Storm()
    {
        std::mt19937 random(2639);
        for (char &c : m_pool)
            c = static_cast<char>(random() & 0xFF);
        const struct
        {
            double share;
            std::uint32_t smallest, largest;
        } mix[] = {{0.70, 1, 32}, {0.25, 33, 512}, {0.049, 513, 1472}, {0.001, 1473, 65507}};
        std::discrete_distribution<std::size_t> pickClass({0.70, 0.25, 0.049, 0.001});
        for (long i = 0; i < kDatagrams; ++i) {
            const auto &c = mix[pickClass(random)];
            m_sizes.push_back(std::uniform_int_distribution<std::uint32_t>(c.smallest, c.largest)(random));
            m_offsets.push_back(std::uniform_int_distribution<std::uint32_t>(0, 65536)(random));
            // What the receiver's buffer is charged, estimated high: the buffer
            // rounded up plus bookkeeping; large ones take a power-of-two allocation.
            m_charge.push_back(m_charge.back() +
                               (m_sizes.back() < 2048 ? 2304 : 2ULL * m_sizes.back() + 4096));
        }
    }
    std::string_view datagram(long i) const { return {m_pool.data() + m_offsets[i], m_sizes[i]}; }
    // What the receiver's buffer is charged for datagrams [0, i).
    std::uint64_t chargeBefore(long i) const { return m_charge[i]; }

private:
    std::string m_pool = std::string(2 * 65536, '\0');
    std::vector<std::uint32_t> m_offsets, m_sizes;
    std::vector<std::uint64_t> m_charge{0};
};

// Blasts the storm at a port from a thread of its own, from construction on.
// It keeps the receiver's socket buffer from overflowing (the kernel would
// drop what does not fit, and each side would then handle a different
// number of datagrams): it sends as fast as the receiver's reported progress
// lets it, never more than about half the default buffer (212,992 bytes) ahead.
class StormSender
{
public:
    // consumed: how many datagrams the receiver has taken so far.
    StormSender(const Storm &storm, std::uint16_t port, const std::atomic<long> &consumed)
        : m_thread([this, &storm, port, &consumed] { run(storm, port, consumed); })
    {
    }
    ~StormSender() { finish(); }
    // False once the receiver has taken nothing for a second (a datagram was lost).
    bool healthy() const { return !m_stalled; }
    // Waits until the whole storm is sent.
    void finish()
    {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    void run(const Storm &storm, std::uint16_t port, const std::atomic<long> &consumed)
    {
        const bench::PlainUdpSocket socket;
        const sockaddr_in to = bench::Ipv4(bench::kLoopback, port);
        long taken = 0;
        auto progressAt = Clock::now();
        for (long i = 0; i < kDatagrams; ++i) {
            while (i > taken && storm.chargeBefore(i + 1) - storm.chargeBefore(taken) > 104 * 1024) {
                if (const long now = consumed.load(std::memory_order_acquire); now != taken) {
                    taken = now;
                    progressAt = Clock::now();
                } else if (Clock::now() - progressAt > std::chrono::seconds(1)) {
                    m_stalled = true;
                    return;
                } else {
                    std::this_thread::yield();
                }
            }
            socket.sendTo(to, storm.datagram(i));
        }
    }

    std::atomic<bool> m_stalled{false};
    std::thread m_thread;
};

// This process's resident memory, in KiB; NaN, which the report shows as an error, when unknown.
double ResidentKib()
{
    long pages = 0, resident = 0;
    if (!(std::ifstream("/proc/self/statm") >> pages >> resident))
        return NAN;
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

std::unique_ptr<Storm> g_storm;
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
    const auto start = Clock::now();
    StormSender sender(*g_storm, g_port, g_consumed);
    sinceTick.start();
    tick.start(10);
    while (g_consumed.load(std::memory_order_relaxed) < kDatagrams && sender.healthy() &&
           Clock::now() - start < std::chrono::seconds(120))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const auto end = Clock::now();
    tick.stop();
    sender.finish();
    // What the storm left to do (the last reply shown, repaints) is part of its cost to memory.
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return sender.healthy() && g_consumed == kDatagrams ? std::chrono::duration<double>(end - start).count()
                                                        : -1;
}

void ProgramStorm(benchmark::State &state)
{
    for (auto _ : state) {
        const double before = ResidentKib();
        const double seconds = StormThroughProgram();
        state.counters["memory_growth_kib"] = ResidentKib() - before;
        if (seconds < 0)
            return state.SkipWithError("the program did not take the whole storm");
        state.SetIterationTime(seconds);
    }
}

void FloorStorm(benchmark::State &state)
{
    bench::PlainUdpSocket socket;
    constexpr std::uint16_t kFloorPort = 2640; // nothing else in the private namespace holds it
    if (!socket.bind(bench::kLoopback, kFloorPort))
        return state.SkipWithError("port 2640 on 127.0.0.1 is taken");
    socket.setReceiveTimeout(1000);
    std::vector<char> buffer(65536);
    for (auto _ : state) {
        std::atomic<long> received{0};
        const auto start = Clock::now();
        StormSender sender(*g_storm, kFloorPort, received);
        while (received < kDatagrams && socket.receive(buffer.data(), buffer.size()) >= 0)
            received.fetch_add(1, std::memory_order_release);
        const auto end = Clock::now();
        sender.finish();
        if (!sender.healthy() || received != kDatagrams)
            return state.SkipWithError("the floor did not take the whole storm");
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}

void Settings(benchmark::internal::Benchmark *b)
{
    b->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(5)
        ->ReportAggregatesOnly(true);
}
BENCHMARK(ProgramStorm)->Apply(Settings);
BENCHMARK(FloorStorm)->Apply(Settings);

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    g_storm = std::make_unique<Storm>();
    corvane::Main window;
    window.startUp();
    window.show();
    g_port = bench::Control<QLineEdit>(window, "localPortField")->text().toUShort();
    // Connected after the window's own handler, so it counts datagrams the rules are done with.
    QObject::connect(bench::Control<corvane::UdpEndpoint>(window, "endpoint"),
                     &corvane::UdpEndpoint::datagramArrived,
                     [] { g_consumed.fetch_add(1, std::memory_order_release); });
    // Two storms first, unmeasured, so that every cache the program fills is full.
    if (StormThroughProgram() < 0 || StormThroughProgram() < 0) {
        std::fprintf(stderr, "the program did not take the warm-up storms\n");
        return 2;
    }
    g_worstLatenessMs = 0;

    return bench::RunAndReport(argc, argv,
                               {{"reply storm", "time", "ProgramStorm", "FloorStorm", 1.25},
                                {"reply storm", "10 ms timer, worst lateness", "ProgramStorm", "", 10.0, "",
                                 "ms", [] { return g_worstLatenessMs; }},
                                {"reply storm", "memory growth after a storm (median)", "ProgramStorm", "",
                                 1024.0, "memory_growth_kib", "KiB"}});
}
