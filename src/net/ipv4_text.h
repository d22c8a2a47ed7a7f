// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace corvane {

// An IPv4 address written as exactly four decimal numbers of 0 to 255 joined
// by dots, and nothing else. Leading zeros are decimal ("010" is ten), as the
// address check reads them; general-purpose parsers would read them as octal
// and send somewhere else than the operator was shown. Returns the address in
// host byte order.
std::optional<std::uint32_t> ParseDottedQuad(std::string_view text);

} // namespace corvane
