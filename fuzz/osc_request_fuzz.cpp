// SPDX-License-Identifier: MIT
// Any datagram through the OSC bridge's path: liblo takes it apart as the
// bridge's server does, each message is read as a press, and each press goes
// through the controller over the recording fakes (which send nothing). The
// model here: a frame goes out exactly when the path is /unit/ID/NAME with ID
// 1 to 3 digits of at most 127, NAME a known command without arguments, or
// select with a string of up to 5 digits or an int32 of 0 to 99999; the
// simulated unit reads that frame as that ID and command, clip as written.

#include "frame_parser.h"
#include "osc_request.h"
#include "support/fuzz_check.h"
#include "support/rig.h"

#include <lo/lo.h>

#include <map>
#include <regex>

using namespace corvane;

namespace {

Rig *g_rig = nullptr;

// "ID@COMMAND" as the unit must read the frame a message names, or "" when it names no press.
std::string Model(const std::string &path, const std::string &types, lo_arg **argv)
{
    static const std::map<std::string, std::string> plain = {
        {"play", "PL"},          {"loop", "LP"},        {"pause", "PA"},
        {"still", "ST"},         {"stop", "RJ"},        {"mute-video", "0VD"},
        {"unmute-video", "1VD"}, {"mute-audio", "0AD"}, {"unmute-audio", "1AD"}};
    static const std::regex unit("/unit/([0-9]{1,3})/([^/]*)"), clip("[0-9]{0,5}");
    std::smatch m;
    if (!std::regex_match(path, m, unit) || std::stoi(m[1]) > 127)
        return "";
    const std::string to = m[1].str() + "@";
    if (plain.count(m[2]))
        return types.empty() ? to + plain.at(m[2]) + "\r" : "";
    if (m[2] == "select" && types == "s" && std::regex_match(&argv[0]->s, clip))
        return to + &argv[0]->s + "SE\r";
    if (m[2] == "select" && types == "i" && argv[0]->i >= 0 && argv[0]->i <= 99999)
        return to + std::to_string(argv[0]->i) + "SE\r";
    return "";
}

int Message(const char *path, const char *types, lo_arg **argv, int, lo_message, void *)
{
    Rig &rig = *g_rig;
    const std::size_t before = rig.endpoint.sent.size();
    const auto request = ReadOscRequest(path, types, argv);
    if (const auto *press = std::get_if<OscPress>(&request)) {
        rig.window.setText(Field::UnitId, press->unitId);
        rig.window.setText(Field::ClipNumber, press->clip);
        if (const auto *command = std::get_if<Command>(&press->button)) {
            rig.controller.commandPressed(*command);
        } else { // the caption that asks for the direction named
            const auto [output, mute] = std::get<MutePress>(press->button);
            const bool video = output == MuteOutput::Video;
            rig.window.captions[video ? MuteOutput::Video : MuteOutput::Audio] =
                std::string(mute ? "Mute " : "Unmute ") + (video ? "Video" : "Audio");
            rig.controller.mutePressed(output);
        }
    }
    const std::string expected = Model(path, types, argv);
    FUZZ_CHECK(rig.endpoint.sent.size() - before == !expected.empty(), "frames sent for %s ,%s", path, types);
    if (!expected.empty()) {
        const std::string sent = rig.lastSent(); // the parse refers into it
        const auto frame = unitsim::ParseFrame(sent);
        FUZZ_CHECK(frame.kind == unitsim::FrameKind::Command &&
                       std::string(frame.unitIdText) + "@" + std::string(frame.commandText) == expected,
                   "another frame for %s", path);
    }
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // liblo dispatches only through a server, whose own socket is never used;
    // its reports of unreadable datagrams are silenced, those are the point here.
    static lo_server server = [] {
        lo_server s = lo_server_new_with_proto(nullptr, LO_UDP, [](int, const char *, const char *) {});
        FUZZ_CHECK(s != nullptr, "liblo cannot make a server");
        lo_server_enable_queue(s, 0, 1);
        lo_server_add_method(s, nullptr, nullptr, Message, nullptr);
        return s;
    }();
    Rig rig;
    g_rig = &rig;
    std::vector<std::uint8_t> datagram(data, data + size); // exactly as long, so a read past it is caught
    lo_server_dispatch_data(server, datagram.data(), datagram.size());
    return 0;
}
