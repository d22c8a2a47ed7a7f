// SPDX-License-Identifier: MIT
#include "support/hex.h"
#include "support/rig.h"
#include "ui/key_filter.h"

#include <QTest>

using namespace corvane;

// The rules, over the recording window and socket: start-up and the port
// search, the command buttons and the checks before a send, the reply rule,
// resends, the reply timer, socket errors, and the entry fields' rules (the
// address field's question is answered in the window's own test).
class TestController : public QObject
{
    Q_OBJECT

private slots:
    void startUpFillsFieldsInOrder()
    {
        Rig rig(false);
        rig.controller.StartUp();
        QCOMPARE(rig.journal.lines,
                 (std::vector<std::string>{"text TeskIDtxt=1", "remote port 2639",
                                           "text BroadIPtxt=255.255.255.255", "lock BroadIPtxt",
                                           "text LocalIPtxt=10.99.0.1", "text LocalPortTxt=1028",
                                           "bound 1028", "text LocalPortTxt=1028"}));
    }

    // Ports from 1028 up to heldUpTo are in use, `broken` fails for another reason.
    void portSearch_data()
    {
        QTest::addColumn<int>("heldUpTo");
        QTest::addColumn<int>("broken");
        QTest::addColumn<bool>("noPortBox");
        QTest::addColumn<std::string>("shown");
        QTest::newRow("1028-2638 held: 2639 skipped") << 2638 << 0 << false << std::string("2640");
        QTest::newRow("1028-49151 held: box, search goes on") << 49151 << 0 << true << std::string("49152");
        QTest::newRow("all held: gives up") << 65535 << 0 << true << std::string("65535");
        QTest::newRow("1030 broken: the search ends silently")
            << 1029 << 1030 << false << std::string("1030");
    }
    void portSearch()
    {
        QFETCH(int, heldUpTo);
        QFETCH(int, broken);
        QFETCH(bool, noPortBox);
        Rig rig(false);
        for (int port = 1028; port <= heldUpTo; ++port)
            rig.endpoint.portsInUse.insert(port);
        rig.endpoint.brokenPorts = {broken};
        rig.controller.StartUp();
        QCOMPARE(rig.window.boxTexts(), noPortBox ? "Zelosock Error: No open port found!\n" : "");
        QTEST(rig.window.text(Field::LocalPortTxt), "shown");
    }

    // A press after a press of Still. Mute rows (press -1 video, -2 audio) have the button's caption as tag.
    void buttonsSendTheirFrames_data()
    {
        QTest::addColumn<int>("press");
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<QByteArray>("clip");
        QTest::addColumn<QByteArray>("frame");
        const auto row = [](const char *tag, int press, const char *id, const char *clip, const char *frame) {
            QTest::newRow(tag) << press << QByteArray(id) << QByteArray(clip) << QByteArray(frame);
        };
        row("Select Clip # 00012", 0, "1", "00012", "F1 01 04 31 40 30 30 30 31 32 53 45 0D FF 02 0E F2");
        row("Select Clip #, no clip", 0, "1", "", "F1 01 04 31 40 53 45 0D FF 01 1B F2");
        row("Play", 1, "1", "0", "F1 01 04 31 40 50 4C 0D FF 01 1F F2");
        row("Loop Play", 2, "1", "0", "F1 01 04 31 40 4C 50 0D FF 01 1F F2");
        row("Pause, ID 000", 3, "000", "0", "F1 01 04 30 30 30 40 50 41 0D FF 01 73 F2");
        row("Stop, ID 007", 5, "007", "0", "F1 01 04 30 30 37 40 52 4A 0D FF 01 85 F2");
        row("Mute Video", -1, "1", "0", "F1 01 04 31 40 30 56 44 0D FF 01 4D F2");
        row("Unmute Video", -1, "1", "0", "F1 01 04 31 40 31 56 44 0D FF 01 4E F2");
        row("Mute Audio", -2, "1", "0", "F1 01 04 31 40 30 41 44 0D FF 01 38 F2");
        row("Unmute Audio", -2, "1", "0", "F1 01 04 31 40 31 41 44 0D FF 01 39 F2");
        row("mute audio", -2, "1", "0",
            "F1 01 04 31 40 53 54 0D FF 01 2A F2"); // no such caption: Still again
    }
    void buttonsSendTheirFrames()
    {
        QFETCH(int, press);
        QFETCH(QByteArray, unitId);
        QFETCH(QByteArray, clip);
        Rig rig;
        rig.window.setText(Field::TeskIDtxt, unitId.toStdString());
        rig.window.setText(Field::ClipNumtxt, clip.toStdString());
        rig.controller.commandPressed(Command::Still);
        rig.window.captions[press == -1 ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd] =
            QTest::currentDataTag();
        if (press < 0)
            rig.controller.mutePressed(press == -1 ? MuteOutput::Video : MuteOutput::Audio);
        else
            rig.controller.commandPressed(Command(press));
        QTEST(ToHex(rig.lastSent()), "frame");
        QCOMPARE(rig.endpoint.sent.size(), 2u);
    }

    void sendStepsInOrder()
    {
        Rig rig;
        rig.window.setText(Field::BroadIPtxt, "10.99.0.7");
        rig.window.setText(Field::TeskRspTxt, "R");
        rig.controller.commandPressed(Command::Play);
        const std::vector<std::string> steps = {"remote host 10.99.0.7", "text TeskRspTxt=", "timer start",
                                                "send"};
        QCOMPARE(rig.only(steps), steps);
        QCOMPARE(rig.endpoint.sent.back().port, 2639);

        rig.window.setText(Field::TeskIDtxt, "127"); // nobody answers 127: no timer
        rig.controller.commandPressed(Command::Play);
        QCOMPARE(rig.endpoint.sent.size(), 2u);
        QCOMPARE(rig.window.timerStarts, 1);
    }

    void badInputsAreReportedAndNothingIsSent_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<int>("boxes"); // the address box first, then the ID box
        QTest::newRow("both bad") << QByteArray("0.0.0.0") << QByteArray("") << 3;
        QTest::newRow("address 1.2.3") << QByteArray("1.2.3") << QByteArray("1") << 1;
        QTest::newRow("ID 128") << QByteArray("255.255.255.255") << QByteArray("128") << 2;
    }
    void badInputsAreReportedAndNothingIsSent()
    {
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, unitId);
        QFETCH(int, boxes);
        Rig rig;
        rig.controller.commandPressed(Command::Play);
        rig.window.setText(Field::BroadIPtxt, address.toStdString());
        rig.window.setText(Field::TeskIDtxt, unitId.toStdString());
        rig.controller.commandPressed(Command::Pause);
        QCOMPARE(rig.window.boxTexts(),
                 std::string(boxes & 1 ? "Data Error: An invalid IP address was entered!\n" : "") +
                     (boxes & 2 ? "Data Error: Invalid Tesk2 ID! (0-127)\n" : ""));
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Error);
        rig.reply("E00"); // the abandoned send emptied the frame kept for resends
        QCOMPARE(rig.endpoint.sent.size(), 1u);

        // The failure left no flag behind, and the command is the one pressed last.
        rig.window.setText(Field::BroadIPtxt, "255.255.255.255");
        rig.window.setText(Field::TeskIDtxt, "1");
        rig.controller.SendCmd();
        QCOMPARE(ToHex(rig.lastSent()), QByteArray("F1 01 04 31 40 50 41 0D FF 01 14 F2"));
    }

    // Each press, the reply to it, and both mute captions after it: an "R" flips the pressed mute button's
    // caption, and nothing when another command is current.
    void acknowledgedMuteFlipsItsCaption()
    {
        Rig rig;
        const char *const steps[][3] = {
            {"video", "R", "Unmute Video|Mute Audio"}, {"video", "xRx", "Mute Video|Mute Audio"},
            {"video", "r", "Mute Video|Mute Audio"},   {"audio", "R", "Mute Video|Unmute Audio"},
            {"play", "R", "Mute Video|Unmute Audio"},  {"audio", "R", "Mute Video|Mute Audio"}};
        for (const auto &[press, reply, captions] : steps) {
            const std::string pressed = press;
            if (pressed == "play")
                rig.controller.commandPressed(Command::Play);
            else
                rig.controller.mutePressed(pressed == "video" ? MuteOutput::Video : MuteOutput::Audio);
            rig.reply(reply);
            QCOMPARE(rig.window.captions[MuteButton::VideoMuteCmd] + "|" +
                         rig.window.captions[MuteButton::AudioMuteCmd],
                     captions);
        }
    }

    void e00ResendsTheSameFrameUpToTheBound()
    {
        Rig rig;
        rig.reply("E00"); // before any send: nothing to resend
        QVERIFY(rig.endpoint.sent.empty());
        rig.controller.commandPressed(Command::Play);
        rig.reply("e00");
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "");
        for (int i = 1; i < 42; ++i)
            rig.reply("unit says E00");
        QCOMPARE(rig.endpoint.sent.size(), 42u);
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "unit says E00"); // the 42nd stays
        // The next press has a bound of its own, and a resend clears the reply before the acknowledge test.
        rig.controller.mutePressed(MuteOutput::Video);
        for (int i = 0; i < 41; ++i)
            rig.reply("E00R");
        QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), "Mute Video");
        rig.reply("E00R"); // past the bound: shown, and now it acknowledges
        QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), "Unmute Video");
        QCOMPARE(rig.endpoint.sent.size(), 84u);
        for (std::size_t i = 0; i < 84; ++i)
            QCOMPARE(rig.endpoint.sent[i].payload, rig.endpoint.sent[i < 42 ? 0 : 42].payload);
        QCOMPARE(rig.window.timerStarts, 2);
        QVERIFY(!rig.window.timerRunning); // stopped by the replies
    }

    // The timer's box comes once, also when the timer fires again while it is open, and stops the timer;
    // a send the socket refuses is reported; an error event is reported, then closes the socket.
    void timeoutAndSocketErrorsAreReported()
    {
        Rig rig;
        rig.window.whileBoxOpen = [&rig] { rig.controller.replyTimerExpired(); };
        rig.controller.replyTimerExpired();
        QCOMPARE(rig.journal.lines,
                 (std::vector<std::string>{
                     "box Timeout Error: Communications Error: Check all connections and settings!",
                     "timer stop"}));
        rig.endpoint.refuseSends = EndpointError{101, "Network is unreachable"};
        rig.controller.commandPressed(Command::Play);
        rig.controller.endpointError({10054, "Connection reset by peer"});
        QCOMPARE(rig.window.boxTexts(),
                 "Timeout Error: Communications Error: Check all connections and settings!\n"
                 "SockError: Zelosock Error: 101\r\nNetwork is unreachable\n"
                 "SockError: Zelosock Error: 10054\r\nConnection reset by peer\n");
        QCOMPARE(rig.journal.lines.back(), "close");
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
        QCOMPARE(rig.window.boxes[1].icon, BoxIcon::Error);
        QCOMPARE(rig.window.boxes[2].icon, BoxIcon::Warning);
    }

    void muteButtonsFollowTheUnitId()
    {
        Rig rig;
        for (const char *id : {"127", "", "1a", "12"}) // emptied and pasted texts change nothing
            rig.window.setText(Field::TeskIDtxt, id);
        rig.window.enabled[MuteButton::AudioMuteCmd] = false;
        rig.window.setText(Field::TeskIDtxt, "5"); // only both disabled are enabled again
        const std::vector<std::string> steps = {"disable VideoMuteCmd", "disable AudioMuteCmd",
                                                "enable VideoMuteCmd", "enable AudioMuteCmd"};
        QCOMPARE(rig.only(steps), steps);
    }

    void typedCharacters_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("allowed"); // of the characters 0 to 0x17F
        QTest::newRow("address field") << int(Field::BroadIPtxt) << QStringLiteral("0123456789.\b");
        QTest::newRow("unit ID field") << int(Field::TeskIDtxt) << QStringLiteral("0123456789\b");
        QTest::newRow("clip number field") << int(Field::ClipNumtxt) << QStringLiteral("0123456789\b");
    }
    void typedCharacters()
    {
        QFETCH(int, field);
        QFETCH(QString, allowed);
        for (char32_t c = 0; c < 0x180; ++c)
            QVERIFY2(IsTypedCharacterAllowed(Field(field), c) == allowed.contains(QChar(c)),
                     qPrintable(QString::number(c)));
    }
};

QTEST_APPLESS_MAIN(TestController)
#include "tst_controller.moc"
