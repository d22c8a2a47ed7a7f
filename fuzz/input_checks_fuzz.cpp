// SPDX-License-Identifier: MIT
// Arbitrary bytes as the address and the unit ID, against a model of the rules
// written here from their description:
//   address: four dot-separated groups, left to right; each non-empty, ASCII
//   digits only, at most 255; not all four zero; anything after the dot ending
//   the fourth group is not looked at. ParseDottedQuad takes exactly four such
//   groups and nothing else (all zero allowed).
//   unit ID: one to three ASCII digits, at most 127.

#include "controller/input_checks.h"
#include "net/ipv4_text.h"
#include "support/fuzz_check.h"

#include <optional>
#include <regex>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    static const std::regex quad("([0-9]+)\\.([0-9]+)\\.([0-9]+)\\.([0-9]+)(\\.|$)"), id("[0-9]{1,3}");
    std::smatch m;
    bool valid = std::regex_search(text, m, quad, std::regex_constants::match_continuous), allZero = true;
    std::uint32_t value = 0;
    for (int index = 1; valid && index <= 4; ++index) {
        // Past its leading zeros, a group of more than three digits is more than 255.
        const std::string group = m.str(index);
        const std::string digits = group.substr(std::min(group.find_first_not_of('0'), group.size()));
        const unsigned groupValue = digits.size() > 3 ? 256 : std::stoul("0" + digits);
        valid = groupValue <= 255;
        allZero = allZero && groupValue == 0;
        value = value * 256 + groupValue;
    }
    FUZZ_CHECK(corvane::IsIpTextValid(text) == (valid && !allZero), "address check of %zu bytes", size);
    FUZZ_CHECK(corvane::ParseDottedQuad(text) ==
                   (valid && m.length(5) == 0 ? std::optional(value) : std::nullopt),
               "dotted quad of %zu bytes", size);

    const auto idValue = std::regex_match(text, id) ? std::optional(std::stoi(text)) : std::nullopt;
    FUZZ_CHECK(corvane::UnitIdValue(text) == idValue, "unit ID value of %zu bytes", size);
    FUZZ_CHECK(corvane::IsIdTextValid(text) == (idValue && *idValue <= 127), "unit ID check of %zu bytes",
               size);
    return 0;
}
