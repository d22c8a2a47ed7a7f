// SPDX-License-Identifier: MIT
#include "net/port_search.h"
#include "net/udp_endpoint.h"
#include "support/private_network.h"
#include "support/rig.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#ifndef Q_OS_WIN
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

using namespace corvane;

// The real socket: binds, sends and refusals that only the kernel can show.
class TestUdpEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void init() { REQUIRE_PRIVATE_NETWORK(); }

    // Another program's port is skipped and nobody shares ours; a send to a fifth address group is refused at
    // once, and any send once closed: reported to the caller, never as an error event, and nothing leaves.
    void bindsAndRefusals()
    {
        QUdpSocket other, unit; // bind the way other programs would, sharing nothing
        QVERIFY2(other.bind(QHostAddress(QHostAddress::AnyIPv4), 1028), qPrintable(other.errorString()));
        QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
        UdpEndpoint endpoint, second;
        QSignalSpy errors(&endpoint, &UdpEndpoint::errorEvent);
        std::int32_t candidate = 1028;
        BindFirstFreePort(endpoint, candidate, [] { QFAIL("no box expected"); });
        QCOMPARE(endpoint.localPort(), 1029);
        second.setLocalPort(1029);
        QCOMPARE(second.bind(), Endpoint::BindResult::AddressInUse);
        QCOMPARE(endpoint.localIP(), "10.99.0.1");
        endpoint.setRemotePort(2639);
        endpoint.setRemoteHost("127.0.0.1.5");
        const auto fifthGroup = endpoint.send("frame");
        QVERIFY(fifthGroup && fifthGroup->description.find("127.0.0.1.5") != std::string::npos);
        QVERIFY(!endpoint.isClosed());
        endpoint.setRemoteHost("127.0.0.1");
        endpoint.close();
        QVERIFY(endpoint.send("frame")); // closed for good: no quiet bind to another port
        QVERIFY(endpoint.isClosed());
        QVERIFY(!unit.waitForReadyRead(100));
        QCOMPARE(errors.count(), 0);
    }

    // Each send goes where the address last set says, also after it changed and changed back.
    void sendsWhereTheAddressSays()
    {
#ifdef Q_OS_WIN
        QSKIP("Wine refuses a second socket on one port at another address as in use; Windows allows it");
#endif
        QUdpSocket loopback, veth;
        QVERIFY2(loopback.bind(QHostAddress::LocalHost, 2639), qPrintable(loopback.errorString()));
        QVERIFY2(veth.bind(QHostAddress("10.99.0.1"), 2639), qPrintable(veth.errorString()));
        UdpEndpoint endpoint;
        QCOMPARE(endpoint.bind(), Endpoint::BindResult::Bound);
        endpoint.setRemotePort(2639);
        for (auto [host, unit] :
             {std::pair{"127.0.0.1", &loopback}, {"10.99.0.1", &veth}, {"127.0.0.1", &loopback}}) {
            endpoint.setRemoteHost(host);
            QVERIFY(!endpoint.send(host));
            QVERIFY2(unit->waitForReadyRead(2000) && unit->receiveDatagram().data() == host, host);
        }
    }

    // A datagram handed on may open a box, whose event loop runs until the
    // operator closes it: one arriving meanwhile is handed on while the box
    // is open, and the endpoint hears every later one, in order.
    void readsOnWhileABoxIsOpen()
    {
        UdpEndpoint endpoint;
        QCOMPARE(endpoint.bind(), Endpoint::BindResult::Bound);
        QUdpSocket unit;
        const auto reply = [&](const QByteArray &text) {
            unit.writeDatagram(text, QHostAddress(QHostAddress::LocalHost), endpoint.localPort());
        };
        QStringList handed;
        QEventLoop box;
        connect(&endpoint, &UdpEndpoint::datagramArrived, &box, [&] {
            handed << QString::fromStdString(endpoint.takeDatagram());
            if (handed.size() == 1) {
                reply("while open");
                QTimer::singleShot(2000, &box, &QEventLoop::quit); // else the operator closes it
                box.exec();
                handed << "closed";
            }
            box.quit();
        });
        reply("first");
        QTRY_COMPARE(handed, QStringList({"first", "while open", "closed"}));
        reply("after");
        QTRY_COMPARE(handed.last(), "after");
    }

    // A flood is taken in turns of the event loop: a timer due meanwhile
    // runs long before the flood has all been handed on.
    void floodLeavesTimersTheirTurn()
    {
        UdpEndpoint endpoint;
        QCOMPARE(endpoint.bind(), Endpoint::BindResult::Bound);
        QUdpSocket unit;
        for (int i = 0; i < 100; ++i)
            unit.writeDatagram("?", 1, QHostAddress(QHostAddress::LocalHost), endpoint.localPort());
        int handed = 0, handedWhenTimerRan = -1;
        connect(&endpoint, &UdpEndpoint::datagramArrived, this, [&] {
            if (++handed == 1)
                QTimer::singleShot(0, this, [&] { handedWhenTimerRan = handed; });
            QElapsedTimer work; // each reply takes a millisecond
            for (work.start(); !work.hasExpired(1);) {
            }
        });
        QTRY_COMPARE(handed, 100);
        QVERIFY2(handedWhenTimerRan > 0 && handedWhenTimerRan < 50,
                 qPrintable(QString::number(handedWhenTimerRan)));
    }

    void otherBindFailureEndsTheSearchSilently()
    {
#ifdef Q_OS_WIN
        QSKIP("made by running out of file descriptors, a limit Windows does not have");
#else
        Fakes window;
        {
            // The sanitizers' type checks need descriptors the first time they meet a call: met here.
            UdpEndpoint spare;
            Controller(window, spare, window, window).startUp();
            window.texts.clear();
        }
        UdpEndpoint endpoint;
        Controller controller(window, endpoint, window, window);
        // With no file descriptor left, every bind fails, and not because a port is in use.
        const int lowestFree = ::open("/dev/null", O_RDONLY);
        QVERIFY(lowestFree >= 0 && ::close(lowestFree) == 0);
        rlimit files{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &files) == 0);
        const rlimit before = files;
        files.rlim_cur = rlim_t(lowestFree);
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &files) == 0);
        controller.startUp();
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &before) == 0);
        QCOMPARE(std::ranges::count(window.journal.lines, "no free port"), 0);
        QCOMPARE(window.text(Field::LocalPort), "1028");
#endif
    }
};

QTEST_GUILESS_MAIN(TestUdpEndpoint)
#include "tst_udp_endpoint.moc"
