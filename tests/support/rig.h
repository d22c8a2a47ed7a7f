// SPDX-License-Identifier: MIT
#pragma once

#include "controller/controller.h"
#include "controller/outcomes.h"
#include "net/endpoint.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The window, the socket, the reply timer and the outcomes' shower as one
// recorder: what they were asked to do goes into the journal, one line a
// call, so that tests can check the order of steps across all of them. Like
// the real window, setting the unit ID field to a different text runs its
// change rule. Ports listed in portsInUse refuse a bind as "in use", ports in
// brokenPorts refuse it for any other reason.
class Fakes : public corvane::WindowOps,
              public corvane::Endpoint,
              public corvane::ReplyTimer,
              public corvane::Outcomes
{
public:
    using Field = corvane::Field;
    using MuteOutput = corvane::MuteOutput;
    struct Datagram
    {
        int port;
        std::string payload;
    };

    struct
    {
        std::vector<std::string> lines;
    } journal;
    corvane::Controller *controller = nullptr;
    std::function<void()> whileShown; // runs once, as if inside the next outcome's box
    bool timerRunning = false;
    int timerStarts = 0;
    std::map<Field, std::string> texts{{Field::ClipNumber, "0"}};
    std::map<Field, bool> locked;
    std::map<MuteOutput, std::string> captions{{MuteOutput::Audio, "Mute Audio"},
                                               {MuteOutput::Video, "Mute Video"}};
    std::map<MuteOutput, bool> enabled{{MuteOutput::Audio, true}, {MuteOutput::Video, true}};
    std::set<std::int32_t> portsInUse, brokenPorts;
    std::optional<corvane::EndpointError> refuseSends;
    std::string incoming; // the next datagram to hand over
    std::vector<Datagram> sent;
    int remotePort = 0;
    std::string remoteHost;
    bool bound = false;

    // The window's controls.
    std::string text(Field field) const override { return texts.count(field) ? texts.at(field) : ""; }
    void setText(Field field, const std::string &text) override
    {
        note("text " + Name(field) + "=" + text);
        if (text == this->text(field))
            return;
        texts[field] = text;
        if (controller && field == Field::UnitId)
            controller->unitIdChanged();
    }
    bool isLocked(Field field) const override { return locked.count(field) && locked.at(field); }
    void setLocked(Field field, bool lock) override
    {
        note((lock ? "lock " : "unlock ") + Name(field), locked[field] = lock);
    }
    void setFocus(Field field) override { note("focus " + Name(field)); }
    std::string caption(MuteOutput button) const override { return captions.at(button); }
    void setCaption(MuteOutput button, const std::string &text) override { captions[button] = text; }
    bool isEnabled(MuteOutput button) const override { return enabled.at(button); }
    void setEnabled(MuteOutput button, bool on) override
    {
        note((on ? "enable " : "disable ") + Name(button), enabled[button] = on);
    }

    // The reply timer.
    void start() override { note("timer start", timerRunning = true, ++timerStarts); }
    void stop() override { note("timer stop", timerRunning = false); }

    // The outcomes, each a line; those a window shows in a box run whileShown.
    void noFreePort() override { shown("no free port"); }
    void inputRejected(corvane::Input input) override
    {
        shown(input == corvane::Input::Address ? "address rejected" : "unit ID rejected");
    }
    void sending() override { note("sending"); }
    void sendRefused(const corvane::EndpointError &error) override
    {
        shown("send refused: " + std::to_string(error.number) + " " + error.description);
    }
    void sentWithoutReply() override { note("sent without reply"); }
    void resending(const std::string &reply) override { note("resending after " + reply); }
    void resent(int resends) override { note("resent " + std::to_string(resends)); }
    void replied(const std::string &reply) override { note("replied " + reply); }
    void resendsSpent(const std::string &reply) override { note("resends spent " + reply); }
    void timedOut() override { shown("timed out"); }
    void endpointFailed(const corvane::EndpointError &error) override
    {
        shown("endpoint failed: " + std::to_string(error.number) + " " + error.description);
    }
    bool confirmsUnlock() override { return shown("unlock?"), false; }

    // The socket.
    void setRemotePort(int port) override { note("remote port " + std::to_string(remotePort = port)); }
    void setRemoteHost(const std::string &host) override { note("remote host " + (remoteHost = host)); }
    void setLocalPort(std::int32_t port) override { m_localPort = port; }
    std::int32_t localPort() const override { return m_localPort; }
    BindResult bind() override
    {
        if (portsInUse.count(m_localPort) || brokenPorts.count(m_localPort))
            return portsInUse.count(m_localPort) ? BindResult::AddressInUse : BindResult::Failed;
        note("bound " + std::to_string(m_localPort), bound = true);
        return BindResult::Bound;
    }
    std::string localIP() const override { return "10.99.0.1"; }
    bool isClosed() const override { return !bound; }
    void close() override { note("close", bound = false); }
    std::optional<corvane::EndpointError> send(const std::string &payload) override
    {
        note("send");
        if (!refuseSends)
            sent.push_back({remotePort, payload});
        return refuseSends;
    }
    std::string takeDatagram() override { return std::exchange(incoming, ""); }

private:
    static std::string Name(Field field)
    {
        static const char *const names[] = {"address", "local address", "local port",
                                            "unit ID", "clip number",   "reply"};
        return names[int(field)];
    }
    static std::string Name(MuteOutput button) { return button == MuteOutput::Audio ? "audio" : "video"; }
    // Journals a call; what it changes is changed in the arguments that follow.
    template <class... Changes> void note(const std::string &line, Changes &&...)
    {
        journal.lines.push_back(line);
    }
    void shown(const std::string &line)
    {
        note(line);
        if (const auto hook = std::exchange(whileShown, nullptr))
            hook();
    }

    std::int32_t m_localPort = 0;
};

// The controller wired to the recording window and socket.
struct Rig
{
    Fakes fakes;
    Fakes &window = fakes, &endpoint = fakes;
    decltype(Fakes::journal) &journal = fakes.journal;
    corvane::Controller controller{window, endpoint, fakes, fakes};

    // Started up as the program does, with what that recorded forgotten, unless asked not to.
    explicit Rig(bool startUp = true)
    {
        window.controller = &controller;
        if (startUp)
            controller.startUp();
        journal.lines.clear();
    }

    void reply(const std::string &datagram)
    {
        endpoint.incoming = datagram;
        controller.datagramArrived();
    }

    std::string lastSent() const { return endpoint.sent.empty() ? "" : endpoint.sent.back().payload; }

    // The journal's lines that begin with one of `prefixes`, in the order they were recorded.
    std::vector<std::string> starting(const std::vector<std::string> &prefixes) const
    {
        std::vector<std::string> kept;
        std::copy_if(journal.lines.begin(), journal.lines.end(), std::back_inserter(kept),
                     [&](const std::string &line) {
                         return std::any_of(prefixes.begin(), prefixes.end(), [&](const std::string &prefix) {
                             return line.starts_with(prefix);
                         });
                     });
        return kept;
    }
};
