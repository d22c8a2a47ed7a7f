// SPDX-License-Identifier: MIT
#include "support/unit_thread.h"

#include <string_view>
#include <vector>

namespace bench {

UnitThread::UnitThread(std::optional<std::string> answer)
    : m_answer(std::move(answer)), m_listening(m_socket.bind(kLoopback, kUnitPort))
{
    // Wakes up now and then to see whether it should stop.
    m_socket.setReceiveTimeout(100);
    if (m_listening)
        m_thread = std::thread([this] { run(); });
}

UnitThread::~UnitThread()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void UnitThread::run()
{
    std::vector<char> buffer(65536);
    while (!m_stop.load(std::memory_order_relaxed)) {
        sockaddr_in from{};
        const long size = m_socket.receive(buffer.data(), buffer.size(), &from);
        if (size < 0)
            continue;
        if (m_answer)
            m_socket.sendTo(from, *m_answer);
        if (std::string_view(buffer.data(), static_cast<std::size_t>(size)) != kPlayFrame)
            m_notPlay.fetch_add(1, std::memory_order_release);
        m_received.fetch_add(1, std::memory_order_release);
    }
}

} // namespace bench
