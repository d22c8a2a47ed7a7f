// SPDX-License-Identifier: MIT
#pragma once

// Whether a unit acts on a datagram and what it answers, including the faults
// an operator can rehearse against the program. Pure decisions: the socket
// only carries them out.

#include "frame_parser.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane::unitsim {

inline constexpr std::string_view kAcceptedReply = "R";
inline constexpr std::string_view kResendReply = "E00";
// Neither "R" nor "E00": the program shows it and neither resends nor flips a caption.
inline constexpr std::string_view kUnknownCommandReply = "?";

inline constexpr int kEveryUnitId = 127; // every unit acts, none answers

// The unit a frame names, "007" naming 7; nothing while its ID is unread.
std::optional<int> AddressedId(const ParsedFrame &frame);

// What the simulated units make of one datagram, before any rehearsed fault.
enum class Verdict {
    Ignore,      // not a frame, not for us, or for ID 127 with a command no unit knows
    ObeyQuietly, // a good, known command for ID 127: every unit acts, none answers
    Accept,      // a good, known command for a simulated unit: it acts and answers "R"
    Refuse,      // a good frame whose command the unit does not know: "?"
    AskAgain,    // a damaged frame: "E00", so that the sender repeats it
};

// A damaged frame is answered by the unit it names, and by none when it names
// ID 127 or a unit not simulated here. When its ID cannot be read it names no
// one in particular; the simulator answers it, once, however many units it plays.
Verdict Judge(const ParsedFrame &frame, const std::vector<int> &simulatedIds);

struct Faults
{
    int errorsLeft = 0;  // --errors N: the next N replies are "E00"
    bool silent = false; // --silent: every reply after those is lost
};

struct Decision
{
    std::optional<std::string> reply; // nothing to send when empty
    bool act = false;                 // carry the command out
    bool rehearsed = false;           // the reply is a rehearsed "E00"
    Faults faults;                    // what is left to rehearse afterwards
};

// A unit does not act on a frame it asks for again, so a rehearsed "E00"
// leaves the state alone; a silent unit still acts, only its replies are lost.
// The rehearsed errors come first, so that both together play a unit that
// asks for a frame again and then falls silent. Frames that get no reply at
// all use up no rehearsed error.
Decision Decide(Verdict verdict, Faults faults);

} // namespace corvane::unitsim
