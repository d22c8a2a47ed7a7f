// SPDX-License-Identifier: MIT
#pragma once

// The logic behind the window. Every handler runs on the window's event loop,
// one at a time; a modal box opened by a handler runs a nested loop, so the
// reply and timer handlers may run while another handler waits on a box.

#include "controller/controller_state.h"
#include "controller/window_ops.h"
#include "net/endpoint.h"
#include "protocol/command_set.h"

#include <string>

namespace corvane {

class Controller
{
public:
    Controller(WindowOps &window, Endpoint &endpoint);

    // Fills the fields and binds the endpoint; runs once, before the operator can act.
    void StartUp();

    // Frames CurrentCmd for the unit in the ID field and sends it to the
    // address in the address field, after both have been checked.
    void SendCmd();
    void Is_IP_Valid(const std::string &TmpIP);
    void Is_ID_Valid();

    // Command buttons.
    void commandPressed(Command command);
    void mutePressed(MuteOutput output);

    // Field rules.
    void unitIdChanged();
    void addressFieldClicked();
    void replyChanged();

    // Timer and endpoint events.
    void replyTimerExpired();
    void datagramArrived();
    void endpointError(const EndpointError &error);

    const ControllerState &state() const { return m_state; }

private:
    void AutoPort();
    void reportSendFailure(const EndpointError &error);

    WindowOps &m_window;
    Endpoint &m_endpoint;
    ControllerState m_state;
    bool m_timeoutBoxOpen = false;
};

} // namespace corvane
