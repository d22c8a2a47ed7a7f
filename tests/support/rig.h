// SPDX-License-Identifier: MIT
#pragma once

#include "controller/controller.h"
#include "net/endpoint.h"

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The window and the socket as one recorder: what they were asked to do goes
// into the journal, one line a call, so that tests can check the order of steps
// across both. Like the real window, setting a field to a different text runs
// that field's change rule. Ports listed in portsInUse refuse a bind as "in
// use", ports in brokenPorts refuse it for any other reason.
class Fakes : public corvane::WindowOps, public corvane::Endpoint
{
public:
    using Field = corvane::Field;
    using MuteButton = corvane::MuteButton;
    struct Box
    {
        corvane::BoxIcon icon;
        std::string title, text;
    };
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
    std::vector<Box> boxes;
    std::function<void()> whileBoxOpen; // runs once, as if inside the next box's own event loop
    bool timerRunning = false;
    int timerStarts = 0;
    std::map<Field, std::string> texts{{Field::ClipNumtxt, "0"}};
    std::map<Field, bool> locked;
    std::map<MuteButton, std::string> captions{{MuteButton::AudioMuteCmd, "Mute Audio"},
                                               {MuteButton::VideoMuteCmd, "Mute Video"}};
    std::map<MuteButton, bool> enabled{{MuteButton::AudioMuteCmd, true}, {MuteButton::VideoMuteCmd, true}};
    std::set<std::int32_t> portsInUse, brokenPorts;
    std::optional<corvane::EndpointError> refuseSends;
    std::string incoming; // the next datagram to hand over
    std::vector<Datagram> sent;
    int remotePort = 0;
    bool bound = false;

    // The window.
    std::string text(Field field) const override { return texts.count(field) ? texts.at(field) : ""; }
    void setText(Field field, const std::string &text) override
    {
        note("text " + Name(field) + "=" + text);
        if (text == this->text(field))
            return;
        texts[field] = text;
        if (controller && field == Field::TeskIDtxt)
            controller->unitIdChanged();
        if (controller && field == Field::TeskRspTxt)
            controller->replyChanged();
    }
    bool isLocked(Field field) const override { return locked.count(field) && locked.at(field); }
    void setLocked(Field field, bool lock) override
    {
        note((lock ? "lock " : "unlock ") + Name(field), locked[field] = lock);
    }
    void setFocus(Field field) override { note("focus " + Name(field)); }
    std::string caption(MuteButton button) const override { return captions.at(button); }
    void setCaption(MuteButton button, const std::string &text) override { captions[button] = text; }
    bool isEnabled(MuteButton button) const override { return enabled.at(button); }
    void setEnabled(MuteButton button, bool on) override
    {
        note((on ? "enable " : "disable ") + Name(button), enabled[button] = on);
    }
    void startReplyTimer() override { note("timer start", timerRunning = true, ++timerStarts); }
    void stopReplyTimer() override { note("timer stop", timerRunning = false); }
    corvane::BoxResult messageBox(corvane::BoxIcon icon, corvane::BoxButtons buttons,
                                  const std::string &title, const std::string &text) override
    {
        note("box " + title + ": " + text);
        boxes.push_back({icon, title, text});
        if (const auto hook = std::exchange(whileBoxOpen, nullptr))
            hook();
        return buttons == corvane::BoxButtons::Ok ? corvane::BoxResult::Ok : corvane::BoxResult::No;
    }
    std::string boxTexts() const // "title: text" of each box shown, a line each
    {
        std::string texts;
        for (const Box &box : boxes)
            texts += box.title + ": " + box.text + "\n";
        return texts;
    }

    // The socket.
    void setRemotePort(int port) override { note("remote port " + std::to_string(remotePort = port)); }
    void setRemoteHost(const std::string &host) override { note("remote host " + host); }
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
        static const char *const names[] = {"BroadIPtxt", "LocalIPtxt", "LocalPortTxt",
                                            "TeskIDtxt",  "ClipNumtxt", "TeskRspTxt"};
        return names[int(field)];
    }
    static std::string Name(MuteButton button)
    {
        return button == MuteButton::AudioMuteCmd ? "AudioMuteCmd" : "VideoMuteCmd";
    }
    // Journals a call; what it changes is changed in the arguments that follow.
    template <class... Changes> void note(const std::string &line, Changes &&...)
    {
        journal.lines.push_back(line);
    }

    std::int32_t m_localPort = 0;
};

// The controller wired to the recording window and socket.
struct Rig
{
    Fakes fakes;
    Fakes &window = fakes, &endpoint = fakes;
    decltype(Fakes::journal) &journal = fakes.journal;
    corvane::Controller controller{window, endpoint};

    // Started up as the program does, with what that recorded forgotten, unless asked not to.
    explicit Rig(bool startUp = true)
    {
        window.controller = &controller;
        if (startUp)
            controller.StartUp();
        journal.lines.clear();
    }

    void reply(const std::string &datagram)
    {
        endpoint.incoming = datagram;
        controller.datagramArrived();
    }

    std::string lastSent() const { return endpoint.sent.empty() ? "" : endpoint.sent.back().payload; }

    // The journal's lines that are among `wanted`, in the order they were recorded.
    std::vector<std::string> only(const std::vector<std::string> &wanted) const
    {
        std::vector<std::string> kept;
        std::copy_if(journal.lines.begin(), journal.lines.end(), std::back_inserter(kept),
                     [&](const std::string &line) { return std::count(wanted.begin(), wanted.end(), line); });
        return kept;
    }
};
