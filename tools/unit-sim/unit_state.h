// SPDX-License-Identifier: MIT
#pragma once

// What one playback unit remembers, and the commands that change it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::unitsim {

enum class PlayMode { Stopped, Playing, Looping, Paused, Still };

struct UnitState
{
    std::string clip; // the clip number as last selected, digits as sent; may be empty
    PlayMode mode = PlayMode::Stopped;
    bool audioOn = true;
    bool videoOn = true;
};

struct UnitCommand
{
    enum class Kind { SelectClip, Play, LoopPlay, Pause, Still, Stop, Audio, Video };
    Kind kind = Kind::Play;
    std::string clip; // SelectClip: 0 to 5 digits
    bool on = false;  // Audio, Video
};

// The command a text (through its CR) stands for: "<0-5 digits>SE", "PL",
// "LP", "PA", "ST", "RJ", "0AD"/"1AD", "0VD"/"1VD". Anything else is unknown.
std::optional<UnitCommand> DecodeCommand(std::string_view commandText);

// Carries the command out. Returns one line for each thing that changed,
// such as "mode stopped -> playing"; none when the unit was already so.
// Selecting a clip cues it at its first frame, stopped.
std::vector<std::string> Apply(UnitState &state, const UnitCommand &command);

std::string_view ModeName(PlayMode mode);

} // namespace corvane::unitsim
