// SPDX-License-Identifier: MIT
#pragma once

// The operator's two inputs, checked before anything is sent. Plain rules over
// 8-bit text; the controller turns a failed check into the operator's message.

#include <optional>
#include <string_view>

namespace corvane {

// The destination address check. Four dot-separated groups are examined left
// to right; each must be a plain decimal number of at most 255, and not all
// four may be 0. Anything after the dot that ends the fourth group is not
// looked at, so "1.2.3.4." passes here (the endpoint refuses it later).
bool IsIpTextValid(std::string_view text);

// The unit ID as a number: one to three ASCII digits, nothing else.
std::optional<int> UnitIdValue(std::string_view text);

// A valid unit ID is one to three ASCII digits with a value of 0 to 127.
// It goes on the wire as typed, leading zeros included.
bool IsIdTextValid(std::string_view text);

} // namespace corvane
