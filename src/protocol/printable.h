// SPDX-License-Identifier: MIT
#pragma once

// Replies are raw bytes. Where one is written for a person to read (a
// terminal, a log line, an OSC string), printable ASCII stays as it is and
// every other byte becomes \xHH, so nothing a unit sends can move a cursor or
// ring a bell on the reader's screen.

#include <string>
#include <string_view>

namespace corvane {

std::string Printable(std::string_view bytes);

} // namespace corvane
