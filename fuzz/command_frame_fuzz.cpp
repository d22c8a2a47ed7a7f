// Arbitrary unit IDs and command bytes through the frame builder, against the
// model in support/frame_model.h; frames a unit can take (an ID of 1-3 digits,
// a command ending in its only CR, 8 to 20 bytes) must also read back to
// their fields with the simulated unit's own parser.
//
// Input: a length byte and the ID, then the command.

#include "frame_parser.h"
#include "protocol/command_frame.h"
#include "support/frame_model.h"
#include "support/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const std::string id(input.substr(1, data[0] % 8)), command(input.substr(1 + id.size()));
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
