// SPDX-License-Identifier: MIT
#pragma once

// The one wire format the program produces: every datagram to a unit is
//
//   0xF1 | 0x01 0x04 | unit ID digits | '@' | command text (ends in CR) | checksum | 0xF2
//
// The part from 0x01 up to and including the CR is the "addressed command";
// the checksum covers exactly those bytes. Strings here are 8-bit byte strings:
// one char is one byte on the wire, no text encoding is involved anywhere.

#include <string>
#include <string_view>

namespace corvane {

inline constexpr char kFrameStart = '\xF1';
inline constexpr char kFrameEnd = '\xF2';

// 0x01, 0x04, the unit ID exactly as typed (leading zeros kept), '@', the command text.
std::string AddressedCommand(std::string_view unitIdText, std::string_view commandText);

// The checksum field for an addressed command. With Sum the plain sum of its
// byte values:
//   Sum <   250   -> one byte, Sum itself (so a lone checksum byte is never 0xFA..0xFF);
//   Sum < 65536   -> 0xFF, then Sum as two bytes, most significant first;
//   otherwise     -> 0xFE, then Sum as three bytes, most significant first.
// The first byte therefore tells the receiver how long the field is. Sums above
// 0xFFFFFF cannot come from fields of the lengths the window allows.
std::string ChecksumField(std::string_view commandString);

// The complete frame, exactly as it goes on the wire and as it is kept for resends.
std::string CommandFrame(std::string_view unitIdText, std::string_view commandText);

} // namespace corvane
