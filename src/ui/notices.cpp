// SPDX-License-Identifier: MIT
#include "ui/notices.h"

#include "net/latin1.h"

#include <QCoreApplication>

namespace corvane {

namespace {

struct Row
{
    Notice notice;
    QMessageBox::Icon icon;
    bool question;
    const char *title;
    const char *text;
};

// clang-format off
constexpr Row kNotices[] = {
    {Notice::AddressRejected, QMessageBox::Critical, false, QT_TRANSLATE_NOOP("corvane::Notice", "Data Error"),
     QT_TRANSLATE_NOOP("corvane::Notice", "An invalid IP address was entered!")},
    {Notice::UnitIdRejected,  QMessageBox::Critical, false, QT_TRANSLATE_NOOP("corvane::Notice", "Data Error"),
     QT_TRANSLATE_NOOP("corvane::Notice", "Invalid Tesk2 ID! (0-127)")},
    {Notice::SendRefused,     QMessageBox::Critical, false, QT_TRANSLATE_NOOP("corvane::Notice", "SockError"),
     QT_TRANSLATE_NOOP("corvane::Notice", "Zelosock Error: %1\n%2")},
    {Notice::EndpointFailed,  QMessageBox::Warning,  false, QT_TRANSLATE_NOOP("corvane::Notice", "SockError"),
     QT_TRANSLATE_NOOP("corvane::Notice", "Zelosock Error: %1\n%2")},
    {Notice::NoFreePort,      QMessageBox::Critical, false, QT_TRANSLATE_NOOP("corvane::Notice", "Zelosock Error"),
     QT_TRANSLATE_NOOP("corvane::Notice", "No open port found!")},
    {Notice::TimedOut,        QMessageBox::Warning,  false, QT_TRANSLATE_NOOP("corvane::Notice", "Timeout Error"),
     QT_TRANSLATE_NOOP("corvane::Notice", "Communications Error: Check all connections and settings!")},
    {Notice::Unlock,          QMessageBox::Question, true,  QT_TRANSLATE_NOOP("corvane::Notice", "Broadcast IP Address"),
     QT_TRANSLATE_NOOP("corvane::Notice", "Are you sure you want to change the broadcast IP address?")},
};
// clang-format on

constexpr bool InNoticeOrder()
{
    for (std::size_t i = 0; i < std::size(kNotices); ++i)
        if (static_cast<std::size_t>(kNotices[i].notice) != i)
            return false;
    return true;
}
static_assert(InNoticeOrder(), "a notice's row is found by its number");

QString Translated(const char *text) { return QCoreApplication::translate("corvane::Notice", text); }

} // namespace

NoticeBox BoxFor(Notice notice, const EndpointError &error)
{
    const Row &row = kNotices[static_cast<std::size_t>(notice)];
    QString text = Translated(row.text);
    if (notice == Notice::SendRefused || notice == Notice::EndpointFailed)
        text = text.arg(QString::number(error.number), Latin1(error.description));
    return {row.icon, row.question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
            Translated(row.title), text};
}

} // namespace corvane
