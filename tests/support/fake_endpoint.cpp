#include "support/fake_endpoint.h"

corvane::Endpoint::BindResult FakeEndpoint::bind()
{
    bindAttempts.push_back(m_localPort);
    if (portsInUse.count(m_localPort) || brokenPorts.count(m_localPort))
        return portsInUse.count(m_localPort) ? BindResult::AddressInUse : BindResult::Failed;
    m_journal.add("bound " + std::to_string(m_localPort));
    bound = true;
    return BindResult::Bound;
}

void FakeEndpoint::close()
{
    m_journal.add("close");
    bound = false;
}

std::optional<corvane::EndpointError> FakeEndpoint::send(const std::string &payload)
{
    m_journal.add("send");
    if (!refuseSends)
        sent.push_back({remoteHost, remotePort, payload});
    return refuseSends;
}

std::string FakeEndpoint::takeDatagram()
{
    std::string datagram = incoming.empty() ? "" : std::move(incoming.front());
    if (!incoming.empty())
        incoming.pop_front();
    return datagram;
}
