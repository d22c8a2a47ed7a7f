#include "support/unit_thread.h"

#include <vector>

namespace bench {

UnitThread::UnitThread(std::uint16_t port, std::optional<std::string> answer) : m_answer(std::move(answer))
{
    m_listening = m_socket.bind(kLoopback, port);
    if (!m_listening)
        return;
    // Wakes up now and then to see whether it should stop.
    m_socket.setReceiveTimeout(100);
    m_thread = std::thread([this] { run(); });
}

UnitThread::~UnitThread()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

std::string UnitThread::lastDatagram() const
{
    const std::lock_guard lock(m_lastMutex);
    return m_last;
}

void UnitThread::run()
{
    std::vector<char> buffer(65536);
    long count = 0;
    while (!m_stop.load(std::memory_order_relaxed)) {
        sockaddr_in from{};
        const long size = m_socket.receive(buffer.data(), buffer.size(), &from);
        if (size < 0)
            continue;
        if (m_answer)
            m_socket.sendTo(from, *m_answer);
        // Every 1024th datagram is kept for a look afterwards; copying each
        // would slow the unit down for both sides alike, but for nothing.
        if ((count++ & 1023) == 0) {
            const std::lock_guard lock(m_lastMutex);
            m_last.assign(buffer.data(), static_cast<std::size_t>(size));
        }
        m_received.fetch_add(1, std::memory_order_release);
    }
}

} // namespace bench
