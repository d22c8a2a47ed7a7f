// SPDX-License-Identifier: MIT
#include "controller/controller.h"

#include "controller/input_checks.h"
#include "net/port_search.h"
#include "protocol/command_frame.h"
#include "protocol/reply_text.h"

namespace corvane {

namespace {

constexpr const char *kDefaultAddress = "255.255.255.255";

} // namespace

Controller::Controller(WindowOps &window, Endpoint &endpoint, ReplyTimer &timer, Outcomes &outcomes)
    : m_window(window), m_endpoint(endpoint), m_timer(timer), m_outcomes(outcomes)
{
}

void Controller::startUp()
{
    m_window.setText(Field::UnitId, "1");
    m_endpoint.setRemotePort(kUnitPort);
    m_window.setText(Field::Address, kDefaultAddress);
    m_window.setLocked(Field::Address, true);
    m_window.setText(Field::LocalAddress, m_endpoint.localIP());
    m_window.setText(Field::LocalPort, std::to_string(kFirstLocalPort));
    m_state.portCandidate = kFirstLocalPort;
    BindFirstFreePort(m_endpoint, m_state.portCandidate, [this] { m_outcomes.noFreePort(); });
    m_window.setText(Field::LocalPort, std::to_string(m_endpoint.localPort()));
}

void Controller::sendCurrentCommand()
{
    m_state.lastFrame.clear();
    // Both checks run even when the first fails, so the operator hears of
    // every bad input at once.
    const bool addressValid = IsIpTextValid(m_window.text(Field::Address));
    if (!addressValid)
        m_outcomes.inputRejected(Input::Address);
    const bool unitIdValid = IsIdTextValid(m_window.text(Field::UnitId));
    if (!unitIdValid)
        m_outcomes.inputRejected(Input::UnitId);
    if (!addressValid || !unitIdValid)
        return;

    m_endpoint.setRemoteHost(m_window.text(Field::Address));
    const std::string unitId = m_window.text(Field::UnitId);
    m_state.lastFrame = CommandFrame(unitId, m_state.commandText);
    m_outcomes.sending();
    m_state.resends = 0;
    const bool replyAwaited = UnitIdValue(unitId) != kNoReplyUnitId;
    if (replyAwaited)
        m_timer.start();
    if (const auto error = m_endpoint.send(m_state.lastFrame))
        m_outcomes.sendRefused(*error);
    else if (!replyAwaited)
        m_outcomes.sentWithoutReply();
}

void Controller::commandPressed(Command command)
{
    m_state.commandText = CommandText(command, m_window.text(Field::ClipNumber));
    sendCurrentCommand();
}

void Controller::mutePressed(MuteOutput output)
{
    if (auto text = MuteCommandText(output, m_window.caption(output)))
        m_state.commandText = std::move(*text);
    sendCurrentCommand();
}

void Controller::unitIdChanged()
{
    const std::optional<int> id = UnitIdValue(m_window.text(Field::UnitId));
    if (!id)
        return;
    if (*id == kNoReplyUnitId) {
        m_window.setEnabled(MuteOutput::Video, false);
        m_window.setEnabled(MuteOutput::Audio, false);
    } else if (!m_window.isEnabled(MuteOutput::Video) && !m_window.isEnabled(MuteOutput::Audio)) {
        m_window.setEnabled(MuteOutput::Video, true);
        m_window.setEnabled(MuteOutput::Audio, true);
    }
}

void Controller::addressFieldClicked()
{
    if (!m_window.isLocked(Field::Address))
        return;
    if (m_outcomes.confirmsUnlock()) {
        m_window.setLocked(Field::Address, false);
        m_window.setFocus(Field::Address);
    }
}

void Controller::datagramArrived()
{
    m_timer.stop();
    const std::string reply = m_endpoint.takeDatagram();
    if (AsksForResend(reply) && m_state.resends < kMaxResends) {
        // Counted before sending: a refused resend opens a box, and replies
        // handled while it is open must already see this resend counted.
        ++m_state.resends;
        m_outcomes.resending(reply);
        if (!m_state.lastFrame.empty()) {
            if (const auto error = m_endpoint.send(m_state.lastFrame))
                m_outcomes.sendRefused(*error);
        }
        m_outcomes.resent(m_state.resends);
        return;
    }
    const auto flip = CaptionAfterAcknowledge(m_state.commandText);
    if (flip && Acknowledges(reply))
        m_window.setCaption(flip->output, std::string(flip->caption));
    if (AsksForResend(reply))
        m_outcomes.resendsSpent(reply);
    else
        m_outcomes.replied(reply);
}

void Controller::replyTimerExpired()
{
    // The timer keeps running while the outcome is shown; one warning is enough.
    if (m_timeoutReported)
        return;
    m_timeoutReported = true;
    m_outcomes.timedOut();
    m_timeoutReported = false;
    m_timer.stop();
}

void Controller::endpointError(const EndpointError &error)
{
    m_outcomes.endpointFailed(error);
    // Closed directly and for good: the operator restarts the program to reopen it.
    m_endpoint.close();
}

} // namespace corvane
