#include "support/plain_udp.h"

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <utility>

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

PlainUdpSocket::~PlainUdpSocket() { close(); }

PlainUdpSocket::PlainUdpSocket(PlainUdpSocket &&other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

PlainUdpSocket &PlainUdpSocket::operator=(PlainUdpSocket &&other) noexcept
{
    if (this != &other) {
        close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

bool PlainUdpSocket::bind(std::uint32_t address, std::uint16_t port)
{
    const sockaddr_in a = Ipv4(address, port);
    return ::bind(m_fd, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0;
}

std::uint16_t PlainUdpSocket::localPort() const
{
    sockaddr_in a{};
    socklen_t length = sizeof a;
    if (::getsockname(m_fd, reinterpret_cast<sockaddr *>(&a), &length) != 0)
        return 0;
    return ntohs(a.sin_port);
}

bool PlainUdpSocket::sendTo(std::uint32_t address, std::uint16_t port, std::string_view payload) const
{
    return sendTo(Ipv4(address, port), payload);
}

bool PlainUdpSocket::sendTo(const sockaddr_in &to, std::string_view payload) const
{
    const ssize_t sent =
        ::sendto(m_fd, payload.data(), payload.size(), 0, reinterpret_cast<const sockaddr *>(&to), sizeof to);
    return sent == static_cast<ssize_t>(payload.size());
}

void PlainUdpSocket::setReceiveTimeout(int timeoutMs) const
{
    timeval tv{};
    tv.tv_sec = timeoutMs / 1000;
    tv.tv_usec = (timeoutMs % 1000) * 1000;
    ::setsockopt(m_fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
}

long PlainUdpSocket::receive(char *buffer, std::size_t size, sockaddr_in *from) const
{
    socklen_t length = sizeof(sockaddr_in);
    return ::recvfrom(m_fd, buffer, size, 0, reinterpret_cast<sockaddr *>(from), from ? &length : nullptr);
}

void PlainUdpSocket::close()
{
    if (m_fd >= 0)
        ::close(std::exchange(m_fd, -1));
}

void RaiseOpenFileLimit()
{
    rlimit limit{};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

} // namespace bench
