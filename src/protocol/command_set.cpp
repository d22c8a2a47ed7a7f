// SPDX-License-Identifier: MIT
#include "protocol/command_set.h"

namespace corvane {

namespace {

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
    text.append(SpecOf(command).mnemonic);
    text.push_back('\r');
    return text;
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
