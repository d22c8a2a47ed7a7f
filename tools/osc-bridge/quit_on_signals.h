// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;

namespace corvane {

// Turns SIGTERM and SIGINT (on Windows: Ctrl+C, Ctrl+Break and closing the
// console window) into a quit of the Qt event loop, so the program ends as
// after any normal run, with status 0. The handler only writes a byte to a
// socket pair (all a signal handler may safely do); the event loop reads it
// like any other event.
class QuitOnSignals : public QObject
{
    Q_OBJECT

public:
    explicit QuitOnSignals(QObject *parent = nullptr);

    // False, with the reason in error(), when the signals could not be taken.
    bool armed() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }

private:
    static void caught(int signal);
    void quit();

    QSocketNotifier *m_notifier = nullptr;
    QString m_error;
};

} // namespace corvane
