// Arbitrary datagrams, NUL and 0x80-0xFF included, up to the largest UDP
// payload, into the reply path of the controller over the recording window
// and socket of tests/support (which send nothing anywhere), between presses
// of the eight buttons. After every datagram the reply rules must have done
// exactly what a model written here from their description says:
//   - the reply shows in the field; a datagram equal to what the field already
//     shows changes nothing, so no rule runs;
//   - a resend happens exactly when the reply holds "E00" in any case and
//     fewer than 41 resends were made for the current command; it sends the
//     last frame again (nothing when there is none) and clears the field;
//   - a mute caption flips exactly when the current command is 0VD/1VD/0AD/1AD
//     with CR, the reply holds an upper-case 'R', and no resend cleared it.
//
// Input: a series of steps. A step's first byte, modulo 10, is 0-5 for a
// command button (Select Clip, Play, Loop Play, Pause, Still, Stop), 6 for
// Mute Video, 7 for Mute Audio, 8 for one datagram, 9 for one datagram sent
// as many times as the next byte says (so that the resend bound is within a
// short input's reach). A datagram is a length byte and as many bytes, or,
// when the length byte is 255, all the bytes left; that one, up to the
// largest UDP payload, is sent once.

#include "support/fuzz_check.h"
#include "support/rig.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <string_view>

using corvane::Command;
using corvane::Field;
using corvane::MuteButton;
using corvane::MuteOutput;

namespace {

bool HoldsE00(std::string text)
{
    std::replace(text.begin(), text.end(), 'E', 'e');
    return text.find("e00") != std::string::npos;
}

struct Model
{
    std::map<MuteButton, std::string> captions{{MuteButton::VideoMuteCmd, "Mute Video"},
                                               {MuteButton::AudioMuteCmd, "Mute Audio"}};
    std::string currentCommand;
    int resends = 0;

    // The command a mute button sends for the caption it shows.
    std::string muteCommand(MuteButton button) const
    {
        const bool video = button == MuteButton::VideoMuteCmd;
        const bool muted = captions.at(button) == (video ? "Unmute Video" : "Unmute Audio");
        return std::string(muted ? "1" : "0") + (video ? "VD\r" : "AD\r");
    }

    // The caption an acknowledged mute command leaves on its button.
    void acknowledge()
    {
        static const std::map<std::string, std::pair<MuteButton, std::string>> flips = {
            {"0VD\r", {MuteButton::VideoMuteCmd, "Unmute Video"}},
            {"1VD\r", {MuteButton::VideoMuteCmd, "Mute Video"}},
            {"0AD\r", {MuteButton::AudioMuteCmd, "Unmute Audio"}},
            {"1AD\r", {MuteButton::AudioMuteCmd, "Mute Audio"}},
        };
        const auto it = flips.find(currentCommand);
        if (it != flips.end())
            captions[it->second.first] = it->second.second;
    }
};

void Press(Rig &rig, Model &model, unsigned action)
{
    static const char *const texts[] = {"0SE\r", "PL\r", "LP\r", "PA\r", "ST\r", "RJ\r"};
    const std::size_t sentBefore = rig.endpoint.sent.size();
    if (action < 6) {
        rig.controller.commandPressed(static_cast<Command>(action));
        model.currentCommand = texts[action];
    } else {
        const MuteButton button = action == 6 ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd;
        model.currentCommand = model.muteCommand(button);
        rig.controller.mutePressed(action == 6 ? MuteOutput::Video : MuteOutput::Audio);
    }
    model.resends = 0;
    const auto &state = rig.controller.state();
    FUZZ_CHECK(state.CurrentCmd == model.currentCommand, "press %u sets another command", action);
    FUZZ_CHECK(rig.endpoint.sent.size() == sentBefore + 1, "press %u sends %zu frames", action,
               rig.endpoint.sent.size() - sentBefore);
    FUZZ_CHECK(state.RetryCount == 0 && rig.window.text(Field::TeskRspTxt).empty(),
               "a press leaves resends counted or a reply shown");
}

void Deliver(Rig &rig, Model &model, const std::string &datagram)
{
    const std::string shown = rig.window.text(Field::TeskRspTxt);
    const std::string lastFrame = rig.controller.state().LastPacket;
    const std::size_t sentBefore = rig.endpoint.sent.size();

    rig.reply(datagram);

    const bool changed = datagram != shown;
    const bool resend = changed && HoldsE00(datagram) && model.resends < 41;
    if (resend)
        ++model.resends;
    else if (changed && datagram.find('R') != std::string::npos)
        model.acknowledge();

    const std::size_t sent = rig.endpoint.sent.size() - sentBefore;
    FUZZ_CHECK(sent == (resend && !lastFrame.empty() ? 1u : 0u), "%zu frames sent for a reply of %zu bytes",
               sent, datagram.size());
    if (sent == 1)
        FUZZ_CHECK(rig.lastSent() == lastFrame, "the resend is not the last frame");
    FUZZ_CHECK(rig.controller.state().RetryCount == model.resends, "%d resends counted, model %d",
               rig.controller.state().RetryCount, model.resends);
    FUZZ_CHECK(rig.window.text(Field::TeskRspTxt) == (resend ? std::string() : datagram),
               "the field shows something else after a reply of %zu bytes", datagram.size());
    for (const auto &[button, caption] : model.captions)
        FUZZ_CHECK(rig.window.caption(button) == caption, "caption \"%s\", model \"%s\"",
                   rig.window.caption(button).c_str(), caption.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char *>(data), size);
    const auto take = [&input](std::size_t count) {
        const std::string_view taken = input.substr(0, count);
        input.remove_prefix(taken.size());
        return std::string(taken);
    };

    const auto byte = [&take] {
        const std::string b = take(1);
        return b.empty() ? 0u : static_cast<unsigned>(static_cast<unsigned char>(b[0]));
    };

    Rig rig;
    rig.startUp();
    Model model;
    while (!input.empty()) {
        const unsigned action = byte() % 10;
        if (action < 8) {
            Press(rig, model, action);
            continue;
        }
        const unsigned times = action == 9 ? byte() % 64 + 1 : 1;
        const unsigned length = byte();
        const bool rest = length == 255;
        const std::string datagram = take(rest ? input.size() : length);
        for (unsigned i = 0; i < (rest ? 1 : times); ++i)
            Deliver(rig, model, datagram);
    }
    return 0;
}
