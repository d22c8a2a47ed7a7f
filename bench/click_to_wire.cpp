// SPDX-License-Identifier: MIT
// Click to wire: a mouse click on the window's Play for unit 1, pressed and
// released, until its datagram has left for a unit on 127.0.0.1:2639 and the
// window has repainted what the click changed (the controller's checks,
// framing, checksum, the reply timer, the real endpoint), against a program
// of one QPushButton whose clicked() sends the same frame with
// QUdpSocket::writeDatagram. Both are offscreen in this one process, in
// alternating blocks of clicks.

#include "support/private_namespace.h"
#include "support/ratio_report.h"
#include "support/unit_thread.h"
#include "support/window_control.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

std::unique_ptr<bench::UnitThread> g_unit;
QTimer *g_replyTimer = nullptr; // the window's, which a press starts
QPushButton *g_play = nullptr;  // the window's
QPushButton *g_plain = nullptr; // the one-button program's

// The presses reached the unit as the Play frame; the unit counts them a
// moment after they arrive, and the kernel may drop some of a fast burst.
// Nobody answers, so the reply timer is stopped before it can warn.
void CheckUnitSaw(benchmark::State &state, long before)
{
    g_replyTimer->stop();
    for (int i = 0; i < 200 && g_unit->received() <= before; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (g_unit->received() <= before || g_unit->notPlay() != 0)
        state.SkipWithError("the unit did not receive the Play frame");
}

void Click(benchmark::State &state, QPushButton *button)
{
    const long before = g_unit->received();
    for (auto _ : state) {
        QTest::mouseClick(button, Qt::LeftButton);
        QCoreApplication::processEvents(); // whatever the press and release left to do
    }
    CheckUnitSaw(state, before);
}

void ProgramClick(benchmark::State &state) { Click(state, g_play); }
void FloorClick(benchmark::State &state) { Click(state, g_plain); }

BENCHMARK(ProgramClick)->Iterations(1000)->Repetitions(10)->ReportAggregatesOnly(true);
BENCHMARK(FloorClick)->Iterations(1000)->Repetitions(10)->ReportAggregatesOnly(true);

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    g_unit = std::make_unique<bench::UnitThread>(std::nullopt);
    corvane::Main window;
    window.startUp();
    bench::Control<QLineEdit>(window, "addressField")->setText(QStringLiteral("127.0.0.1"));
    window.show();
    g_replyTimer = bench::Control<QTimer>(window, "replyTimer");
    g_play = bench::Control<QPushButton>(window, "playButton");

    QPushButton plain(QStringLiteral("Play"));
    QUdpSocket socket;
    const QByteArray frame = QByteArray::fromStdString(bench::kPlayFrame);
    const QHostAddress unit(QHostAddress::LocalHost);
    QObject::connect(&plain, &QPushButton::clicked, &socket,
                     [&] { socket.writeDatagram(frame, unit, bench::kUnitPort); });
    plain.show();
    g_plain = &plain;
    if (!g_unit->isListening() || !QTest::qWaitForWindowExposed(&window) ||
        !QTest::qWaitForWindowExposed(&plain)) {
        std::fprintf(stderr, "port 2639 on 127.0.0.1 is taken, or a window was not shown\n");
        return 2;
    }
    return bench::RunAndReport(argc, argv, {{"click to wire", "time", "ProgramClick", "FloorClick", 1.1}});
}
