// SPDX-License-Identifier: MIT
#include "controller/controller.h"

#include "controller/input_checks.h"
#include "net/port_search.h"
#include "protocol/command_frame.h"
#include "protocol/reply_text.h"

namespace corvane {

namespace {

constexpr const char *kDefaultAddress = "255.255.255.255";

MuteButton ButtonFor(MuteOutput output)
{
    return output == MuteOutput::Audio ? MuteButton::AudioMuteCmd : MuteButton::VideoMuteCmd;
}

std::string SocketErrorText(const EndpointError &error)
{
    return "Zelosock Error: " + std::to_string(error.number) + "\r\n" + error.description;
}

} // namespace

Controller::Controller(WindowOps &window, Endpoint &endpoint) : m_window(window), m_endpoint(endpoint) {}

void Controller::StartUp()
{
    m_window.setText(Field::TeskIDtxt, "1");
    m_endpoint.setRemotePort(kUnitCommandPort);
    m_window.setText(Field::BroadIPtxt, kDefaultAddress);
    m_window.setLocked(Field::BroadIPtxt, true);
    m_window.setText(Field::LocalIPtxt, m_endpoint.localIP());
    m_window.setText(Field::LocalPortTxt, std::to_string(kFirstLocalPort));
    m_state.PortNum = kFirstLocalPort;
    AutoPort();
}

void Controller::AutoPort()
{
    corvane::AutoPort(m_endpoint, m_state.PortNum, [this] {
        m_window.messageBox(BoxIcon::Error, BoxButtons::Ok, "Zelosock Error", "No open port found!");
    });
    m_window.setText(Field::LocalPortTxt, std::to_string(m_endpoint.localPort()));
}

void Controller::SendCmd()
{
    m_state.LastPacket.clear();
    // Both checks run even when the first fails, so the operator hears of
    // every bad input at once.
    Is_IP_Valid(m_window.text(Field::BroadIPtxt));
    Is_ID_Valid();
    if (m_state.ErrFlag != 0) {
        m_state.ErrFlag = 0;
        return;
    }

    m_endpoint.setRemoteHost(m_window.text(Field::BroadIPtxt));
    const std::string unitId = m_window.text(Field::TeskIDtxt);
    m_state.LastPacket = CommandFrame(unitId, m_state.CurrentCmd);
    m_window.setText(Field::TeskRspTxt, {});
    m_state.RetryCount = 0;
    if (UnitIdValue(unitId) != kNoReplyUnitId)
        m_window.startReplyTimer();
    if (const auto error = m_endpoint.send(m_state.LastPacket))
        reportSendFailure(*error);
}

void Controller::Is_IP_Valid(const std::string &TmpIP)
{
    if (!IsIpTextValid(TmpIP))
        m_state.ErrFlag = static_cast<std::int16_t>(m_window.messageBox(
            BoxIcon::Error, BoxButtons::Ok, "Data Error", "An invalid IP address was entered!"));
}

void Controller::Is_ID_Valid()
{
    m_state.IDString = m_window.text(Field::TeskIDtxt);
    if (!IsIdTextValid(m_state.IDString))
        m_state.ErrFlag = static_cast<std::int16_t>(
            m_window.messageBox(BoxIcon::Error, BoxButtons::Ok, "Data Error", "Invalid Tesk2 ID! (0-127)"));
}

void Controller::commandPressed(Command command)
{
    m_state.CurrentCmd = CommandText(command, m_window.text(Field::ClipNumtxt));
    SendCmd();
}

void Controller::mutePressed(MuteOutput output)
{
    if (auto text = MuteCommandText(output, m_window.caption(ButtonFor(output))))
        m_state.CurrentCmd = std::move(*text);
    SendCmd();
}

void Controller::unitIdChanged()
{
    const std::optional<int> id = UnitIdValue(m_window.text(Field::TeskIDtxt));
    if (!id)
        return;
    if (*id == kNoReplyUnitId) {
        m_window.setEnabled(MuteButton::VideoMuteCmd, false);
        m_window.setEnabled(MuteButton::AudioMuteCmd, false);
    } else if (!m_window.isEnabled(MuteButton::VideoMuteCmd) &&
               !m_window.isEnabled(MuteButton::AudioMuteCmd)) {
        m_window.setEnabled(MuteButton::VideoMuteCmd, true);
        m_window.setEnabled(MuteButton::AudioMuteCmd, true);
    }
}

void Controller::addressFieldClicked()
{
    if (!m_window.isLocked(Field::BroadIPtxt))
        return;
    const BoxResult answer = m_window.messageBox(BoxIcon::Question, BoxButtons::YesNo, "Broadcast IP Address",
                                                 "Are you sure you want to change the broadcast IP address?");
    if (answer == BoxResult::Yes) {
        m_window.setLocked(Field::BroadIPtxt, false);
        m_window.setFocus(Field::BroadIPtxt);
    }
}

void Controller::replyChanged()
{
    if (AsksForResend(m_window.text(Field::TeskRspTxt)) && m_state.RetryCount < kMaxResends) {
        m_window.setText(Field::TeskRspTxt, {});
        // Counted before sending: a refused resend opens a box, and replies
        // handled while it is open must already see this resend counted.
        ++m_state.RetryCount;
        if (!m_state.LastPacket.empty()) {
            if (const auto error = m_endpoint.send(m_state.LastPacket))
                reportSendFailure(*error);
        }
    }

    const auto flip = CaptionAfterAcknowledge(m_state.CurrentCmd);
    if (flip && Acknowledges(m_window.text(Field::TeskRspTxt)))
        m_window.setCaption(ButtonFor(flip->output), std::string(flip->caption));
}

void Controller::replyTimerExpired()
{
    // The timer keeps running while its box is open; one warning is enough.
    if (m_timeoutBoxOpen)
        return;
    m_timeoutBoxOpen = true;
    m_window.messageBox(BoxIcon::Warning, BoxButtons::Ok, "Timeout Error",
                        "Communications Error: Check all connections and settings!");
    m_timeoutBoxOpen = false;
    m_window.stopReplyTimer();
}

void Controller::datagramArrived()
{
    m_window.stopReplyTimer();
    m_window.setText(Field::TeskRspTxt, m_endpoint.takeDatagram());
}

void Controller::endpointError(const EndpointError &error)
{
    m_window.messageBox(BoxIcon::Warning, BoxButtons::Ok, "SockError", SocketErrorText(error));
    // Closed directly and for good: the operator restarts the program to reopen it.
    m_endpoint.close();
}

void Controller::reportSendFailure(const EndpointError &error)
{
    m_window.messageBox(BoxIcon::Error, BoxButtons::Ok, "SockError", SocketErrorText(error));
}

} // namespace corvane
