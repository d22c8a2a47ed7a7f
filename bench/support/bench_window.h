#pragma once

#include "controller/controller.h"
#include "controller/window_ops.h"
#include "net/udp_endpoint.h"

#include <array>
#include <string>

namespace bench {

// The window reduced to what the controller's rules need, with nothing
// recorded: fields and captions in plain strings, and, like the real window,
// a change of a field's text runs that field's rule. Boxes are answered OK at
// once and counted; the reply timer is a flag.
class BenchWindow : public corvane::WindowOps
{
public:
    void attach(corvane::Controller &controller) { m_controller = &controller; }

    int boxes = 0;
    bool timerRunning = false;

    std::string text(corvane::Field field) const override { return m_texts[index(field)]; }
    void setText(corvane::Field field, const std::string &text) override;
    bool isLocked(corvane::Field) const override { return false; }
    void setLocked(corvane::Field, bool) override {}
    void setFocus(corvane::Field) override {}
    std::string caption(corvane::MuteButton button) const override { return m_captions[index(button)]; }
    void setCaption(corvane::MuteButton button, const std::string &caption) override
    {
        m_captions[index(button)] = caption;
    }
    bool isEnabled(corvane::MuteButton button) const override { return m_enabled[index(button)]; }
    void setEnabled(corvane::MuteButton button, bool enabled) override { m_enabled[index(button)] = enabled; }
    void startReplyTimer() override { timerRunning = true; }
    void stopReplyTimer() override { timerRunning = false; }
    corvane::BoxResult messageBox(corvane::BoxIcon, corvane::BoxButtons, const std::string &,
                                  const std::string &) override
    {
        ++boxes;
        return corvane::BoxResult::Ok;
    }

private:
    static std::size_t index(corvane::Field field) { return static_cast<std::size_t>(field); }
    static std::size_t index(corvane::MuteButton button) { return static_cast<std::size_t>(button); }

    corvane::Controller *m_controller = nullptr;
    std::array<std::string, 6> m_texts{"", "", "", "", "0", ""};
    std::array<std::string, 2> m_captions{"Mute Video", "Mute Audio"};
    std::array<bool, 2> m_enabled{true, true};
};

// The controller with the real endpoint and a BenchWindow, started up as the
// program starts and sending to 127.0.0.1.
struct ProgramOnLoopback
{
    BenchWindow window;
    corvane::UdpEndpoint endpoint;
    corvane::Controller controller{window, endpoint};

    ProgramOnLoopback()
    {
        window.attach(controller);
        controller.StartUp();
        window.setText(corvane::Field::BroadIPtxt, "127.0.0.1");
    }
};

} // namespace bench
