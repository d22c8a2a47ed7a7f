// SPDX-License-Identifier: MIT
#pragma once

// How an OSC message names a button press: /unit/ID/COMMAND, where ID is the
// unit ID as written and COMMAND one of the button names; a select carries
// its clip number as its one argument, a string of digits or an int32. Plain
// C++ over what liblo hands a method handler, so that the fuzz target reaches
// it without Qt. The unit ID is left to the controller's own check.

#include "button_names.h"

#include <lo/lo_osc_types.h>

#include <string>
#include <string_view>
#include <variant>

namespace corvane {

struct OscPress
{
    std::string unitId;
    ButtonPress button;
    std::string clip; // for a select: digits, as they go on the wire
};

// A message for a unit that names no press it can make; it is answered on
// /unit/ID/error with `message`, and nothing goes to the units.
struct OscRefusal
{
    std::string unitId;
    std::string message;
};

// A message outside /unit/ID/COMMAND: there is no unit to answer for.
struct OscStray
{
};

using OscRequest = std::variant<OscPress, OscRefusal, OscStray>;

// `types` holds one OSC type tag per argument in `argv`, as liblo gives them.
OscRequest ReadOscRequest(std::string_view path, std::string_view types, lo_arg **argv);

inline constexpr int kLargestClipNumber = 99999; // five digits, as the clip field holds

} // namespace corvane
