// SPDX-License-Identifier: MIT
#pragma once

#include "net/endpoint.h"

#include <QHostAddress>
#include <QLoggingCategory>
#include <QObject>
#include <QString>

#include <optional>

class QUdpSocket;

namespace corvane {

// The wire log, for whoever sets units up: every datagram sent and received,
// the port bound, resends and reply timeouts, one line each on standard error
// (on Windows, for the window, the debugger's output unless
// QT_FORCE_STDERR_LOGGING=1). Off unless asked for, with
// QT_LOGGING_RULES="corvane.wire=true".
Q_DECLARE_LOGGING_CATEGORY(lcWire)

// The endpoint over a QUdpSocket. Binds exclusively (no SO_REUSEADDR; on
// Windows SO_EXCLUSIVEADDRUSE, so no other program can share the port
// either), so a second copy of the program finds the port taken and moves
// on, on every local IPv4 address, and may broadcast.
class UdpEndpoint : public QObject, public Endpoint
{
    Q_OBJECT

public:
    explicit UdpEndpoint(QObject *parent = nullptr);

    void setRemotePort(int port) override;
    void setRemoteHost(const std::string &host) override;
    void setLocalPort(std::int32_t port) override;
    std::int32_t localPort() const override;
    BindResult bind() override;
    std::string localIP() const override;
    bool isClosed() const override;
    void close() override;
    std::optional<EndpointError> send(const std::string &payload) override;
    std::string takeDatagram() override;
    // Where the datagram just handed on came from.
    const QHostAddress &datagramSender() const { return m_sender; }

signals:
    // One emission per datagram; takeDatagram() hands it over.
    void datagramArrived();
    // Errors the socket reports on its own, outside bind() and send(), which
    // return theirs to the caller.
    void errorEvent(int number, const QString &description);

private:
    void readPending();
    void socketError();

    QUdpSocket *m_socket;
    int m_remotePort = 0;
    std::string m_remoteHostText;
    std::optional<QHostAddress> m_remoteHost;
    std::int32_t m_localPort = 0;
    std::string m_datagram;
    QHostAddress m_sender;
    // True while bind() or send() is inside the socket. Their errors reach the
    // caller as a result; the socket signals them too, and those must not pass
    // as asynchronous error events.
    bool m_inOwnCall = false;
};

} // namespace corvane
