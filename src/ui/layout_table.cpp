#include "ui/layout_table.h"

namespace corvane {

namespace {

constexpr auto Text = ControlKind::TextField;
constexpr auto Label = ControlKind::Label;
constexpr auto Button = ControlKind::Button;

// The reply field takes any datagram whole, up to the largest UDP payload.
constexpr int kLargestReply = 65507;

// clang-format off
constexpr ControlSpec kLayout[] = {
    // name           kind    text                    left  top   width height tab max  readOnly toolTip buddy
    {"BroadIPtxt",    Text,   "",                     120,  120,  1575, 285,  12, 15,   false, "See network administrator before changing.", nullptr},
    {"BroadIPlbl",    Label,  "Broadcast IP Address", 1800, 120,  1455, 285,  16, 0,    false, "", "BroadIPtxt"},
    {"LocalIPtxt",    Text,   "",                     120,  480,  1575, 285,  13, 0,    true,  "This is your computers IP address.", nullptr},
    {"HostIPLbl",     Label,  "Local IP Address",     1800, 480,  855,  285,  0,  0,    false, "", "LocalIPtxt"},
    {"LocalPortTxt",  Text,   "",                     120,  840,  615,  285,  11, 5,    true,  "Port that your computer will comunicate with Tesk2 on.", nullptr},
    {"LocalPLbl",     Label,  "Local Port",           840,  840,  1095, 285,  15, 0,    false, "", "LocalPortTxt"},
    {"TeskIDtxt",     Text,   "",                     120,  1200, 495,  285,  1,  3,    false, "ID Number of Tesk2 you wish to control.", nullptr},
    {"TeskIDlbl",     Label,  "Tesk2 ID Number",      720,  1200, 1815, 285,  14, 0,    false, "", "TeskIDtxt"},
    {"SelectCmd",     Button, "Select Clip #",        120,  1920, 1850, 330,  3,  0,    false, "Search to first frame of selected clip.", nullptr},
    {"ClipNumtxt",    Text,   "0",                    2040, 1920, 735,  330,  2,  5,    false, "Clip number you wish to select.", nullptr},
    {"PauseCmd",      Button, "Pause",                3360, 1920, 975,  330,  7,  0,    false, "Pause current clip (Video muted).", nullptr},
    {"PlayCmd",       Button, "Play",                 120,  2280, 735,  330,  4,  0,    false, "Play selected clip.", nullptr},
    {"StillCmd",      Button, "Still",                3600, 2280, 735,  330,  8,  0,    false, "Pause current clip (Last Frame Shown).", nullptr},
    {"LPlayCmd",      Button, "Loop Play",            120,  2640, 1335, 330,  5,  0,    false, "Play and loop selected clip.", nullptr},
    {"StopCmd",       Button, "Stop",                 3600, 2640, 735,  330,  9,  0,    false, "Stop current video (Last frame shown).", nullptr},
    {"VideoMuteCmd",  Button, "Mute Video",           120,  3000, 1695, 330,  6,  0,    false, "Mute/Unmute video output.", nullptr},
    {"AudioMuteCmd",  Button, "Mute Audio",           2640, 3000, 1695, 330,  10, 0,    false, "Mute/Unmute audio output.", nullptr},
    {"TeskRspTxt",    Text,   "",                     1920, 3720, 495,  285,  17, kLargestReply, true, "Displays Tesk2s response to command sent.", nullptr},
    {"TeskRspLbl",    Label,  "Tesk2 Response",       2520, 3720, 1815, 285,  18, 0,    false, "", "TeskRspTxt"},
};
// clang-format on

} // namespace

std::span<const ControlSpec> MainLayout() { return kLayout; }

} // namespace corvane
