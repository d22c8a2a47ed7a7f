// SPDX-License-Identifier: MIT
#include "net/port_search.h"
#include "net/udp_endpoint.h"
#include "support/private_network.h"
#include "support/rig.h"

#include <QSignalSpy>
#include <QTest>
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
        std::int32_t portNum = 1028;
        AutoPort(endpoint, portNum, [] { QFAIL("no box expected"); });
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

    void otherBindFailureEndsTheSearchSilently()
    {
#ifdef Q_OS_WIN
        QSKIP("made by running out of file descriptors, a limit Windows does not have");
#else
        Fakes window;
        {
            // The sanitizers' type checks need descriptors the first time they meet a call: met here.
            UdpEndpoint spare;
            Controller(window, spare).StartUp();
            window.texts.clear();
        }
        UdpEndpoint endpoint;
        Controller controller(window, endpoint);
        // With no file descriptor left, every bind fails, and not because a port is in use.
        const int lowestFree = ::open("/dev/null", O_RDONLY);
        QVERIFY(lowestFree >= 0 && ::close(lowestFree) == 0);
        rlimit files{};
        QVERIFY(::getrlimit(RLIMIT_NOFILE, &files) == 0);
        const rlimit before = files;
        files.rlim_cur = rlim_t(lowestFree);
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &files) == 0);
        controller.StartUp();
        QVERIFY(::setrlimit(RLIMIT_NOFILE, &before) == 0);
        QCOMPARE(window.boxTexts(), "");
        QCOMPARE(window.text(Field::LocalPortTxt), "1028");
#endif
    }
};

QTEST_GUILESS_MAIN(TestUdpEndpoint)
#include "tst_udp_endpoint.moc"
