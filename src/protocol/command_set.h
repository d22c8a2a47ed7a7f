// SPDX-License-Identifier: MIT
#pragma once

// The units' command language as the window's buttons speak it. Each command
// text is a mnemonic (the clip search preceded by the clip number as typed)
// ending in a carriage return.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

enum class Command { SelectClip, Play, LoopPlay, Pause, Still, Stop };

// Every command a plain button sends, in one place: its mnemonic on the wire,
// the word scripts and OSC messages name it by, and its button's caption.
// The frame builder, corvane-send, corvane-osc and the window all read it.
struct CommandSpec
{
    Command command;
    std::string_view mnemonic;
    std::string_view name;
    std::string_view caption;
};

inline constexpr CommandSpec kCommands[] = {
    {Command::SelectClip, "SE", "select", "Select Clip #"},
    {Command::Play, "PL", "play", "Play"},
    {Command::LoopPlay, "LP", "loop", "Loop Play"},
    {Command::Pause, "PA", "pause", "Pause"},
    {Command::Still, "ST", "still", "Still"},
    {Command::Stop, "RJ", "stop", "Stop"},
};

constexpr const CommandSpec &SpecOf(Command command)
{
    for (const CommandSpec &row : kCommands)
        if (row.command == command)
            return row;
    return kCommands[0]; // unreachable: every command has its row
}

// The command text of a plain button. Only SelectClip uses the clip number,
// taken exactly as typed: leading zeros stay, an empty number gives "SE\r".
std::string CommandText(Command command, std::string_view clipNumberText = {});

enum class MuteOutput { Audio, Video };

// The captions a mute button can carry. A caption names the action the next
// press requests; only a unit's "R" reply changes it.
constexpr std::string_view MuteCaption(MuteOutput output)
{
    return output == MuteOutput::Audio ? "Mute Audio" : "Mute Video";
}
constexpr std::string_view UnmuteCaption(MuteOutput output)
{
    return output == MuteOutput::Audio ? "Unmute Audio" : "Unmute Video";
}

// The text a mute button sends for its current caption: "1AD\r" (on) for
// "Unmute Audio", "0AD\r" (off) for "Mute Audio", likewise VD for video.
// Any other caption gives nothing, and the button leaves the command as it was.
std::optional<std::string> MuteCommandText(MuteOutput output, std::string_view caption);

// The mute command texts whose acknowledgement flips a caption, and the caption
// it flips to: "1VD\r" -> "Mute Video", "0VD\r" -> "Unmute Video", and so on.
struct CaptionFlip
{
    MuteOutput output;
    std::string_view caption;
};
std::optional<CaptionFlip> CaptionAfterAcknowledge(std::string_view commandText);

} // namespace corvane
