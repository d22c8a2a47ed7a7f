#include "controller/input_checks.h"

namespace corvane {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A group's value, or nothing for an empty group or one that holds anything
// but digits (signs, spaces, exponents). Values are capped just above 255 so
// that no group, however long, can overflow.
std::optional<int> GroupValue(std::string_view group)
{
    if (group.empty())
        return std::nullopt;
    int value = 0;
    for (const char c : group) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > 255)
            value = 256;
    }
    return value;
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
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsIdTextValid(std::string_view text)
{
    const std::optional<int> value = UnitIdValue(text);
    return value && *value <= 127;
}

} // namespace corvane
