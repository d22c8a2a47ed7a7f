// SPDX-License-Identifier: MIT
#include "net/port_search.h"

namespace corvane {

void BindFirstFreePort(Endpoint &endpoint, std::int32_t &candidate, const std::function<void()> &noFreePort)
{
    endpoint.setLocalPort(candidate);
    Endpoint::BindResult result = endpoint.bind();
    while (result == Endpoint::BindResult::AddressInUse) {
        ++candidate;
        if (candidate == kFirstDynamicPort) {
            noFreePort();
            CloseEndpoint(endpoint);
        }
        if (candidate == kUnitPort)
            candidate = kUnitPort + 1;
        if (candidate > 65535)
            return;
        endpoint.setLocalPort(candidate);
        result = endpoint.bind();
    }
}

void CloseEndpoint(Endpoint &endpoint)
{
    if (!endpoint.isClosed())
        endpoint.close();
}

} // namespace corvane
