// SPDX-License-Identifier: MIT
#include "controller/input_checks.h"

#include <algorithm>
#include <charconv>

namespace corvane {

namespace {

// ASCII digits only: the checks must not depend on the locale, and a char
// above 0x7F must not reach the C library's classification.
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool AllDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

// A group's value, or nothing for an empty group or one that holds anything
// but digits (signs, spaces, exponents). Values above 255, however many
// digits they run to, all read as 256.
std::optional<int> GroupValue(std::string_view group)
{
    if (!AllDigits(group))
        return std::nullopt;
    unsigned value = 0;
    const bool fits = std::from_chars(group.data(), group.data() + group.size(), value).ec == std::errc{};
    return fits && value <= 255 ? static_cast<int>(value) : 256;
}

} // namespace

bool IsIpTextValid(std::string_view text)
{
    std::size_t start = 0;
    int zeroGroups = 0;
    for (int groupsDone = 0; groupsDone < 4; ++groupsDone) {
        std::size_t end = text.find('.', start);
        if (end == std::string_view::npos) {
            if (groupsDone != 3)
                return false;
            end = text.size();
        }
        const std::optional<int> value = GroupValue(text.substr(start, end - start));
        if (!value || *value > 255)
            return false;
        if (*value == 0 && ++zeroGroups == 4)
            return false;
        start = end + 1;
    }
    return true;
}

std::optional<int> UnitIdValue(std::string_view text)
{
    if (text.size() > 3 || !AllDigits(text))
        return std::nullopt;
    int value = 0;
    if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc{})
        return std::nullopt;
    return value;
}

bool IsIdTextValid(std::string_view text)
{
    const std::optional<int> value = UnitIdValue(text);
    return value && *value <= 127;
}

} // namespace corvane
