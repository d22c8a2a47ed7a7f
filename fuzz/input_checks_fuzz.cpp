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
#include <string>
#include <string_view>
#include <vector>

namespace {

bool AllDigits(std::string_view text)
{
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A decimal group's value: past its leading zeros, more than three digits is more than 255.
std::optional<int> GroupValue(std::string_view group)
{
    if (group.empty() || !AllDigits(group))
        return std::nullopt;
    const std::string_view significant = group.substr(std::min(group.find_first_not_of('0'), group.size()));
    const int value = significant.size() > 3 ? 256 : std::stoi("0" + std::string(significant));
    return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

// The groups' values, as far as they are valid groups, and how many pieces the dots make.
std::vector<std::optional<int>> Groups(std::string_view text, std::size_t &pieces)
{
    std::vector<std::optional<int>> groups;
    for (pieces = 1;; ++pieces) {
        const std::size_t dot = std::min(text.find('.'), text.size());
        groups.push_back(GroupValue(text.substr(0, dot)));
        if (dot == text.size())
            return groups;
        text.remove_prefix(dot + 1);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::size_t pieces = 0;
    const auto groups = Groups(text, pieces);
    bool fourValid = pieces >= 4, allZero = true;
    std::uint32_t quad = 0;
    for (std::size_t i = 0; i < 4 && fourValid; ++i) {
        fourValid = groups[i].has_value();
        allZero = allZero && groups[i] == 0;
        quad = quad * 256 + std::uint32_t(groups[i].value_or(0));
    }
    FUZZ_CHECK(corvane::IsIpTextValid(text) == (fourValid && !allZero), "address check of %zu bytes", size);
    const auto parsed = corvane::ParseDottedQuad(text);
    FUZZ_CHECK(parsed == (fourValid && pieces == 4 ? std::optional(quad) : std::nullopt),
               "dotted quad of %zu bytes", size);

    const bool idDigits = !text.empty() && text.size() <= 3 && AllDigits(text);
    const auto id = idDigits ? std::optional(std::stoi(std::string(text))) : std::nullopt;
    FUZZ_CHECK(corvane::UnitIdValue(text) == id, "unit ID value of %zu bytes", size);
    FUZZ_CHECK(corvane::IsIdTextValid(text) == (id && *id <= 127), "unit ID check of %zu bytes", size);
    return 0;
}
