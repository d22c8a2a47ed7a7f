// Arbitrary unit IDs, clip numbers and command bytes through the frame
// builder. Each frame must read back, with a parser written here from the
// format's description, to the ID, command and checksum it was built from;
// frames a unit can take (an ID of 1-3 digits, a command ending in its only CR,
// 8 to 20 bytes) must also read back so with the simulated unit's own parser.
//
// Input: byte 0 picks the command: an even value builds one of the six button
// commands with CommandText(), an odd value takes the rest of the input as raw
// command bytes. Then a length byte and the ID bytes, a length byte and the
// clip number bytes.

#include "protocol/command_frame.h"
#include "protocol/command_set.h"
#include "support/frame_model.h"
#include "support/fuzz_check.h"

#include "frame_parser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

class Input
{
public:
    Input(const std::uint8_t *data, std::size_t size) : m_data(reinterpret_cast<const char *>(data), size) {}

    unsigned byte()
    {
        if (m_data.empty())
            return 0;
        const auto b = static_cast<unsigned char>(m_data.front());
        m_data.remove_prefix(1);
        return b;
    }
    std::string bytes(std::size_t count)
    {
        const std::string_view taken = m_data.substr(0, count);
        m_data.remove_prefix(taken.size());
        return std::string(taken);
    }
    std::string rest() { return bytes(m_data.size()); }

private:
    std::string_view m_data;
};

// The button commands as their captions say, spelled out here.
std::string ModelCommandText(unsigned which, const std::string &clip)
{
    static const char *const mnemonics[] = {"SE", "PL", "LP", "PA", "ST", "RJ"};
    return (which == 0 ? clip : std::string()) + mnemonics[which] + "\r";
}

bool IsDigits(const std::string &text)
{
    for (const char c : text) {
        if (c < '0' || c > '9')
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Input input(data, size);
    const unsigned choice = input.byte();
    const std::string id = input.bytes(input.byte() % 8);
    const std::string clip = input.bytes(input.byte() % 8);

    std::string command;
    if (choice % 2 == 0) {
        const unsigned which = (choice / 2) % 6;
        command = corvane::CommandText(static_cast<corvane::Command>(which), clip);
        FUZZ_CHECK(command == ModelCommandText(which, clip), "command text for button %u", which);
    } else {
        command = input.rest();
    }

    const std::string frame = corvane::CommandFrame(id, command);
    const std::string addressed = std::string("\x01\x04", 2) + id + "@" + command;
    FUZZ_CHECK(corvane::FormCommandString(id, command) == addressed, "addressed command");
    const std::uint32_t sum = fuzzmodel::Sum(addressed);
    FUZZ_CHECK(corvane::FindCheckSum(addressed) == fuzzmodel::ChecksumField(sum), "checksum field for sum %u",
               sum);
    FUZZ_CHECK(frame == "\xF1" + addressed + fuzzmodel::ChecksumField(sum) + "\xF2", "frame layout");

    const auto fields = fuzzmodel::Parse(frame);
    FUZZ_CHECK(fields.has_value(), "the frame does not read back (%zu bytes)", frame.size());
    FUZZ_CHECK(fields->addressed == addressed && fields->sum == sum, "read back another addressed command");
    FUZZ_CHECK(fields->checksum == fuzzmodel::ChecksumField(sum), "read back another checksum");
    if (id.find('@') == std::string::npos)
        FUZZ_CHECK(fields->id == id && fields->command == command, "read back other fields");

    using corvane::unitsim::FrameKind;
    const bool unitCanTakeIt = !id.empty() && id.size() <= 3 && IsDigits(id) && !command.empty() &&
                               command.find('\r') == command.size() - 1 &&
                               frame.size() >= corvane::unitsim::kShortestFrame &&
                               frame.size() <= corvane::unitsim::kLongestFrame;
    if (unitCanTakeIt) {
        const auto parsed = corvane::unitsim::ParseFrame(frame);
        FUZZ_CHECK(parsed.kind == FrameKind::Command, "the unit's parser finds fault %s",
                   std::string(corvane::unitsim::FaultName(parsed.fault)).c_str());
        FUZZ_CHECK(parsed.unitIdText == id && parsed.commandText == command, "the unit reads other fields");
        FUZZ_CHECK(parsed.checksum == fuzzmodel::ChecksumField(sum) && parsed.sum == sum,
                   "the unit reads another checksum");
    }
    return 0;
}
