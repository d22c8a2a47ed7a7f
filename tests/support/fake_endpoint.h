#pragma once

#include "net/endpoint.h"
#include "support/journal.h"

#include <deque>
#include <set>
#include <vector>

// The socket as a recorder. Ports listed in portsInUse refuse a bind as
// "in use", ports in brokenPorts refuse it for any other reason.
class FakeEndpoint : public corvane::Endpoint
{
public:
    struct Datagram
    {
        std::string host;
        int port;
        std::string payload;
    };

    explicit FakeEndpoint(Journal &journal) : m_journal(journal) {}

    std::set<std::int32_t> portsInUse, brokenPorts;
    std::optional<corvane::EndpointError> refuseSends;
    std::deque<std::string> incoming;
    std::vector<Datagram> sent;
    std::vector<std::int32_t> bindAttempts;
    int remotePort = 0;
    std::string remoteHost;
    bool bound = false;

    void setRemotePort(int port) override
    {
        m_journal.add("remote port " + std::to_string(remotePort = port));
    }
    void setRemoteHost(const std::string &host) override
    {
        m_journal.add("remote host " + (remoteHost = host));
    }
    void setLocalPort(std::int32_t port) override { m_localPort = port; }
    std::int32_t localPort() const override { return m_localPort; }
    BindResult bind() override;
    std::string localIP() const override { return "10.99.0.1"; }
    bool isClosed() const override { return !bound; }
    void close() override;
    std::optional<corvane::EndpointError> send(const std::string &payload) override;
    std::string takeDatagram() override;

private:
    Journal &m_journal;
    std::int32_t m_localPort = 0;
};
