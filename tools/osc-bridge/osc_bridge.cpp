// SPDX-License-Identifier: MIT
#include "osc_bridge.h"

#include "controller/input_checks.h"
#include "headless_controller.h"
#include "osc_request.h"
#include "protocol/printable.h"
#include "protocol/reply_text.h"

#include <QHostAddress>
#include <QSocketNotifier>
#include <QTimer>

#include <lo/lo.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

Q_LOGGING_CATEGORY(lcOsc, "corvane.osc")

namespace corvane {

namespace {

// Datagrams per wake-up; what is left waits for the next turn of the event
// loop (the notifier fires again while any is waiting), so a flood of OSC
// cannot starve the units' replies and timers.
constexpr int kDatagramsPerTurn = 64;

// Answers to one peer: a burst of this many, then this many a second. A
// queue of 64 commands, each with its answer and four lines of feedback,
// passes; a peer that answers every answer is slowed to a trickle.
constexpr double kAnswerBurst = 400;
constexpr double kAnswersPerSecond = 100;
constexpr std::size_t kPeersTracked = 1024;

// A dropped datagram of one kind is logged at most once in this time; the
// rest are counted into the next line.
constexpr qint64 kDropLogMs = 1000;

QString Errno() { return QString::fromLocal8Bit(std::strerror(errno)); }

QString Shown(std::string_view bytes) { return QString::fromLatin1(Printable(bytes)); }

QString PeerText(Peer peer)
{
    return QHostAddress(peer.address).toString() + QLatin1Char(':') + QString::number(peer.port);
}

std::string UnitPath(const std::string &unitId, const char *leaf) { return "/unit/" + unitId + "/" + leaf; }

} // namespace

OscBridge::OscBridge(Options options, QObject *parent)
    : QObject(parent), m_options(std::move(options)),
      m_unit(new HeadlessController(m_options.replyTimeout, this)), m_buffer(kLargestDatagram + 1),
      m_holdTimer(new QTimer(this)), m_dropTimer(new QTimer(this))
{
    m_clock.start();
    connect(m_unit, &HeadlessController::replied, this,
            [this](const std::string &reply) { outcome("reply", &reply, true); });
    connect(m_unit, &HeadlessController::resendsSpent, this,
            [this](const std::string &reply) { outcome("resends-spent", &reply, true); });
    connect(m_unit, &HeadlessController::timedOut, this, [this] { outcome("timeout"); });
    connect(m_unit, &HeadlessController::checkFailed, this, [this](const QString &message) {
        const std::string text = message.toStdString();
        outcome("error", &text);
    });
    connect(m_unit, &HeadlessController::socketError, this, [this](const QString &message) {
        qCWarning(lcOsc).noquote() << message;
        const std::string text = message.toStdString();
        outcome("error", &text);
    });
    // ID 127: every unit obeys and none answers, so there is nothing to tell.
    connect(m_unit, &HeadlessController::sentWithoutReply, this, [this] {
        if (m_current)
            finish();
    });

    m_holdTimer->setSingleShot(true);
    m_holdTimer->setTimerType(Qt::PreciseTimer);
    m_holdTimer->setInterval(m_options.replyTimeout);
    connect(m_holdTimer, &QTimer::timeout, this, [this] { outcome("timeout"); });
    m_dropTimer->setSingleShot(true);
    m_dropTimer->setInterval(kDropLogMs / 4);
    connect(m_dropTimer, &QTimer::timeout, this, &OscBridge::logUnloggedDrops);
}

OscBridge::~OscBridge()
{
    delete m_notifier; // stops watching the socket before it is closed
    if (m_socket >= 0)
        ::close(m_socket);
}

bool OscBridge::listen(Peer where, QString *error)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(where.port);
    address.sin_addr.s_addr = htonl(where.address);
    const int yes = 1;
    m_socket = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    // Broadcast, so that --feedback may name a network's broadcast address.
    if (m_socket < 0 || ::setsockopt(m_socket, SOL_SOCKET, SO_BROADCAST, &yes, sizeof yes) != 0 ||
        ::bind(m_socket, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        *error = Errno();
        return false;
    }
    m_notifier = new QSocketNotifier(m_socket, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &OscBridge::receive);
    return true;
}

void OscBridge::startUp(const std::string &unitAddress) { m_unit->startUp(unitAddress); }

void OscBridge::receive()
{
    for (int i = 0; i < kDatagramsPerTurn; ++i) {
        sockaddr_in from{};
        socklen_t fromLength = sizeof from;
        const ssize_t size = ::recvfrom(m_socket, m_buffer.data(), m_buffer.size(), MSG_DONTWAIT,
                                        reinterpret_cast<sockaddr *>(&from), &fromLength);
        if (size < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                dropped("a read of the OSC socket", Errno());
            return;
        }
        const Peer peer{ntohl(from.sin_addr.s_addr), ntohs(from.sin_port)};
        if (size == 0) {
            dropped("an empty datagram", PeerText(peer));
            continue;
        }
        std::string why;
        const auto messages = ReadOscDatagram(m_buffer.data(), static_cast<std::size_t>(size), &why);
        if (!messages) {
            dropped("a datagram that is not OSC",
                    PeerText(peer) + QStringLiteral(", ") + QString::fromStdString(why) +
                        QStringLiteral(": ") + Shown({m_buffer.data(), std::min<std::size_t>(size, 48)}));
            continue;
        }
        for (const OscMessageIn &message : *messages)
            handle(message.path.c_str(), message.message.get(), peer);
    }
}

void OscBridge::handle(const char *path, lo_message message, Peer from)
{
    const char *types = lo_message_get_types(message);
    const OscRequest request = ReadOscRequest(path, types ? types : "", lo_message_get_argv(message));
    const Peer to = answerAddress(from);
    if (std::holds_alternative<OscAnswerPath>(request)) {
        dropped("a message on one of this bridge's answer paths",
                PeerText(from) + QStringLiteral(" ") + Shown(path));
    } else if (const auto *stray = std::get_if<OscStray>(&request)) {
        answer(to, "/error", {stray->message});
    } else if (const auto *refusal = std::get_if<OscRefusal>(&request)) {
        answer(to, UnitPath(refusal->unitId, "error"), {refusal->message});
    } else if (const auto *query = std::get_if<OscStateQuery>(&request)) {
        if (IsIdTextValid(query->unitId))
            tellState(to, *UnitIdValue(query->unitId));
        else
            answer(to, UnitPath(query->unitId, "error"), {"Invalid Tesk2 ID! (0-127)"});
    } else if (const auto *press = std::get_if<OscPress>(&request)) {
        if (m_queue.size() >= kQueueLength) {
            answer(
                to, UnitPath(press->unitId, "error"),
                {"busy: " + std::to_string(kQueueLength) + " commands wait already; this one was not sent"});
            return;
        }
        m_queue.push_back({to, press->unitId, press->button, press->clip});
        pump();
    }
    // A release asks for nothing.
}

Peer OscBridge::answerAddress(Peer from) const
{
    if (!m_options.replyTo)
        return from;
    return {m_options.replyTo->address ? m_options.replyTo->address : from.address, m_options.replyTo->port};
}

void OscBridge::pump()
{
    if (m_pumping)
        return; // an outcome told inside press(): the loop below goes on
    m_pumping = true;
    while (!m_current && !m_queue.empty()) {
        m_current = std::move(m_queue.front());
        m_queue.pop_front();
        // A copy: the outcome may be told, and m_current cleared, inside press().
        const Queued command = *m_current;
        m_unit->press(command.unitId, command.button, command.clip);
    }
    m_pumping = false;
}

void OscBridge::finish()
{
    m_holdTimer->stop();
    m_current.reset();
    pump();
}

std::optional<int> OscBridge::otherUnitAt(int unitId, const std::string &address) const
{
    // A unit that has answered from elsewhere before, answering now from an
    // address another unit answers from, is most likely that other unit late.
    // One address may answer for several IDs (the simulator plays several
    // units at once), so an ID not heard from yet takes any address.
    const auto own = m_unitAddress.find(unitId);
    if (own == m_unitAddress.end() || own->second == address)
        return std::nullopt;
    for (const auto &[other, at] : m_unitAddress)
        if (other != unitId && at == address)
            return other;
    return std::nullopt;
}

void OscBridge::outcome(const char *leaf, const std::string *text, bool fromUnit)
{
    if (!m_current)
        return; // a second failed check of the same press was told already
    const Queued &command = *m_current;
    const std::optional<int> unit = UnitIdValue(command.unitId);
    if (!fromUnit) {
        answer(command.answerTo, UnitPath(command.unitId, leaf),
               text ? std::vector{*text} : std::vector<std::string>{});
        finish();
        return;
    }
    const std::string sender = m_unit->replySender();
    if (const std::optional<int> other = unit ? otherUnitAt(*unit, sender) : std::nullopt) {
        qCWarning(lcOsc).noquote() << "a reply from" << Shown(sender) << "(where unit" << *other
                                   << "answers) was not taken as unit" << *unit
                                   << "answering:" << Shown(*text);
        m_holdTimer->start();
        return;
    }
    if (unit)
        m_unitAddress[*unit] = sender;
    answer(command.answerTo, UnitPath(command.unitId, leaf), {Printable(*text), sender});
    if (unit && std::string_view(leaf) == "reply" && Acknowledges(*text)) {
        SeenState &seen = m_seen[*unit];
        if (const auto *plain = std::get_if<Command>(&command.button)) {
            switch (*plain) {
            case Command::SelectClip:
                // The unit cues the clip and stands stopped on it.
                seen.clip = command.clip.empty() ? std::nullopt : std::optional<int>(std::stoi(command.clip));
                seen.transport = "stop";
                break;
            case Command::Play: seen.transport = "play"; break;
            case Command::LoopPlay: seen.transport = "loop"; break;
            case Command::Pause: seen.transport = "pause"; break;
            case Command::Still: seen.transport = "still"; break;
            case Command::Stop: seen.transport = "stop"; break;
            }
        } else {
            const auto [output, mute] = std::get<MutePress>(command.button);
            (output == MuteOutput::Video ? seen.videoMuted : seen.audioMuted) = mute;
        }
        std::vector<Peer> told{command.answerTo};
        for (const Peer &peer : m_options.feedback)
            if (std::find(told.begin(), told.end(), peer) == told.end())
                told.push_back(peer);
        for (const Peer &peer : told)
            tellState(peer, *unit);
    }
    finish();
}

void OscBridge::tellState(Peer to, int unitId)
{
    const SeenState &seen = m_seen[unitId];
    const std::string prefix = "/unit/" + std::to_string(unitId) + "/";
    const auto tell = [&](const char *leaf, auto value, const auto &add) {
        lo_message message = lo_message_new();
        if (value)
            add(message, *value);
        else
            lo_message_add_string(message, "unknown");
        send(to, prefix + leaf, message);
        lo_message_free(message);
    };
    const auto addInt = [](lo_message message, int value) { lo_message_add_int32(message, value); };
    tell("clip", seen.clip, addInt);
    tell("transport", seen.transport,
         [](lo_message message, const std::string &name) { lo_message_add_string(message, name.c_str()); });
    tell("video-muted", seen.videoMuted, addInt);
    tell("audio-muted", seen.audioMuted, addInt);
}

void OscBridge::answer(Peer to, const std::string &path, const std::vector<std::string> &strings)
{
    std::vector<std::string> texts = strings;
    for (int attempt = 0; attempt < 2; ++attempt) {
        lo_message message = lo_message_new();
        for (const std::string &text : texts)
            lo_message_add_string(message, text.c_str());
        const std::size_t length = lo_message_length(message, path.c_str());
        if (length <= kLargestDatagram || texts.empty()) {
            send(to, path, message);
            lo_message_free(message);
            return;
        }
        lo_message_free(message);
        // Only a unit's reply can be this long; it is the first text.
        const std::size_t over = length - kLargestDatagram;
        texts[0] = FitText(texts[0], texts[0].size() > over + 4 ? texts[0].size() - over - 4 : 0);
    }
}

void OscBridge::send(Peer to, const std::string &path, lo_message message)
{
    if (!allowed(to))
        return;
    std::size_t length = lo_message_length(message, path.c_str());
    std::vector<char> bytes(length);
    lo_message_serialise(message, path.c_str(), bytes.data(), &length);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(to.port);
    address.sin_addr.s_addr = htonl(to.address);
    if (::sendto(m_socket, bytes.data(), length, MSG_DONTWAIT, reinterpret_cast<const sockaddr *>(&address),
                 sizeof address) < 0)
        dropped("an answer that could not be sent",
                PeerText(to) + QStringLiteral(" ") + Shown(path) + QStringLiteral(": ") + Errno());
}

bool OscBridge::allowed(Peer to)
{
    const qint64 now = m_clock.elapsed();
    const auto refill = [now](Bucket &bucket) {
        bucket.tokens = std::min(kAnswerBurst, bucket.tokens + static_cast<double>(now - bucket.filledAtMs) *
                                                                   kAnswersPerSecond / 1000);
        bucket.filledAtMs = now;
        return bucket.tokens >= kAnswerBurst;
    };
    if (m_buckets.size() >= kPeersTracked && !m_buckets.count(to)) {
        // Forget the peers whose limit has come back in full.
        for (auto entry = m_buckets.begin(); entry != m_buckets.end();)
            entry = refill(entry->second) ? m_buckets.erase(entry) : std::next(entry);
        if (m_buckets.size() >= kPeersTracked)
            m_buckets.clear();
    }
    const auto [entry, fresh] = m_buckets.try_emplace(to, Bucket{kAnswerBurst, now});
    Bucket &bucket = entry->second;
    if (!fresh)
        refill(bucket);
    if (bucket.tokens < 1) {
        dropped("an answer over the rate limit", PeerText(to));
        return false;
    }
    bucket.tokens -= 1;
    return true;
}

void OscBridge::dropped(const char *reason, const QString &detail)
{
    DropCount &count = m_drops[reason];
    const qint64 now = m_clock.elapsed();
    if (count.loggedAtMs >= 0 && now - count.loggedAtMs < kDropLogMs) {
        ++count.unlogged;
        count.last = detail;
        if (!m_dropTimer->isActive())
            m_dropTimer->start();
        return;
    }
    qCWarning(lcOsc).noquote() << "dropped" << QLatin1String(reason) + QStringLiteral(": ") + detail;
    count.loggedAtMs = now;
}

void OscBridge::logUnloggedDrops()
{
    const qint64 now = m_clock.elapsed();
    bool waiting = false;
    for (auto &[reason, count] : m_drops) {
        if (count.unlogged == 0)
            continue;
        if (now - count.loggedAtMs < kDropLogMs) {
            waiting = true;
            continue;
        }
        qCWarning(lcOsc).noquote() << "dropped" << count.unlogged << "more in the last second:"
                                   << QString::fromStdString(reason) + QStringLiteral(", the last: ") +
                                          count.last;
        count.loggedAtMs = now;
        count.unlogged = 0;
    }
    if (waiting)
        m_dropTimer->start();
}

} // namespace corvane
