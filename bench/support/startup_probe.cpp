#include "support/startup_probe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QHostAddress>
#include <QNetworkProxy>
#include <QUdpSocket>
#include <QWidget>

#include <cstdio>
#include <ctime>

namespace bench {

namespace {

long long MonotonicNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

class FirstPaint : public QObject
{
public:
    explicit FirstPaint(QWidget &window) : QObject(&window), m_window(window) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::Paint && !m_seen) {
            m_seen = true;
            // Queued, so it runs once the whole paint pass (children included) is done.
            QMetaObject::invokeMethod(this, &FirstPaint::report, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report()
    {
        const long long shownAt = MonotonicNs();
        bool bound = false;
        const auto sockets = m_window.findChildren<QUdpSocket *>();
        for (const QUdpSocket *socket : sockets)
            bound = bound || socket->state() == QAbstractSocket::BoundState;
        std::printf("%lld %d\n", shownAt, bound ? 1 : 0);
        std::fflush(stdout);
        QCoreApplication::quit();
    }

    QWidget &m_window;
    bool m_seen = false;
};

} // namespace

void ReportWhenShown(QWidget &window) { window.installEventFilter(new FirstPaint(window)); }

void BindShowAndReport(QWidget &window)
{
    auto *socket = new QUdpSocket(&window);
    socket->setProxy(QNetworkProxy::NoProxy);
    socket->bind(QHostAddress(QHostAddress::AnyIPv4), 1028, QAbstractSocket::DontShareAddress);
    window.show();
    ReportWhenShown(window);
}

} // namespace bench
