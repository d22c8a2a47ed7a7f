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

namespace {

bool AllDigits(std::string_view text)
{
    return text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A decimal group's value: past its leading zeros, more than three digits is more than 255.
std::optional<int> GroupValue(std::string_view group)
{
    const std::string_view significant = group.substr(std::min(group.find_first_not_of('0'), group.size()));
    const int value = significant.size() > 3 ? 256 : std::stoi("0" + std::string(significant));
    return !group.empty() && AllDigits(group) && value <= 255 ? std::optional(value) : std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    std::string_view rest = text;
    bool valid = true, allZero = true;
    std::uint32_t quad = 0;
    for (int group = 0; group < 4; ++group) {
        const std::size_t dot = std::min(rest.find('.'), rest.size());
        const std::optional<int> value = GroupValue(rest.substr(0, dot));
        valid = valid && value && (group == 3 || dot < rest.size());
        allZero = allZero && value == 0;
        quad = quad * 256 + std::uint32_t(value.value_or(0));
        rest.remove_prefix(std::min(dot + 1, rest.size()));
    }
    const bool nothingAfter = rest.empty() && (text.empty() || text.back() != '.');
    FUZZ_CHECK(corvane::IsIpTextValid(text) == (valid && !allZero), "address check of %zu bytes", size);
    FUZZ_CHECK(corvane::ParseDottedQuad(text) == (valid && nothingAfter ? std::optional(quad) : std::nullopt),
               "dotted quad of %zu bytes", size);

    const auto id = !text.empty() && text.size() <= 3 && AllDigits(text)
                        ? std::optional(std::stoi(std::string(text)))
                        : std::nullopt;
    FUZZ_CHECK(corvane::UnitIdValue(text) == id, "unit ID value of %zu bytes", size);
    FUZZ_CHECK(corvane::IsIdTextValid(text) == (id && *id <= 127), "unit ID check of %zu bytes", size);
    return 0;
}
