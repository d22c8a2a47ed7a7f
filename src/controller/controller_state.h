// SPDX-License-Identifier: MIT
#pragma once

#include "protocol/unit_conventions.h"

#include <cstdint>
#include <string>

namespace corvane {

// What the controller remembers between events. Everything else it needs
// (address, unit ID, clip number) it reads from the window's fields at the
// moment it needs them.
struct ControllerState
{
    std::int32_t portCandidate = kFirstLocalPort; // where the port search goes on
    std::string lastFrame;                        // the last frame, exactly as sent; resent on "E00"
    int resends = 0;                              // resends made for the current command
    std::string commandText;                      // command text of the last button pressed
};

} // namespace corvane
