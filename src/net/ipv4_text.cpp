#include "net/ipv4_text.h"

namespace corvane {

std::optional<std::uint32_t> ParseDottedQuad(std::string_view text)
{
    std::uint32_t address = 0;
    std::size_t start = 0;
    for (int group = 0; group < 4; ++group) {
        const std::size_t end = group < 3 ? text.find('.', start) : text.size();
        if (end == std::string_view::npos || end == start)
            return std::nullopt;
        unsigned value = 0;
        for (std::size_t i = start; i < end; ++i) {
            const char c = text[i];
            if (c < '0' || c > '9')
                return std::nullopt;
            value = value * 10 + static_cast<unsigned>(c - '0');
            if (value > 255)
                return std::nullopt;
        }
        address = (address << 8) | value;
        start = end + 1;
    }
    return address;
}

} // namespace corvane
