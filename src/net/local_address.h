// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace corvane {

// The host's primary IPv4 address in dotted decimal: the source address the
// kernel would pick for the default route; failing that, the first IPv4
// address of an interface that is up and not loopback; failing that, 127.0.0.1.
std::string PrimaryLocalIPv4();

} // namespace corvane
