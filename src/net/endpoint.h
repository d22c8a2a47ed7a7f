// SPDX-License-Identifier: MIT
#pragma once

// The program's one UDP socket, as the controller sees it. The real one wraps
// QUdpSocket; tests use a recorder. Its two events (a datagram arrived, an
// asynchronous error) are delivered by whoever owns both the endpoint and the
// controller, by calling the controller's handlers.

#include <cstdint>
#include <optional>
#include <string>

namespace corvane {

struct EndpointError
{
    int number = 0;
    std::string description;
};

class Endpoint
{
public:
    enum class BindResult { Bound, AddressInUse, Failed };

    virtual ~Endpoint() = default;

    virtual void setRemotePort(int port) = 0;
    // Dotted decimal text; what cannot be used as an IPv4 address is refused
    // by the next send, not here.
    virtual void setRemoteHost(const std::string &host) = 0;

    // The local port property: bind() uses it, and it keeps the value last set
    // (or the port actually bound) whether or not a bind succeeded.
    virtual void setLocalPort(std::int32_t port) = 0;
    virtual std::int32_t localPort() const = 0;
    virtual BindResult bind() = 0;

    virtual std::string localIP() const = 0;
    virtual bool isClosed() const = 0;
    virtual void close() = 0;

    // Sends one datagram to the remote host and port. A send refused at once
    // comes back as an error; later failures arrive as error events.
    virtual std::optional<EndpointError> send(const std::string &payload) = 0;

    // The datagram that has just arrived, whole, as 8-bit text.
    virtual std::string takeDatagram() = 0;
};

} // namespace corvane
