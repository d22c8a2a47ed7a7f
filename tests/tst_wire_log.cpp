// SPDX-License-Identifier: MIT
#include "net/udp_endpoint.h"
#include "support/box_answerer.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QNetworkDatagram>
#include <QPushButton>
#include <QTest>
#include <QUdpSocket>

class TestWireLog : public QObject
{
    Q_OBJECT

private slots:
    void logsEveryKindOfEvent();
};

void TestWireLog::logsEveryKindOfEvent()
{
    REQUIRE_PRIVATE_NETWORK();
    QVERIFY2(!corvane::lcWire().isDebugEnabled(), "the wire log must be off unless asked for");
    QLoggingCategory::setFilterRules(QStringLiteral("corvane.wire=true"));
    // Each line must come, as often as it is listed, by the end of the test.
    const char *play = "sent to 255.255.255.255 port 2639: F1 01 04 31 40 50 4C 0D FF 01 1F F2";
    for (const char *line : {"bound UDP port 1028", play, "reply from 10.99.0.1 port 2639: E00\\x0D", play,
                             "that was resend 1 of this command",
                             "sent to 255.255.255.255 port 2639: F1 01 04 31 40 53 54 0D FF 01 2A F2",
                             "no reply within 6000 ms"})
        QTest::ignoreMessage(QtDebugMsg, line);

    // A unit that asks once for the frame again, then never answers.
    QUdpSocket unit;
    QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
    int frames = 0;
    connect(&unit, &QUdpSocket::readyRead, &unit, [&unit, &frames] {
        const QNetworkDatagram frame = unit.receiveDatagram();
        if (++frames == 1)
            unit.writeDatagram("E00\r", frame.senderAddress(), frame.senderPort());
    });
    corvane::Main window;
    window.startUp();
    BoxAnswerer answerer;
    window.findChild<QPushButton *>(QStringLiteral("PlayCmd"))->click();
    QTRY_COMPARE(frames, 2);
    window.findChild<QPushButton *>(QStringLiteral("StillCmd"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.seen.size(), 1, 8000);
}

QTEST_MAIN(TestWireLog)
#include "tst_wire_log.moc"
