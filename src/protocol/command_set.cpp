// SPDX-License-Identifier: MIT
#include "protocol/command_set.h"

namespace corvane {

namespace {

std::string_view Mnemonic(Command command)
{
    switch (command) {
    case Command::SelectClip: return "SE";
    case Command::Play: return "PL";
    case Command::LoopPlay: return "LP";
    case Command::Pause: return "PA";
    case Command::Still: return "ST";
    case Command::Stop: return "RJ";
    }
    return {};
}

std::string MuteText(MuteOutput output, bool on)
{
    std::string text(1, on ? '1' : '0');
    text += output == MuteOutput::Audio ? "AD\r" : "VD\r";
    return text;
}

} // namespace

std::string CommandText(Command command, std::string_view clipNumberText)
{
    std::string text;
    if (command == Command::SelectClip)
        text.append(clipNumberText);
    text.append(Mnemonic(command));
    text.push_back('\r');
    return text;
}

std::string_view MuteCaption(MuteOutput output)
{
    return output == MuteOutput::Audio ? "Mute Audio" : "Mute Video";
}

std::string_view UnmuteCaption(MuteOutput output)
{
    return output == MuteOutput::Audio ? "Unmute Audio" : "Unmute Video";
}

std::optional<std::string> MuteCommandText(MuteOutput output, std::string_view caption)
{
    if (caption == UnmuteCaption(output))
        return MuteText(output, true);
    if (caption == MuteCaption(output))
        return MuteText(output, false);
    return std::nullopt;
}

std::optional<CaptionFlip> CaptionAfterAcknowledge(std::string_view commandText)
{
    for (const MuteOutput output : {MuteOutput::Video, MuteOutput::Audio}) {
        if (commandText == MuteText(output, true))
            return CaptionFlip{output, MuteCaption(output)};
        if (commandText == MuteText(output, false))
            return CaptionFlip{output, UnmuteCaption(output)};
    }
    return std::nullopt;
}

} // namespace corvane
