// SPDX-License-Identifier: MIT
// Resend turnaround: a unit on another thread answers every frame with "E00";
// the real window (offscreen) resends each time until its bound. One
// iteration is a press of Play and its 41 resends: 42 frames out, 42 replies
// in. The floor is a blocking ping-pong of as many datagrams with the same unit.

#include "net/udp_endpoint.h"
#include "support/plain_udp.h"
#include "support/private_namespace.h"
#include "support/ratio_report.h"
#include "support/unit_thread.h"
#include "support/window_control.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr int kFramesPerCommand = 1 + 41;

void ProgramResends(benchmark::State &state)
{
    const bench::UnitThread unit(std::string("E00"));
    if (!unit.isListening())
        return state.SkipWithError("port 2639 on 127.0.0.1 is taken");
    corvane::Main window;
    window.startUp();
    bench::Control<QLineEdit>(window, "addressField")->setText(QStringLiteral("127.0.0.1"));
    auto *play = bench::Control<QPushButton>(window, "playButton");
    int handled = 0;
    // Connected after the window's own handler, so it counts replies the rules are done with.
    QObject::connect(bench::Control<corvane::UdpEndpoint>(window, "endpoint"),
                     &corvane::UdpEndpoint::datagramArrived, [&handled] { ++handled; });
    // Wakes the loop now and then, so a lost datagram cannot keep it waiting for good.
    QTimer wake;
    wake.start(100);

    for (auto _ : state) {
        handled = 0;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        play->click();
        while (handled < kFramesPerCommand && std::chrono::steady_clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (handled < kFramesPerCommand)
            return state.SkipWithError("a reply went missing");
    }
    const long frames = static_cast<long>(state.iterations()) * kFramesPerCommand;
    for (int i = 0; i < 100 && unit.received() < frames; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (unit.received() != frames || unit.notPlay() != 0)
        state.SkipWithError("the unit did not receive the Play frame exactly 42 times per press");
}

void FloorPingPong(benchmark::State &state)
{
    const bench::UnitThread unit(std::string("E00"));
    bench::PlainUdpSocket client;
    if (!unit.isListening() || !client.bind(INADDR_ANY, static_cast<std::uint16_t>(corvane::kFirstLocalPort)))
        return state.SkipWithError("port 2639 or 1028 is taken");
    client.setReceiveTimeout(2000);
    const sockaddr_in to = bench::Ipv4(bench::kLoopback, bench::kUnitPort);
    std::vector<char> buffer(65536);
    for (auto _ : state) {
        for (int i = 0; i < kFramesPerCommand; ++i) {
            if (!client.sendTo(to, bench::kPlayFrame) || client.receive(buffer.data(), buffer.size()) < 0)
                return state.SkipWithError("a reply went missing");
        }
    }
}

BENCHMARK(ProgramResends)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(FloorPingPong)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    return bench::RunAndReport(argc, argv,
                               {{"resend turnaround", "time", "ProgramResends", "FloorPingPong", 2.0}});
}
