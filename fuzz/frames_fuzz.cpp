// SPDX-License-Identifier: MIT
// Frames both ways against the model in support/frame_model.h. The input read
// as a datagram: whatever the simulated unit's parser takes for a command must
// be, byte for byte, the frame its fields describe. The input read as a length
// byte, a unit ID and command bytes: the frame builder must build the model's
// frame, and frames a unit can take (an ID of 1-3 digits, a command ending in
// its only CR, 8 to 20 bytes) must read back to their fields.

#include "frame_parser.h"
#include "protocol/command_frame.h"
#include "support/frame_model.h"
#include "support/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy of exactly the input's length, so a read past its end is caught.
    const std::string datagram(reinterpret_cast<const char *>(data), size);
    const auto read = corvane::unitsim::ParseFrame(datagram);
    if (read.kind == corvane::unitsim::FrameKind::Command)
        FUZZ_CHECK(fuzzmodel::Frame(read.unitIdText, read.commandText) == datagram,
                   "a command that is not the frame of its fields");
    if (size == 0)
        return 0;
    const std::string id = datagram.substr(1, data[0] % 8), command = datagram.substr(1 + id.size());
    const std::string frame = corvane::CommandFrame(id, command);
    FUZZ_CHECK(frame == fuzzmodel::Frame(id, command), "frame of %zu bytes", frame.size());
    if (!id.empty() && id.size() <= 3 && id.find_first_not_of("0123456789") == std::string::npos &&
        !command.empty() && command.find('\r') == command.size() - 1 && frame.size() >= 8 &&
        frame.size() <= 20) {
        const auto parsed = corvane::unitsim::ParseFrame(frame);
        FUZZ_CHECK(parsed.kind == corvane::unitsim::FrameKind::Command, "the unit's parser finds %s",
                   std::string(corvane::unitsim::FaultName(parsed.fault)).c_str());
        FUZZ_CHECK(parsed.unitIdText == id && parsed.commandText == command, "the unit reads other fields");
    }
    return 0;
}
