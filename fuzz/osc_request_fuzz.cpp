// SPDX-License-Identifier: MIT
// Arbitrary datagrams through the OSC bridge's path from message to command:
// liblo reads each as the bridge's server does (bundles taken apart, time
// tags not waited for), every message it hands over is read as a press, and
// every press goes through the controller over the recording window and
// socket of tests/support (which send nothing anywhere). No crash, no read
// out of bounds, and what is sent must agree with a model written here:
// a frame goes out exactly when the path is /unit/ID/NAME with ID 1 to 3
// digits of at most 127, NAME a known command and the clip (for select) a
// string of up to 5 digits or an int32 of 0 to 99999; the simulated unit's
// parser must read that frame as the unit ID and the command text the
// message names, clip as written.

#include "frame_parser.h"
#include "osc_request.h"
#include "support/fuzz_check.h"
#include "support/rig.h"

#include <lo/lo.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

using corvane::Field;

namespace {

Rig *g_rig = nullptr;

bool Digits(const std::string &text, std::size_t longest)
{
    return text.size() <= longest && text.find_first_not_of("0123456789") == std::string::npos;
}

// The command text a message names, or nothing when it names no press.
std::optional<std::string> Model(const std::string &name, const std::string &types, lo_arg **argv)
{
    static const std::map<std::string, std::string> plain = {
        {"play", "PL\r"},          {"loop", "LP\r"},        {"pause", "PA\r"},
        {"still", "ST\r"},         {"stop", "RJ\r"},        {"mute-video", "0VD\r"},
        {"unmute-video", "1VD\r"}, {"mute-audio", "0AD\r"}, {"unmute-audio", "1AD\r"},
    };
    if (const auto it = plain.find(name); it != plain.end())
        return types.empty() ? std::optional(it->second) : std::nullopt;
    if (name != "select")
        return std::nullopt;
    if (types == "s" && Digits(&argv[0]->s, 5))
        return std::string(&argv[0]->s) + "SE\r";
    if (types == "i" && argv[0]->i >= 0 && argv[0]->i <= 99999)
        return std::to_string(argv[0]->i) + "SE\r";
    return std::nullopt;
}

// Presses the button as the headless controller does for the bridge.
void Press(Rig &rig, const corvane::OscPress &press)
{
    rig.window.setText(Field::TeskIDtxt, press.unitId);
    rig.window.setText(Field::ClipNumtxt, press.clip);
    if (const auto *command = std::get_if<corvane::Command>(&press.button)) {
        rig.controller.commandPressed(*command);
        return;
    }
    const auto [output, mute] = std::get<corvane::MutePress>(press.button);
    const bool video = output == corvane::MuteOutput::Video;
    rig.window.setCaption(video ? corvane::MuteButton::VideoMuteCmd : corvane::MuteButton::AudioMuteCmd,
                          std::string(mute ? "Mute " : "Unmute ") + (video ? "Video" : "Audio"));
    rig.controller.mutePressed(output);
}

int Message(const char *path, const char *types, lo_arg **argv, int, lo_message, void *)
{
    Rig &rig = *g_rig;
    const std::string fullPath = path;
    const std::size_t sentBefore = rig.endpoint.sent.size();
    const auto request = corvane::ReadOscRequest(path, types, argv);
    if (const auto *press = std::get_if<corvane::OscPress>(&request))
        Press(rig, *press);

    // /unit/ID/NAME, read here on its own.
    std::optional<std::string> expected;
    std::string id;
    if (fullPath.rfind("/unit/", 0) == 0) {
        const std::size_t slash = fullPath.find('/', 6);
        id = fullPath.substr(6, slash == std::string::npos ? std::string::npos : slash - 6);
        if (slash != std::string::npos && fullPath.find('/', slash + 1) == std::string::npos && !id.empty() &&
            Digits(id, 3) && std::stoi(id) <= 127)
            expected = Model(fullPath.substr(slash + 1), types, argv);
    }
    const std::size_t sent = rig.endpoint.sent.size() - sentBefore;
    FUZZ_CHECK(sent == (expected ? 1u : 0u), "%zu frames for %s ,%s", sent, path, types);
    if (sent == 1) {
        const std::string sentFrame = rig.lastSent();
        const auto frame = corvane::unitsim::ParseFrame(sentFrame);
        FUZZ_CHECK(frame.kind == corvane::unitsim::FrameKind::Command, "a damaged frame for %s", path);
        FUZZ_CHECK(frame.unitIdText == id && frame.commandText == *expected, "another unit or command for %s",
                   path);
    }
    return 0;
}

lo_server Server()
{
    // liblo dispatches only through a server, which binds a UDP socket of
    // its own; it is never read from or written to here. liblo's reports of
    // datagrams it cannot read are silenced: here such datagrams are the point.
    static lo_server server = [] {
        lo_server s = lo_server_new_with_proto(nullptr, LO_UDP, [](int, const char *, const char *) {});
        FUZZ_CHECK(s != nullptr, "liblo cannot make a server");
        lo_server_enable_queue(s, 0, 1);
        lo_server_add_method(s, nullptr, nullptr, Message, nullptr);
        return s;
    }();
    return server;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Rig rig;
    rig.startUp();
    g_rig = &rig;
    // A copy of exactly the input's length, so a read past its end is caught.
    std::vector<std::uint8_t> datagram(data, data + size);
    lo_server_dispatch_data(Server(), datagram.data(), datagram.size());
    return 0;
}
