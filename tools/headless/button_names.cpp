// SPDX-License-Identifier: MIT
#include "button_names.h"

#include <algorithm>
#include <utility>

namespace corvane {

namespace {

// A script cannot see a mute button's caption, so each direction has a name.
constexpr std::pair<std::string_view, MutePress> kMuteNames[] = {
    {"mute-video", {MuteOutput::Video, true}},
    {"unmute-video", {MuteOutput::Video, false}},
    {"mute-audio", {MuteOutput::Audio, true}},
    {"unmute-audio", {MuteOutput::Audio, false}},
};

} // namespace

std::optional<ButtonPress> ButtonNamed(std::string_view name)
{
    for (const CommandSpec &row : kCommands)
        if (row.name == name)
            return row.command;
    for (const auto &[word, press] : kMuteNames)
        if (word == name)
            return press;
    return std::nullopt;
}

std::string ButtonNameList()
{
    std::string list;
    for (const CommandSpec &row : kCommands)
        list.append(row.name).append(", ");
    for (const auto &[word, press] : kMuteNames)
        list.append(word).append(word == kMuteNames[std::size(kMuteNames) - 2].first ? " or " : ", ");
    list.resize(list.size() - 2);
    return list;
}

bool IsClipText(std::string_view text)
{
    return text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace corvane
