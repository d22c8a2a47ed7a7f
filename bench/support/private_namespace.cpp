// SPDX-License-Identifier: MIT
#include "support/private_namespace.h"

#include "support/private_network.h"

#include <cstdio>
#include <cstdlib>

namespace bench {

void RequirePrivateNamespace()
{
    const std::string whyNot = WhyNotPrivateNetwork();
    if (!whyNot.empty()) {
        std::fprintf(stderr, "SKIPPED: %s\n", whyNot.c_str());
        std::exit(77);
    }
}

} // namespace bench
