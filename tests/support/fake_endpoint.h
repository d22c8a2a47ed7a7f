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
    BindResult bind() override
    {
        if (portsInUse.count(m_localPort) || brokenPorts.count(m_localPort))
            return portsInUse.count(m_localPort) ? BindResult::AddressInUse : BindResult::Failed;
        m_journal.add("bound " + std::to_string(m_localPort));
        bound = true;
        return BindResult::Bound;
    }
    std::string localIP() const override { return "10.99.0.1"; }
    bool isClosed() const override { return !bound; }
    void close() override
    {
        m_journal.add("close");
        bound = false;
    }
    std::optional<corvane::EndpointError> send(const std::string &payload) override
    {
        m_journal.add("send");
        if (!refuseSends)
            sent.push_back({remoteHost, remotePort, payload});
        return refuseSends;
    }
    std::string takeDatagram() override
    {
        if (incoming.empty())
            return "";
        std::string datagram = std::move(incoming.front());
        incoming.pop_front();
        return datagram;
    }

private:
    Journal &m_journal;
    std::int32_t m_localPort = 0;
};
