// SPDX-License-Identifier: MIT
#include "net/ipv4_text.h"

#include <charconv>

namespace corvane {

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text)
{
    std::uint32_t address = 0;
    std::size_t start = 0;
    for (int group = 0; group < 4; ++group) {
        const std::size_t end = group < 3 ? text.find('.', start) : text.size();
        if (end == std::string_view::npos)
            return std::nullopt;
        // Unsigned, so no sign is taken; a group must be all digits, and a
        // value too large for the type is an error like any above 255.
        const char *const first = text.data() + start;
        const char *const last = text.data() + end;
        unsigned value = 0;
        const auto [stop, error] = std::from_chars(first, last, value);
        if (error != std::errc{} || stop != last || value > 255)
            return std::nullopt;
        address = (address << 8) | value;
        start = end + 1;
    }
    return address;
}

} // namespace corvane
