#pragma once

#include <string>

namespace bench {

// True only inside the namespace that tests/support/private-network.sh makes:
// its marker is set and the only interfaces are loopback and its veth pair.
// Every benchmark that opens a socket refuses to run anywhere else, so not a
// single datagram can leave through the machine's real interface.
bool InPrivateNamespace(std::string *whyNot);

// Exits with 77 and the reason when not inside the private namespace.
void RequirePrivateNamespace();

} // namespace bench
