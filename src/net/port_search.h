// SPDX-License-Identifier: MIT
#pragma once

#include "net/endpoint.h"
#include "protocol/unit_conventions.h"

#include <cstdint>
#include <functional>

namespace corvane {

inline constexpr std::int32_t kFirstDynamicPort = 49152;

// Binds the endpoint to the first local port from `candidate` upward that is
// not in use, leaving `candidate` at the port last tried. The units' port is
// never taken. Reaching the dynamic range calls noFreePort, closes the
// endpoint and goes on searching; past 65535 the search gives up and the
// endpoint stays unbound. A bind that fails for any reason other than "in
// use" ends the search as it is.
void BindFirstFreePort(Endpoint &endpoint, std::int32_t &candidate, const std::function<void()> &noFreePort);

// Closes the endpoint unless it is closed already.
void CloseEndpoint(Endpoint &endpoint);

} // namespace corvane
