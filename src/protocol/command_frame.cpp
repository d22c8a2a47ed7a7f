// SPDX-License-Identifier: MIT
#include "protocol/command_frame.h"

#include <cstdint>

namespace corvane {

std::string AddressedCommand(std::string_view unitIdText, std::string_view commandText)
{
    std::string command{'\x01', '\x04'};
    command.append(unitIdText);
    command.push_back('@');
    command.append(commandText);
    return command;
}

std::string ChecksumField(std::string_view commandString)
{
    std::uint32_t sum = 0;
    for (const char c : commandString)
        sum += static_cast<unsigned char>(c);

    const auto byte = [sum](int shift) { return static_cast<char>((sum >> shift) & 0xFF); };
    if (sum >= 65536)
        return {'\xFE', byte(16), byte(8), byte(0)};
    if (sum >= 250)
        return {'\xFF', byte(8), byte(0)};
    return {byte(0)};
}

std::string CommandFrame(std::string_view unitIdText, std::string_view commandText)
{
    const std::string command = AddressedCommand(unitIdText, commandText);
    std::string frame(1, kFrameStart);
    frame += command;
    frame += ChecksumField(command);
    frame.push_back(kFrameEnd);
    return frame;
}

} // namespace corvane
