// SPDX-License-Identifier: MIT
#include "unit_state.h"

#include <algorithm>

namespace corvane::unitsim {

namespace {

constexpr std::size_t kLongestClipNumber = 5;

bool AllDigits(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string OnOff(bool on) { return on ? "on" : "off"; }

void Change(std::vector<std::string> &changes, const char *what, const std::string &from,
            const std::string &to)
{
    if (from != to)
        changes.push_back(std::string(what) + ' ' + from + " -> " + to);
}

} // namespace

std::optional<UnitCommand> DecodeCommand(std::string_view commandText)
{
    using Kind = UnitCommand::Kind;
    if (commandText.empty() || commandText.back() != '\r')
        return std::nullopt;
    const std::string_view text = commandText.substr(0, commandText.size() - 1);

    static constexpr std::pair<std::string_view, Kind> kPlain[] = {
        {"PL", Kind::Play},  {"LP", Kind::LoopPlay}, {"PA", Kind::Pause},
        {"ST", Kind::Still}, {"RJ", Kind::Stop},
    };
    for (const auto &[mnemonic, kind] : kPlain) {
        if (text == mnemonic)
            return UnitCommand{kind, {}, false};
    }
    if (text.size() == 3 && (text[0] == '0' || text[0] == '1')) {
        const bool on = text[0] == '1';
        if (text.substr(1) == "AD")
            return UnitCommand{Kind::Audio, {}, on};
        if (text.substr(1) == "VD")
            return UnitCommand{Kind::Video, {}, on};
    }
    if (text.size() >= 2 && text.substr(text.size() - 2) == "SE") {
        const std::string_view clip = text.substr(0, text.size() - 2);
        if (clip.size() <= kLongestClipNumber && AllDigits(clip))
            return UnitCommand{Kind::SelectClip, std::string(clip), false};
    }
    return std::nullopt;
}

std::vector<std::string> Apply(UnitState &state, const UnitCommand &command)
{
    using Kind = UnitCommand::Kind;
    std::vector<std::string> changes;
    UnitState next = state;
    switch (command.kind) {
    case Kind::SelectClip:
        next.clip = command.clip;
        next.mode = PlayMode::Stopped;
        break;
    case Kind::Play: next.mode = PlayMode::Playing; break;
    case Kind::LoopPlay: next.mode = PlayMode::Looping; break;
    case Kind::Pause: next.mode = PlayMode::Paused; break;
    case Kind::Still: next.mode = PlayMode::Still; break;
    case Kind::Stop: next.mode = PlayMode::Stopped; break;
    case Kind::Audio: next.audioOn = command.on; break;
    case Kind::Video: next.videoOn = command.on; break;
    }
    Change(changes, "clip", '"' + state.clip + '"', '"' + next.clip + '"');
    Change(changes, "mode", std::string(ModeName(state.mode)), std::string(ModeName(next.mode)));
    Change(changes, "audio", OnOff(state.audioOn), OnOff(next.audioOn));
    Change(changes, "video", OnOff(state.videoOn), OnOff(next.videoOn));
    state = std::move(next);
    return changes;
}

std::string_view ModeName(PlayMode mode)
{
    switch (mode) {
    case PlayMode::Stopped: return "stopped";
    case PlayMode::Playing: return "playing";
    case PlayMode::Looping: return "looping";
    case PlayMode::Paused: return "paused";
    case PlayMode::Still: return "still";
    }
    return "unknown";
}

} // namespace corvane::unitsim
