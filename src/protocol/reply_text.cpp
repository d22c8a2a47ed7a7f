// SPDX-License-Identifier: MIT
#include "protocol/reply_text.h"

namespace corvane {

bool AsksForResend(std::string_view reply)
{
    for (std::size_t i = 0; i + 3 <= reply.size(); ++i) {
        if ((reply[i] == 'E' || reply[i] == 'e') && reply.substr(i + 1, 2) == "00")
            return true;
    }
    return false;
}

bool Acknowledges(std::string_view reply) { return reply.find('R') != std::string_view::npos; }

} // namespace corvane
