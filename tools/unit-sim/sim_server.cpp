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
    : QObject(parent), m_simulator(simulator), m_replyDelayMs(replyDelayMs), m_socket(new QUdpSocket(this))
{
    connect(m_socket, &QUdpSocket::readyRead, this, &SimServer::readPending);
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
            QTimer::singleShot(m_replyDelayMs, this,
                               [this, reply, sender, senderPort] { sendReply(reply, sender, senderPort); });
        else
            sendReply(reply, sender, senderPort);
    }
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
