// SPDX-License-Identifier: MIT
#pragma once

#include <string>

// Empty only inside the namespace that private-network.sh makes: its marker is
// set and the only interfaces are loopback and its veth pair; otherwise why
// not. Tests and benchmarks that send anything skip themselves unless it is
// empty, so they can never reach a real network.
std::string WhyNotPrivateNetwork();

#define REQUIRE_PRIVATE_NETWORK()                                                                            \
    do {                                                                                                     \
        const std::string whyNot = WhyNotPrivateNetwork();                                                   \
        if (!whyNot.empty())                                                                                 \
            QSKIP(whyNot.c_str());                                                                           \
    } while (false)
