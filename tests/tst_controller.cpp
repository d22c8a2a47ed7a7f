// SPDX-License-Identifier: MIT
#include "support/hex.h"
#include "support/rig.h"
#include "ui/key_filter.h"

#include <QTest>

using namespace corvane;

Q_DECLARE_METATYPE(std::vector<std::string>)

namespace {

// The journal's lines that tell what became of a command.
const std::vector<std::string> kOutcomes = {
    "address rejected",   "unit ID rejected", "sending",         "send refused",
    "sent without reply", "resending",        "resent",          "replied",
    "resends spent",      "timed out",        "endpoint failed", "no free port"};

} // namespace

// The rules, over the recording window, socket, timer and outcomes: start-up
// and the port search, the command buttons and the checks before a send, the
// reply rule, resends, the reply timer, socket errors, and the entry fields'
// rules (the address field's question is answered in the window's own test).
class TestController : public QObject
{
    Q_OBJECT

private slots:
    // Ports from 1028 up to heldUpTo are in use, `broken` fails for another reason.
    void portSearch_data()
    {
        QTest::addColumn<int>("heldUpTo");
        QTest::addColumn<int>("broken");
        QTest::addColumn<bool>("noFreePort");
        QTest::addColumn<std::string>("shown");
        QTest::newRow("1028-2638 held: 2639 skipped") << 2638 << 0 << false << std::string("2640");
        QTest::newRow("1028-49151 held: reported, search goes on")
            << 49151 << 0 << true << std::string("49152");
        QTest::newRow("all held: gives up") << 65535 << 0 << true << std::string("65535");
        QTest::newRow("1030 broken: the search ends silently")
            << 1029 << 1030 << false << std::string("1030");
    }
    void portSearch()
    {
        QFETCH(int, heldUpTo);
        QFETCH(int, broken);
        QFETCH(bool, noFreePort);
        Rig rig(false);
        for (int port = 1028; port <= heldUpTo; ++port)
            rig.endpoint.portsInUse.insert(port);
        rig.endpoint.brokenPorts = {broken};
        rig.controller.startUp();
        QCOMPARE(rig.starting(kOutcomes),
                 noFreePort ? std::vector<std::string>{"no free port"} : std::vector<std::string>{});
        QTEST(rig.window.text(Field::LocalPort), "shown");
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
        row("mute audio", -2, "1", "0",
            "F1 01 04 31 40 53 54 0D FF 01 2A F2"); // no such caption: Still again
    }
    void buttonsSendTheirFrames()
    {
        QFETCH(int, press);
        QFETCH(QByteArray, unitId);
        QFETCH(QByteArray, clip);
        Rig rig;
        rig.window.setText(Field::UnitId, unitId.toStdString());
        rig.window.setText(Field::ClipNumber, clip.toStdString());
        rig.controller.commandPressed(Command::Still);
        rig.window.captions[press == -1 ? MuteOutput::Video : MuteOutput::Audio] = QTest::currentDataTag();
        if (press < 0)
            rig.controller.mutePressed(press == -1 ? MuteOutput::Video : MuteOutput::Audio);
        else
            rig.controller.commandPressed(Command(press));
        QTEST(ToHex(rig.lastSent()), "frame");
        QCOMPARE(rig.endpoint.sent.size(), 2u);
    }

    // To the address in the field, with the reply timer running, except for unit 127, which no unit answers.
    void sendStepsInOrder()
    {
        Rig rig;
        rig.window.setText(Field::Address, "10.99.0.7");
        rig.controller.commandPressed(Command::Play);
        rig.window.setText(Field::UnitId, "127");
        rig.controller.commandPressed(Command::Play);
        QCOMPARE(
            rig.starting({"remote host", "sending", "timer", "send", "sent"}),
            (std::vector<std::string>{"remote host 10.99.0.7", "sending", "timer start", "send",
                                      "remote host 10.99.0.7", "sending", "send", "sent without reply"}));
        QCOMPARE(rig.endpoint.sent.back().port, 2639);
    }

    void badInputsAreReportedAndNothingIsSent_data()
    {
        QTest::addColumn<QByteArray>("address");
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<std::vector<std::string>>("outcomes");
        using Lines = std::vector<std::string>;
        QTest::newRow("both bad") << QByteArray("0.0.0.0") << QByteArray("")
                                  << Lines{"address rejected", "unit ID rejected"};
        QTest::newRow("address 1.2.3") << QByteArray("1.2.3") << QByteArray("1") << Lines{"address rejected"};
        QTest::newRow("ID 128") << QByteArray("255.255.255.255") << QByteArray("128")
                                << Lines{"unit ID rejected"};
    }
    void badInputsAreReportedAndNothingIsSent()
    {
        QFETCH(QByteArray, address);
        QFETCH(QByteArray, unitId);
        Rig rig;
        rig.controller.commandPressed(Command::Play);
        rig.window.setText(Field::Address, address.toStdString());
        rig.window.setText(Field::UnitId, unitId.toStdString());
        rig.journal.lines.clear();
        rig.controller.commandPressed(Command::Pause);
        QTEST(rig.starting(kOutcomes), "outcomes");
        rig.reply("E00"); // the abandoned send emptied the frame kept for resends
        QCOMPARE(rig.endpoint.sent.size(), 1u);

        // The command is the one pressed last.
        rig.window.setText(Field::Address, "255.255.255.255");
        rig.window.setText(Field::UnitId, "1");
        rig.controller.sendCurrentCommand();
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
            QCOMPARE(rig.window.captions[MuteOutput::Video] + "|" + rig.window.captions[MuteOutput::Audio],
                     captions);
        }
    }

    void e00ResendsTheSameFrameUpToTheBound()
    {
        Rig rig;
        rig.reply("E00"); // before any send: counted, but nothing to resend
        QVERIFY(rig.endpoint.sent.empty());
        rig.controller.commandPressed(Command::Play);
        rig.reply("e00");
        for (int i = 1; i < 42; ++i)
            rig.reply("unit says E00");
        QCOMPARE(rig.endpoint.sent.size(), 42u);
        const std::vector<std::string> outcomes = rig.starting(kOutcomes);
        QCOMPARE(
            std::vector(outcomes.begin(), outcomes.begin() + 7),
            (std::vector<std::string>{"resending after E00", "resent 1", "sending", "resending after e00",
                                      "resent 1", "resending after unit says E00", "resent 2"}));
        QCOMPARE(outcomes.back(), "resends spent unit says E00"); // the 42nd
        // The next press has a bound of its own, and a resend comes before the acknowledge test.
        rig.controller.mutePressed(MuteOutput::Video);
        for (int i = 0; i < 41; ++i)
            rig.reply("E00R");
        QCOMPARE(rig.window.caption(MuteOutput::Video), "Mute Video");
        rig.reply("E00R"); // past the bound: now it acknowledges
        QCOMPARE(rig.window.caption(MuteOutput::Video), "Unmute Video");
        QCOMPARE(rig.endpoint.sent.size(), 84u);
        for (std::size_t i = 0; i < 84; ++i)
            QCOMPARE(rig.endpoint.sent[i].payload, rig.endpoint.sent[i < 42 ? 0 : 42].payload);
        QCOMPARE(rig.window.timerStarts, 2);
        QVERIFY(!rig.window.timerRunning); // stopped by the replies
        rig.reply("R");
        QCOMPARE(rig.starting(kOutcomes).back(), "replied R");
    }

    // The timeout comes once, also when the timer fires again while it is shown, and stops the timer; a
    // send or a resend the socket refuses is reported; an error event is reported, then closes the socket.
    void timeoutAndSocketErrorsAreReported()
    {
        Rig rig;
        rig.window.whileShown = [&rig] { rig.controller.replyTimerExpired(); };
        rig.controller.replyTimerExpired();
        QCOMPARE(rig.journal.lines, (std::vector<std::string>{"timed out", "timer stop"}));
        rig.controller.commandPressed(Command::Play);
        rig.endpoint.refuseSends = EndpointError{101, "Network is unreachable"};
        rig.reply("E00");
        rig.controller.commandPressed(Command::Play);
        rig.controller.endpointError({10054, "Connection reset by peer"});
        QCOMPARE(rig.starting({"send refused", "endpoint failed", "resent"}),
                 (std::vector<std::string>{"send refused: 101 Network is unreachable", "resent 1",
                                           "send refused: 101 Network is unreachable",
                                           "endpoint failed: 10054 Connection reset by peer"}));
        QCOMPARE(rig.journal.lines.back(), "close");
    }

    void muteButtonsFollowTheUnitId()
    {
        Rig rig;
        for (const char *id : {"127", "", "1a", "12"}) // emptied and pasted texts change nothing
            rig.window.setText(Field::UnitId, id);
        rig.window.enabled[MuteOutput::Audio] = false;
        rig.window.setText(Field::UnitId, "5"); // only both disabled are enabled again
        const std::vector<std::string> steps = {"disable video", "disable audio", "enable video",
                                                "enable audio"};
        QCOMPARE(rig.starting({"disable", "enable"}), steps);
    }

    void typedCharacters_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("allowed"); // of the characters 0 to 0x17F
        QTest::newRow("address field") << int(Field::Address) << QStringLiteral("0123456789.\b");
        QTest::newRow("unit ID field") << int(Field::UnitId) << QStringLiteral("0123456789\b");
        QTest::newRow("clip number field") << int(Field::ClipNumber) << QStringLiteral("0123456789\b");
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
