// SPDX-License-Identifier: MIT
#include "frame_parser.h"

#include <array>

namespace corvane::unitsim {

namespace {

constexpr unsigned char kStart = 0xF1;
constexpr unsigned char kEnd = 0xF2;

unsigned char Byte(std::string_view bytes, std::size_t at) { return static_cast<unsigned char>(bytes[at]); }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t ChecksumFieldLength(unsigned char first)
{
    switch (first) {
    case 0xFF: return 3;
    case 0xFE: return 4;
    default: return 1;
    }
}

// The field a sender must have written for this sum. Only the one form fits a
// sum, so a field in another form counts as a mismatch, not as another spelling.
bool ChecksumMatches(std::string_view field, std::uint32_t sum)
{
    std::array<unsigned char, 4> expected{};
    std::size_t length = 0;
    const auto put = [&](std::uint32_t value) { expected[length++] = static_cast<unsigned char>(value); };
    if (sum < 250) {
        put(sum);
    } else if (sum < 65536) {
        put(0xFF), put(sum >> 8), put(sum);
    } else {
        put(0xFE), put(sum >> 16), put(sum >> 8), put(sum);
    }
    if (field.size() != length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        if (Byte(field, i) != expected[i])
            return false;
    }
    return true;
}

} // namespace

ParsedFrame ParseFrame(std::string_view datagram)
{
    ParsedFrame frame;
    const auto stop = [&frame](FrameKind kind, FrameFault fault) {
        frame.kind = kind;
        frame.fault = fault;
        return frame;
    };

    // The outer shape decides whether this is a frame at all.
    if (datagram.size() < kShortestFrame)
        return stop(FrameKind::NotAFrame, FrameFault::TooShort);
    if (datagram.size() > kLongestFrame)
        return stop(FrameKind::NotAFrame, FrameFault::TooLong);
    if (Byte(datagram, 0) != kStart)
        return stop(FrameKind::NotAFrame, FrameFault::NoStartByte);
    if (Byte(datagram, datagram.size() - 1) != kEnd)
        return stop(FrameKind::NotAFrame, FrameFault::NoEndByte);

    // Everything between start and end byte; from here on a broken rule is damage.
    const std::string_view body = datagram.substr(1, datagram.size() - 2);
    if (Byte(body, 0) != 0x01 || Byte(body, 1) != 0x04)
        return stop(FrameKind::Damaged, FrameFault::BadLead);

    std::size_t at = 2;
    while (at < body.size() && IsDigit(body[at]) && at - 2 < 4)
        ++at;
    const std::size_t digits = at - 2;
    if (digits < 1 || digits > 3 || at >= body.size() || body[at] != '@')
        return stop(FrameKind::Damaged, FrameFault::BadUnitId);
    frame.unitIdText = body.substr(2, digits);

    const std::size_t commandStart = at + 1;
    const std::size_t cr = body.find('\r', commandStart);
    if (cr == std::string_view::npos)
        return stop(FrameKind::Damaged, FrameFault::NoCarriageReturn);
    frame.commandText = body.substr(commandStart, cr + 1 - commandStart);
    for (std::size_t i = 0; i <= cr; ++i)
        frame.sum += Byte(body, i);

    const std::string_view field = body.substr(cr + 1);
    if (field.empty() || field.size() != ChecksumFieldLength(Byte(field, 0)))
        return stop(FrameKind::Damaged, FrameFault::ChecksumLength);
    frame.checksum = field;
    if (!ChecksumMatches(field, frame.sum))
        return stop(FrameKind::Damaged, FrameFault::ChecksumMismatch);
    return stop(FrameKind::Command, FrameFault::None);
}

std::string_view FaultName(FrameFault fault)
{
    switch (fault) {
    case FrameFault::None: return "none";
    case FrameFault::TooShort: return "too-short";
    case FrameFault::TooLong: return "too-long";
    case FrameFault::NoStartByte: return "no-start-byte";
    case FrameFault::NoEndByte: return "no-end-byte";
    case FrameFault::BadLead: return "bad-lead";
    case FrameFault::BadUnitId: return "bad-unit-id";
    case FrameFault::NoCarriageReturn: return "no-carriage-return";
    case FrameFault::ChecksumLength: return "checksum-length";
    case FrameFault::ChecksumMismatch: return "checksum-mismatch";
    }
    return "unknown";
}

} // namespace corvane::unitsim
