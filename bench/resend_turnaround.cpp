// Resend turnaround: a unit on another thread answers every frame with "E00";
// the program, on its event loop, resends each time until its bound. One
// iteration is a press of Play and its 41 resends: 42 frames out, 42 replies
// in. The floor is a blocking ping-pong of as many datagrams with the same unit.

#include "controller/controller.h"
#include "net/udp_endpoint.h"
#include "support/bench_window.h"
#include "support/play_frame.h"
#include "support/plain_udp.h"
#include "support/private_namespace.h"
#include "support/ratio_report.h"
#include "support/unit_thread.h"

#include <QCoreApplication>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kFramesPerCommand = 1 + 41;
constexpr auto kIterationDeadline = std::chrono::seconds(2);

void ProgramResends(benchmark::State &state)
{
    const bench::UnitThread unit(bench::kUnitPort, std::string("E00"));
    if (!unit.isListening()) {
        state.SkipWithError("port 2639 on 127.0.0.1 is taken");
        return;
    }
    bench::ProgramOnLoopback program;
    auto &controller = program.controller;
    int handled = 0;
    QObject::connect(&program.endpoint, &corvane::UdpEndpoint::datagramArrived, [&] {
        controller.datagramArrived();
        ++handled;
    });
    // Wakes the loop now and then, so a lost datagram cannot keep it waiting for good.
    QTimer wake;
    wake.start(100);

    for (auto _ : state) {
        handled = 0;
        const auto deadline = Clock::now() + kIterationDeadline;
        controller.commandPressed(corvane::Command::Play);
        while (handled < kFramesPerCommand && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (handled < kFramesPerCommand) {
            state.SkipWithError("a reply went missing");
            break;
        }
    }

    for (int i = 0; i < 100 && unit.received() < state.iterations() * kFramesPerCommand; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (unit.received() != state.iterations() * kFramesPerCommand)
        state.SkipWithError("the unit did not receive exactly 42 frames per press");
    else if (unit.lastDatagram() != bench::kPlayFrame)
        state.SkipWithError("the resent frame differs from the Play frame");
    state.counters["per_resend_us"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFramesPerCommand,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void FloorPingPong(benchmark::State &state)
{
    const bench::UnitThread unit(bench::kUnitPort, std::string("E00"));
    bench::PlainUdpSocket client;
    if (!unit.isListening() || !client.bind(INADDR_ANY, 1028)) {
        state.SkipWithError("port 2639 or 1028 is taken");
        return;
    }
    client.setReceiveTimeout(2000);
    const sockaddr_in to = bench::Ipv4(bench::kLoopback, bench::kUnitPort);
    std::vector<char> buffer(65536);

    for (auto _ : state) {
        for (int i = 0; i < kFramesPerCommand; ++i) {
            client.sendTo(to, bench::kPlayFrame);
            if (client.receive(buffer.data(), buffer.size()) < 0) {
                state.SkipWithError("a reply went missing");
                return;
            }
        }
    }
    state.counters["per_resend_us"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFramesPerCommand,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

BENCHMARK(ProgramResends)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(FloorPingPong)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    QCoreApplication app(argc, argv);
    return bench::RunAndReport(argc, argv,
                               {{"resend turnaround", "ProgramResends", "FloorPingPong", "", "", 2.0}});
}
