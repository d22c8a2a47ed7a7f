#pragma once

#include "support/plain_udp.h"

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace bench {

// A unit on another thread, on a plain socket bound to 127.0.0.1 at the given
// port: it takes every datagram, counts it and, when given an answer, sends
// that answer back to the sender. The same unit serves the program's path and
// the floor, so both pay the same for the far end.
class UnitThread
{
public:
    UnitThread(std::uint16_t port, std::optional<std::string> answer);
    ~UnitThread();
    UnitThread(const UnitThread &) = delete;
    UnitThread &operator=(const UnitThread &) = delete;

    bool isListening() const { return m_listening; }
    long received() const { return m_received.load(std::memory_order_acquire); }
    std::string lastDatagram() const;

private:
    void run();

    PlainUdpSocket m_socket;
    std::optional<std::string> m_answer;
    bool m_listening = false;
    std::atomic<long> m_received{0};
    std::atomic<bool> m_stop{false};
    mutable std::mutex m_lastMutex;
    std::string m_last;
    std::thread m_thread;
};

} // namespace bench
