// SPDX-License-Identifier: MIT
#pragma once

// What an OSC datagram asks of the bridge. Plain C++ over liblo's message
// reader, so that the fuzz target reaches it without Qt.
//
// A message names a button press as /unit/ID/COMMAND, where ID is the unit
// ID as written and COMMAND one of the button names. Surfaces press in their
// own styles: a command without arguments also takes one number or boolean,
// which presses when it is not zero (or true) and is a release otherwise, so
// a push button that sends 1 on press and 0 on release presses once. A select
// carries its clip number as digits (string or symbol) or as a whole number.
// /unit/ID/state asks for what the bridge saw acknowledged. The unit ID is
// left to the controller's own check.

#include "button_names.h"

#include <lo/lo_osc_types.h>
#include <lo/lo_types.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace corvane {

struct OscPress
{
    std::string unitId;
    ButtonPress button;
    std::string clip; // for a select: digits, as they go on the wire
};

// A button let go: nothing to send and nothing to answer.
struct OscRelease
{
};

struct OscStateQuery
{
    std::string unitId;
};

// A message for a unit that names no press it can make; it is answered on
// /unit/ID/error with `message`, and nothing goes to the units.
struct OscRefusal
{
    std::string unitId;
    std::string message;
};

// A message outside /unit/ID/COMMAND, answered on /error at the root.
struct OscStray
{
    std::string message;
};

// A message on one of the paths the bridge answers on. Answering it could
// start two bridges (or a bridge and any peer that answers what it does not
// know) answering each other for ever, so it is dropped.
struct OscAnswerPath
{
};

using OscRequest = std::variant<OscPress, OscRelease, OscStateQuery, OscRefusal, OscStray, OscAnswerPath>;

// `types` holds one OSC type tag per argument in `argv`, as liblo gives them.
OscRequest ReadOscRequest(std::string_view path, std::string_view types, lo_arg **argv);

struct MessageFree
{
    void operator()(lo_message message) const;
};
using OscMessage = std::unique_ptr<std::remove_pointer_t<lo_message>, MessageFree>;

struct OscMessageIn
{
    std::string path;
    OscMessage message;
};

// Every message of a datagram, bundles taken apart in order, or nothing (with
// the reason in `why`) when any part of it is not OSC: a bundle with one bad
// element is refused whole, before any of it runs.
std::optional<std::vector<OscMessageIn>> ReadOscDatagram(const char *data, std::size_t size,
                                                         std::string *why);

// The most one UDP datagram over IPv4 carries.
inline constexpr std::size_t kLargestDatagram = 65507;

// `text` cut, where it is longer than `room` bytes, so that it fits with a
// note saying it was cut; an escape such as \x0D is never split.
std::string FitText(std::string text, std::size_t room);

inline constexpr int kLargestClipNumber = 99999; // five digits, as the clip field holds

} // namespace corvane
