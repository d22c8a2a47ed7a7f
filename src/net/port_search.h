// SPDX-License-Identifier: MIT
#pragma once

#include "net/endpoint.h"

#include <cstdint>
#include <functional>

namespace corvane {

inline constexpr std::int32_t kFirstLocalPort = 1028;
inline constexpr std::int32_t kUnitCommandPort = 2639;
inline constexpr std::int32_t kFirstDynamicPort = 49152;

// Binds the endpoint to the first local port from portNum upward that is not
// in use, leaving portNum at the port last tried. The units' command port is
// never taken. Reaching the dynamic range calls noOpenPort, closes the
// endpoint and goes on searching; past 65535 the search gives up and the
// endpoint stays unbound. A bind that fails for any reason other than "in
// use" ends the search as it is.
void AutoPort(Endpoint &endpoint, std::int32_t &portNum, const std::function<void()> &noOpenPort);

// Closes the endpoint unless it is closed already.
void CloseSock(Endpoint &endpoint);

} // namespace corvane
