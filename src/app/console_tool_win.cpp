// SPDX-License-Identifier: MIT
// Linked into each console tool built for Windows (corvane-send,
// corvane-unit-sim, corvane-osc), never into the window.
//
// A console tool's messages belong on its standard error, as on Linux. Qt
// sends them there on Windows only while the process has a console window;
// a tool started by a script with its output redirected, by a scheduler or
// a service, or under Wine has none, and Qt would hand every refusal to the
// debugger instead, where nobody reads it. Set before main() runs, so before
// Qt first looks; a value the user set is kept.
#include <QByteArray>
#include <QtGlobal>

namespace {

[[maybe_unused]] const bool g_messagesToStandardError = [] {
    if (!qEnvironmentVariableIsSet("QT_FORCE_STDERR_LOGGING"))
        qputenv("QT_FORCE_STDERR_LOGGING", QByteArrayLiteral("1"));
    return true;
}();

} // namespace
