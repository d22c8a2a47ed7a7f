// SPDX-License-Identifier: MIT
#pragma once

// The units' command language as the eight buttons speak it. Each command text
// is a mnemonic (the clip search preceded by the clip number as typed) ending
// in a carriage return.

#include <optional>
#include <string>
#include <string_view>

namespace corvane {

enum class Command { SelectClip, Play, LoopPlay, Pause, Still, Stop };

// The command text of a plain button. Only SelectClip uses the clip number,
// taken exactly as typed: leading zeros stay, an empty number gives "SE\r".
std::string CommandText(Command command, std::string_view clipNumberText = {});

enum class MuteOutput { Audio, Video };

// The captions a mute button can carry. A caption names the action the next
// press requests; only a unit's "R" reply changes it.
std::string_view MuteCaption(MuteOutput output);   // "Mute Audio" / "Mute Video"
std::string_view UnmuteCaption(MuteOutput output); // "Unmute Audio" / "Unmute Video"

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
