// SPDX-License-Identifier: MIT
#pragma once

// The bare socket calls the floors are made of, with no framework between the
// benchmark and the kernel. IPv4 only; addresses in host byte order.

#include <cstdint>
#include <string_view>

#include <netinet/in.h>

namespace bench {

inline constexpr std::uint32_t kLoopback = INADDR_LOOPBACK; // 127.0.0.1

sockaddr_in Ipv4(std::uint32_t address, std::uint16_t port);

class PlainUdpSocket
{
public:
    PlainUdpSocket();
    ~PlainUdpSocket();
    PlainUdpSocket(const PlainUdpSocket &) = delete;
    PlainUdpSocket &operator=(const PlainUdpSocket &) = delete;

    // Plain bind, no SO_REUSEADDR: a port held here is "in use" for everyone else.
    bool bind(std::uint32_t address, std::uint16_t port);
    bool sendTo(const sockaddr_in &to, std::string_view payload) const;
    // Blocks up to the receive timeout; returns the size read, or -1 on timeout or error.
    long receive(char *buffer, std::size_t size, sockaddr_in *from = nullptr) const;
    // Set once, outside any timed loop: it is a system call of its own.
    void setReceiveTimeout(int timeoutMs) const;

private:
    int m_fd;
};

} // namespace bench
