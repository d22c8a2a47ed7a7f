#include "support/rig.h"

#include <QTest>

using namespace corvane;

// The reply rule, resends, the reply timer and the socket's error event.
class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    // Replies to successive presses of one mute button, and the caption after each.
    void acknowledgedMuteFlipsItsCaption_data()
    {
        QTest::addColumn<bool>("audio");
        QTest::addColumn<QStringList>("repliesAndCaptions");
        QTest::newRow("video") << false
                               << QStringList{"R", "Unmute Video", "xRx", "Mute Video", "r", "Mute Video"};
        QTest::newRow("audio") << true << QStringList{"R", "Unmute Audio", "R", "Mute Audio"};
    }
    void acknowledgedMuteFlipsItsCaption()
    {
        QFETCH(bool, audio);
        QFETCH(QStringList, repliesAndCaptions);
        const MuteButton button = audio ? MuteButton::AudioMuteCmd : MuteButton::VideoMuteCmd;
        const MuteButton other = audio ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd;
        Rig rig;
        rig.startUp();
        for (int i = 0; i < repliesAndCaptions.size(); i += 2) {
            rig.controller.mutePressed(audio ? MuteOutput::Audio : MuteOutput::Video);
            rig.reply(repliesAndCaptions[i].toStdString());
            QCOMPARE(QString::fromStdString(rig.window.caption(button)), repliesAndCaptions[i + 1]);
        }
        rig.controller.commandPressed(Command::Play); // once another command is current, R flips nothing
        rig.reply("R");
        QCOMPARE(QString::fromStdString(rig.window.caption(button)), repliesAndCaptions.last());
        QCOMPARE(rig.window.caption(other), audio ? "Mute Video" : "Mute Audio");
    }

    void e00ResendsTheSameFrameUpToTheBound()
    {
        Rig rig;
        rig.startUp();
        rig.reply("E00"); // before any send: nothing to resend
        QVERIFY(rig.endpoint.sent.empty());
        for (int press = 0; press < 2; ++press) { // each press has a bound of its own
            rig.controller.commandPressed(Command::Play);
            rig.reply("e00");
            QCOMPARE(rig.window.text(Field::TeskRspTxt), "");
            for (int i = 1; i < 42; ++i)
                rig.reply("unit says E00");
            QCOMPARE(rig.endpoint.sent.size(), 42u * (press + 1));
            QCOMPARE(rig.window.text(Field::TeskRspTxt), "unit says E00"); // the 42nd stays
        }
        for (const auto &datagram : rig.endpoint.sent)
            QCOMPARE(datagram.payload, rig.endpoint.sent[0].payload);
        QCOMPARE(rig.window.timerStarts, 2);
        QVERIFY(!rig.window.timerRunning); // stopped by the replies
    }

    void resendClearsBeforeTheAcknowledgeTest()
    {
        Rig rig;
        rig.startUp();
        rig.controller.mutePressed(MuteOutput::Video);
        for (int i = 0; i < 41; ++i)
            rig.reply("E00R");
        QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), "Mute Video");
        rig.reply("E00R"); // past the bound: shown, and now it acknowledges
        QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), "Unmute Video");
    }

    void timeoutWarnsOnceThenStopsTheTimer()
    {
        Rig rig;
        rig.startUp();
        // The repeating timer fires again while its box is still open.
        rig.window.whileBoxOpen = [&rig] { rig.controller.replyTimerExpired(); };
        rig.controller.replyTimerExpired();
        const std::string box =
            "box Timeout Error: Communications Error: Check all connections and settings!";
        QCOMPARE(rig.journal.lines, (std::vector<std::string>{box, "timer stop"}));
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
    }

    void errorEventReportsThenCloses()
    {
        Rig rig;
        rig.startUp();
        rig.controller.endpointError({10054, "Connection reset by peer"});
        const std::string box = "box SockError: Zelosock Error: 10054\r\nConnection reset by peer";
        QCOMPARE(rig.journal.lines, (std::vector<std::string>{box, "close"}));
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
    }
};

QTEST_APPLESS_MAIN(TestReplies)
#include "tst_replies.moc"
