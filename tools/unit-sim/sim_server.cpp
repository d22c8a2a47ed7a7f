// SPDX-License-Identifier: MIT
#include "sim_server.h"

#include <QHostAddress>
#include <QNetworkDatagram>
#include <QTimer>
#include <QUdpSocket>

#include <cstdio>

namespace corvane::unitsim {

namespace {

std::string Where(const QHostAddress &address, int port)
{
    const std::string host = address.isNull() ? std::string("?") : address.toString().toStdString();
    return port < 0 ? host : host + ':' + std::to_string(port);
}

} // namespace

void LogLine(std::string_view line)
{
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

SimServer::SimServer(Simulator &simulator, int replyDelayMs, QObject *parent)
    : QObject(parent), m_simulator(simulator), m_replyDelayMs(replyDelayMs), m_socket(new QUdpSocket(this)),
      m_nextDue(new QTimer(this))
{
    m_nextDue->setSingleShot(true);
    m_clock.start();
    connect(m_socket, &QUdpSocket::readyRead, this, &SimServer::readPending);
    connect(m_nextDue, &QTimer::timeout, this, &SimServer::sendDueReplies);
}

bool SimServer::listen(quint16 port, QString *error)
{
    // Not shared: a second simulator on the same port would split the traffic unseen.
    if (m_socket->bind(QHostAddress(QHostAddress::AnyIPv4), port, QAbstractSocket::DontShareAddress))
        return true;
    *error = m_socket->errorString();
    return false;
}

void SimServer::readPending()
{
    while (m_socket->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_socket->receiveDatagram();
        if (!datagram.isValid()) {
            LogLine("error: receiving failed: " + m_socket->errorString().toStdString());
            return;
        }
        const QByteArray bytes = datagram.data();
        const Exchange exchange =
            m_simulator.Receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));

        const QHostAddress sender = datagram.senderAddress();
        const auto senderPort = static_cast<quint16>(datagram.senderPort());
        LogLine("rx from=" + Where(sender, senderPort) + " to=" + Where(datagram.destinationAddress(), -1) +
                ' ' + exchange.log.front());
        for (std::size_t i = 1; i < exchange.log.size(); ++i)
            LogLine(exchange.log[i]);

        if (!exchange.reply)
            continue;
        const QByteArray reply = QByteArray::fromStdString(*exchange.reply);
        if (m_replyDelayMs > 0)
            delayReply(reply, sender, senderPort);
        else
            sendReply(reply, sender, senderPort);
    }
}

void SimServer::delayReply(const QByteArray &reply, const QHostAddress &to, quint16 port)
{
    if (m_waiting.size() >= kMostWaitingReplies) {
        ++m_dropped;
        LogLine("drop to=" + Where(to, port) + " reply=" + Escaped(reply.toStdString()) +
                " waiting=" + std::to_string(m_waiting.size()) + " dropped=" + std::to_string(m_dropped));
        return;
    }
    m_waiting.push_back({reply, to, port, m_clock.elapsed() + m_replyDelayMs});
    if (!m_nextDue->isActive())
        m_nextDue->start(m_replyDelayMs);
}

void SimServer::sendDueReplies()
{
    while (!m_waiting.empty() && m_waiting.front().dueMs <= m_clock.elapsed()) {
        const WaitingReply due = std::move(m_waiting.front());
        m_waiting.pop_front();
        sendReply(due.reply, due.to, due.port);
    }
    if (!m_waiting.empty())
        m_nextDue->start(static_cast<int>(m_waiting.front().dueMs - m_clock.elapsed()));
}

void SimServer::sendReply(const QByteArray &reply, const QHostAddress &to, quint16 port)
{
    const std::string where = Where(to, port);
    if (m_socket->writeDatagram(reply, to, port) != reply.size()) {
        LogLine("error: reply to " + where + " failed: " + m_socket->errorString().toStdString());
        return;
    }
    LogLine("tx to=" + where + " reply=" + Escaped(reply.toStdString()));
}

} // namespace corvane::unitsim
