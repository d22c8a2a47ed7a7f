// SPDX-License-Identifier: MIT
#include "reply_rules.h"

#include "unit_state.h"

#include <algorithm>

namespace corvane::unitsim {

std::optional<int> AddressedId(const ParsedFrame &frame)
{
    if (frame.unitIdText.empty())
        return std::nullopt;
    int value = 0;
    for (const char c : frame.unitIdText)
        value = value * 10 + (c - '0');
    return value;
}

Verdict Judge(const ParsedFrame &frame, const std::vector<int> &simulatedIds)
{
    if (frame.kind == FrameKind::NotAFrame)
        return Verdict::Ignore;
    const std::optional<int> id = AddressedId(frame);
    if (!id)
        return frame.kind == FrameKind::Damaged ? Verdict::AskAgain : Verdict::Ignore;

    const bool known = DecodeCommand(frame.commandText).has_value();
    if (*id == kEveryUnitId)
        return frame.kind == FrameKind::Command && known ? Verdict::ObeyQuietly : Verdict::Ignore;
    if (std::find(simulatedIds.begin(), simulatedIds.end(), *id) == simulatedIds.end())
        return Verdict::Ignore;
    if (frame.kind == FrameKind::Damaged)
        return Verdict::AskAgain;
    return known ? Verdict::Accept : Verdict::Refuse;
}

Decision Decide(Verdict verdict, Faults faults)
{
    switch (verdict) {
    case Verdict::Ignore: return {std::nullopt, false, false, faults};
    case Verdict::ObeyQuietly: return {std::nullopt, true, false, faults};
    case Verdict::Accept:
    case Verdict::Refuse:
    case Verdict::AskAgain: break;
    }
    const bool act = verdict == Verdict::Accept;
    if (faults.errorsLeft > 0) {
        --faults.errorsLeft;
        return {std::string(kResendReply), false, true, faults};
    }
    if (faults.silent)
        return {std::nullopt, act, false, faults};
    const std::string_view reply = verdict == Verdict::Accept   ? kAcceptedReply
                                   : verdict == Verdict::Refuse ? kUnknownCommandReply
                                                                : kResendReply;
    return {std::string(reply), act, false, faults};
}

} // namespace corvane::unitsim
