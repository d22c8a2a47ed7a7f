// SPDX-License-Identifier: MIT
#pragma once

// Units answer in free text. Two marks are recognised in it: "E00" (in any
// case) asks for the last frame again, and an upper-case "R" acknowledges it.

#include <string_view>

namespace corvane {

bool AsksForResend(std::string_view reply);
bool Acknowledges(std::string_view reply);

// Resends allowed for one command: a resend is made while fewer than this many
// were made before it, so the first 41 "E00" replies are answered.
inline constexpr int kMaxResends = 41;

} // namespace corvane
