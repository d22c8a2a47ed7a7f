// Arbitrary bytes as the address and the unit ID, against a model of the rules
// written here from their description:
//   address: four dot-separated groups, left to right; groups 1-3 end at a dot,
//   the 4th at the next dot or the end; each group non-empty, ASCII digits only,
//   at most 255; not all four zero; anything after the dot ending the 4th group
//   is not looked at. ParseDottedQuad takes exactly four such groups and nothing
//   else (all zero allowed).
//   unit ID: one to three ASCII digits, at most 127.

#include "controller/input_checks.h"
#include "net/ipv4_text.h"
#include "support/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace {

bool AllDigits(std::string_view text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

// A decimal group's value, read by dropping leading zeros: more than three
// digits left is more than 255.
std::optional<int> GroupValue(std::string_view group)
{
    if (group.empty() || !AllDigits(group))
        return std::nullopt;
    const std::size_t first = group.find_first_not_of('0');
    if (first == std::string_view::npos)
        return 0;
    const std::string_view significant = group.substr(first);
    if (significant.size() > 3)
        return std::nullopt;
    const int value = std::stoi(std::string(significant));
    return value <= 255 ? std::optional<int>(value) : std::nullopt;
}

std::vector<std::string_view> SplitAtDots(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == '.') {
            pieces.push_back(text.substr(start, i - start));
            start = i + 1;
        }
    }
    return pieces;
}

bool ModelAddressValid(std::string_view text)
{
    const std::vector<std::string_view> pieces = SplitAtDots(text);
    if (pieces.size() < 4)
        return false;
    bool allZero = true;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::optional<int> value = GroupValue(pieces[i]);
        if (!value)
            return false;
        allZero = allZero && *value == 0;
    }
    return !allZero;
}

std::optional<std::uint32_t> ModelDottedQuad(std::string_view text)
{
    const std::vector<std::string_view> pieces = SplitAtDots(text);
    if (pieces.size() != 4)
        return std::nullopt;
    std::uint32_t address = 0;
    for (const std::string_view piece : pieces) {
        const std::optional<int> value = GroupValue(piece);
        if (!value)
            return std::nullopt;
        address = address * 256 + static_cast<std::uint32_t>(*value);
    }
    return address;
}

std::optional<int> ModelUnitId(std::string_view text)
{
    if (text.empty() || text.size() > 3 || !AllDigits(text))
        return std::nullopt;
    return std::stoi(std::string(text));
}

std::string Printable(std::string_view text)
{
    std::string shown;
    for (const unsigned char c : text.substr(0, 80)) {
        char hex[5];
        std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
        shown += hex;
    }
    return shown;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::string shown = Printable(text);

    const bool valid = corvane::IsIpTextValid(text);
    FUZZ_CHECK(valid == ModelAddressValid(text), "address \"%s\": program says %d", shown.c_str(), valid);

    const std::optional<std::uint32_t> quad = corvane::ParseDottedQuad(text);
    const std::optional<std::uint32_t> modelQuad = ModelDottedQuad(text);
    FUZZ_CHECK(quad == modelQuad, "dotted quad \"%s\": program %d/%u, model %d/%u", shown.c_str(),
               quad.has_value(), quad.value_or(0), modelQuad.has_value(), modelQuad.value_or(0));

    const std::optional<int> id = corvane::UnitIdValue(text);
    const std::optional<int> modelId = ModelUnitId(text);
    FUZZ_CHECK(id == modelId, "unit ID value \"%s\": program %d/%d, model %d/%d", shown.c_str(),
               id.has_value(), id.value_or(-1), modelId.has_value(), modelId.value_or(-1));
    const bool idValid = corvane::IsIdTextValid(text);
    FUZZ_CHECK(idValid == (modelId && *modelId <= 127), "unit ID \"%s\": program says %d", shown.c_str(),
               idValid);
    return 0;
}
