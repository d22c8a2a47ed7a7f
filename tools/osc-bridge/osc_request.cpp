// SPDX-License-Identifier: MIT
#include "osc_request.h"

#include <lo/lo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace corvane {

namespace {

constexpr std::string_view kPrefix = "/unit/";

// The leaves of every path the bridge answers on; /error at the root too.
constexpr std::string_view kAnswerLeaves[] = {"reply", "resends-spent", "timeout",     "error",
                                              "clip",  "transport",     "video-muted", "audio-muted"};

// A press value of one argument: true presses, false releases; nothing for
// a type that is no press value.
std::optional<bool> PressValue(char type, const lo_arg *arg)
{
    switch (type) {
    case LO_INT32: return arg->i != 0;
    case LO_INT64: return arg->h != 0;
    case LO_FLOAT: return std::isnan(arg->f) ? std::nullopt : std::optional<bool>(arg->f != 0);
    case LO_DOUBLE: return std::isnan(arg->d) ? std::nullopt : std::optional<bool>(arg->d != 0);
    case LO_TRUE: return true;
    case LO_FALSE: return false;
    default: return std::nullopt;
    }
}

// A clip number as it goes on the wire, from digits as written or from a
// whole number in range.
std::optional<std::string> ClipText(char type, const lo_arg *arg)
{
    double number = -1;
    switch (type) {
    case LO_STRING:
    case LO_SYMBOL:
        if (IsClipText(&arg->s))
            return std::string(&arg->s);
        return std::nullopt;
    case LO_INT32: number = arg->i; break;
    case LO_INT64: number = static_cast<double>(arg->h); break;
    case LO_FLOAT: number = arg->f; break;
    case LO_DOUBLE: number = arg->d; break;
    default: return std::nullopt;
    }
    if (!(number >= 0 && number <= kLargestClipNumber) || number != std::floor(number))
        return std::nullopt;
    return std::to_string(static_cast<int>(number));
}

bool IsAnswerPath(std::string_view path)
{
    if (path == "/error")
        return true;
    if (path.substr(0, kPrefix.size()) != kPrefix)
        return false;
    const std::string_view rest = path.substr(kPrefix.size());
    const std::size_t slash = rest.find('/');
    return slash != std::string_view::npos && std::find(std::begin(kAnswerLeaves), std::end(kAnswerLeaves),
                                                        rest.substr(slash + 1)) != std::end(kAnswerLeaves);
}

std::uint32_t BigEndian32(const char *bytes)
{
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[i]);
    return value;
}

constexpr std::string_view kBundleHead{"#bundle\0", 8};
constexpr std::size_t kBundleStart = 16; // the head and the time tag
constexpr int kDeepestBundle = 8;

bool ReadElement(const char *data, std::size_t size, int depth, std::vector<OscMessageIn> &into,
                 std::string *why)
{
    if (size >= kBundleHead.size() && std::string_view(data, kBundleHead.size()) == kBundleHead) {
        if (depth >= kDeepestBundle) {
            *why = "bundles nested too deep";
            return false;
        }
        if (size < kBundleStart) {
            *why = "a bundle without its time tag";
            return false;
        }
        // Time tags are not waited for: a bundle's messages run at once, in order.
        for (std::size_t at = kBundleStart; at < size;) {
            const std::size_t length = size - at < 4 ? 0 : BigEndian32(data + at);
            if (length == 0 || length % 4 != 0 || length > size - at - 4) {
                *why = "a bundle element of a wrong length";
                return false;
            }
            if (!ReadElement(data + at + 4, length, depth + 1, into, why))
                return false;
            at += 4 + length;
        }
        return true;
    }
    int result = 0;
    // liblo copies what it reads; the bytes are left as they are.
    OscMessage message{lo_message_deserialise(const_cast<char *>(data), size, &result)};
    if (!message) {
        *why = "not an OSC message (liblo error " + std::to_string(result) + ")";
        return false;
    }
    into.push_back({std::string(data), std::move(message)}); // the path, checked to end inside
    return true;
}

} // namespace

void MessageFree::operator()(lo_message message) const { lo_message_free(message); }

OscRequest ReadOscRequest(std::string_view path, std::string_view types, lo_arg **argv)
{
    if (IsAnswerPath(path))
        return OscAnswerPath{};
    if (path.find_first_of("*?[]{}") != std::string_view::npos)
        return OscStray{"OSC address patterns are not taken: name one unit, or ID 127 for every unit "
                        "(/unit/127/COMMAND)"};
    const std::string_view rest = path.substr(std::min(kPrefix.size(), path.size()));
    const std::size_t slash = rest.find('/');
    if (path.substr(0, kPrefix.size()) != kPrefix || slash == std::string_view::npos ||
        rest.find('/', slash + 1) != std::string_view::npos ||
        std::any_of(path.begin(), path.end(), [](char c) { return c <= ' ' || c > '~'; }))
        return OscStray{"not a path this bridge takes: /unit/ID/COMMAND, COMMAND one of select, play, loop, "
                        "pause, still, stop, mute-video, unmute-video, mute-audio, unmute-audio, state"};
    std::string unitId(rest.substr(0, slash));
    const std::string_view name = rest.substr(slash + 1);

    const std::optional<ButtonPress> button = ButtonNamed(name);
    if (!button && name != "state")
        return OscRefusal{std::move(unitId), "unknown command: " + std::string(name)};
    const auto *command = button ? std::get_if<Command>(&*button) : nullptr;
    if (command && *command == Command::SelectClip) {
        const std::optional<std::string> clip =
            types.size() == 1 ? ClipText(types[0], argv[0]) : std::nullopt;
        if (!clip)
            return OscRefusal{std::move(unitId),
                              "Invalid clip number! (a string or symbol of 0 to 5 digits, or "
                              "a whole number 0-99999)"};
        return OscPress{std::move(unitId), *button, *clip};
    }
    const std::optional<bool> pressed = types.empty()       ? true
                                        : types.size() == 1 ? PressValue(types[0], argv[0])
                                                            : std::nullopt;
    if (!pressed)
        return OscRefusal{std::move(unitId), std::string(name) +
                                                 " takes no argument, or one that presses when it is not "
                                                 "zero: int, float, double or true/false"};
    if (!*pressed)
        return OscRelease{};
    if (!button)
        return OscStateQuery{std::move(unitId)};
    return OscPress{std::move(unitId), *button, {}};
}

std::optional<std::vector<OscMessageIn>> ReadOscDatagram(const char *data, std::size_t size, std::string *why)
{
    std::vector<OscMessageIn> messages;
    if (!ReadElement(data, size, 0, messages, why))
        return std::nullopt;
    return messages;
}

std::string FitText(std::string text, std::size_t room)
{
    if (text.size() <= room)
        return text;
    const std::string note = "... [cut: " + std::to_string(text.size()) + " bytes do not fit one datagram]";
    std::size_t keep = room > note.size() ? room - note.size() : 0;
    // Back off to the start of an escape the cut would split.
    const std::size_t escape = text.rfind("\\x", keep);
    if (escape != std::string::npos && escape < keep && escape + 4 > keep)
        keep = escape;
    text.resize(keep);
    return text + note;
}

} // namespace corvane
