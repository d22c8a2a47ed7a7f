// SPDX-License-Identifier: MIT
#pragma once

// The window's controller without a window, for programs that press its
// buttons on behalf of scripts and show-control systems. It owns what the
// window owns (the endpoint, the reply timer, the controller) and stands in
// for the window's fields, captions and message boxes. The controller applies
// every rule as it does for the window; what it shows in a box or writes into
// the reply field comes out here as one outcome signal per command:
//
//   press() --> Controller::SendCmd --> checkFailed | socketError | sentWithoutReply
//                                       (or a reply awaited:)
//   replies --> Controller::datagramArrived --> (resend, wait again) ... -->
//               replied | resendsSpent
//   timer   --> Controller::replyTimerExpired --> timedOut

#include "button_names.h"
#include "controller/controller.h"
#include "controller/window_ops.h"

#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <string>

class QTimer;

namespace corvane {

class UdpEndpoint;

class HeadlessController : public QObject, private WindowOps
{
    Q_OBJECT

public:
    explicit HeadlessController(std::chrono::milliseconds replyTimeout, QObject *parent = nullptr);

    // Binds the first free local port from 1028, as the window does at
    // start-up, and aims every later press at `address`.
    void startUp(const std::string &address);

    // Presses the button for the unit whose ID is `unitId` (as typed: leading
    // zeros stay); `clip` is the clip number of a select. A press while an
    // earlier command awaits its reply takes over from it, as in the window.
    void press(const std::string &unitId, const ButtonPress &button, const std::string &clip = {});

    const ControllerState &state() const { return m_controller.state(); }

    // The address, dotted, of whoever sent the reply just reported.
    std::string replySender() const;

signals:
    // Exactly one of these ends each press.
    void checkFailed(const QString &message); // may come twice: address, then ID
    void socketError(const QString &message);
    void sentWithoutReply(); // unit ID 127: every unit obeys, none answers
    void replied(const std::string &reply);
    void resendsSpent(const std::string &reply); // still asking for a resend after the last one
    void timedOut();

private:
    void datagramArrived();
    std::string &field(Field which) { return m_fields[static_cast<std::size_t>(which)]; }
    void finish() { m_awaiting = false; }

    std::string text(Field which) const override;
    void setText(Field which, const std::string &text) override;
    bool isLocked(Field which) const override;
    void setLocked(Field which, bool locked) override;
    void setFocus(Field which) override;
    std::string caption(MuteButton button) const override;
    void setCaption(MuteButton button, const std::string &caption) override;
    bool isEnabled(MuteButton button) const override;
    void setEnabled(MuteButton button, bool enabled) override;
    void startReplyTimer() override;
    void stopReplyTimer() override;
    BoxResult messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                         const std::string &text) override;

    UdpEndpoint *m_endpoint;
    QTimer *m_replyTimer;
    Controller m_controller;
    std::array<std::string, 6> m_fields;
    std::array<std::string, 2> m_captions;
    std::array<bool, 2> m_enabled{true, true};
    bool m_locked = false;
    bool m_pressing = false;     // inside press(): what the controller does belongs to it
    bool m_failed = false;       // a box reported a failure during the current press
    bool m_timerStarted = false; // the controller awaits a reply to the current press
    bool m_awaiting = false;     // a reply to the last press has not been reported yet
};

} // namespace corvane
