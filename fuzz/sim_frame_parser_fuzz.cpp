// Arbitrary datagrams into the simulated unit's frame parser: no crash, no
// read outside the datagram, and whatever it takes for a command must be,
// byte for byte, the frame its fields describe.

#include "frame_parser.h"
#include "support/frame_model.h"
#include "support/fuzz_check.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    // A copy of exactly the input's length, so a read past its end is caught.
    const std::string datagram(reinterpret_cast<const char *>(data), size);
    const auto parsed = corvane::unitsim::ParseFrame(datagram);
    if (parsed.kind == corvane::unitsim::FrameKind::Command)
        FUZZ_CHECK(fuzzmodel::Frame(parsed.unitIdText, parsed.commandText) == datagram,
                   "a command that is not the frame of its fields");
    return 0;
}
