// SPDX-License-Identifier: MIT
#pragma once

// Carries the simulated units onto the network: one UDP socket on all IPv4
// addresses, broadcasts included; every datagram goes through the Simulator,
// and its reply goes back to the sender's address and port.

#include "simulator.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QObject>
#include <QString>

#include <cstddef>
#include <deque>
#include <string_view>

class QTimer;
class QUdpSocket;

namespace corvane::unitsim {

// One line on standard output, flushed at once so that a reader can follow the log live.
void LogLine(std::string_view line);

// Delayed replies wait in memory, this many at most: a flood would otherwise
// grow the simulator without bound. A reply beyond them is dropped and
// counted in the log.
inline constexpr std::size_t kMostWaitingReplies = 1024;

class SimServer : public QObject
{
    Q_OBJECT

public:
    explicit SimServer(Simulator &simulator, int replyDelayMs, QObject *parent = nullptr);

    // False, with the reason, when the port cannot be had.
    bool listen(quint16 port, QString *error);

private:
    struct WaitingReply
    {
        QByteArray reply;
        QHostAddress to;
        quint16 port = 0;
        qint64 dueMs = 0; // on m_clock
    };

    void readPending();
    void delayReply(const QByteArray &reply, const QHostAddress &to, quint16 port);
    void sendDueReplies();
    void sendReply(const QByteArray &reply, const QHostAddress &to, quint16 port);

    Simulator &m_simulator;
    int m_replyDelayMs;
    QUdpSocket *m_socket;
    // Every reply waits as long, so they fall due in the order they were made.
    std::deque<WaitingReply> m_waiting;
    QTimer *m_nextDue;
    QElapsedTimer m_clock;
    long long m_dropped = 0;
};

} // namespace corvane::unitsim
