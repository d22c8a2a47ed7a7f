#pragma once

// A storm of datagrams at one port, the same every run, and the thread that
// blasts it. The sender keeps the receiver's socket buffer from overflowing
// (the kernel would drop what does not fit, and each side would then handle
// a different number of datagrams): it sends as fast as the receiver's
// reported progress lets it, never more than about half the buffer ahead.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace bench {

struct SizeClass
{
    double share;
    std::uint32_t smallest, largest;
};

class Storm
{
public:
    Storm(std::size_t count, const std::vector<SizeClass> &mix, unsigned seed);

    std::size_t count() const { return m_sizes.size(); }
    std::string_view datagram(std::size_t i) const { return {m_pool.data() + m_offsets[i], m_sizes[i]}; }
    std::uint64_t bytes() const { return m_bytes; }
    // What the receiver's buffer is charged for datagrams [0, i), estimated high.
    std::uint64_t chargeBefore(std::size_t i) const { return m_charge[i]; }

private:
    std::string m_pool; // every byte value, NUL and 0x80-0xFF included
    std::vector<std::uint32_t> m_offsets;
    std::vector<std::uint32_t> m_sizes;
    std::vector<std::uint64_t> m_charge;
    std::uint64_t m_bytes = 0;
};

class StormSender
{
public:
    // consumed: how many datagrams the receiver has taken so far.
    StormSender(const Storm &storm, std::uint16_t port, const std::atomic<long> &consumed);
    ~StormSender();
    StormSender(const StormSender &) = delete;
    StormSender &operator=(const StormSender &) = delete;

    void start();
    // False when the receiver stopped taking datagrams for a second (one was lost).
    bool finish();
    bool stalled() const { return m_stalled; }

private:
    void run();

    const Storm &m_storm;
    std::uint16_t m_port;
    const std::atomic<long> &m_consumed;
    std::atomic<bool> m_stalled{false};
    std::thread m_thread;
};

// This process's resident memory, in KiB.
double ResidentKib();

} // namespace bench
