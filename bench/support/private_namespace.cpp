#include "support/private_namespace.h"

#include <net/if.h>

#include <cstdio>
#include <cstdlib>
#include <set>

namespace bench {

bool InPrivateNamespace(std::string *whyNot)
{
    const char *marker = std::getenv("CORVANE_PRIVATE_NETWORK");
    if (!marker || std::string(marker) != "inside") {
        *whyNot = "not run through tests/support/private-network.sh";
        return false;
    }
    const std::set<std::string> allowed = {"lo", "corvane0", "corvane1"};
    struct if_nameindex *interfaces = if_nameindex();
    if (!interfaces) {
        *whyNot = "the interfaces cannot be listed";
        return false;
    }
    bool privateOnly = true;
    for (const struct if_nameindex *entry = interfaces; entry->if_index != 0; ++entry) {
        if (!allowed.count(entry->if_name)) {
            *whyNot = std::string("interface ") + entry->if_name + " is visible: not a private namespace";
            privateOnly = false;
            break;
        }
    }
    if_freenameindex(interfaces);
    return privateOnly;
}

void RequirePrivateNamespace()
{
    std::string whyNot;
    if (!InPrivateNamespace(&whyNot)) {
        std::fprintf(stderr, "SKIPPED: %s\n", whyNot.c_str());
        std::exit(77);
    }
}

} // namespace bench
