// SPDX-License-Identifier: MIT
#include "osc_bridge.h"

#include "headless_controller.h"
#include "osc_request.h"
#include "protocol/printable.h"

#include <QSocketNotifier>

#include <lo/lo.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

Q_LOGGING_CATEGORY(lcOsc, "corvane.osc")

namespace corvane {

namespace {

// Datagrams per wake-up; what is left waits for the next turn of the event
// loop (the notifier fires again), so a flood of OSC cannot starve the
// units' replies and timers.
constexpr int kMessagesPerTurn = 64;

// liblo reports a datagram it cannot read (not OSC, truncated, type tags
// that do not match the data) here, and drops it.
void LibloError(int number, const char *message, const char *where)
{
    qCWarning(lcOsc).nospace() << "dropped an OSC datagram: " << message << (where ? " (" : "")
                               << (where ? where : "") << (where ? ")" : "") << ", liblo error " << number;
}

QString Errno() { return QString::fromLocal8Bit(std::strerror(errno)); }

} // namespace

void OscBridge::AddressFree::operator()(lo_address address) const { lo_address_free(address); }

OscBridge::OscBridge(std::chrono::milliseconds replyTimeout, QObject *parent)
    : QObject(parent), m_unit(new HeadlessController(replyTimeout, this))
{
    connect(m_unit, &HeadlessController::replied, this, [this](const std::string &reply) {
        const std::string text = Printable(reply);
        answerPending("reply", &text);
    });
    connect(m_unit, &HeadlessController::resendsSpent, this, [this](const std::string &reply) {
        const std::string text = Printable(reply);
        answerPending("resends-spent", &text);
    });
    connect(m_unit, &HeadlessController::timedOut, this, [this] { answerPending("timeout"); });
    connect(m_unit, &HeadlessController::checkFailed, this, [this](const QString &message) {
        const std::string text = message.toStdString();
        answerPending("error", &text);
    });
    connect(m_unit, &HeadlessController::socketError, this, [this](const QString &message) {
        qCWarning(lcOsc).noquote() << message;
        const std::string text = message.toStdString();
        answerPending("error", &text);
    });
}

OscBridge::~OscBridge()
{
    delete m_notifier; // stops watching the socket before liblo closes it
    if (m_server)
        lo_server_free(m_server);
}

bool OscBridge::listen(std::uint32_t address, std::uint16_t port, QString *error)
{
    m_server = lo_server_new_with_proto(nullptr, LO_UDP, LibloError);
    if (!m_server) {
        *error = QStringLiteral("liblo cannot open an OSC socket");
        return false;
    }
    // This liblo binds its socket on every local address. The operator's
    // choice (loopback only unless told otherwise, so that no other machine
    // can press the buttons) is kept by putting a socket bound there in the
    // place of liblo's own, under the same descriptor.
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(port);
    where.sin_addr.s_addr = htonl(address);
    const int own = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (own < 0 || ::bind(own, reinterpret_cast<const sockaddr *>(&where), sizeof where) != 0 ||
        ::dup2(own, lo_server_get_socket_fd(m_server)) < 0) {
        *error = Errno();
        if (own >= 0)
            ::close(own);
        return false;
    }
    ::close(own);

    // Time tags are not waited for: a bundle's messages are pressed at once, in order.
    lo_server_enable_queue(m_server, 0, 1);
    lo_server_add_method(m_server, nullptr, nullptr, &OscBridge::messageArrived, this);
    m_notifier = new QSocketNotifier(lo_server_get_socket_fd(m_server), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &OscBridge::receive);
    return true;
}

void OscBridge::startUp(const std::string &unitAddress) { m_unit->startUp(unitAddress); }

void OscBridge::receive()
{
    const int socket = lo_server_get_socket_fd(m_server);
    for (int i = 0; i < kMessagesPerTurn; ++i) {
        // liblo takes an empty datagram without a word; it is looked for first.
        char first = 0;
        const ssize_t peeked = ::recv(socket, &first, 1, MSG_PEEK | MSG_DONTWAIT);
        if (peeked < 0) {
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                qCWarning(lcOsc).noquote() << "cannot read the OSC socket:" << Errno();
            return;
        }
        if (peeked == 0) {
            if (::recv(socket, &first, 1, MSG_DONTWAIT) < 0)
                qCWarning(lcOsc).noquote() << "cannot read the OSC socket:" << Errno();
            qCWarning(lcOsc) << "dropped an empty datagram";
            continue;
        }
        lo_server_recv_noblock(m_server, 0);
    }
}

int OscBridge::messageArrived(const char *path, const char *types, lo_arg **argv, int, lo_message message,
                              void *self)
{
    static_cast<OscBridge *>(self)->handle(path, types, argv, message);
    return 0; // handled; no other method is asked
}

void OscBridge::handle(const char *path, const char *types, lo_arg **argv, lo_message message)
{
    const OscRequest request = ReadOscRequest(path, types, argv);
    lo_address source = lo_message_get_source(message);
    if (std::holds_alternative<OscStray>(request)) {
        qCWarning(lcOsc).noquote() << "dropped an OSC message to" << path << "from"
                                   << lo_address_get_hostname(source) << "(not /unit/ID/COMMAND)";
        return;
    }
    if (const auto *refusal = std::get_if<OscRefusal>(&request)) {
        answer(source, refusal->unitId, "error", &refusal->message);
        return;
    }
    const auto &press = std::get<OscPress>(request);
    // This press takes over from any earlier one still awaiting its reply.
    m_pendingUnitId = press.unitId;
    m_pendingSender.reset(lo_address_new(lo_address_get_hostname(source), lo_address_get_port(source)));
    m_unit->press(press.unitId, press.button, press.clip);
}

void OscBridge::answerPending(const char *leaf, const std::string *text)
{
    if (m_pendingSender)
        answer(m_pendingSender.get(), m_pendingUnitId, leaf, text);
}

void OscBridge::answer(lo_address to, const std::string &unitId, const char *leaf, const std::string *text)
{
    const std::string path = "/unit/" + unitId + "/" + leaf;
    lo_message message = lo_message_new();
    if (!message || (text && lo_message_add_string(message, text->c_str()) != 0)) {
        qCWarning(lcOsc) << "cannot build the OSC answer" << path.c_str();
    } else if (lo_send_message_from(to, m_server, path.c_str(), message) < 0) {
        qCWarning(lcOsc).nospace() << "cannot send " << path.c_str() << " to " << lo_address_get_hostname(to)
                                   << ":" << lo_address_get_port(to) << ": " << lo_address_errstr(to);
    }
    if (message)
        lo_message_free(message);
}

} // namespace corvane
