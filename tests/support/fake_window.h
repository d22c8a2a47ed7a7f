#pragma once

#include "controller/controller.h"
#include "support/journal.h"

#include <deque>
#include <functional>
#include <map>
#include <vector>

// The window as a recorder. Like the real one, setting a field's text to a
// different text runs that field's change rule on the attached controller.
class FakeWindow : public corvane::WindowOps
{
public:
    struct Box
    {
        corvane::BoxIcon icon;
        corvane::BoxButtons buttons;
        std::string title, text;
    };

    explicit FakeWindow(Journal &journal) : m_journal(journal) {}

    corvane::Controller *controller = nullptr;
    std::vector<Box> boxes;
    std::deque<int> answers;            // for Yes/No boxes; No once they run out
    std::function<void()> whileBoxOpen; // runs once, as if inside the next box's own event loop
    bool timerRunning = false;
    int timerStarts = 0;
    corvane::Field focused = corvane::Field::TeskIDtxt;
    std::map<corvane::Field, std::string> texts{{corvane::Field::ClipNumtxt, "0"}};
    std::map<corvane::Field, bool> locked;
    std::map<corvane::MuteButton, std::string> captions{{corvane::MuteButton::AudioMuteCmd, "Mute Audio"},
                                                        {corvane::MuteButton::VideoMuteCmd, "Mute Video"}};
    std::map<corvane::MuteButton, bool> enabled{{corvane::MuteButton::AudioMuteCmd, true},
                                                {corvane::MuteButton::VideoMuteCmd, true}};

    std::string text(corvane::Field field) const override
    {
        return texts.count(field) ? texts.at(field) : "";
    }
    void setText(corvane::Field field, const std::string &text) override;
    bool isLocked(corvane::Field field) const override { return locked.count(field) && locked.at(field); }
    void setLocked(corvane::Field field, bool lock) override;
    void setFocus(corvane::Field field) override;
    std::string caption(corvane::MuteButton button) const override { return captions.at(button); }
    void setCaption(corvane::MuteButton button, const std::string &text) override { captions[button] = text; }
    bool isEnabled(corvane::MuteButton button) const override { return enabled.at(button); }
    void setEnabled(corvane::MuteButton button, bool enable) override;
    void startReplyTimer() override;
    void stopReplyTimer() override;
    int messageBox(corvane::BoxIcon icon, corvane::BoxButtons buttons, const std::string &title,
                   const std::string &text) override;

    std::vector<std::string> boxTexts() const; // "title: text" of each box shown

private:
    Journal &m_journal;
};
