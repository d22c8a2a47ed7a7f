#include "net/port_search.h"
#include "support/rig.h"

#include <QTest>

using namespace corvane;

namespace {

void HoldPorts(FakeEndpoint &endpoint, int first, int last)
{
    for (int port = first; port <= last; ++port)
        endpoint.portsInUse.insert(port);
}

} // namespace

class TestPortSearch : public QObject
{
    Q_OBJECT

private slots:
    void takesFirstFreePort_data();
    void takesFirstFreePort();
    void dynamicRangeWarnsAndGoesOn();
    void givesUpPastTheLastPort();
    void otherBindFailureEndsSilently();
    void closeSockClosesOnlyAnOpenSocket();
};

void TestPortSearch::takesFirstFreePort_data()
{
    QTest::addColumn<int>("heldUpTo"); // ports 1028..heldUpTo are in use; 0: none
    QTest::addColumn<int>("bound");

    QTest::newRow("1028 free") << 0 << 1028;
    QTest::newRow("1028-1030 held") << 1030 << 1031;
    QTest::newRow("1028-2638 held: 2639 skipped") << 2638 << 2640; // 2639 is free here, yet never taken
    QTest::newRow("1028-2640 held") << 2640 << 2641;
}

void TestPortSearch::takesFirstFreePort()
{
    QFETCH(int, heldUpTo);
    QFETCH(int, bound);

    Rig rig;
    if (heldUpTo)
        HoldPorts(rig.endpoint, 1028, heldUpTo);
    rig.controller.StartUp();

    QVERIFY(rig.endpoint.bound);
    QCOMPARE(rig.endpoint.localPort(), bound);
    QCOMPARE(rig.window.text(Field::LocalPortTxt), std::to_string(bound));
    QCOMPARE(rig.controller.state().PortNum, bound);
    QCOMPARE(rig.endpoint.bindAttempts.back(), bound); // the search stops at the first success
    QVERIFY(rig.window.boxes.empty());
}

void TestPortSearch::dynamicRangeWarnsAndGoesOn()
{
    Rig rig;
    HoldPorts(rig.endpoint, 1028, 49152);
    rig.controller.StartUp();

    QCOMPARE(rig.window.boxTexts(), std::vector<std::string>{"Zelosock Error: No open port found!"});
    QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Error);
    QVERIFY(rig.endpoint.bound);
    QCOMPARE(rig.window.text(Field::LocalPortTxt), std::string("49153"));
}

void TestPortSearch::givesUpPastTheLastPort()
{
    Rig rig;
    HoldPorts(rig.endpoint, 1028, 65535);
    rig.controller.StartUp();

    QCOMPARE(rig.window.boxes.size(), 1u);
    QVERIFY(!rig.endpoint.bound);
    QCOMPARE(rig.endpoint.bindAttempts.back(), 65535);
    QCOMPARE(rig.window.text(Field::LocalPortTxt), std::string("65535"));
}

void TestPortSearch::otherBindFailureEndsSilently()
{
    Rig rig;
    HoldPorts(rig.endpoint, 1028, 1029);
    rig.endpoint.brokenPorts = {1030};
    rig.controller.StartUp();

    QVERIFY(rig.window.boxes.empty());
    QVERIFY(!rig.endpoint.bound);
    QCOMPARE(rig.endpoint.bindAttempts.back(), 1030);
    QCOMPARE(rig.window.text(Field::LocalPortTxt), std::string("1030"));
}

void TestPortSearch::closeSockClosesOnlyAnOpenSocket()
{
    Journal journal;
    FakeEndpoint endpoint(journal);
    CloseSock(endpoint);
    QVERIFY(journal.lines.empty());

    endpoint.setLocalPort(1028);
    endpoint.bind();
    CloseSock(endpoint);
    QVERIFY(endpoint.isClosed());
    QCOMPARE(journal.lines.back(), std::string("close"));
}

QTEST_APPLESS_MAIN(TestPortSearch)
#include "tst_port_search.moc"
