#include "net/local_address.h"

#include <QNetworkInterface>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace corvane {

namespace {

// Connecting a UDP socket sends nothing; it only makes the kernel choose the
// route, and with it the source address, for the given destination.
std::string DefaultRouteSource()
{
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return {};
    sockaddr_in probe{};
    probe.sin_family = AF_INET;
    probe.sin_port = htons(9);
    probe.sin_addr.s_addr = htonl(0xC0000201); // 192.0.2.1, a documentation address
    std::string result;
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (::connect(fd, reinterpret_cast<const sockaddr *>(&probe), sizeof probe) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&local), &length) == 0 &&
        local.sin_addr.s_addr != htonl(INADDR_ANY)) {
        char text[INET_ADDRSTRLEN] = {};
        if (::inet_ntop(AF_INET, &local.sin_addr, text, sizeof text))
            result = text;
    }
    ::close(fd);
    return result;
}

std::string FirstInterfaceAddress()
{
    const auto interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface &interface : interfaces) {
        const auto flags = interface.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) || flags.testFlag(QNetworkInterface::IsLoopBack))
            continue;
        const auto entries = interface.addressEntries();
        for (const QNetworkAddressEntry &entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol)
                return entry.ip().toString().toStdString();
        }
    }
    return {};
}

} // namespace

std::string PrimaryLocalIPv4()
{
    std::string address = DefaultRouteSource();
    if (address.empty())
        address = FirstInterfaceAddress();
    return address.empty() ? "127.0.0.1" : address;
}

} // namespace corvane
