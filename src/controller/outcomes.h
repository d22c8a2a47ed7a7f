// SPDX-License-Identifier: MIT
#pragma once

// What becomes of each command, as the controller tells whoever shows it: the
// window turns each outcome into its box or its reply field, the headless
// programs into a signal. Nothing here is text for a person: the words are
// the shower's. A handler may run a nested event loop (a modal box); replies
// and the reply timer are handled meanwhile.

#include "net/endpoint.h"

#include <string>

namespace corvane {

enum class Input { Address, UnitId };

class Outcomes
{
public:
    virtual ~Outcomes() = default;

    // Start-up: the port search reached the dynamic range without a free port.
    virtual void noFreePort() = 0;

    // A press whose input failed its check: nothing is sent. Both inputs are
    // checked, the address first, so one press may bring two of these.
    virtual void inputRejected(Input input) = 0;
    // A checked command goes out now; the reply to any earlier one no longer stands.
    virtual void sending() = 0;
    // The endpoint refused a send (the command's own or a resend) at once.
    virtual void sendRefused(const EndpointError &error) = 0;
    // Sent to the unit ID that no unit answers: nothing more comes of this command.
    virtual void sentWithoutReply() = 0;

    // A reply asked for the frame again: it goes out again, after this...
    virtual void resending(const std::string &reply) = 0;
    // ...and this follows the attempt, with the resends made for the command so far.
    virtual void resent(int resends) = 0;
    // A reply that asks for nothing more.
    virtual void replied(const std::string &reply) = 0;
    // A reply that still asks for the frame after the last resend allowed.
    virtual void resendsSpent(const std::string &reply) = 0;
    // No reply within the reply timeout; comes once, however often the timer fires meanwhile.
    virtual void timedOut() = 0;

    // The endpoint reported an error of its own; it is closed for good after this.
    virtual void endpointFailed(const EndpointError &error) = 0;

    // The one question: does the operator confirm unlocking the address field?
    virtual bool confirmsUnlock() = 0;
};

// The reply timer, as the controller drives it: its owner gives it the reply
// timeout, repeats it until stopped, and calls Controller::replyTimerExpired.
// Tests hand the controller one they fire themselves.
class ReplyTimer
{
public:
    virtual ~ReplyTimer() = default;
    virtual void start() = 0;
    virtual void stop() = 0;
};

} // namespace corvane
