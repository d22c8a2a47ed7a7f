// SPDX-License-Identifier: MIT
#pragma once

// The window's buttons as scripts and show-control systems name them: one
// word per button, and one word per direction for each mute button, since a
// script cannot see the caption that decides which way a mute button goes.

#include "protocol/command_set.h"

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace corvane {

// A mute button pressed while its caption asks for `mute` (or for unmute).
struct MutePress
{
    MuteOutput output;
    bool mute;
};
using ButtonPress = std::variant<Command, MutePress>;

// A plain command's name from the command table (select, play, ...), or
// mute-video, unmute-video, mute-audio, unmute-audio; any other name gives nothing.
std::optional<ButtonPress> ButtonNamed(std::string_view name);

// Every name ButtonNamed knows, as a sentence for a usage text:
// "select, play, ..., mute-audio or unmute-audio".
std::string ButtonNameList();

// A clip number the window's clip field can hold: 0 to 5 ASCII digits,
// sent as written.
bool IsClipText(std::string_view text);

} // namespace corvane
