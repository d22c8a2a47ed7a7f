#include "support/rig.h"

#include <QTest>

using namespace corvane;

// The reply rule, resends, the reply timer and the socket's error event.
class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    void replyIsShownAndStopsTheTimer()
    {
        Rig rig;
        rig.startUp();
        rig.controller.commandPressed(Command::Play);
        rig.reply("OK");
        QVERIFY(!rig.window.timerRunning);
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "OK");
    }

    // Presses of one mute button with the replies to each; the captions it shows after each reply.
    void acknowledgedMuteFlipsItsCaption_data()
    {
        QTest::addColumn<bool>("audio");
        QTest::addColumn<QStringList>("replies");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("video: R, xRx")
            << false << QStringList{"R", "xRx"} << QStringList{"Unmute Video", "Mute Video"};
        QTest::newRow("audio: R, R") << true << QStringList{"R", "R"}
                                     << QStringList{"Unmute Audio", "Mute Audio"};
        QTest::newRow("video: lower-case r") << false << QStringList{"r"} << QStringList{"Mute Video"};
    }
    void acknowledgedMuteFlipsItsCaption()
    {
        QFETCH(bool, audio);
        QFETCH(QStringList, replies);
        QFETCH(QStringList, captions);
        const MuteButton button = audio ? MuteButton::AudioMuteCmd : MuteButton::VideoMuteCmd;
        Rig rig;
        rig.startUp();
        for (int i = 0; i < replies.size(); ++i) {
            rig.controller.mutePressed(audio ? MuteOutput::Audio : MuteOutput::Video);
            rig.reply(replies[i].toStdString());
            QCOMPARE(QString::fromStdString(rig.window.caption(button)), captions[i]);
        }
        const MuteButton other = audio ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd;
        QCOMPARE(rig.window.caption(other), audio ? "Mute Video" : "Mute Audio");

        // Once another command is current, an R touches no caption.
        rig.controller.commandPressed(Command::Play);
        rig.reply("R");
        QCOMPARE(QString::fromStdString(rig.window.caption(button)), captions.last());
        QCOMPARE(rig.window.caption(other), audio ? "Mute Video" : "Mute Audio");
    }

    void e00ResendsTheSameFrameUpToTheBound()
    {
        Rig rig;
        rig.startUp();
        rig.controller.commandPressed(Command::Play);
        rig.reply("e00");
        QCOMPARE(rig.endpoint.sent.size(), 2u);
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "");
        for (int i = 1; i < 42; ++i)
            rig.reply("unit says E00");
        QCOMPARE(rig.endpoint.sent.size(), 42u);
        for (const auto &datagram : rig.endpoint.sent)
            QCOMPARE(datagram.payload, rig.endpoint.sent[0].payload);
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "unit says E00"); // the 42nd stays
        QCOMPARE(rig.window.timerStarts, 1);
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

    void resendBeforeAnySendSendsNothing()
    {
        Rig rig;
        rig.startUp();
        rig.reply("E00");
        QVERIFY(rig.endpoint.sent.empty());
        QCOMPARE(rig.window.text(Field::TeskRspTxt), "");
    }

    void timeoutWarnsOnceThenStopsTheTimer()
    {
        Rig rig;
        rig.startUp();
        rig.controller.commandPressed(Command::Play);
        // The repeating timer fires again while its box is still open.
        rig.window.whileBoxOpen = [&rig] { rig.controller.replyTimerExpired(); };
        rig.controller.replyTimerExpired();
        const std::string box =
            "box Timeout Error: Communications Error: Check all connections and settings!";
        QCOMPARE(rig.only({box, "timer stop"}), (std::vector<std::string>{box, "timer stop"}));
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
        QCOMPARE(rig.endpoint.sent.size(), 1u);
    }

    void errorEventReportsThenCloses()
    {
        Rig rig;
        rig.startUp();
        rig.controller.endpointError(10054, "Connection reset by peer");
        const std::string box = "box SockError: Zelosock Error: 10054\r\nConnection reset by peer";
        QCOMPARE(rig.only({box, "close"}), (std::vector<std::string>{box, "close"}));
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
    }
};

QTEST_APPLESS_MAIN(TestReplies)
#include "tst_replies.moc"
