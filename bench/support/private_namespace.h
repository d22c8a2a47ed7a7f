// SPDX-License-Identifier: MIT
#pragma once

namespace bench {

// Exits with 77 and the reason unless this runs inside the namespace that
// tests/support/private-network.sh makes: its marker set, and no interface
// but loopback and its veth pair. Every benchmark opens sockets, so not a
// single datagram can leave through the machine's real interface.
void RequirePrivateNamespace();

} // namespace bench
