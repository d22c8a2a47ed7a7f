#pragma once

#include <string>

namespace bench {

inline constexpr std::uint16_t kUnitPort = 2639;

// Play for unit 1 as it must leave the program, written out by hand:
// 0xF1, 0x01 0x04, "1", "@", "PL" CR, checksum 0xFF 0x01 0x1F (sum 287), 0xF2.
inline const std::string kPlayFrame("\xF1\x01\x04"
                                    "1@PL\r"
                                    "\xFF\x01\x1F\xF2",
                                    12);

} // namespace bench
