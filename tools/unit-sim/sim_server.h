// SPDX-License-Identifier: MIT
#pragma once

// Carries the simulated units onto the network: one UDP socket on all IPv4
// addresses, broadcasts included; every datagram goes through the Simulator,
// and its reply goes back to the sender's address and port.

#include "simulator.h"

#include <QObject>
#include <QString>

#include <string_view>

class QHostAddress;
class QUdpSocket;

namespace corvane::unitsim {

// One line on standard output, flushed at once so that a reader can follow the log live.
void LogLine(std::string_view line);

class SimServer : public QObject
{
    Q_OBJECT

public:
    explicit SimServer(Simulator &simulator, int replyDelayMs, QObject *parent = nullptr);

    // False, with the reason, when the port cannot be had.
    bool listen(quint16 port, QString *error);

private:
    void readPending();
    void sendReply(const QByteArray &reply, const QHostAddress &to, quint16 port);

    Simulator &m_simulator;
    int m_replyDelayMs;
    QUdpSocket *m_socket;
};

} // namespace corvane::unitsim
