// SPDX-License-Identifier: MIT
#pragma once

// The frame format worked out again from its description, independently of
// src/protocol: 0xF1 | 0x01 0x04 | ID | '@' | command | checksum field | 0xF2,
// where the checksum field encodes S, the sum of the bytes from 0x01 through
// the end of the command: S itself when S < 250; 0xFF and S in two bytes, high
// first, when S < 65536; 0xFE and S in three bytes otherwise.

#include <cstdint>
#include <string>
#include <string_view>

namespace fuzzmodel {

inline std::string Frame(std::string_view id, std::string_view command)
{
    const std::string addressed = std::string("\x01\x04", 2) + std::string(id) + "@" + std::string(command);
    std::uint32_t sum = 0;
    for (const unsigned char b : addressed)
        sum += b;
    const auto byte = [sum](int shift) { return char(sum >> shift & 0xFF); };
    const std::string checksum = sum < 250     ? std::string{byte(0)}
                                 : sum < 65536 ? std::string{'\xFF', byte(8), byte(0)}
                                               : std::string{'\xFE', byte(16), byte(8), byte(0)};
    return "\xF1" + addressed + checksum + "\xF2";
}

} // namespace fuzzmodel
