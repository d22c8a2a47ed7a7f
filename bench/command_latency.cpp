// Command latency: one press of Play for unit 1, from the controller's checks
// to the datagram leaving through the real endpoint, against one sendto() of
// the same twelve bytes on a plain socket.

#include "controller/controller.h"
#include "net/udp_endpoint.h"
#include "support/bench_window.h"
#include "support/play_frame.h"
#include "support/plain_udp.h"
#include "support/private_namespace.h"
#include "support/ratio_report.h"
#include "support/unit_thread.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>

namespace {

// The unit thread counts a datagram a moment after it arrives.
bool UnitSaw(const bench::UnitThread &unit, long count)
{
    for (int i = 0; i < 200 && unit.received() < count; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    return unit.received() >= count;
}

void ProgramPlayPress(benchmark::State &state)
{
    const bench::UnitThread unit(bench::kUnitPort, std::nullopt);
    if (!unit.isListening()) {
        state.SkipWithError("port 2639 on 127.0.0.1 is taken");
        return;
    }
    bench::ProgramOnLoopback program;
    auto &window = program.window;
    auto &controller = program.controller;

    for (auto _ : state)
        controller.commandPressed(corvane::Command::Play);

    if (window.boxes != 0)
        state.SkipWithError("the press opened a box");
    else if (!UnitSaw(unit, 1) || unit.lastDatagram() != bench::kPlayFrame)
        state.SkipWithError("the unit did not receive the Play frame");
}

void FloorSendto(benchmark::State &state)
{
    const bench::UnitThread unit(bench::kUnitPort, std::nullopt);
    bench::PlainUdpSocket socket;
    if (!unit.isListening() || !socket.bind(INADDR_ANY, 1028)) {
        state.SkipWithError("port 2639 or 1028 is taken");
        return;
    }
    const sockaddr_in to = bench::Ipv4(bench::kLoopback, bench::kUnitPort);

    for (auto _ : state)
        benchmark::DoNotOptimize(socket.sendTo(to, bench::kPlayFrame));

    if (!UnitSaw(unit, 1) || unit.lastDatagram() != bench::kPlayFrame)
        state.SkipWithError("the unit did not receive the Play frame");
}

BENCHMARK(ProgramPlayPress)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(FloorSendto)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    QCoreApplication app(argc, argv);
    return bench::RunAndReport(argc, argv,
                               {{"command latency", "ProgramPlayPress", "FloorSendto", "", "", 1.3}});
}
