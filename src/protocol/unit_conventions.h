// SPDX-License-Identifier: MIT
#pragma once

// What the program and its units agree on, side by side: change one here and
// the window, the command-line tools and the benchmarks follow. The unit
// simulator, the fuzz targets' models and the dissector keep copies of their
// own on purpose: they check the program from outside.

#include <chrono>
#include <cstdint>

namespace corvane {

// Units take commands on this UDP port and answer from it.
inline constexpr std::int32_t kUnitPort = 2639;

// The local port search starts here (and never takes kUnitPort).
inline constexpr std::int32_t kFirstLocalPort = 1028;

// How long a command waits for its reply before the operator is warned.
inline constexpr std::chrono::milliseconds kReplyTimeout{6000};

// Resends allowed for one command: a resend is made while fewer than this many
// were made before it, so the first 41 "E00" replies are answered.
inline constexpr int kMaxResends = 41;

// Every unit obeys this ID and none answers it: no reply is awaited.
inline constexpr int kNoReplyUnitId = 127;

} // namespace corvane
