// SPDX-License-Identifier: MIT
#pragma once

// The bridge from OSC to the units. Its own UDP socket takes OSC, inside the
// Qt event loop (a QSocketNotifier wakes it when a datagram is waiting);
// liblo reads each datagram, which is checked whole before any message of it
// runs. Each press joins a queue; the presses go to the headless controller
// one at a time, in arrival order, and the next goes only when the one before
// has its outcome, so that an "E00" is always answered with the frame it
// asked for and each outcome goes back to the one who asked:
//
//   /unit/ID/COMMAND --> queue (64) --> HeadlessController::press --> units
//   replied / resendsSpent / timedOut / checkFailed / socketError
//       --> /unit/ID/reply ... to the sender (or --reply-to), then the next press
//   an acknowledged press --> /unit/ID/clip, transport, video-muted, audio-muted
//       to the sender and every --feedback
//
// Every message is answered except releases, ID 127 (no unit answers it) and
// messages on the bridge's own answer paths, which are dropped so that two
// bridges, or a bridge and a peer that answers everything, never answer each
// other for ever. What goes to one peer is limited in rate as well.

#include "button_names.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <lo/lo_types.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

class QSocketNotifier;
class QTimer;

Q_DECLARE_LOGGING_CATEGORY(lcOsc)

namespace corvane {

class HeadlessController;

// An IPv4 address and port, both in host byte order.
struct Peer
{
    std::uint32_t address = 0;
    std::uint16_t port = 0;

    auto operator<=>(const Peer &) const = default;
};

class OscBridge : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        std::chrono::milliseconds replyTimeout{6000};
        // Where answers go instead of the sender's port; address 0: the sender's.
        std::optional<Peer> replyTo;
        std::vector<Peer> feedback; // also told every acknowledged state
    };

    explicit OscBridge(Options options, QObject *parent = nullptr);
    ~OscBridge() override;

    // Takes OSC on the IPv4 address and port; on failure says why and stays deaf.
    bool listen(Peer where, QString *error);

    // Binds the units' side from local port 1028, as the window does, and
    // sends every command to `unitAddress`.
    void startUp(const std::string &unitAddress);

    static constexpr std::size_t kQueueLength = 64;

private:
    struct Queued
    {
        Peer answerTo;
        std::string unitId;
        ButtonPress button;
        std::string clip;
    };
    // What the bridge saw a unit acknowledge; nothing where it saw nothing.
    struct SeenState
    {
        std::optional<int> clip;
        std::optional<std::string> transport;
        std::optional<bool> videoMuted;
        std::optional<bool> audioMuted;
    };
    struct Bucket
    {
        double tokens = 0;
        qint64 filledAtMs = 0;
    };
    struct DropCount
    {
        qint64 loggedAtMs = -1;
        std::uint64_t unlogged = 0;
        QString last;
    };

    void receive();
    void handle(const char *path, lo_message message, Peer from);
    void pump();
    void outcome(const char *leaf, const std::string *text = nullptr, bool fromUnit = false);
    void finish();
    std::optional<int> otherUnitAt(int unitId, const std::string &address) const;

    void answer(Peer to, const std::string &path, const std::vector<std::string> &strings = {});
    void tellState(Peer to, int unitId);
    void send(Peer to, const std::string &path, lo_message message);
    bool allowed(Peer to);
    void dropped(const char *reason, const QString &detail);
    void logUnloggedDrops();
    Peer answerAddress(Peer from) const;

    Options m_options;
    int m_socket = -1;
    QSocketNotifier *m_notifier = nullptr;
    HeadlessController *m_unit;
    std::vector<char> m_buffer;

    std::deque<Queued> m_queue;
    std::optional<Queued> m_current; // sent, its outcome not yet told
    bool m_pumping = false;
    // Holds the queue for the rest of the reply time after a reply was not
    // taken as the current command's answer.
    QTimer *m_holdTimer;

    std::map<int, std::string> m_unitAddress; // learnt from the replies
    std::map<int, SeenState> m_seen;

    QElapsedTimer m_clock;
    std::map<Peer, Bucket> m_buckets;
    std::map<std::string, DropCount, std::less<>> m_drops;
    QTimer *m_dropTimer;
};

} // namespace corvane
