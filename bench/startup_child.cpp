// SPDX-License-Identifier: MIT
// The two programs whose start-up bench_startup times, built from this one
// source: the program exactly as app/main.cpp starts it, and, built with
// CORVANE_PLAIN_WIDGETS, the floor: the window's nineteen controls as plain
// standard widgets with their texts, in the default font, with no art and no
// fitting, and one UDP socket bound to the program's first port. Each ends as
// soon as its window's first paint has gone through, printing
// "<CLOCK_MONOTONIC ns> <1 if a UDP socket under the window is bound>".

#include <QApplication>
#include <QEvent>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <utility>

#ifdef CORVANE_PLAIN_WIDGETS
#include <QLabel>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QPushButton>
#else
#include "ui/main_window.h"
#endif

namespace {

// Sees the window's first paint; once the whole paint pass (children
// included) is done, reports the time and quits.
class FirstPaint : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !std::exchange(m_seen, true))
            QMetaObject::invokeMethod(this, &FirstPaint::report, Qt::QueuedConnection);
        return false;
    }

private:
    void report()
    {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const auto sockets = parent()->findChildren<QUdpSocket *>();
        const bool bound = std::any_of(sockets.begin(), sockets.end(), [](auto *socket) {
            return socket->state() == QAbstractSocket::BoundState;
        });
        std::printf("%lld %d\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec,
                    bound ? 1 : 0);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    bool m_seen = false;
};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
#ifdef CORVANE_PLAIN_WIDGETS
    QWidget window;
    window.setFixedSize(297, 291);
    const char *fields[] = {"255.255.255.255", "10.99.0.1", "1028", "1", "0", ""};
    const char *labels[] = {"Broadcast IP Address", "Local IP Address", "Local Port", "Tesk2 ID Number",
                            "Tesk2 Response"};
    const char *buttons[] = {"Select Clip #", "Pause", "Play",       "Still",
                             "Loop Play",     "Stop",  "Mute Video", "Mute Audio"};
    int y = 0;
    for (const char *text : fields)
        (new QLineEdit(QString::fromLatin1(text), &window))->setGeometry(8, y += 20, 100, 19);
    y = 0;
    for (const char *text : labels)
        (new QLabel(QString::fromLatin1(text), &window))->setGeometry(120, y += 20, 170, 19);
    y = 130;
    for (const char *text : buttons)
        (new QPushButton(QString::fromLatin1(text), &window))->setGeometry(8, y += 20, 120, 20);
    auto *socket = new QUdpSocket(&window);
    socket->setProxy(QNetworkProxy::NoProxy);
    socket->bind(QHostAddress(QHostAddress::AnyIPv4), 1028, QAbstractSocket::DontShareAddress);
#else
    corvane::Main window;
    window.startUp();
#endif
    window.show();
    window.installEventFilter(new FirstPaint(&window));
    return app.exec();
}
