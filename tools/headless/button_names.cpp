// SPDX-License-Identifier: MIT
#include "button_names.h"

#include <algorithm>
#include <utility>

namespace corvane {

std::optional<ButtonPress> ButtonNamed(std::string_view name)
{
    static constexpr std::pair<std::string_view, Command> kPlain[] = {
        {"select", Command::SelectClip}, {"play", Command::Play},   {"loop", Command::LoopPlay},
        {"pause", Command::Pause},       {"still", Command::Still}, {"stop", Command::Stop},
    };
    static constexpr std::pair<std::string_view, MutePress> kMute[] = {
        {"mute-video", {MuteOutput::Video, true}},
        {"unmute-video", {MuteOutput::Video, false}},
        {"mute-audio", {MuteOutput::Audio, true}},
        {"unmute-audio", {MuteOutput::Audio, false}},
    };
    for (const auto &[word, command] : kPlain)
        if (word == name)
            return command;
    for (const auto &[word, press] : kMute)
        if (word == name)
            return press;
    return std::nullopt;
}

bool IsClipText(std::string_view text)
{
    return text.size() <= 5 &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace corvane
