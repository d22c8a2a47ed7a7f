// SPDX-License-Identifier: MIT
#include "support/private_namespace.h"

#include <net/if.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace bench {

void RequirePrivateNamespace()
{
    const char *marker = std::getenv("CORVANE_PRIVATE_NETWORK");
    std::string whyNot =
        marker && std::string(marker) == "inside" ? "" : "not run through tests/support/private-network.sh";
    if (struct if_nameindex *interfaces = if_nameindex()) {
        for (const struct if_nameindex *entry = interfaces; entry->if_index != 0 && whyNot.empty(); ++entry) {
            const std::string name = entry->if_name;
            if (name != "lo" && name != "corvane0" && name != "corvane1")
                whyNot = "interface " + name + " is visible: not a private namespace";
        }
        if_freenameindex(interfaces);
    } else {
        whyNot = "the interfaces cannot be listed";
    }
    if (!whyNot.empty()) {
        std::fprintf(stderr, "SKIPPED: %s\n", whyNot.c_str());
        std::exit(77);
    }
}

} // namespace bench
