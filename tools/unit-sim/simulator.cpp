// SPDX-License-Identifier: MIT
#include "simulator.h"

namespace corvane::unitsim {

namespace {

constexpr char kHexDigits[] = "0123456789ABCDEF";

std::string FrameWords(const ParsedFrame &frame)
{
    std::string words;
    switch (frame.kind) {
    case FrameKind::Command: words = "frame=command"; break;
    case FrameKind::Damaged: words = "frame=damaged(" + std::string(FaultName(frame.fault)) + ')'; break;
    case FrameKind::NotAFrame:
        words = "frame=not-a-frame(" + std::string(FaultName(frame.fault)) + ')';
        break;
    }
    if (!frame.unitIdText.empty())
        words += " id=" + std::string(frame.unitIdText);
    if (!frame.commandText.empty())
        words += " cmd=\"" + Escaped(frame.commandText) + '"';
    return words;
}

std::string AnswerWords(Verdict verdict, const Decision &decision, const Faults &before)
{
    if (decision.reply)
        return "answer=" + Escaped(*decision.reply) + (decision.rehearsed ? "(rehearsed)" : "");
    switch (verdict) {
    case Verdict::Ignore: return "answer=none(not-ours)";
    case Verdict::ObeyQuietly: return "answer=none(every-unit)";
    default: return before.silent ? "answer=none(silent)" : "answer=none";
    }
}

} // namespace

Simulator::Simulator(std::vector<int> ids, Faults faults) : m_ids(std::move(ids)), m_faults(faults)
{
    for (const int id : m_ids)
        m_units[id];
}

Exchange Simulator::Receive(std::string_view datagram)
{
    const ParsedFrame frame = ParseFrame(datagram);
    const Verdict verdict = Judge(frame, m_ids);
    const Decision decision = Decide(verdict, m_faults);

    Exchange exchange;
    exchange.log.push_back("size=" + std::to_string(datagram.size()) + " hex=[" + HexBytes(datagram) + "] " +
                           FrameWords(frame) + ' ' + AnswerWords(verdict, decision, m_faults));
    m_faults = decision.faults;
    exchange.reply = decision.reply;

    const std::optional<UnitCommand> command =
        decision.act ? DecodeCommand(frame.commandText) : std::optional<UnitCommand>();
    if (command) {
        const std::optional<int> addressed = AddressedId(frame);
        for (auto &[id, state] : m_units) {
            if (verdict != Verdict::ObeyQuietly && id != addressed)
                continue;
            for (const std::string &change : Apply(state, *command))
                exchange.log.push_back("unit " + std::to_string(id) + ": " + change);
        }
    }
    return exchange;
}

const UnitState *Simulator::unit(int id) const
{
    const auto it = m_units.find(id);
    return it == m_units.end() ? nullptr : &it->second;
}

std::string HexBytes(std::string_view bytes, std::size_t shown)
{
    std::string hex;
    for (std::size_t i = 0; i < bytes.size() && i < shown; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (i > 0)
            hex += ' ';
        hex += kHexDigits[byte >> 4];
        hex += kHexDigits[byte & 0x0F];
    }
    if (bytes.size() > shown)
        hex += " ... +" + std::to_string(bytes.size() - shown) + " more";
    return hex;
}

std::string Escaped(std::string_view bytes)
{
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r')
            text += "\\r";
        else if (c == '"' || c == '\\')
            text += {'\\', c};
        else if (byte >= 0x20 && byte < 0x7F)
            text += c;
        else
            text += {'\\', 'x', kHexDigits[byte >> 4], kHexDigits[byte & 0x0F]};
    }
    return text;
}

} // namespace corvane::unitsim
