#include "net/port_search.h"
#include "net/udp_endpoint.h"
#include "support/private_network.h"
#include "support/rig.h"

#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace corvane;

// The real socket: binds, sends and refusals that only the kernel can show.
class TestUdpEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void init() { REQUIRE_PRIVATE_NETWORK(); }

    void searchSkipsPortsOthersHold()
    {
        QUdpSocket other; // binds the way another program would, sharing nothing
        QVERIFY2(other.bind(QHostAddress(QHostAddress::AnyIPv4), 1028), qPrintable(other.errorString()));
        UdpEndpoint first, second;
        QSignalSpy errors(&first, &UdpEndpoint::errorEvent);
        std::int32_t portNum = 1028;
        AutoPort(first, portNum, [] { QFAIL("no box expected"); });
        QCOMPARE(first.localPort(), 1029);
        second.setLocalPort(1029); // and nobody shares it with us either
        QCOMPARE(second.bind(), Endpoint::BindResult::AddressInUse);
        QCOMPARE(errors.count(), 0); // failed binds of our own are no error events
        QCOMPARE(first.localIP(), "10.99.0.1");
    }

    void otherBindFailureEndsTheSearchSilently()
    {
        Journal journal;
        FakeWindow window(journal);
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
        QCOMPARE(window.boxTexts(), std::vector<std::string>{});
        QCOMPARE(window.text(Field::LocalPortTxt), "1028");
    }

    // Refused at once, reported to the caller and not as an error event; nothing leaves.
    void refusedSendsAreReportedNotSignalled()
    {
        QUdpSocket unit;
        QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
        UdpEndpoint endpoint;
        QSignalSpy errors(&endpoint, &UdpEndpoint::errorEvent);
        endpoint.setLocalPort(1028);
        endpoint.setRemotePort(2639);
        QCOMPARE(endpoint.bind(), Endpoint::BindResult::Bound);
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
};

QTEST_GUILESS_MAIN(TestUdpEndpoint)
#include "tst_udp_endpoint.moc"
