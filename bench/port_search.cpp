// SPDX-License-Identifier: MIT
// Port search: every port from 1028 to 2638 is held, so the program's search
// tries 1611 taken ports, skips the units' 2639 and binds 2640. The floor is
// the same 1612 attempts as plain socket() + bind(), each failed socket closed.

#include "net/port_search.h"
#include "net/udp_endpoint.h"
#include "support/plain_udp.h"
#include "support/private_namespace.h"
#include "support/ratio_report.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <memory>
#include <vector>

namespace {

constexpr auto kFirstHeld = static_cast<std::uint16_t>(corvane::kFirstLocalPort);
constexpr std::uint16_t kLastHeld = 2638;

void ProgramPortSearch(benchmark::State &state)
{
    int boxes = 0;
    for (auto _ : state) {
        corvane::UdpEndpoint endpoint;
        std::int32_t candidate = kFirstHeld;
        corvane::BindFirstFreePort(endpoint, candidate, [&boxes] { ++boxes; });
        if (endpoint.localPort() != 2640 || boxes != 0)
            return state.SkipWithError("the search did not end on port 2640");
    }
}

void FloorBindAttempts(benchmark::State &state)
{
    for (auto _ : state) {
        int bound = -1;
        for (std::uint32_t port = kFirstHeld; port <= 65535 && bound < 0; ++port) {
            if (port == corvane::kUnitPort)
                continue;
            const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            const sockaddr_in address = bench::Ipv4(INADDR_ANY, static_cast<std::uint16_t>(port));
            if (::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
                bound = fd;
            else
                ::close(fd);
        }
        ::close(bound);
    }
}

BENCHMARK(ProgramPortSearch)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();
BENCHMARK(FloorBindAttempts)->MinTime(0.5)->Repetitions(5)->ReportAggregatesOnly(true)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    bench::RequirePrivateNamespace();
    QCoreApplication app(argc, argv);
    // The ports held on every local address, as another program would hold them.
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max; // room for a few thousand sockets
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    std::vector<std::unique_ptr<bench::PlainUdpSocket>> held;
    for (std::uint16_t port = kFirstHeld; port <= kLastHeld; ++port) {
        if (!held.emplace_back(std::make_unique<bench::PlainUdpSocket>())->bind(INADDR_ANY, port)) {
            std::fprintf(stderr, "the ports 1028-2638 cannot all be held\n");
            return 2;
        }
    }
    return bench::RunAndReport(argc, argv,
                               {{"port search", "time", "ProgramPortSearch", "FloorBindAttempts", 1.5}});
}
