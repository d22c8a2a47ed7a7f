#include "support/hex.h"
#include "support/rig.h"

#include <QTest>

using namespace corvane;

namespace {
const std::string kPlayFrameId1 = FromHex("F1 01 04 31 40 50 4C 0D FF 01 1F F2");
const std::string kBadAddressBox = "Data Error: An invalid IP address was entered!";
const std::string kBadIdBox = "Data Error: Invalid Tesk2 ID! (0-127)";
} // namespace

class TestSendPipeline : public QObject
{
    Q_OBJECT

private slots:
    void startUpFillsFieldsInOrder();
    void playSendsOneFrameToTheAddressShown();
    void stepsRunInOrder();
    void unit127IsNotAwaited();
    void eachPressSendsAndResets();
    void badInputsAreReportedAndNothingIsSent_data();
    void badInputsAreReportedAndNothingIsSent();
    void abandonedSendLeavesReplyStateAlone();
    void refusedSendIsReportedAndTheProgramGoesOn();
    void errorEventReportsThenClosesForGood();
};

void TestSendPipeline::startUpFillsFieldsInOrder()
{
    Rig rig;
    rig.controller.StartUp();
    const std::vector<std::string> expected = {
        "text TeskIDtxt=1", "remote port 2639",          "text BroadIPtxt=255.255.255.255",
        "lock BroadIPtxt",  "text LocalIPtxt=10.99.0.1", "text LocalPortTxt=1028",
        "bound 1028",       "text LocalPortTxt=1028",
    };
    QCOMPARE(rig.journal.lines, expected);
    QCOMPARE(rig.controller.state().PortNum, 1028);
    QVERIFY(rig.window.boxes.empty());
}

void TestSendPipeline::playSendsOneFrameToTheAddressShown()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);

    QCOMPARE(rig.endpoint.sent.size(), 1u);
    QCOMPARE(rig.endpoint.sent[0].host, std::string("255.255.255.255"));
    QCOMPARE(rig.endpoint.sent[0].port, 2639);
    QCOMPARE(ToHex(rig.endpoint.sent[0].payload), ToHex(kPlayFrameId1));
    QCOMPARE(rig.controller.state().LastPacket, kPlayFrameId1);
    QCOMPARE(rig.controller.state().IDString, std::string("1"));
    QVERIFY(rig.window.timerRunning);
    QVERIFY(rig.window.boxes.empty());

    // The address is read again at every send.
    rig.window.setText(Field::BroadIPtxt, "10.99.0.7");
    rig.controller.commandPressed(Command::Play);
    QCOMPARE(rig.endpoint.sent.back().host, std::string("10.99.0.7"));
}

void TestSendPipeline::stepsRunInOrder()
{
    Rig rig;
    rig.startUp();
    rig.window.setText(Field::TeskRspTxt, "R");
    rig.journal.lines.clear();
    rig.controller.commandPressed(Command::Play);

    const int host = rig.indexOf("remote host 255.255.255.255");
    const int cleared = rig.indexOf("text TeskRspTxt=");
    const int timer = rig.indexOf("timer start");
    const int send = rig.indexOf("send");
    QVERIFY(host >= 0);
    QVERIFY2(host < cleared && cleared < timer && timer < send, "destination, clear reply, timer, send");
}

void TestSendPipeline::unit127IsNotAwaited()
{
    Rig rig;
    rig.startUp();
    rig.window.setText(Field::TeskIDtxt, "127");
    rig.controller.commandPressed(Command::Stop);

    QCOMPARE(ToHex(rig.lastSent()), QByteArray("F1 01 04 31 32 37 40 52 4A 0D FF 01 88 F2"));
    QCOMPARE(rig.window.timerStarts, 0);
}

void TestSendPipeline::eachPressSendsAndResets()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);
    rig.reply("E00");
    rig.reply("busy");
    QCOMPARE(rig.controller.state().RetryCount, 1);

    rig.controller.commandPressed(Command::Play);
    QCOMPARE(rig.endpoint.sent.size(), 3u); // two presses and one resend
    QCOMPARE(rig.controller.state().RetryCount, 0);
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string());
    QCOMPARE(rig.window.timerStarts, 2);
}

void TestSendPipeline::badInputsAreReportedAndNothingIsSent_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QByteArray>("unitId");
    QTest::addColumn<QStringList>("boxes");

    const QString address = QString::fromStdString(kBadAddressBox);
    const QString id = QString::fromStdString(kBadIdBox);
    QTest::newRow("both bad: address first, then ID")
        << QByteArray("0.0.0.0") << QByteArray("") << QStringList{address, id};
    QTest::newRow("address 1.2.3") << QByteArray("1.2.3") << QByteArray("1") << QStringList{address};
    QTest::newRow("empty ID") << QByteArray("255.255.255.255") << QByteArray("") << QStringList{id};
    QTest::newRow("ID 128") << QByteArray("255.255.255.255") << QByteArray("128") << QStringList{id};
}

void TestSendPipeline::badInputsAreReportedAndNothingIsSent()
{
    QFETCH(QByteArray, address);
    QFETCH(QByteArray, unitId);
    QFETCH(QStringList, boxes);

    Rig rig;
    rig.startUp();
    rig.window.setText(Field::BroadIPtxt, address.toStdString());
    rig.window.setText(Field::TeskIDtxt, unitId.toStdString());
    rig.controller.commandPressed(Command::Pause);

    QStringList shown;
    for (const std::string &text : rig.window.boxTexts())
        shown << QString::fromStdString(text);
    QCOMPARE(shown, boxes);
    for (const auto &box : rig.window.boxes) {
        QCOMPARE(box.icon, BoxIcon::Error);
        QCOMPARE(box.buttons, BoxButtons::Ok);
    }
    QVERIFY(rig.endpoint.sent.empty());
    QCOMPARE(rig.controller.state().ErrFlag, 0);
    QCOMPARE(rig.controller.state().LastPacket, std::string());
    QCOMPARE(rig.controller.state().CurrentCmd, std::string("PA\r")); // kept for the reply rule

    // The next good send goes through: the failure left no flag behind.
    rig.window.setText(Field::BroadIPtxt, "255.255.255.255");
    rig.window.setText(Field::TeskIDtxt, "1");
    rig.controller.commandPressed(Command::Play);
    QCOMPARE(rig.endpoint.sent.size(), 1u);
}

void TestSendPipeline::abandonedSendLeavesReplyStateAlone()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);
    rig.reply("E00");
    rig.reply("OK");
    rig.window.timerRunning = true;
    rig.journal.lines.clear();

    rig.window.setText(Field::TeskIDtxt, "");
    rig.controller.commandPressed(Command::Play);

    QCOMPARE(rig.endpoint.sent.size(), 2u); // the press and the resend before it
    QCOMPARE(rig.controller.state().LastPacket, std::string());
    QCOMPARE(rig.controller.state().RetryCount, 1);
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string("OK"));
    QVERIFY(rig.window.timerRunning);
    QCOMPARE(rig.indexOf("timer stop"), -1);
}

void TestSendPipeline::refusedSendIsReportedAndTheProgramGoesOn()
{
    Rig rig;
    rig.startUp();
    rig.endpoint.refuseSends = EndpointError{101, "Network is unreachable"};
    rig.controller.commandPressed(Command::Play);

    QCOMPARE(rig.window.boxes.size(), 1u);
    QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Error);
    QCOMPARE(rig.window.boxTexts()[0],
             std::string("SockError: Zelosock Error: 101\r\nNetwork is unreachable"));
    QVERIFY(rig.endpoint.bound); // a refused send does not close the socket

    rig.endpoint.refuseSends.reset();
    rig.controller.commandPressed(Command::Play);
    QCOMPARE(rig.endpoint.sent.size(), 1u);
}

void TestSendPipeline::errorEventReportsThenClosesForGood()
{
    Rig rig;
    rig.startUp();
    rig.controller.endpointError({10054, "Connection reset by peer"});

    QCOMPARE(rig.window.boxes.size(), 1u);
    QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
    QCOMPARE(rig.window.boxTexts()[0],
             std::string("SockError: Zelosock Error: 10054\r\nConnection reset by peer"));
    QVERIFY(rig.indexOf("box SockError: Zelosock Error: 10054\r\nConnection reset by peer") <
            rig.indexOf("close"));
    QVERIFY(!rig.endpoint.bound);
    QVERIFY(rig.endpoint.bindAttempts.size() == 1); // only start-up's bind, never again
}

QTEST_APPLESS_MAIN(TestSendPipeline)
#include "tst_send_pipeline.moc"
