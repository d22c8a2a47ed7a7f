#pragma once

// The frame format worked out again from its description, independently of
// src/protocol: a frame is
//
//   0xF1 | 0x01 0x04 | ID | '@' | command | checksum field | 0xF2
//
// and the checksum field encodes S, the sum of the bytes from 0x01 through the
// end of the command: S itself when S < 250; 0xFF and S in two bytes, high
// first, when S < 65536; 0xFE and S in three bytes otherwise.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace fuzzmodel {

inline std::uint32_t Sum(std::string_view bytes)
{
    std::uint32_t sum = 0;
    for (const unsigned char b : bytes)
        sum += b;
    return sum;
}

inline std::string ChecksumField(std::uint32_t sum)
{
    std::string field;
    if (sum < 250) {
        field.push_back(static_cast<char>(sum));
    } else if (sum < 65536) {
        field += '\xFF';
        field.push_back(static_cast<char>(sum / 256));
        field.push_back(static_cast<char>(sum % 256));
    } else {
        field += '\xFE';
        field.push_back(static_cast<char>(sum / 65536));
        field.push_back(static_cast<char>(sum / 256 % 256));
        field.push_back(static_cast<char>(sum % 256));
    }
    return field;
}

struct Fields
{
    std::string addressed; // 0x01 0x04 ID '@' command
    std::string id;        // up to the first '@'
    std::string command;   // after it
    std::string checksum;  // the field as found
    std::uint32_t sum = 0; // the value the field encodes
};

// Reads a frame from its ends: the last byte closes it, and the checksum field
// before it is the one whose first byte announces its length and whose value
// is the sum of everything between it and the start byte. No two lengths can
// both fit: the marker bytes 0xFF and 0xFE alone outweigh a one-byte sum, and
// a three-byte value beyond 0xFEFFFF needs more bytes than a frame holds.
inline std::optional<Fields> Parse(std::string_view frame)
{
    if (frame.size() < 2 || frame.front() != '\xF1' || frame.back() != '\xF2')
        return std::nullopt;
    const std::string_view inner = frame.substr(1, frame.size() - 2);
    for (const std::size_t length : {std::size_t{1}, std::size_t{3}, std::size_t{4}}) {
        if (inner.size() < length + 2)
            continue;
        const std::string_view addressed = inner.substr(0, inner.size() - length);
        const std::string_view field = inner.substr(inner.size() - length);
        const std::uint32_t sum = Sum(addressed);
        if (field != ChecksumField(sum) || addressed.substr(0, 2) != std::string_view("\x01\x04", 2))
            continue;
        Fields fields;
        fields.addressed = addressed;
        const std::string_view rest = addressed.substr(2);
        const std::size_t at = rest.find('@');
        if (at == std::string_view::npos)
            return std::nullopt;
        fields.id = rest.substr(0, at);
        fields.command = rest.substr(at + 1);
        fields.checksum = field;
        fields.sum = sum;
        return fields;
    }
    return std::nullopt;
}

} // namespace fuzzmodel
