// SPDX-License-Identifier: MIT
#include "ui/layout_table.h"

namespace corvane {

namespace {

using enum Field;
using enum Command;
using enum MuteButton;

// The reply field takes any datagram whole, up to the largest UDP payload.
constexpr int kLargestReply = 65507;

// clang-format off
constexpr ControlSpec kLayout[] = {
    // name           role                      text                    left  top   width height tab max  readOnly longest            toolTip
    {"BroadIPtxt",    BroadIPtxt,               "",                     120,  120,  1575, 285,  12, 15,   false, "255.255.255.255", "See network administrator before changing."},
    {"BroadIPlbl",    Label{BroadIPtxt},        "Broadcast IP Address", 1800, 120,  1455, 285,  16, 0,    false, "",                ""},
    {"LocalIPtxt",    LocalIPtxt,               "",                     120,  480,  1575, 285,  13, 0,    true,  "255.255.255.255", "This is your computers IP address."},
    {"HostIPLbl",     Label{LocalIPtxt},        "Local IP Address",     1800, 480,  855,  285,  0,  0,    false, "",                ""},
    {"LocalPortTxt",  LocalPortTxt,             "",                     120,  840,  615,  285,  11, 5,    true,  "49152",           "Port that your computer will comunicate with Tesk2 on."},
    {"LocalPLbl",     Label{LocalPortTxt},      "Local Port",           840,  840,  1095, 285,  15, 0,    false, "",                ""},
    {"TeskIDtxt",     TeskIDtxt,                "",                     120,  1200, 495,  285,  1,  3,    false, "127",             "ID Number of Tesk2 you wish to control."},
    {"TeskIDlbl",     Label{TeskIDtxt},         "Tesk2 ID Number",      720,  1200, 1815, 285,  14, 0,    false, "",                ""},
    {"SelectCmd",     SelectClip,               "Select Clip #",        120,  1920, 1850, 330,  3,  0,    false, "",                "Search to first frame of selected clip."},
    {"ClipNumtxt",    ClipNumtxt,               "0",                    2040, 1920, 735,  330,  2,  5,    false, "99999",           "Clip number you wish to select."},
    {"PauseCmd",      Pause,                    "Pause",                3360, 1920, 975,  330,  7,  0,    false, "",                "Pause current clip (Video muted)."},
    {"PlayCmd",       Play,                     "Play",                 120,  2280, 735,  330,  4,  0,    false, "",                "Play selected clip."},
    {"StillCmd",      Still,                    "Still",                3600, 2280, 735,  330,  8,  0,    false, "",                "Pause current clip (Last Frame Shown)."},
    {"LPlayCmd",      LoopPlay,                 "Loop Play",            120,  2640, 1335, 330,  5,  0,    false, "",                "Play and loop selected clip."},
    {"StopCmd",       Stop,                     "Stop",                 3600, 2640, 735,  330,  9,  0,    false, "",                "Stop current video (Last frame shown)."},
    {"VideoMuteCmd",  VideoMuteCmd,             "Mute Video",           120,  3000, 1695, 330,  6,  0,    false, "Unmute Video",    "Mute/Unmute video output."},
    {"AudioMuteCmd",  AudioMuteCmd,             "Mute Audio",           2640, 3000, 1695, 330,  10, 0,    false, "Unmute Audio",    "Mute/Unmute audio output."},
    {"TeskRspTxt",    TeskRspTxt,               "",                     1920, 3720, 495,  285,  17, kLargestReply, true, "", "Displays Tesk2s response to command sent."},
    {"TeskRspLbl",    Label{TeskRspTxt},        "Tesk2 Response",       2520, 3720, 1815, 285,  18, 0,    false, "",                ""},
};
// clang-format on

} // namespace

std::span<const ControlSpec> MainLayout() { return kLayout; }

} // namespace corvane
