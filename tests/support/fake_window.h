#pragma once

#include "controller/controller.h"
#include "support/journal.h"

#include <deque>
#include <functional>
#include <map>

inline std::string Name(corvane::Field field)
{
    static const char *const names[] = {"BroadIPtxt", "LocalIPtxt", "LocalPortTxt",
                                        "TeskIDtxt",  "ClipNumtxt", "TeskRspTxt"};
    return names[int(field)];
}
inline std::string Name(corvane::MuteButton button)
{
    return button == corvane::MuteButton::AudioMuteCmd ? "AudioMuteCmd" : "VideoMuteCmd";
}

// The window as a recorder, one journal line a change. Like the real window,
// setting a field to a different text runs that field's change rule.
class FakeWindow : public corvane::WindowOps
{
public:
    using Field = corvane::Field;
    using MuteButton = corvane::MuteButton;
    struct Box
    {
        corvane::BoxIcon icon;
        corvane::BoxButtons buttons;
        std::string title, text;
    };

    explicit FakeWindow(Journal &journal) : m_journal(journal) {}

    corvane::Controller *controller = nullptr;
    std::vector<Box> boxes;
    std::deque<corvane::BoxResult> answers; // for Yes/No boxes; No once they run out
    std::function<void()> whileBoxOpen;     // runs once, as if inside the next box's own event loop
    bool timerRunning = false;
    int timerStarts = 0;
    Field focused = Field::TeskIDtxt;
    std::map<Field, std::string> texts{{Field::ClipNumtxt, "0"}};
    std::map<Field, bool> locked;
    std::map<MuteButton, std::string> captions{{MuteButton::AudioMuteCmd, "Mute Audio"},
                                               {MuteButton::VideoMuteCmd, "Mute Video"}};
    std::map<MuteButton, bool> enabled{{MuteButton::AudioMuteCmd, true}, {MuteButton::VideoMuteCmd, true}};

    std::string text(Field field) const override { return texts.count(field) ? texts.at(field) : ""; }
    void setText(Field field, const std::string &text) override;
    bool isLocked(Field field) const override { return locked.count(field) && locked.at(field); }
    void setLocked(Field field, bool lock) override
    {
        record((lock ? "lock " : "unlock ") + Name(field), locked[field], lock);
    }
    void setFocus(Field field) override { record("focus " + Name(field), focused, field); }
    std::string caption(MuteButton button) const override { return captions.at(button); }
    void setCaption(MuteButton button, const std::string &text) override { captions[button] = text; }
    bool isEnabled(MuteButton button) const override { return enabled.at(button); }
    void setEnabled(MuteButton button, bool on) override
    {
        record((on ? "enable " : "disable ") + Name(button), enabled[button], on);
    }
    void startReplyTimer() override
    {
        record("timer start", timerRunning, true);
        ++timerStarts;
    }
    void stopReplyTimer() override { record("timer stop", timerRunning, false); }
    corvane::BoxResult messageBox(corvane::BoxIcon icon, corvane::BoxButtons buttons,
                                  const std::string &title, const std::string &text) override;

    std::vector<std::string> boxTexts() const; // "title: text" of each box shown

private:
    template <class T> void record(const std::string &line, T &slot, T value)
    {
        m_journal.add(line);
        slot = value;
    }

    Journal &m_journal;
};
