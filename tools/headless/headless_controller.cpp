// SPDX-License-Identifier: MIT
#include "headless_controller.h"

#include "net/latin1.h"
#include "net/udp_endpoint.h"
#include "ui/notices.h"

#include <QLoggingCategory>
#include <QTimer>

namespace corvane {

namespace {

Q_LOGGING_CATEGORY(lcHeadless, "corvane.headless")

// The window's words for a notice, on one line.
QString Message(Notice notice, const EndpointError &error = {})
{
    return BoxFor(notice, error).text.replace(QLatin1Char('\n'), QStringLiteral(": "));
}

std::size_t Index(auto value) { return static_cast<std::size_t>(value); }

} // namespace

HeadlessController::HeadlessController(std::chrono::milliseconds replyTimeout, QObject *parent)
    : QObject(parent), m_endpoint(new UdpEndpoint(this)), m_replyTimer(new QTimer(this)),
      m_controller(*this, *m_endpoint, *this, m_outcomes)
{
    m_captions[Index(MuteOutput::Video)] = MuteCaption(MuteOutput::Video);
    m_captions[Index(MuteOutput::Audio)] = MuteCaption(MuteOutput::Audio);
    m_replyTimer->setInterval(replyTimeout);
    // A coarse timer may fire up to 5% early; the unit gets its full time.
    m_replyTimer->setTimerType(Qt::PreciseTimer);
    connect(m_replyTimer, &QTimer::timeout, this, [this] { m_controller.replyTimerExpired(); });
    connect(m_endpoint, &UdpEndpoint::datagramArrived, this, [this] { m_controller.datagramArrived(); });
    connect(m_endpoint, &UdpEndpoint::errorEvent, this, [this](int number, const QString &description) {
        m_controller.endpointError({number, Latin1(description)});
    });
}

void HeadlessController::startUp(const std::string &address)
{
    m_controller.startUp();
    // The operator of a window confirms before changing the address; here
    // whoever started the program has chosen it already.
    setText(Field::Address, address);
}

void HeadlessController::press(const std::string &unitId, const ButtonPress &button, const std::string &clip)
{
    m_awaiting = false;
    setText(Field::UnitId, unitId);
    setText(Field::ClipNumber, clip);
    if (const auto *command = std::get_if<Command>(&button)) {
        m_controller.commandPressed(*command);
    } else {
        const auto [output, mute] = std::get<MutePress>(button);
        setCaption(output, std::string(mute ? MuteCaption(output) : UnmuteCaption(output)));
        m_controller.mutePressed(output);
    }
}

std::string HeadlessController::text(Field field) const { return m_fields[Index(field)]; }

void HeadlessController::setText(Field field, const std::string &text)
{
    if (std::exchange(m_fields[Index(field)], text) != text && field == Field::UnitId)
        m_controller.unitIdChanged(); // as when the window's field changes
}

bool HeadlessController::isLocked(Field field) const { return field == Field::Address && m_addressLocked; }

void HeadlessController::setLocked(Field field, bool locked)
{
    if (field == Field::Address)
        m_addressLocked = locked;
}

std::string HeadlessController::caption(MuteOutput button) const { return m_captions[Index(button)]; }

void HeadlessController::setCaption(MuteOutput button, const std::string &caption)
{
    m_captions[Index(button)] = caption;
}

bool HeadlessController::isEnabled(MuteOutput button) const { return m_enabled[Index(button)]; }

void HeadlessController::setEnabled(MuteOutput button, bool enabled) { m_enabled[Index(button)] = enabled; }

void HeadlessController::start() { m_replyTimer->start(); }

void HeadlessController::stop() { m_replyTimer->stop(); }

void HeadlessController::Outcomes::noFreePort()
{
    qCWarning(lcHeadless).noquote() << Message(Notice::NoFreePort);
}

void HeadlessController::Outcomes::inputRejected(Input input)
{
    emit m_unit.checkFailed(
        Message(input == Input::Address ? Notice::AddressRejected : Notice::UnitIdRejected));
}

void HeadlessController::Outcomes::sending() { m_unit.m_awaiting = true; }

void HeadlessController::Outcomes::sendRefused(const EndpointError &error)
{
    if (m_unit.finish())
        emit m_unit.socketError(Message(Notice::SendRefused, error));
    else
        qCWarning(lcHeadless).noquote() << Message(Notice::SendRefused, error);
}

void HeadlessController::Outcomes::sentWithoutReply()
{
    m_unit.finish();
    emit m_unit.sentWithoutReply();
}

void HeadlessController::Outcomes::resent(int)
{
    // The window's timer runs from the first send only. Nobody watches this
    // program, so a unit that asked for a resend and then fell silent must
    // time out too: each resend gets the full time again.
    if (m_unit.m_awaiting)
        m_unit.m_replyTimer->start();
}

void HeadlessController::Outcomes::replied(const std::string &reply)
{
    if (m_unit.finish())
        emit m_unit.replied(reply);
}

void HeadlessController::Outcomes::resendsSpent(const std::string &reply)
{
    if (m_unit.finish())
        emit m_unit.resendsSpent(reply);
}

void HeadlessController::Outcomes::timedOut()
{
    if (m_unit.finish())
        emit m_unit.timedOut();
}

void HeadlessController::Outcomes::endpointFailed(const EndpointError &error)
{
    if (m_unit.finish())
        emit m_unit.socketError(Message(Notice::EndpointFailed, error));
    else
        qCWarning(lcHeadless).noquote() << Message(Notice::EndpointFailed, error);
}

// Nobody is there to answer; the safe answer changes nothing.
bool HeadlessController::Outcomes::confirmsUnlock() { return false; }

std::string HeadlessController::replySender() const
{
    return Latin1(m_endpoint->datagramSender().toString());
}

} // namespace corvane
