#include "net/port_search.h"
#include "net/udp_endpoint.h"
#include "support/hex.h"
#include "support/private_network.h"

#include <QNetworkDatagram>
#include <QSignalSpy>
#include <QTest>
#include <QUdpSocket>

#include <sys/resource.h>

#include <memory>
#include <vector>

using namespace corvane;

namespace {

const std::string kFrame = FromHex("F1 01 04 31 40 FF 8B FF 02 00 F2"); // holds 0x00, 0xF1, 0xF2

// A unit stand-in listening on the units' command port.
struct Listener
{
    QUdpSocket socket;
    explicit Listener(const QHostAddress &address = QHostAddress(QHostAddress::AnyIPv4))
    {
        QVERIFY2(socket.bind(address, kUnitCommandPort), qPrintable(socket.errorString()));
    }
    QByteArray next()
    {
        if (!socket.hasPendingDatagrams() && !socket.waitForReadyRead(2000))
            return {};
        return socket.receiveDatagram().data();
    }
};

std::unique_ptr<UdpEndpoint> BoundEndpoint(int port)
{
    auto endpoint = std::make_unique<UdpEndpoint>();
    endpoint->setLocalPort(port);
    endpoint->setRemotePort(kUnitCommandPort);
    if (endpoint->bind() != Endpoint::BindResult::Bound)
        return nullptr;
    return endpoint;
}

// Ports held the way another program would hold them: plain bound sockets.
std::vector<std::unique_ptr<QUdpSocket>> HoldPorts(int first, int last)
{
    std::vector<std::unique_ptr<QUdpSocket>> held;
    for (int port = first; port <= last; ++port) {
        auto socket = std::make_unique<QUdpSocket>();
        if (socket->bind(QHostAddress(QHostAddress::AnyIPv4), quint16(port), QUdpSocket::DontShareAddress))
            held.push_back(std::move(socket));
    }
    return held;
}

} // namespace

class TestUdpEndpoint : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void bindIsExclusive();
    void searchSkipsHeldPorts_data();
    void searchSkipsHeldPorts();
    void framesArriveByteExact_data();
    void framesArriveByteExact();
    void leadingZerosAreDecimal();
    void refusedSendsAreReportedNotSignalled_data();
    void refusedSendsAreReportedNotSignalled();
    void closedEndpointStaysClosed();
    void datagramsAreTakenWhole_data();
    void datagramsAreTakenWhole();
    void localAddressIsTheDefaultRouteSource();
};

void TestUdpEndpoint::init() { REQUIRE_PRIVATE_NETWORK(); }

void TestUdpEndpoint::bindIsExclusive()
{
    const auto first = BoundEndpoint(kFirstLocalPort);
    QVERIFY(first);
    UdpEndpoint second;
    second.setLocalPort(kFirstLocalPort);
    QCOMPARE(second.bind(), Endpoint::BindResult::AddressInUse);

    // A socket that asks to share the port is turned away too.
    QUdpSocket sharing;
    QVERIFY(!sharing.bind(QHostAddress(QHostAddress::AnyIPv4), kFirstLocalPort, QUdpSocket::ShareAddress));
}

void TestUdpEndpoint::searchSkipsHeldPorts_data()
{
    QTest::addColumn<int>("heldUpTo");
    QTest::addColumn<int>("expected");
    QTest::newRow("1028 free") << 0 << 1028;
    QTest::newRow("1028-1030 held") << 1030 << 1031;
    QTest::newRow("1028-2638 held") << 2638 << 2640;
}

void TestUdpEndpoint::searchSkipsHeldPorts()
{
    QFETCH(int, heldUpTo);
    QFETCH(int, expected);

    rlimit files{};
    getrlimit(RLIMIT_NOFILE, &files);
    files.rlim_cur = files.rlim_max;
    setrlimit(RLIMIT_NOFILE, &files);
    if (files.rlim_cur < 2000)
        QSKIP("too few file descriptors to hold 1611 ports");

    const auto held = heldUpTo ? HoldPorts(kFirstLocalPort, heldUpTo) : decltype(HoldPorts(0, 0)){};
    QCOMPARE(int(held.size()), heldUpTo ? heldUpTo - kFirstLocalPort + 1 : 0);

    UdpEndpoint endpoint;
    QSignalSpy errors(&endpoint, &UdpEndpoint::errorEvent);
    std::int32_t portNum = kFirstLocalPort;
    int boxes = 0;
    AutoPort(endpoint, portNum, [&boxes] { ++boxes; });

    QCOMPARE(endpoint.localPort(), expected);
    QVERIFY(!endpoint.isClosed());
    QCOMPARE(boxes, 0);
    QCOMPARE(errors.count(), 0); // the search's own failed binds are not error events
}

void TestUdpEndpoint::framesArriveByteExact_data()
{
    QTest::addColumn<QString>("destination");
    QTest::newRow("127.0.0.1") << QStringLiteral("127.0.0.1");
    QTest::newRow("limited broadcast 255.255.255.255") << QStringLiteral("255.255.255.255");
}

void TestUdpEndpoint::framesArriveByteExact()
{
    QFETCH(QString, destination);
    Listener unit;
    const auto endpoint = BoundEndpoint(kFirstLocalPort);
    QVERIFY(endpoint);
    endpoint->setRemoteHost(destination.toStdString());

    const auto error = endpoint->send(kFrame);
    QVERIFY2(!error, error ? error->description.c_str() : "");
    QCOMPARE(unit.next().toHex(' ').toUpper(), ToHex(kFrame));
}

void TestUdpEndpoint::leadingZerosAreDecimal()
{
    // 127.0.0.010 is 127.0.0.10; read as octal it would be 127.0.0.8.
    Listener unit(QHostAddress(QStringLiteral("127.0.0.10")));
    const auto endpoint = BoundEndpoint(kFirstLocalPort);
    QVERIFY(endpoint);
    endpoint->setRemoteHost("127.0.0.010");
    QVERIFY(!endpoint->send(kFrame));
    QCOMPARE(unit.next().size(), qsizetype(kFrame.size()));
}

void TestUdpEndpoint::refusedSendsAreReportedNotSignalled_data()
{
    QTest::addColumn<QString>("destination");
    QTest::newRow("fifth group 1.2.3.4.5") << QStringLiteral("1.2.3.4.5");
    QTest::newRow("trailing dot 1.2.3.4.") << QStringLiteral("1.2.3.4.");
    QTest::newRow("a name") << QStringLiteral("localhost");
}

void TestUdpEndpoint::refusedSendsAreReportedNotSignalled()
{
    QFETCH(QString, destination);
    Listener unit;
    const auto endpoint = BoundEndpoint(kFirstLocalPort);
    QVERIFY(endpoint);
    QSignalSpy errors(endpoint.get(), &UdpEndpoint::errorEvent);

    endpoint->setRemoteHost(destination.toStdString());
    const auto error = endpoint->send(kFrame);
    QVERIFY(error);
    QVERIFY(error->description.find(destination.toStdString()) != std::string::npos);
    QCOMPARE(errors.count(), 0);
    QVERIFY(!endpoint->isClosed());
    QVERIFY(!unit.socket.waitForReadyRead(100)); // nothing went out, not even to this host

    endpoint->setRemoteHost("127.0.0.1");
    QVERIFY(!endpoint->send(kFrame));
    QVERIFY(!unit.next().isEmpty());
}

void TestUdpEndpoint::closedEndpointStaysClosed()
{
    Listener unit;
    const auto endpoint = BoundEndpoint(kFirstLocalPort);
    QVERIFY(endpoint);
    endpoint->setRemoteHost("127.0.0.1");
    endpoint->close();

    QVERIFY(endpoint->send(kFrame));
    QVERIFY(endpoint->isClosed()); // the send did not quietly bind a new port
    QVERIFY(!unit.socket.waitForReadyRead(100));
}

void TestUdpEndpoint::datagramsAreTakenWhole_data()
{
    QTest::addColumn<QByteArray>("datagram");
    QTest::newRow("R") << QByteArray("R");
    QTest::newRow("NUL, CR, LF and high bytes") << QByteArray("a\0b\r\n\x80\xFF", 7);
    QTest::newRow("largest payload, 65507 bytes") << QByteArray(65507, 'x');
}

void TestUdpEndpoint::datagramsAreTakenWhole()
{
    QFETCH(QByteArray, datagram);
    const auto endpoint = BoundEndpoint(kFirstLocalPort);
    QVERIFY(endpoint);
    std::vector<std::string> taken;
    connect(endpoint.get(), &UdpEndpoint::datagramArrived, this,
            [&] { taken.push_back(endpoint->takeDatagram()); });

    QUdpSocket unit;
    for (int i = 0; i < 2; ++i)
        QCOMPARE(unit.writeDatagram(datagram, QHostAddress::LocalHost, kFirstLocalPort),
                 qint64(datagram.size()));
    QTRY_COMPARE(taken.size(), 2u);
    for (const std::string &each : taken)
        QCOMPARE(QByteArray(each.data(), qsizetype(each.size())), datagram);
}

void TestUdpEndpoint::localAddressIsTheDefaultRouteSource()
{
    UdpEndpoint endpoint;
    QCOMPARE(endpoint.localIP(), std::string("10.99.0.1"));
}

QTEST_GUILESS_MAIN(TestUdpEndpoint)
#include "tst_udp_endpoint.moc"
