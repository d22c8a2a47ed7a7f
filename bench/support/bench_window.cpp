#include "support/bench_window.h"

namespace bench {

void BenchWindow::setText(corvane::Field field, const std::string &text)
{
    std::string &current = m_texts[index(field)];
    if (current == text)
        return;
    current = text;
    if (!m_controller)
        return;
    if (field == corvane::Field::TeskIDtxt)
        m_controller->unitIdChanged();
    else if (field == corvane::Field::TeskRspTxt)
        m_controller->replyChanged();
}

} // namespace bench
