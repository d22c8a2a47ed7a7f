// SPDX-License-Identifier: MIT
// Any datagram through the OSC bridge's reading: its own reader takes it
// apart, each message is read as a press, and each press goes through the
// controller over the recording fakes (which send nothing). Two models: when
// the bridge's reader takes a datagram, liblo's own dispatcher sees the same
// messages in the same order; and a frame goes out exactly when the path is
// /unit/ID/NAME with ID 1 to 3 digits of at most 127, NAME a known command
// with no argument or one press value (a number not zero and not NaN, or
// true), or select with a string or symbol of up to 5 digits or a whole
// number of 0 to 99999; the simulated unit reads that frame as that ID and
// command, clip as written.

#include "frame_parser.h"
#include "osc_request.h"
#include "support/fuzz_check.h"
#include "support/rig.h"

#include <lo/lo.h>

#include <cmath>
#include <map>
#include <regex>

using namespace corvane;

namespace {

std::vector<std::string> g_dispatched; // path and types, as liblo's dispatcher saw them

// Whether one argument presses (true), releases (false) or is no press value.
std::optional<bool> Press(char type, lo_arg *arg)
{
    switch (type) {
    case 'i': return arg->i != 0;
    case 'h': return arg->h != 0;
    case 'f': return std::isnan(arg->f) ? std::nullopt : std::optional<bool>(arg->f != 0);
    case 'd': return std::isnan(arg->d) ? std::nullopt : std::optional<bool>(arg->d != 0);
    case 'T': return true;
    case 'F': return false;
    default: return std::nullopt;
    }
}

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
        return types.empty() || (types.size() == 1 && Press(types[0], argv[0]).value_or(false))
                   ? to + plain.at(m[2]) + "\r"
                   : "";
    if (m[2] != "select" || types.size() != 1)
        return "";
    if ((types == "s" || types == "S") && std::regex_match(&argv[0]->s, clip))
        return to + &argv[0]->s + "SE\r";
    const double number = types == "i"   ? argv[0]->i
                          : types == "h" ? static_cast<double>(argv[0]->h)
                          : types == "f" ? argv[0]->f
                          : types == "d" ? argv[0]->d
                                         : -1;
    if (number >= 0 && number <= 99999 && std::trunc(number) == number)
        return to + std::to_string(static_cast<long>(number)) + "SE\r";
    return "";
}

void Run(Rig &rig, const std::string &path, lo_message message)
{
    const std::string types = lo_message_get_types(message);
    lo_arg **argv = lo_message_get_argv(message);
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
    FUZZ_CHECK(rig.endpoint.sent.size() - before == !expected.empty(), "frames sent for %s ,%s", path.c_str(),
               types.c_str());
    if (!expected.empty()) {
        const std::string sent = rig.lastSent(); // the parse refers into it
        const auto frame = unitsim::ParseFrame(sent);
        FUZZ_CHECK(frame.kind == unitsim::FrameKind::Command &&
                       std::string(frame.unitIdText) + "@" + std::string(frame.commandText) == expected,
                   "another frame for %s", path.c_str());
    }
}

int Dispatched(const char *path, const char *types, lo_arg **, int, lo_message, void *)
{
    g_dispatched.push_back(std::string(path) + " ," + types);
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
        lo_server_add_method(s, nullptr, nullptr, Dispatched, nullptr);
        return s;
    }();
    std::vector<char> datagram(data, data + size); // exactly as long, so a read past it is caught
    std::string why;
    const auto messages = ReadOscDatagram(datagram.data(), datagram.size(), &why);
    if (!messages)
        return 0;
    g_dispatched.clear();
    lo_server_dispatch_data(server, datagram.data(), datagram.size());
    FUZZ_CHECK(g_dispatched.size() == messages->size(), "%zu messages read, liblo dispatched %zu",
               messages->size(), g_dispatched.size());
    Rig rig;
    for (std::size_t i = 0; i < messages->size(); ++i) {
        const OscMessageIn &message = (*messages)[i];
        FUZZ_CHECK(g_dispatched[i] == message.path + " ," + lo_message_get_types(message.message.get()),
                   "message %zu read as %s, dispatched as %s", i, message.path.c_str(),
                   g_dispatched[i].c_str());
        Run(rig, message.path, message.message.get());
    }
    return 0;
}
