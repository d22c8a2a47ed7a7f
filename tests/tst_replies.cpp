#include "support/hex.h"
#include "support/rig.h"

#include <QTest>

using namespace corvane;

namespace {
const std::string kTimeoutBox = "Timeout Error: Communications Error: Check all connections and settings!";
} // namespace

class TestReplies : public QObject
{
    Q_OBJECT

private slots:
    void replyIsShownAndStopsTheTimer();
    void acknowledgedMuteFlipsItsCaption_data();
    void acknowledgedMuteFlipsItsCaption();
    void onlyAnUpperCaseRAcknowledges();
    void e00ResendsTheSameFrameUpToTheBound();
    void resendClearsBeforeTheAcknowledgeTest();
    void resendWithNothingSentCountsButSendsNothing();
    void replyDuringAnAbandonedSendsBox();
    void timeoutWarnsOnceAndStopsTheTimer();
    void replyAfterTheTimeoutIsHandled();
};

void TestReplies::replyIsShownAndStopsTheTimer()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);
    QVERIFY(rig.window.timerRunning);

    const std::string withNulAndHighByte("OK\0\xE9", 4);
    rig.reply(withNulAndHighByte);
    QVERIFY(!rig.window.timerRunning);
    QCOMPARE(rig.window.text(Field::TeskRspTxt), withNulAndHighByte);
    rig.reply("second");
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string("second"));
}

void TestReplies::acknowledgedMuteFlipsItsCaption_data()
{
    QTest::addColumn<bool>("audio");
    QTest::addColumn<QByteArray>("muteFrame");
    QTest::addColumn<QByteArray>("unmuteFrame");

    QTest::newRow("video: 0VD, R, 1VD, R") << false << QByteArray("F1 01 04 31 40 30 56 44 0D FF 01 4D F2")
                                           << QByteArray("F1 01 04 31 40 31 56 44 0D FF 01 4E F2");
    QTest::newRow("audio: 0AD, R, 1AD, R") << true << QByteArray("F1 01 04 31 40 30 41 44 0D FF 01 38 F2")
                                           << QByteArray("F1 01 04 31 40 31 41 44 0D FF 01 39 F2");
}

void TestReplies::acknowledgedMuteFlipsItsCaption()
{
    QFETCH(bool, audio);
    QFETCH(QByteArray, muteFrame);
    QFETCH(QByteArray, unmuteFrame);
    const MuteOutput output = audio ? MuteOutput::Audio : MuteOutput::Video;
    const MuteButton button = audio ? MuteButton::AudioMuteCmd : MuteButton::VideoMuteCmd;
    const MuteButton other = audio ? MuteButton::VideoMuteCmd : MuteButton::AudioMuteCmd;
    const std::string mute = audio ? "Mute Audio" : "Mute Video";
    const std::string unmute = audio ? "Unmute Audio" : "Unmute Video";

    Rig rig;
    rig.startUp();
    rig.controller.mutePressed(output);
    QCOMPARE(ToHex(rig.lastSent()), muteFrame);
    QCOMPARE(rig.window.caption(button), mute); // a press alone changes nothing
    rig.controller.mutePressed(output);
    QCOMPARE(ToHex(rig.lastSent()), muteFrame);

    rig.reply("R");
    QCOMPARE(rig.window.caption(button), unmute);
    QCOMPARE(rig.window.caption(other), std::string(audio ? "Mute Video" : "Mute Audio"));

    rig.controller.mutePressed(output);
    QCOMPARE(ToHex(rig.lastSent()), unmuteFrame);
    rig.reply("xRx");
    QCOMPARE(rig.window.caption(button), mute);

    // Once another command is current, an R no longer touches the caption.
    rig.controller.mutePressed(output);
    rig.controller.commandPressed(Command::Play);
    rig.reply("R");
    QCOMPARE(rig.window.caption(button), mute);
}

void TestReplies::onlyAnUpperCaseRAcknowledges()
{
    Rig rig;
    rig.startUp();
    rig.controller.mutePressed(MuteOutput::Video);
    rig.reply("r");
    QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), std::string("Mute Video"));
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string("r"));
    QCOMPARE(rig.endpoint.sent.size(), 1u);
}

void TestReplies::e00ResendsTheSameFrameUpToTheBound()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);
    const std::string frame = rig.lastSent();

    rig.reply("e00");
    QCOMPARE(rig.endpoint.sent.size(), 2u);
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string());
    for (int i = 1; i < 42; ++i)
        rig.reply("unit says E00");

    QCOMPARE(rig.endpoint.sent.size(), 1u + 41u);
    for (const auto &datagram : rig.endpoint.sent)
        QCOMPARE(ToHex(datagram.payload), ToHex(frame));
    QCOMPARE(rig.controller.state().RetryCount, 41);
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string("unit says E00")); // the 42nd stays
    QCOMPARE(rig.window.timerStarts, 1); // resends do not restart the timer
}

void TestReplies::resendClearsBeforeTheAcknowledgeTest()
{
    Rig rig;
    rig.startUp();
    rig.controller.mutePressed(MuteOutput::Video);
    for (int i = 0; i < 41; ++i) {
        rig.reply("E00R");
        QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), std::string("Mute Video"));
    }
    QCOMPARE(rig.endpoint.sent.size(), 42u);

    rig.reply("E00R"); // past the bound: shown, and now it acknowledges
    QCOMPARE(rig.endpoint.sent.size(), 42u);
    QCOMPARE(rig.window.caption(MuteButton::VideoMuteCmd), std::string("Unmute Video"));
}

void TestReplies::resendWithNothingSentCountsButSendsNothing()
{
    Rig rig;
    rig.startUp();
    rig.reply("E00"); // before any send
    QVERIFY(rig.endpoint.sent.empty());
    QCOMPARE(rig.controller.state().RetryCount, 1);
    QCOMPARE(rig.window.text(Field::TeskRspTxt), std::string());
}

void TestReplies::replyDuringAnAbandonedSendsBox()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);
    rig.window.setText(Field::TeskIDtxt, "");
    // The unit's E00 arrives while the operator reads the "Data Error" box.
    rig.window.whileBoxOpen = [&rig] { rig.reply("E00"); };
    rig.controller.commandPressed(Command::Play);

    QCOMPARE(rig.window.boxes.size(), 1u);
    QCOMPARE(rig.endpoint.sent.size(), 1u); // LastPacket was already empty
    QCOMPARE(rig.controller.state().RetryCount, 1);
    QCOMPARE(rig.controller.state().ErrFlag, 0);
}

void TestReplies::timeoutWarnsOnceAndStopsTheTimer()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Play);
    // The repeating timer fires again while its box is still open.
    rig.window.whileBoxOpen = [&rig] { rig.controller.replyTimerExpired(); };
    rig.controller.replyTimerExpired();

    QCOMPARE(rig.window.boxTexts(), std::vector<std::string>{kTimeoutBox});
    QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Warning);
    QVERIFY(!rig.window.timerRunning);
    QVERIFY(rig.indexOf("box " + kTimeoutBox) < rig.indexOf("timer stop"));
    QCOMPARE(rig.endpoint.sent.size(), 1u); // nothing is resent on a timeout

    rig.controller.replyTimerExpired(); // a later expiry warns again
    QCOMPARE(rig.window.boxes.size(), 2u);
}

void TestReplies::replyAfterTheTimeoutIsHandled()
{
    Rig rig;
    rig.startUp();
    rig.controller.mutePressed(MuteOutput::Audio);
    rig.window.whileBoxOpen = [&rig] { rig.reply("R"); };
    rig.controller.replyTimerExpired();
    QCOMPARE(rig.window.caption(MuteButton::AudioMuteCmd), std::string("Unmute Audio"));

    rig.reply("E00");
    QCOMPARE(rig.endpoint.sent.size(), 2u);
}

QTEST_APPLESS_MAIN(TestReplies)
#include "tst_replies.moc"
