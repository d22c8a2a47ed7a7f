// SPDX-License-Identifier: MIT
#include "ui/layout_table.h"

#include <QtGlobal>

namespace corvane {

namespace {

using enum Field;
using enum Command;

// The reply field takes any datagram whole, up to the largest UDP payload.
constexpr int kLargestReply = 65507;

// A command button's caption, from the command table.
constexpr const char *Caption(Command command) { return SpecOf(command).caption.data(); }

constexpr const char *Mute(MuteOutput output) { return MuteCaption(output).data(); }
constexpr const char *Unmute(MuteOutput output) { return UnmuteCaption(output).data(); }

#define TEXT(text) QT_TRANSLATE_NOOP("corvane::Main", text)

constexpr MuteOutput kVideo = MuteOutput::Video;
constexpr MuteOutput kAudio = MuteOutput::Audio;

// clang-format off
constexpr ControlSpec kLayout[] = {
    // name               role                  text                          left  top   width height tab max  readOnly longest            toolTip
    {"addressField",      Address,              "",                           120,  120,  1575, 285,  12, 15,   false, "255.255.255.255", TEXT("See network administrator before changing.")},
    {"addressLabel",      Label{Address},       TEXT("Broadcast IP Address"), 1800, 120,  1455, 285,  16, 0,    false, "",                ""},
    {"localAddressField", LocalAddress,         "",                           120,  480,  1575, 285,  13, 0,    true,  "255.255.255.255", TEXT("This is your computers IP address.")},
    {"localAddressLabel", Label{LocalAddress},  TEXT("Local IP Address"),     1800, 480,  855,  285,  0,  0,    false, "",                ""},
    {"localPortField",    LocalPort,            "",                           120,  840,  615,  285,  11, 5,    true,  "49152",           TEXT("Port that your computer will comunicate with Tesk2 on.")},
    {"localPortLabel",    Label{LocalPort},     TEXT("Local Port"),           840,  840,  1095, 285,  15, 0,    false, "",                ""},
    {"unitIdField",       UnitId,               "",                           120,  1200, 495,  285,  1,  3,    false, "127",             TEXT("ID Number of Tesk2 you wish to control.")},
    {"unitIdLabel",       Label{UnitId},        TEXT("Tesk2 ID Number"),      720,  1200, 1815, 285,  14, 0,    false, "",                ""},
    {"selectClipButton",  SelectClip,           Caption(SelectClip),          120,  1920, 1850, 330,  3,  0,    false, "",                TEXT("Search to first frame of selected clip.")},
    {"clipNumberField",   ClipNumber,           "0",                          2040, 1920, 735,  330,  2,  5,    false, "99999",           TEXT("Clip number you wish to select.")},
    {"pauseButton",       Pause,                Caption(Pause),               3360, 1920, 975,  330,  7,  0,    false, "",                TEXT("Pause current clip (Video muted).")},
    {"playButton",        Play,                 Caption(Play),                120,  2280, 735,  330,  4,  0,    false, "",                TEXT("Play selected clip.")},
    {"stillButton",       Still,                Caption(Still),               3600, 2280, 735,  330,  8,  0,    false, "",                TEXT("Pause current clip (Last Frame Shown).")},
    {"loopPlayButton",    LoopPlay,             Caption(LoopPlay),            120,  2640, 1335, 330,  5,  0,    false, "",                TEXT("Play and loop selected clip.")},
    {"stopButton",        Stop,                 Caption(Stop),                3600, 2640, 735,  330,  9,  0,    false, "",                TEXT("Stop current video (Last frame shown).")},
    {"videoMuteButton",   kVideo,               Mute(kVideo),                 120,  3000, 1695, 330,  6,  0,    false, Unmute(kVideo),    TEXT("Mute/Unmute video output.")},
    {"audioMuteButton",   kAudio,               Mute(kAudio),                 2640, 3000, 1695, 330,  10, 0,    false, Unmute(kAudio),    TEXT("Mute/Unmute audio output.")},
    {"replyField",        Reply,                "",                           1920, 3720, 495,  285,  17, kLargestReply, true, "", TEXT("Displays Tesk2s response to command sent.")},
    {"replyLabel",        Label{Reply},         TEXT("Tesk2 Response"),       2520, 3720, 1815, 285,  18, 0,    false, "",                ""},
};
// clang-format on

#undef TEXT

} // namespace

std::span<const ControlSpec> MainLayout() { return kLayout; }

} // namespace corvane
