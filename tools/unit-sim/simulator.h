// SPDX-License-Identifier: MIT
#pragma once

// The simulated units behind one port: each datagram is read, judged, carried
// out, and described for the log. No sockets here; the server feeds it bytes
// and sends back what it returns.

#include "reply_rules.h"
#include "unit_state.h"

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::unitsim {

struct Exchange
{
    // The frame line first, such as
    //   size=12 hex=[F1 01 04 31 40 50 4C 0D FF 01 1F F2] frame=command id=1 cmd="PL\r" answer=R
    // then one line for each change a unit made, such as "unit 1: mode stopped -> playing".
    std::vector<std::string> log;
    std::optional<std::string> reply;
};

class Simulator
{
public:
    // ids: the units played here, each 0 to 126.
    Simulator(std::vector<int> ids, Faults faults);

    Exchange Receive(std::string_view datagram);

    // The unit's state, or nothing for an ID not simulated here.
    const UnitState *unit(int id) const;

private:
    std::vector<int> m_ids;
    std::map<int, UnitState> m_units;
    Faults m_faults;
};

// Upper-case hex, a space between bytes; past `shown` bytes, "... +N more".
std::string HexBytes(std::string_view bytes, std::size_t shown = 32);

// Printable ASCII as it is; CR, quotes, backslashes and other bytes escaped.
std::string Escaped(std::string_view bytes);

} // namespace corvane::unitsim
