// SPDX-License-Identifier: MIT
#include "net/port_search.h"

namespace corvane {

void AutoPort(Endpoint &endpoint, std::int32_t &portNum, const std::function<void()> &noOpenPort)
{
    endpoint.setLocalPort(portNum);
    Endpoint::BindResult result = endpoint.bind();
    while (result == Endpoint::BindResult::AddressInUse) {
        ++portNum;
        if (portNum == kFirstDynamicPort) {
            noOpenPort();
            CloseSock(endpoint);
        }
        if (portNum == kUnitCommandPort)
            portNum = kUnitCommandPort + 1;
        if (portNum > 65535)
            return;
        endpoint.setLocalPort(portNum);
        result = endpoint.bind();
    }
}

void CloseSock(Endpoint &endpoint)
{
    if (!endpoint.isClosed())
        endpoint.close();
}

} // namespace corvane
