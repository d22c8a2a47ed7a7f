// SPDX-License-Identifier: MIT
#pragma once

// Reads one datagram the way a unit reads a command frame:
//
//   0xF1 | 0x01 0x04 | 1 to 3 ASCII digits | '@' | command text ending in CR | checksum | 0xF2
//
// The checksum covers the bytes from 0x01 through the CR. Its field is as long
// as its first byte says: 0xFF is followed by two more bytes, 0xFE by three,
// any other byte is the whole field. Checksum bytes may take any value, 0xF1
// and 0xF2 included, so a frame is read by structure from the front: the end
// byte is the last byte of the datagram and nothing else.
//
// Every datagram falls into exactly one of three kinds:
//   Command    every rule holds and the checksum matches the sum;
//   Damaged    it has the shape of a frame (starts with 0xF1, ends with 0xF2,
//              kShortestFrame to kLongestFrame bytes long) but breaks a rule
//              inside it: the lead, the ID digits and '@', the CR, the length
//              of the checksum field or its value. A unit asks for these again;
//   NotAFrame  anything else. A unit cannot tell it from stray traffic and
//              lets it pass.
//
// Plain standard C++ over bytes; nothing here allocates or throws.

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace corvane::unitsim {

// 0xF1 0x01 0x04, one ID digit, '@', a bare CR, a one-byte checksum, 0xF2.
inline constexpr std::size_t kShortestFrame = 8;
// The longest command the units know is a five-digit clip search ("99999SE\r")
// for ID 127, with the longest checksum field there is: 1+2+3+1+8+4+1 bytes.
inline constexpr std::size_t kLongestFrame = 20;

enum class FrameKind { Command, Damaged, NotAFrame };

enum class FrameFault {
    None,
    // NotAFrame
    TooShort,
    TooLong,
    NoStartByte,
    NoEndByte,
    // Damaged
    BadLead,          // not 0x01 0x04 after the start byte
    BadUnitId,        // not 1 to 3 digits followed by '@'
    NoCarriageReturn, // the command text never ends
    ChecksumLength,   // the checksum field is not as long as its first byte says
    ChecksumMismatch, // the checksum field does not match the sum
};

struct ParsedFrame
{
    FrameKind kind = FrameKind::NotAFrame;
    FrameFault fault = FrameFault::None;
    // Views into the datagram; each is empty until reading got that far.
    std::string_view unitIdText;  // the ID digits as sent, leading zeros kept
    std::string_view commandText; // through its CR
    std::string_view checksum;    // the checksum field as sent
    std::uint32_t sum = 0;        // of the bytes from 0x01 through the CR, once read
};

ParsedFrame ParseFrame(std::string_view datagram);

// A short lower-case name for the log, such as "checksum-mismatch".
std::string_view FaultName(FrameFault fault);

} // namespace corvane::unitsim
