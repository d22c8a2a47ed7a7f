// SPDX-License-Identifier: MIT
#pragma once

// Units answer in free text. Two marks are recognised in it: "E00" (in any
// case) asks for the last frame again, and an upper-case "R" acknowledges it.

#include <string_view>

namespace corvane {

bool AsksForResend(std::string_view reply);
bool Acknowledges(std::string_view reply);

} // namespace corvane
