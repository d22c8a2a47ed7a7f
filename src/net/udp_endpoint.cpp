// SPDX-License-Identifier: MIT
#include "net/udp_endpoint.h"

#include "net/ipv4_text.h"
#include "net/local_address.h"
#include "protocol/printable.h"

#include <QElapsedTimer>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QScopedValueRollback>
#include <QUdpSocket>

namespace corvane {

Q_LOGGING_CATEGORY(lcWire, "corvane.wire", QtWarningMsg)

namespace {

// How long one turn of the event loop may spend taking datagrams. What is
// left waits for the next turn (the socket signals again while any is
// pending), so that a flood of replies cannot hold up timers and painting.
// Shorter turns cost a flood nothing measurable and keep a 10 ms timer
// within a few milliseconds of its time.
//
// A turn never runs inside the socket's readyRead: QAbstractSocket does not
// signal again while that emission is under way, and a datagram handed on
// may open a box whose event loop runs for as long as the operator leaves it
// open. Inside the emission, a datagram arriving meanwhile would wait unread
// until the box closed, and with the turn's time spent by then, for good:
// the program would stop hearing its units. Queued, each turn starts from
// the event loop, so the socket signals as usual while a box is open and
// the next reply is handled there.
constexpr qint64 kReadingTurnMs = 2;

// The largest payload a UDP datagram over IPv4 can carry.
constexpr qint64 kLargestDatagram = 65507;

// Bytes as the wire log shows them: "F1 01 04 ...".
QByteArray Hex(const std::string &bytes)
{
    return QByteArray::fromRawData(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex(' ').toUpper();
}

} // namespace

UdpEndpoint::UdpEndpoint(QObject *parent) : QObject(parent), m_socket(new QUdpSocket(this))
{
    // Units are reached directly on the local network, broadcasts included,
    // which no proxy can carry. Saying so also spares every bind a round trip
    // to the system's proxy resolver, which the port search would otherwise
    // pay once for every port it tries.
    m_socket->setProxy(QNetworkProxy::NoProxy);
    connect(m_socket, &QUdpSocket::readyRead, this, &UdpEndpoint::readPending, Qt::QueuedConnection);
    connect(m_socket, &QUdpSocket::errorOccurred, this, &UdpEndpoint::socketError);
}

void UdpEndpoint::setRemotePort(int port) { m_remotePort = port; }

void UdpEndpoint::setRemoteHost(const std::string &host)
{
    // Set again at every press, nearly always to the same text.
    if (host == m_remoteHostText)
        return;
    m_remoteHostText = host;
    const std::optional<std::uint32_t> address = ParseDottedQuad(host);
    // Made once here rather than at every send.
    m_remoteHost = address ? std::optional<QHostAddress>(*address) : std::nullopt;
}

void UdpEndpoint::setLocalPort(std::int32_t port) { m_localPort = port; }

std::int32_t UdpEndpoint::localPort() const { return m_localPort; }

Endpoint::BindResult UdpEndpoint::bind()
{
    const QScopedValueRollback ownCall(m_inOwnCall, true);
    if (m_localPort < 0 || m_localPort > 65535)
        return BindResult::Failed;
    if (m_socket->bind(QHostAddress(QHostAddress::AnyIPv4), static_cast<quint16>(m_localPort),
                       QAbstractSocket::DontShareAddress)) {
        m_localPort = m_socket->localPort();
        qCDebug(lcWire, "bound UDP port %d", static_cast<int>(m_localPort));
        return BindResult::Bound;
    }
#ifdef Q_OS_WIN
    // Windows answers "access denied" for a port another program holds
    // exclusively and for one inside a range the system reserves (Hyper-V
    // and NAT reserve ranges at start-up, at times from 1026 up): to the
    // port search both are taken, and the next port may be free.
    if (m_socket->error() == QAbstractSocket::SocketAccessError)
        return BindResult::AddressInUse;
#endif
    return m_socket->error() == QAbstractSocket::AddressInUseError ? BindResult::AddressInUse
                                                                   : BindResult::Failed;
}

std::string UdpEndpoint::localIP() const { return PrimaryLocalIPv4(); }

bool UdpEndpoint::isClosed() const { return m_socket->state() == QAbstractSocket::UnconnectedState; }

void UdpEndpoint::close() { m_socket->close(); }

std::optional<EndpointError> UdpEndpoint::send(const std::string &payload)
{
    // A closed socket would quietly bind itself anew to some random port;
    // after an error the operator restarts the program instead.
    if (isClosed())
        return EndpointError{QAbstractSocket::OperationError,
                             "The socket is closed. Restart the program to send again."};
    if (!m_remoteHost)
        return EndpointError{QAbstractSocket::HostNotFoundError,
                             "\"" + m_remoteHostText + "\" is not an IPv4 address of four numbers."};

    const QScopedValueRollback ownCall(m_inOwnCall, true);
    const auto size = static_cast<qint64>(payload.size());
    const qint64 sent =
        m_socket->writeDatagram(payload.data(), size, *m_remoteHost, static_cast<quint16>(m_remotePort));
    if (sent == size) {
        qCDebug(lcWire, "sent to %s port %d: %s", m_remoteHostText.c_str(), m_remotePort,
                Hex(payload).constData());
        return std::nullopt;
    }
    if (sent < 0)
        return EndpointError{m_socket->error(), m_socket->errorString().toStdString()};
    return EndpointError{QAbstractSocket::DatagramTooLargeError, "The datagram was only partly sent."};
}

std::string UdpEndpoint::takeDatagram() { return std::move(m_datagram); }

void UdpEndpoint::readPending()
{
    quint16 fromPort = 0;
    QElapsedTimer turn;
    turn.start();
    // The first read of a turn is made even when no datagram seems to wait:
    // the socket signals once, then not again until it is read. A signal for
    // a datagram that an earlier turn took meanwhile (one run by a box's
    // event loop) would otherwise leave it silent for good. With none
    // waiting, that read fails, quietly.
    for (bool first = true; m_socket->state() == QAbstractSocket::BoundState; first = false) {
        const qint64 pending = m_socket->pendingDatagramSize();
        if (pending < 0 && !first)
            break; // none left
        // Should one have come in meanwhile after all, it fits.
        const qint64 size = pending < 0 ? kLargestDatagram : pending;
        m_datagram.resize(static_cast<std::size_t>(size));
        qint64 read = -1;
        {
            const QScopedValueRollback quietly(m_inOwnCall, m_inOwnCall || pending < 0);
            read = m_socket->readDatagram(m_datagram.data(), size, &m_sender, &fromPort);
        }
        if (read < 0)
            break; // none after all, or the socket has signalled the error itself
        m_datagram.resize(static_cast<std::size_t>(read));
        qCDebug(lcWire, "reply from %s port %d: %s", qPrintable(m_sender.toString()), fromPort,
                Printable(m_datagram).c_str());
        emit datagramArrived();
        // What is left makes the socket signal again: it has been read.
        if (turn.hasExpired(kReadingTurnMs))
            break;
    }
}

void UdpEndpoint::socketError()
{
    if (!m_inOwnCall)
        emit errorEvent(m_socket->error(), m_socket->errorString());
}

} // namespace corvane
