// SPDX-License-Identifier: MIT
#include "osc_request.h"

namespace corvane {

OscRequest ReadOscRequest(std::string_view path, std::string_view types, lo_arg **argv)
{
    constexpr std::string_view kPrefix = "/unit/";
    if (path.substr(0, kPrefix.size()) != kPrefix)
        return OscStray{};
    const std::string_view rest = path.substr(kPrefix.size());
    const std::size_t slash = rest.find('/');
    if (slash == std::string_view::npos || rest.find('/', slash + 1) != std::string_view::npos)
        return OscStray{};
    std::string unitId(rest.substr(0, slash));
    const std::string_view name = rest.substr(slash + 1);

    const std::optional<ButtonPress> button = ButtonNamed(name);
    if (!button)
        return OscRefusal{std::move(unitId), "unknown command: " + std::string(name)};
    const auto *command = std::get_if<Command>(&*button);
    if (!command || *command != Command::SelectClip) {
        if (!types.empty())
            return OscRefusal{std::move(unitId), std::string(name) + " takes no arguments"};
        return OscPress{std::move(unitId), *button, {}};
    }
    if (types == "s" && IsClipText(&argv[0]->s))
        return OscPress{std::move(unitId), *button, &argv[0]->s};
    if (types == "i" && argv[0]->i >= 0 && argv[0]->i <= kLargestClipNumber)
        return OscPress{std::move(unitId), *button, std::to_string(argv[0]->i)};
    return OscRefusal{std::move(unitId),
                      "Invalid clip number! (a string of 0 to 5 digits, or an int 0-99999)"};
}

} // namespace corvane
