#include "support/fake_window.h"

#include <utility>

using namespace corvane;

void FakeWindow::setText(Field field, const std::string &text)
{
    m_journal.add("text " + Name(field) + "=" + text);
    if (text == this->text(field))
        return;
    texts[field] = text;
    if (controller && field == Field::TeskIDtxt)
        controller->unitIdChanged();
    if (controller && field == Field::TeskRspTxt)
        controller->replyChanged();
}

BoxResult FakeWindow::messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                                 const std::string &text)
{
    m_journal.add("box " + title + ": " + text);
    boxes.push_back({icon, buttons, title, text});
    if (const auto hook = std::exchange(whileBoxOpen, nullptr))
        hook();
    const BoxResult answer = buttons == BoxButtons::Ok ? BoxResult::Ok
                             : answers.empty()         ? BoxResult::No
                                                       : answers.front();
    if (buttons == BoxButtons::YesNo && !answers.empty())
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
