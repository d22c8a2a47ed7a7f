// Arbitrary datagrams into the simulated unit's frame parser: no crash, no
// read outside the datagram, and whatever it takes for a command must be,
// byte for byte, the frame its fields describe.

#include "frame_parser.h"
#include "support/frame_model.h"
#include "support/fuzz_check.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy of exactly the input's length, so a read past its end is caught.
    const std::string datagram(reinterpret_cast<const char *>(data), size);
    const auto parsed = corvane::unitsim::ParseFrame(datagram);
    (void)corvane::unitsim::FaultName(parsed.fault);
    if (parsed.kind != corvane::unitsim::FrameKind::Command)
        return 0;

    const std::string addressed =
        std::string("\x01\x04", 2) + std::string(parsed.unitIdText) + "@" + std::string(parsed.commandText);
    const std::uint32_t sum = fuzzmodel::Sum(addressed);
    FUZZ_CHECK(parsed.sum == sum, "sum %u, model %u", parsed.sum, sum);
    FUZZ_CHECK("\xF1" + addressed + fuzzmodel::ChecksumField(sum) + "\xF2" == datagram,
               "a command that is not the frame of its fields");
    return 0;
}
