// SPDX-License-Identifier: MIT
#include "headless_controller.h"

#include "net/udp_endpoint.h"
#include "protocol/reply_text.h"

#include <QLoggingCategory>
#include <QTimer>

namespace corvane {

namespace {

Q_LOGGING_CATEGORY(lcHeadless, "corvane.headless")

QString Latin1(const std::string &text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

std::string Latin1(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

HeadlessController::HeadlessController(std::chrono::milliseconds replyTimeout, QObject *parent)
    : QObject(parent), m_endpoint(new UdpEndpoint(this)), m_replyTimer(new QTimer(this)),
      m_controller(*this, *m_endpoint)
{
    m_captions[static_cast<std::size_t>(MuteButton::VideoMuteCmd)] = MuteCaption(MuteOutput::Video);
    m_captions[static_cast<std::size_t>(MuteButton::AudioMuteCmd)] = MuteCaption(MuteOutput::Audio);
    m_replyTimer->setInterval(replyTimeout);
    // A coarse timer may fire up to 5% early; the unit gets its full time.
    m_replyTimer->setTimerType(Qt::PreciseTimer);
    connect(m_replyTimer, &QTimer::timeout, this, [this] { m_controller.replyTimerExpired(); });
    connect(m_endpoint, &UdpEndpoint::datagramArrived, this, &HeadlessController::datagramArrived);
    connect(m_endpoint, &UdpEndpoint::errorEvent, this, [this](int number, const QString &description) {
        m_controller.endpointError({number, Latin1(description)});
    });
}

void HeadlessController::startUp(const std::string &address)
{
    m_controller.StartUp();
    // The operator of a window confirms before changing the address; here
    // whoever started the program has chosen it already.
    setText(Field::BroadIPtxt, address);
}

void HeadlessController::press(const std::string &unitId, const ButtonPress &button, const std::string &clip)
{
    m_pressing = true;
    m_failed = false;
    m_timerStarted = false;
    m_awaiting = false;
    setText(Field::TeskIDtxt, unitId);
    setText(Field::ClipNumtxt, clip);
    if (const auto *command = std::get_if<Command>(&button)) {
        m_controller.commandPressed(*command);
    } else {
        const auto [output, mute] = std::get<MutePress>(button);
        const MuteButton which =
            output == MuteOutput::Video ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd;
        setCaption(which, std::string(mute ? MuteCaption(output) : UnmuteCaption(output)));
        m_controller.mutePressed(output);
    }
    m_pressing = false;
    if (m_failed)
        return;
    if (m_timerStarted)
        m_awaiting = true;
    else
        emit sentWithoutReply();
}

void HeadlessController::datagramArrived()
{
    const bool awaited = m_awaiting;
    const std::int16_t resendsBefore = state().RetryCount;
    m_controller.datagramArrived();
    if (!awaited || !m_awaiting)
        return; // a late or stray datagram: the controller has seen it, nobody waits for it
    if (state().RetryCount != resendsBefore) {
        // The window's timer runs from the first send only. Nobody watches
        // this program, so a unit that asked for a resend and then fell
        // silent must time out too: each resend gets the full time again.
        m_replyTimer->start();
        return;
    }
    finish();
    const std::string &reply = m_fields[static_cast<std::size_t>(Field::TeskRspTxt)];
    if (AsksForResend(reply))
        emit resendsSpent(reply);
    else
        emit replied(reply);
}

std::string HeadlessController::replySender() const
{
    return Latin1(m_endpoint->datagramSender().toString());
}

std::string HeadlessController::text(Field which) const { return m_fields[static_cast<std::size_t>(which)]; }

void HeadlessController::setText(Field which, const std::string &text)
{
    std::string &current = field(which);
    if (current == text)
        return; // as in the window's fields, the same text again is no change
    current = text;
    // The change rules run as when the window's fields change.
    if (which == Field::TeskIDtxt)
        m_controller.unitIdChanged();
    else if (which == Field::TeskRspTxt)
        m_controller.replyChanged();
}

bool HeadlessController::isLocked(Field which) const { return which == Field::BroadIPtxt && m_locked; }

void HeadlessController::setLocked(Field which, bool locked)
{
    if (which == Field::BroadIPtxt)
        m_locked = locked;
}

void HeadlessController::setFocus(Field) {}

std::string HeadlessController::caption(MuteButton button) const
{
    return m_captions[static_cast<std::size_t>(button)];
}

void HeadlessController::setCaption(MuteButton button, const std::string &caption)
{
    m_captions[static_cast<std::size_t>(button)] = caption;
}

bool HeadlessController::isEnabled(MuteButton button) const
{
    return m_enabled[static_cast<std::size_t>(button)];
}

void HeadlessController::setEnabled(MuteButton button, bool enabled)
{
    m_enabled[static_cast<std::size_t>(button)] = enabled;
}

void HeadlessController::startReplyTimer()
{
    m_replyTimer->start();
    if (m_pressing)
        m_timerStarted = true;
}

void HeadlessController::stopReplyTimer() { m_replyTimer->stop(); }

// Each box the controller opens is one outcome, told apart by its title.
BoxResult HeadlessController::messageBox(BoxIcon, BoxButtons buttons, const std::string &title,
                                         const std::string &text)
{
    QString message = Latin1(text);
    message.replace(QStringLiteral("\r\n"), QStringLiteral(": "));
    if (title == "Data Error") {
        m_failed = true;
        emit checkFailed(message);
    } else if (title == "SockError") {
        m_failed = true;
        const bool ended = m_awaiting || m_pressing;
        finish();
        if (ended)
            emit socketError(message);
        else
            qCWarning(lcHeadless).noquote() << message;
    } else if (title == "Timeout Error") {
        if (m_awaiting) {
            finish();
            emit timedOut();
        }
    } else {
        qCWarning(lcHeadless).noquote() << message; // the port search's "No open port found!"
    }
    // Nobody is there to answer a question; the safe answer changes nothing.
    return buttons == BoxButtons::YesNo ? BoxResult::No : BoxResult::Ok;
}

} // namespace corvane
