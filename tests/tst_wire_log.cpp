// SPDX-License-Identifier: MIT
#include "net/udp_endpoint.h"
#include "support/box_answerer.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QNetworkDatagram>
#include <QPushButton>
#include <QTest>
#include <QUdpSocket>

namespace {

QStringList wireLines;
QtMessageHandler otherMessages = nullptr;

void Record(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (QByteArrayView(context.category) == "corvane.wire")
        wireLines << message;
    else
        otherMessages(type, context, message);
}

} // namespace

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
    otherMessages = qInstallMessageHandler(Record);

    // A unit that asks once for the frame again, then never answers.
    QUdpSocket unit;
    QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
    connect(&unit, &QUdpSocket::readyRead, &unit, [&unit, answered = false]() mutable {
        const QNetworkDatagram frame = unit.receiveDatagram();
        if (!std::exchange(answered, true))
            unit.writeDatagram("E00\r", frame.senderAddress(), frame.senderPort());
    });
    corvane::Main window;
    window.startUp();
    BoxAnswerer answerer;
    window.findChild<QPushButton *>(QStringLiteral("PlayCmd"))->click();
    QTRY_COMPARE(wireLines.size(), 5);
    window.findChild<QPushButton *>(QStringLiteral("StillCmd"))->click();
    QTRY_COMPARE_WITH_TIMEOUT(answerer.seen.size(), 1, 8000);

    qInstallMessageHandler(otherMessages);
    const QStringList expected = {
        QStringLiteral("bound UDP port 1028"),
        QStringLiteral("sent to 255.255.255.255 port 2639: F1 01 04 31 40 50 4C 0D FF 01 1F F2"),
        QStringLiteral("reply from 10.99.0.1 port 2639: E00\\x0D"),
        QStringLiteral("sent to 255.255.255.255 port 2639: F1 01 04 31 40 50 4C 0D FF 01 1F F2"),
        QStringLiteral("that was resend 1 of this command"),
        QStringLiteral("sent to 255.255.255.255 port 2639: F1 01 04 31 40 53 54 0D FF 01 2A F2"),
        QStringLiteral("no reply within 6000 ms"),
    };
    QCOMPARE(wireLines, expected);
}

QTEST_MAIN(TestWireLog)
#include "tst_wire_log.moc"
