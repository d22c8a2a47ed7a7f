// Arbitrary unit IDs, clip numbers and command bytes through the frame
// builder, against the model in support/frame_model.h; frames a unit can take
// (an ID of 1-3 digits, a command ending in its only CR, 8 to 20 bytes) must
// also read back to their fields with the simulated unit's own parser.
//
// Input: a choice byte (even: one of the six button commands built with
// CommandText(); odd: the rest of the input is the command), then a length
// byte and the ID, a length byte and the clip number.

#include "protocol/command_frame.h"
#include "protocol/command_set.h"
#include "support/frame_model.h"
#include "support/fuzz_check.h"

#include "frame_parser.h"

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char *>(data), size);
    const auto take = [&input](std::size_t count) {
        const std::string taken(input.substr(0, count));
        input.remove_prefix(taken.size());
        return taken;
    };
    const auto byte = [&take] { return unsigned(static_cast<unsigned char>(take(1).append(1, '\0')[0])); };
    const unsigned choice = byte();
    const std::string id = take(byte() % 8);
    const std::string clip = take(byte() % 8);

    std::string command = take(input.size());
    if (choice % 2 == 0) {
        static const char *const mnemonics[] = {"SE", "PL", "LP", "PA", "ST", "RJ"};
        const unsigned which = choice / 2 % 6;
        command = corvane::CommandText(corvane::Command(which), clip);
        FUZZ_CHECK(command == (which == 0 ? clip : "") + mnemonics[which] + "\r", "command text %u", which);
    }
    const std::string frame = corvane::CommandFrame(id, command);
    FUZZ_CHECK(frame == fuzzmodel::Frame(id, command), "frame of %zu bytes", frame.size());

    const bool digits = id.find_first_not_of("0123456789") == std::string::npos;
    if (!id.empty() && id.size() <= 3 && digits && !command.empty() &&
        command.find('\r') == command.size() - 1 && frame.size() >= 8 && frame.size() <= 20) {
        const auto parsed = corvane::unitsim::ParseFrame(frame);
        FUZZ_CHECK(parsed.kind == corvane::unitsim::FrameKind::Command, "the unit's parser finds %s",
                   std::string(corvane::unitsim::FaultName(parsed.fault)).c_str());
        FUZZ_CHECK(parsed.unitIdText == id && parsed.commandText == command, "the unit reads other fields");
    }
    return 0;
}
