// SPDX-License-Identifier: MIT
#pragma once

// The logic behind the window. Every handler runs on its owner's event loop,
// one at a time; an outcome that opens a modal box runs a nested loop, so the
// reply and timer handlers may run while another handler waits on a box.

#include "controller/controller_state.h"
#include "controller/outcomes.h"
#include "controller/window_ops.h"
#include "net/endpoint.h"
#include "protocol/command_set.h"

namespace corvane {

class Controller
{
public:
    Controller(WindowOps &window, Endpoint &endpoint, ReplyTimer &timer, Outcomes &outcomes);

    // Fills the fields and binds the endpoint; runs once, before the operator can act.
    void startUp();

    // Command buttons: each frames its command for the unit in the unit ID
    // field and sends it to the address in the address field, once both are checked.
    void commandPressed(Command command);
    void mutePressed(MuteOutput output);
    // Sends the command of the last press again, checked again.
    void sendCurrentCommand();

    // Field rules.
    void unitIdChanged();
    void addressFieldClicked();

    // Timer and endpoint events.
    void replyTimerExpired();
    void datagramArrived();
    void endpointError(const EndpointError &error);

    const ControllerState &state() const { return m_state; }

private:
    WindowOps &m_window;
    Endpoint &m_endpoint;
    ReplyTimer &m_timer;
    Outcomes &m_outcomes;
    ControllerState m_state;
    bool m_timeoutReported = false; // the timeout's outcome is being handled
};

} // namespace corvane
