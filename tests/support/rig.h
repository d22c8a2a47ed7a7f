#pragma once

#include "support/fake_endpoint.h"
#include "support/fake_window.h"

#include <algorithm>

// The controller wired to a recording window and socket.
struct Rig
{
    Journal journal;
    FakeWindow window{journal};
    FakeEndpoint endpoint{journal};
    corvane::Controller controller{window, endpoint};

    Rig() { window.controller = &controller; }

    // Starts up as the program does and forgets what that recorded.
    void startUp()
    {
        controller.StartUp();
        journal.lines.clear();
    }

    void reply(const std::string &datagram)
    {
        endpoint.incoming.push_back(datagram);
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
