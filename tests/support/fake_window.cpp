#include "support/fake_window.h"

using namespace corvane;

namespace {

const char *Name(Field field)
{
    switch (field) {
    case Field::BroadIPtxt: return "BroadIPtxt";
    case Field::LocalIPtxt: return "LocalIPtxt";
    case Field::LocalPortTxt: return "LocalPortTxt";
    case Field::TeskIDtxt: return "TeskIDtxt";
    case Field::ClipNumtxt: return "ClipNumtxt";
    case Field::TeskRspTxt: return "TeskRspTxt";
    }
    return "?";
}

const char *Name(MuteButton button)
{
    return button == MuteButton::AudioMuteCmd ? "AudioMuteCmd" : "VideoMuteCmd";
}

} // namespace

FakeWindow::FakeWindow(Journal &journal)
    : m_journal(journal), m_texts{{Field::ClipNumtxt, "0"}},
      m_captions{{MuteButton::AudioMuteCmd, "Mute Audio"}, {MuteButton::VideoMuteCmd, "Mute Video"}},
      m_enabled{{MuteButton::AudioMuteCmd, true}, {MuteButton::VideoMuteCmd, true}}
{
}

std::string FakeWindow::text(Field field) const
{
    const auto it = m_texts.find(field);
    return it == m_texts.end() ? std::string() : it->second;
}

void FakeWindow::setText(Field field, const std::string &text)
{
    m_journal.add(std::string("text ") + Name(field) + "=" + text);
    if (text == this->text(field))
        return;
    m_texts[field] = text;
    if (!controller)
        return;
    if (field == Field::TeskIDtxt)
        controller->unitIdChanged();
    else if (field == Field::TeskRspTxt)
        controller->replyChanged();
}

bool FakeWindow::isLocked(Field field) const { return m_locked.count(field) && m_locked.at(field); }

void FakeWindow::setLocked(Field field, bool locked)
{
    m_journal.add(std::string(locked ? "lock " : "unlock ") + Name(field));
    m_locked[field] = locked;
}

void FakeWindow::setFocus(Field field)
{
    m_journal.add(std::string("focus ") + Name(field));
    focused = field;
}

std::string FakeWindow::caption(MuteButton button) const { return m_captions.at(button); }

void FakeWindow::setCaption(MuteButton button, const std::string &caption) { m_captions[button] = caption; }

bool FakeWindow::isEnabled(MuteButton button) const { return m_enabled.at(button); }

void FakeWindow::setEnabled(MuteButton button, bool enabled)
{
    m_journal.add(std::string(enabled ? "enable " : "disable ") + Name(button));
    m_enabled[button] = enabled;
}

void FakeWindow::startReplyTimer()
{
    m_journal.add("timer start");
    timerRunning = true;
    ++timerStarts;
}

void FakeWindow::stopReplyTimer()
{
    m_journal.add("timer stop");
    timerRunning = false;
}

BoxResult FakeWindow::messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                                 const std::string &text)
{
    m_journal.add("box " + title + ": " + text);
    boxes.push_back({icon, buttons, title, text});
    if (whileBoxOpen) {
        // Run the hook once per box, as one event arriving during it.
        const auto hook = std::move(whileBoxOpen);
        whileBoxOpen = nullptr;
        hook();
    }
    if (buttons == BoxButtons::Ok)
        return BoxResult::Ok;
    if (answers.empty())
        return BoxResult::No;
    const BoxResult answer = answers.front();
    answers.pop_front();
    return answer;
}

std::vector<std::string> FakeWindow::boxTexts() const
{
    std::vector<std::string> texts;
    for (const Box &box : boxes)
        texts.push_back(box.title + ": " + box.text);
    return texts;
}
