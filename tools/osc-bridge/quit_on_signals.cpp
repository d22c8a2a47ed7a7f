// SPDX-License-Identifier: MIT
#include "quit_on_signals.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#ifdef Q_OS_WIN
#include <qt_windows.h>
#else
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
#endif

namespace corvane {

#ifdef Q_OS_WIN

// Windows has no signals for this: Ctrl+C, Ctrl+Break and the console
// window's close button reach a handler that the system runs on a thread of
// its own. The handler posts the quit to the event loop, which is safe from
// any thread.
namespace {

QuitOnSignals *g_instance = nullptr;

void QuitSoon()
{
    QMetaObject::invokeMethod(
        g_instance, [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
}

BOOL WINAPI ConsoleEvent(DWORD event)
{
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) {
        QuitSoon();
        return TRUE;
    }
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
        QuitSoon();
        // Windows ends the process as soon as this returns, so it waits here
        // for main() to finish instead, which ends every thread; the system
        // allows five seconds for it.
        Sleep(INFINITE);
    }
    return FALSE;
}

} // namespace

QuitOnSignals::QuitOnSignals(QObject *parent) : QObject(parent)
{
    g_instance = this;
    if (!SetConsoleCtrlHandler(&ConsoleEvent, TRUE))
        m_error = QStringLiteral("cannot take console events (error %1)").arg(GetLastError());
}

#else

namespace {

int g_pair[2] = {-1, -1}; // [0] written by the handler, [1] read by the event loop

} // namespace

QuitOnSignals::QuitOnSignals(QObject *parent) : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, g_pair) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return;
    }
    m_notifier = new QSocketNotifier(g_pair[1], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &QuitOnSignals::quit);

    struct sigaction action = {};
    action.sa_handler = &QuitOnSignals::caught;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT}) {
        if (::sigaction(signal, &action, nullptr) != 0)
            m_error = QString::fromLocal8Bit(std::strerror(errno));
    }
}

void QuitOnSignals::caught(int)
{
    const int saved = errno;
    const char byte = 1;
    // A full pair already holds a quit; nothing more to say.
    [[maybe_unused]] const ssize_t written = ::write(g_pair[0], &byte, 1);
    errno = saved;
}

void QuitOnSignals::quit()
{
    char byte = 0;
    while (::read(g_pair[1], &byte, 1) > 0) {
    }
    QCoreApplication::quit();
}

#endif

} // namespace corvane
