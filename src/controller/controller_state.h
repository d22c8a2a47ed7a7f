// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace corvane {

// What the controller remembers between events. Everything else it needs
// (address, unit ID, clip number, the reply) it reads from the window's fields
// at the moment it needs them.
struct ControllerState
{
    std::string IDString;        // the unit ID text as last checked
    std::int32_t PortNum = 1028; // candidate local port for the port search
    std::int16_t ErrFlag = 0;    // non-zero once a check failed during this send
    std::string LastPacket;      // the last frame, exactly as sent; resent on "E00"
    std::int16_t RetryCount = 0; // resends made for the current command
    std::string CurrentCmd;      // command text of the last button pressed
};

} // namespace corvane
