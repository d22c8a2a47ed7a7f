#pragma once

#include "controller/controller.h"
#include "controller/window_ops.h"
#include "support/journal.h"

#include <deque>
#include <functional>
#include <map>
#include <string>
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
        std::string title;
        std::string text;
    };

    explicit FakeWindow(Journal &journal);

    corvane::Controller *controller = nullptr;
    std::vector<Box> boxes;
    std::deque<corvane::BoxResult> answers; // for Yes/No boxes; No once they run out
    std::function<void()> whileBoxOpen;     // runs as if inside the box's own event loop
    bool timerRunning = false;
    int timerStarts = 0;
    corvane::Field focused = corvane::Field::TeskIDtxt;

    std::string text(corvane::Field field) const override;
    void setText(corvane::Field field, const std::string &text) override;
    bool isLocked(corvane::Field field) const override;
    void setLocked(corvane::Field field, bool locked) override;
    void setFocus(corvane::Field field) override;
    std::string caption(corvane::MuteButton button) const override;
    void setCaption(corvane::MuteButton button, const std::string &caption) override;
    bool isEnabled(corvane::MuteButton button) const override;
    void setEnabled(corvane::MuteButton button, bool enabled) override;
    void startReplyTimer() override;
    void stopReplyTimer() override;
    corvane::BoxResult messageBox(corvane::BoxIcon icon, corvane::BoxButtons buttons,
                                  const std::string &title, const std::string &text) override;

    std::vector<std::string> boxTexts() const;

private:
    Journal &m_journal;
    std::map<corvane::Field, std::string> m_texts;
    std::map<corvane::Field, bool> m_locked;
    std::map<corvane::MuteButton, std::string> m_captions;
    std::map<corvane::MuteButton, bool> m_enabled;
};
