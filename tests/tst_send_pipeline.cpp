#include "support/hex.h"
#include "support/rig.h"

#include <QTest>

using namespace corvane;

namespace {
const QString kBadAddress = QStringLiteral("Data Error: An invalid IP address was entered!");
const QString kBadId = QStringLiteral("Data Error: Invalid Tesk2 ID! (0-127)");

QStringList Boxes(const FakeWindow &window)
{
    QStringList shown;
    for (const auto &box : window.boxes)
        shown << QString::fromStdString(box.title + ": " + box.text);
    return shown;
}
} // namespace

// Start-up, the port search, the command buttons and the checks before a send.
class TestSendPipeline : public QObject
{
    Q_OBJECT

private slots:
    void startUpFillsFieldsInOrder()
    {
        Rig rig;
        rig.controller.StartUp();
        const std::vector<std::string> expected = {
            "text TeskIDtxt=1", "remote port 2639",          "text BroadIPtxt=255.255.255.255",
            "lock BroadIPtxt",  "text LocalIPtxt=10.99.0.1", "text LocalPortTxt=1028",
            "bound 1028",       "text LocalPortTxt=1028",
        };
        QCOMPARE(rig.journal.lines, expected);
    }

    void portSearch_data()
    {
        QTest::addColumn<int>("heldUpTo"); // ports 1028 to this one are in use
        QTest::addColumn<int>("broken");   // a port whose bind fails for another reason
        QTest::addColumn<bool>("bound");
        QTest::addColumn<QStringList>("boxes");
        const QStringList none, noPort{QStringLiteral("Zelosock Error: No open port found!")};
        QTest::newRow("1028-2638 held: 2639 skipped -> 2640") << 2638 << 0 << true << none;
        QTest::newRow("1028-49152 held: box, search goes on -> 49153") << 49152 << 0 << true << noPort;
        QTest::newRow("all held: gives up -> 65535") << 65535 << 0 << false << noPort;
        QTest::newRow("1030 broken: silent end -> 1030") << 1029 << 1030 << false << none;
    }
    void portSearch()
    {
        QFETCH(int, heldUpTo);
        QFETCH(int, broken);
        QFETCH(bool, bound);
        QFETCH(QStringList, boxes);
        Rig rig;
        for (int port = 1028; port <= heldUpTo; ++port)
            rig.endpoint.portsInUse.insert(port);
        rig.endpoint.brokenPorts = {broken};
        rig.controller.StartUp();
        QCOMPARE(Boxes(rig.window), boxes);
        QCOMPARE(rig.endpoint.bound, bound);
        const QByteArray tag(QTest::currentDataTag());
        QCOMPARE(QByteArray::fromStdString(rig.window.text(Field::LocalPortTxt)),
                 tag.mid(tag.indexOf("-> ") + 3));
    }

    // Each press after a press of Still; -1 and -2 press Mute Video and Mute Audio.
    void buttonsSendTheirFrames_data()
    {
        QTest::addColumn<int>("press");
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<QByteArray>("clip");
        QTest::addColumn<QByteArray>("caption"); // of the mute button pressed
        QTest::addColumn<QByteArray>("frame");
        const auto row = [](const char *tag, int press, const char *id, const char *clip, const char *caption,
                            const char *frame) {
            QTest::newRow(tag) << press << QByteArray(id) << QByteArray(clip) << QByteArray(caption)
                               << QByteArray(frame);
        };
        row("Select Clip # 00012", 0, "1", "00012", "", "F1 01 04 31 40 30 30 30 31 32 53 45 0D FF 02 0E F2");
        row("Select Clip #, no clip", 0, "1", "", "", "F1 01 04 31 40 53 45 0D FF 01 1B F2");
        row("Play", 1, "1", "0", "", "F1 01 04 31 40 50 4C 0D FF 01 1F F2");
        row("Loop Play", 2, "1", "0", "", "F1 01 04 31 40 4C 50 0D FF 01 1F F2");
        row("Pause, ID 000", 3, "000", "0", "", "F1 01 04 30 30 30 40 50 41 0D FF 01 73 F2");
        row("Stop, ID 007", 5, "007", "0", "", "F1 01 04 30 30 37 40 52 4A 0D FF 01 85 F2");
        row("Mute Video", -1, "1", "0", "Mute Video", "F1 01 04 31 40 30 56 44 0D FF 01 4D F2");
        row("Unmute Video", -1, "1", "0", "Unmute Video", "F1 01 04 31 40 31 56 44 0D FF 01 4E F2");
        row("Mute Audio", -2, "1", "0", "Mute Audio", "F1 01 04 31 40 30 41 44 0D FF 01 38 F2");
        row("Unmute Audio", -2, "1", "0", "Unmute Audio", "F1 01 04 31 40 31 41 44 0D FF 01 39 F2");
        row("unknown caption: Still again", -2, "1", "0", "mute audio",
            "F1 01 04 31 40 53 54 0D FF 01 2A F2");
    }
    void buttonsSendTheirFrames()
    {
        QFETCH(int, press);
        QFETCH(QByteArray, unitId);
        QFETCH(QByteArray, clip);
        QFETCH(QByteArray, caption);
        QFETCH(QByteArray, frame);
        Rig rig;
        rig.startUp();
        rig.window.setText(Field::TeskIDtxt, unitId.toStdString());
        rig.window.setText(Field::ClipNumtxt, clip.toStdString());
        rig.controller.commandPressed(Command::Still);
        if (press >= 0) {
            rig.controller.commandPressed(Command(press));
        } else {
            const auto output = press == -1 ? MuteOutput::Video : MuteOutput::Audio;
            rig.window.setCaption(press == -1 ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd,
                                  caption.toStdString());
            rig.controller.mutePressed(output);
        }
        QCOMPARE(rig.endpoint.sent.size(), 2u);
        QCOMPARE(ToHex(rig.lastSent()), frame);
        QCOMPARE(rig.endpoint.sent.back().port, 2639);
    }

    void sendStepsInOrder()
    {
        Rig rig;
        rig.startUp();
        rig.window.setText(Field::BroadIPtxt, "10.99.0.7");
        rig.window.setText(Field::TeskRspTxt, "R");
        rig.controller.commandPressed(Command::Play);
        const std::vector<std::string> steps = {"remote host 10.99.0.7", "text TeskRspTxt=", "timer start",
                                                "send"};
        QCOMPARE(rig.only(steps), steps);
        QVERIFY(rig.window.timerRunning);

        rig.window.setText(Field::TeskIDtxt, "127"); // nobody answers 127: no timer
        rig.window.timerRunning = false;
        rig.controller.commandPressed(Command::Play);
        QCOMPARE(rig.endpoint.sent.size(), 2u);
        QCOMPARE(rig.window.timerStarts, 1);
    }

    void eachSendResetsTheReplyState()
    {
        Rig rig;
        rig.startUp();
        rig.controller.commandPressed(Command::Play);
        rig.reply("E00");
        rig.reply("busy");
        rig.controller.commandPressed(Command::Play);
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "");
        QCOMPARE(rig.controller.state().RetryCount, 0);
    }

    void badInputsAreReportedAndNothingIsSent_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("both bad: address first")
            << QByteArray("0.0.0.0") << QByteArray("") << QStringList{kBadAddress, kBadId};
        QTest::newRow("address 1.2.3") << QByteArray("1.2.3") << QByteArray("1") << QStringList{kBadAddress};
        QTest::newRow("ID 128") << QByteArray("255.255.255.255") << QByteArray("128") << QStringList{kBadId};
    }
    void badInputsAreReportedAndNothingIsSent()
    {
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, unitId);
        QFETCH(QStringList, boxes);
        Rig rig;
        rig.startUp();
        rig.controller.commandPressed(Command::Play);
        rig.window.setText(Field::BroadIPtxt, address.toStdString());
        rig.window.setText(Field::TeskIDtxt, unitId.toStdString());
        rig.controller.commandPressed(Command::Pause);
        QCOMPARE(Boxes(rig.window), boxes);
        for (const auto &box : rig.window.boxes)
            QCOMPARE(box.icon, BoxIcon::Error);
        rig.reply("E00"); // the abandoned send emptied the frame kept for resends
        QCOMPARE(rig.endpoint.sent.size(), 1u);

        // The failure left no flag behind, and the command is the one pressed last.
        rig.window.setText(Field::BroadIPtxt, "255.255.255.255");
        rig.window.setText(Field::TeskIDtxt, "1");
        rig.controller.SendCmd();
        QCOMPARE(ToHex(rig.lastSent()), QByteArray("F1 01 04 31 40 50 41 0D FF 01 14 F2"));
    }

    void refusedSendIsReported()
    {
        Rig rig;
        rig.startUp();
        rig.endpoint.refuseSends = EndpointError{101, "Network is unreachable"};
        rig.controller.commandPressed(Command::Play);
        QCOMPARE(Boxes(rig.window), QStringList{"SockError: Zelosock Error: 101\r\nNetwork is unreachable"});
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Error);
    }
};

QTEST_APPLESS_MAIN(TestSendPipeline)
#include "tst_send_pipeline.moc"
