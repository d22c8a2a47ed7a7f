// Arbitrary datagrams, NUL and 0x80-0xFF included, up to the largest UDP
// payload, into the controller's reply path over the recording window and
// socket (which send nothing anywhere), between presses of the eight buttons.
// After each datagram the rules must have done what a model written here says:
//   - a datagram equal to what the field already shows changes nothing;
//   - otherwise it shows, unless it holds "E00" in any case and fewer than 41
//     resends were made for this command: then the field is cleared and the
//     last frame sent again (nothing when there is none);
//   - a mute caption flips when the command is 0VD/1VD/0AD/1AD with CR, the
//     reply holds an upper-case 'R', and no resend cleared it.
//
// Input: steps. A step's first byte, modulo 10: 0-5 presses a command button,
// 6 Mute Video, 7 Mute Audio, 8 delivers a datagram, 9 delivers one as many
// times as the next byte says. A datagram is a length byte and as many bytes,
// or with length 255 all the bytes left, delivered once.

#include "support/fuzz_check.h"
#include "support/rig.h"

#include <algorithm>
#include <map>

using namespace corvane;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char *>(data), size);
    const auto take = [&input](std::size_t count) {
        const std::string taken(input.substr(0, count));
        input.remove_prefix(taken.size());
        return taken;
    };
    const auto byte = [&take] { return unsigned(static_cast<unsigned char>(take(1).append(1, '\0')[0])); };

    Rig rig;
    rig.startUp();
    std::map<MuteButton, bool> muted; // the model's captions: "Unmute ..." when muted
    std::string command;
    int resends = 0;
    while (!input.empty()) {
        const unsigned action = byte() % 10;
        if (action < 8) {
            static const char *const texts[] = {"0SE\r", "PL\r", "LP\r", "PA\r", "ST\r", "RJ\r"};
            const MuteButton button = action == 6 ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd;
            if (action < 6) {
                command = texts[action];
                rig.controller.commandPressed(Command(action));
            } else {
                command = std::string(muted[button] ? "1" : "0") + (action == 6 ? "VD\r" : "AD\r");
                rig.controller.mutePressed(action == 6 ? MuteOutput::Video : MuteOutput::Audio);
            }
            resends = 0;
            FUZZ_CHECK(rig.controller.state().CurrentCmd == command, "press %u sets another command", action);
            continue;
        }
        const unsigned times = action == 9 ? byte() % 64 + 1 : 1;
        const unsigned length = byte();
        const std::string datagram = take(length == 255 ? input.size() : length);
        for (unsigned i = 0; i < (length == 255 ? 1 : times); ++i) {
            const bool changed = datagram != rig.window.text(Field::TeskRspTxt);
            const std::size_t sentBefore = rig.endpoint.sent.size();
            const std::string lastFrame = rig.controller.state().LastPacket;
            rig.reply(datagram);

            std::string lower = datagram;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](char c) { return c == 'E' ? 'e' : c; });
            const bool resend = changed && lower.find("e00") != std::string::npos && resends < 41;
            resends += resend;
            const bool muteCommand =
                command == "0VD\r" || command == "1VD\r" || command == "0AD\r" || command == "1AD\r";
            if (changed && !resend && muteCommand && datagram.find('R') != std::string::npos)
                muted[command[1] == 'V' ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd] =
                    command[0] == '0';

            const std::size_t expected = resend && !lastFrame.empty();
            FUZZ_CHECK(rig.endpoint.sent.size() - sentBefore == expected, "frames sent for %zu bytes",
                       datagram.size());
            FUZZ_CHECK(!expected || rig.lastSent() == lastFrame, "the resend is not the last frame");
            FUZZ_CHECK(rig.window.text(Field::TeskRspTxt) == (resend ? "" : datagram),
                       "the field shows another text");
            for (const auto &[button, isMuted] : muted) {
                const std::string caption = std::string(isMuted ? "Unmute " : "Mute ") +
                                            (button == MuteButton::VideoMuteCmd ? "Video" : "Audio");
                FUZZ_CHECK(rig.window.caption(button) == caption, "caption \"%s\"",
                           rig.window.caption(button).c_str());
            }
        }
    }
    return 0;
}
