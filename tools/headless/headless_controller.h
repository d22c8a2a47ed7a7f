// SPDX-License-Identifier: MIT
#pragma once

// The window's controller without a window, for programs that press its
// buttons on behalf of scripts and show-control systems. It owns what the
// window owns (the endpoint, the reply timer, the controller) and stands in
// for the window's fields and captions. The controller applies every rule as
// it does for the window and reports each command's outcomes; here the
// outcome that ends a press comes out as one signal:
//
//   press() --> Controller::sendCurrentCommand --> checkFailed | socketError | sentWithoutReply
//                                                  (or a reply awaited:)
//   replies --> Controller::datagramArrived --> (resend, wait again) ... -->
//               replied | resendsSpent | socketError
//   timer   --> Controller::replyTimerExpired --> timedOut

#include "button_names.h"
#include "controller/controller.h"
#include "controller/outcomes.h"
#include "controller/window_ops.h"

#include <QObject>
#include <QString>

#include <array>
#include <chrono>
#include <string>
#include <utility>

class QTimer;

namespace corvane {

class UdpEndpoint;

class HeadlessController : public QObject, private WindowOps, private ReplyTimer
{
    Q_OBJECT

public:
    explicit HeadlessController(std::chrono::milliseconds replyTimeout, QObject *parent = nullptr);

    // Binds the first free local port from the window's first one, as the
    // window does at start-up, and aims every later press at `address`.
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
    // Ends the current press; false when nothing awaited its outcome.
    bool finish() { return std::exchange(m_awaiting, false); }

    std::string text(Field field) const override;
    void setText(Field field, const std::string &text) override;
    bool isLocked(Field field) const override;
    void setLocked(Field field, bool locked) override;
    void setFocus(Field) override {}
    std::string caption(MuteOutput button) const override;
    void setCaption(MuteOutput button, const std::string &caption) override;
    bool isEnabled(MuteOutput button) const override;
    void setEnabled(MuteOutput button, bool enabled) override;

    void start() override;
    void stop() override;

    // The controller's outcomes, turned into this object's signals. Apart
    // from it, as the signals bear some of the outcomes' names.
    class Outcomes final : public corvane::Outcomes
    {
    public:
        explicit Outcomes(HeadlessController &unit) : m_unit(unit) {}

        void noFreePort() override;
        void inputRejected(Input input) override;
        void sending() override;
        void sendRefused(const EndpointError &error) override;
        void sentWithoutReply() override;
        void resending(const std::string &) override {}
        void resent(int resends) override;
        void replied(const std::string &reply) override;
        void resendsSpent(const std::string &reply) override;
        void timedOut() override;
        void endpointFailed(const EndpointError &error) override;
        bool confirmsUnlock() override;

    private:
        HeadlessController &m_unit;
    };

    Outcomes m_outcomes{*this};
    UdpEndpoint *m_endpoint;
    QTimer *m_replyTimer;
    Controller m_controller;
    std::array<std::string, 6> m_fields;
    std::array<std::string, 2> m_captions;
    std::array<bool, 2> m_enabled{true, true};
    bool m_addressLocked = false;
    bool m_awaiting = false; // the last press's outcome is still to come
};

} // namespace corvane
