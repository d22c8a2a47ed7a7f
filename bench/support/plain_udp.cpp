// SPDX-License-Identifier: MIT
#include "support/plain_udp.h"

#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

namespace bench {

sockaddr_in Ipv4(std::uint32_t address, std::uint16_t port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    a.sin_addr.s_addr = htonl(address);
    return a;
}

PlainUdpSocket::PlainUdpSocket() : m_fd(::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}

PlainUdpSocket::~PlainUdpSocket() { ::close(m_fd); }

bool PlainUdpSocket::bind(std::uint32_t address, std::uint16_t port)
{
    const sockaddr_in a = Ipv4(address, port);
    return ::bind(m_fd, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0;
}

bool PlainUdpSocket::sendTo(const sockaddr_in &to, std::string_view payload) const
{
    return ::sendto(m_fd, payload.data(), payload.size(), 0, reinterpret_cast<const sockaddr *>(&to),
                    sizeof to) == static_cast<ssize_t>(payload.size());
}

void PlainUdpSocket::setReceiveTimeout(int timeoutMs) const
{
    const timeval tv{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

long PlainUdpSocket::receive(char *buffer, std::size_t size, sockaddr_in *from) const
{
    socklen_t length = sizeof(sockaddr_in);
    return ::recvfrom(m_fd, buffer, size, 0, reinterpret_cast<sockaddr *>(from), from ? &length : nullptr);
}

} // namespace bench
