#include "support/fake_window.h"

#include <utility>

using namespace corvane;

namespace {
const char *const kFieldNames[] = {"BroadIPtxt", "LocalIPtxt", "LocalPortTxt",
                                   "TeskIDtxt",  "ClipNumtxt", "TeskRspTxt"};
const char *Name(Field field) { return kFieldNames[int(field)]; }
const char *Name(MuteButton button)
{
    return button == MuteButton::AudioMuteCmd ? "AudioMuteCmd" : "VideoMuteCmd";
}
} // namespace

void FakeWindow::setText(Field field, const std::string &text)
{
    m_journal.add(std::string("text ") + Name(field) + "=" + text);
    if (text == this->text(field))
        return;
    texts[field] = text;
    if (controller && field == Field::TeskIDtxt)
        controller->unitIdChanged();
    if (controller && field == Field::TeskRspTxt)
        controller->replyChanged();
}

void FakeWindow::setLocked(Field field, bool lock)
{
    m_journal.add(std::string(lock ? "lock " : "unlock ") + Name(field));
    locked[field] = lock;
}

void FakeWindow::setFocus(Field field)
{
    m_journal.add(std::string("focus ") + Name(field));
    focused = field;
}

void FakeWindow::setEnabled(MuteButton button, bool enable)
{
    m_journal.add(std::string(enable ? "enable " : "disable ") + Name(button));
    enabled[button] = enable;
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

int FakeWindow::messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                           const std::string &text)
{
    m_journal.add("box " + title + ": " + text);
    boxes.push_back({icon, buttons, title, text});
    if (const auto hook = std::exchange(whileBoxOpen, nullptr))
        hook();
    if (buttons == BoxButtons::Ok)
        return BoxOk;
    if (answers.empty())
        return BoxNo;
    const int answer = answers.front();
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
