// SPDX-License-Identifier: MIT
#pragma once

// The window's words for the outcomes it shows in a message box, with each
// box's icon and buttons. The headless programs say the same words, so they
// live here once; each goes through tr(), under the "corvane::Notice" context.

#include "net/endpoint.h"

#include <QMessageBox>
#include <QString>

namespace corvane {

enum class Notice {
    AddressRejected,
    UnitIdRejected,
    SendRefused,
    EndpointFailed,
    NoFreePort,
    TimedOut,
    Unlock
};

struct NoticeBox
{
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
    QString title;
    QString text; // lines end in '\n'
};

// An endpoint error's number and description complete the two socket notices.
NoticeBox BoxFor(Notice notice, const EndpointError &error = {});

} // namespace corvane
