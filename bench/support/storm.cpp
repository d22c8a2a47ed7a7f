#include "support/storm.h"

#include "support/plain_udp.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <random>

namespace bench {

namespace {

// Half the default receive buffer (212,992 bytes), so that an estimate off
// by some still never lets the buffer fill.
constexpr std::uint64_t kChargeBudget = 104 * 1024;

// The kernel charges a datagram's buffer, rounded up, plus its bookkeeping;
// the large ones take a power-of-two allocation.
std::uint64_t Charge(std::uint32_t size) { return size < 2048 ? 2304 : 2ULL * size + 4096; }

} // namespace

Storm::Storm(std::size_t count, const std::vector<SizeClass> &mix, unsigned seed)
{
    std::mt19937 random(seed);
    m_pool.resize(2 * 65536);
    for (char &c : m_pool)
        c = static_cast<char>(random() & 0xFF);
    std::vector<double> shares;
    for (const SizeClass &c : mix)
        shares.push_back(c.share);
    std::discrete_distribution<std::size_t> pickClass(shares.begin(), shares.end());
    m_offsets.reserve(count);
    m_sizes.reserve(count);
    m_charge.reserve(count + 1);
    m_charge.push_back(0);
    for (std::size_t i = 0; i < count; ++i) {
        const SizeClass &c = mix[pickClass(random)];
        const auto size = std::uniform_int_distribution<std::uint32_t>(c.smallest, c.largest)(random);
        m_sizes.push_back(size);
        m_offsets.push_back(std::uniform_int_distribution<std::uint32_t>(0, 65536)(random));
        m_charge.push_back(m_charge.back() + Charge(size));
        m_bytes += size;
    }
}

StormSender::StormSender(const Storm &storm, std::uint16_t port, const std::atomic<long> &consumed)
    : m_storm(storm), m_port(port), m_consumed(consumed)
{
}

StormSender::~StormSender()
{
    if (m_thread.joinable())
        m_thread.join();
}

void StormSender::start()
{
    m_thread = std::thread([this] { run(); });
}

bool StormSender::finish()
{
    if (m_thread.joinable())
        m_thread.join();
    return !m_stalled;
}

void StormSender::run()
{
    using Clock = std::chrono::steady_clock;
    const PlainUdpSocket socket;
    const sockaddr_in to = Ipv4(kLoopback, m_port);
    long consumed = 0;
    auto progressAt = Clock::now();
    for (std::size_t i = 0; i < m_storm.count(); ++i) {
        for (;;) {
            const long now = m_consumed.load(std::memory_order_acquire);
            if (now != consumed) {
                consumed = now;
                progressAt = Clock::now();
            }
            const std::uint64_t inFlight = m_storm.chargeBefore(i) - m_storm.chargeBefore(consumed);
            if (inFlight == 0 ||
                m_storm.chargeBefore(i + 1) - m_storm.chargeBefore(consumed) <= kChargeBudget)
                break;
            if (Clock::now() - progressAt > std::chrono::seconds(1)) {
                m_stalled = true;
                return;
            }
            std::this_thread::yield();
        }
        socket.sendTo(to, m_storm.datagram(i));
    }
}

double ResidentKib()
{
    long pages = 0;
    long resident = 0;
    if (FILE *statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(statm);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

} // namespace bench
