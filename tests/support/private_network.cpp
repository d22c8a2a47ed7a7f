// SPDX-License-Identifier: MIT
#include "support/private_network.h"

#include <net/if.h>

#include <cstdlib>

std::string WhyNotPrivateNetwork()
{
    const char *marker = std::getenv("CORVANE_PRIVATE_NETWORK");
    if (!marker || std::string(marker) != "inside")
        return "not run through tests/support/private-network.sh; nothing is sent from the host's own "
               "network";
    struct if_nameindex *interfaces = if_nameindex();
    if (!interfaces)
        return "the interfaces cannot be listed";
    std::string whyNot;
    for (const struct if_nameindex *entry = interfaces; entry->if_index != 0 && whyNot.empty(); ++entry) {
        const std::string name = entry->if_name;
        if (name != "lo" && name != "corvane0" && name != "corvane1")
            whyNot = "interface " + name + " is visible: this is not a private namespace";
    }
    if_freenameindex(interfaces);
    return whyNot;
}
