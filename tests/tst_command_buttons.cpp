#include "support/hex.h"
#include "support/rig.h"

#include <QTest>

using namespace corvane;

// A button press as the window forwards it: either a plain command or a mute toggle.
struct Press
{
    std::optional<Command> command;
    std::optional<MuteOutput> mute;
};
Q_DECLARE_METATYPE(Press)

class TestCommandButtons : public QObject
{
    Q_OBJECT

private slots:
    void eachButtonSendsItsFrame_data();
    void eachButtonSendsItsFrame();
    void unknownMuteCaptionKeepsTheCommand();
};

void TestCommandButtons::eachButtonSendsItsFrame_data()
{
    QTest::addColumn<QByteArray>("unitId");
    QTest::addColumn<QByteArray>("clip");
    QTest::addColumn<QByteArray>("caption"); // a mute button's caption, when set
    QTest::addColumn<Press>("press");
    QTest::addColumn<QByteArray>("frame");

    const auto cmd = [](Command c) { return Press{c, std::nullopt}; };
    const auto mute = [](MuteOutput o) { return Press{std::nullopt, o}; };
    // clang-format off
    QTest::newRow("Select Clip #, clip 0")     << QByteArray("1") << QByteArray("0") << QByteArray() << cmd(Command::SelectClip) << QByteArray("F1 01 04 31 40 30 53 45 0D FF 01 4B F2");
    QTest::newRow("Select Clip #, clip 00012") << QByteArray("1") << QByteArray("00012") << QByteArray() << cmd(Command::SelectClip) << QByteArray("F1 01 04 31 40 30 30 30 31 32 53 45 0D FF 02 0E F2");
    QTest::newRow("Select Clip #, no clip")    << QByteArray("1") << QByteArray("") << QByteArray() << cmd(Command::SelectClip) << QByteArray("F1 01 04 31 40 53 45 0D FF 01 1B F2");
    QTest::newRow("Play")                      << QByteArray("1") << QByteArray("0") << QByteArray() << cmd(Command::Play) << QByteArray("F1 01 04 31 40 50 4C 0D FF 01 1F F2");
    QTest::newRow("Loop Play")                 << QByteArray("1") << QByteArray("0") << QByteArray() << cmd(Command::LoopPlay) << QByteArray("F1 01 04 31 40 4C 50 0D FF 01 1F F2");
    QTest::newRow("Pause")                     << QByteArray("1") << QByteArray("0") << QByteArray() << cmd(Command::Pause) << QByteArray("F1 01 04 31 40 50 41 0D FF 01 14 F2");
    QTest::newRow("Still")                     << QByteArray("1") << QByteArray("0") << QByteArray() << cmd(Command::Still) << QByteArray("F1 01 04 31 40 53 54 0D FF 01 2A F2");
    QTest::newRow("Stop")                      << QByteArray("1") << QByteArray("0") << QByteArray() << cmd(Command::Stop) << QByteArray("F1 01 04 31 40 52 4A 0D FF 01 1F F2");
    QTest::newRow("Mute Audio")                << QByteArray("1") << QByteArray("0") << QByteArray() << mute(MuteOutput::Audio) << QByteArray("F1 01 04 31 40 30 41 44 0D FF 01 38 F2");
    QTest::newRow("Unmute Audio")              << QByteArray("1") << QByteArray("0") << QByteArray("Unmute Audio") << mute(MuteOutput::Audio) << QByteArray("F1 01 04 31 40 31 41 44 0D FF 01 39 F2");
    QTest::newRow("Mute Video")                << QByteArray("1") << QByteArray("0") << QByteArray() << mute(MuteOutput::Video) << QByteArray("F1 01 04 31 40 30 56 44 0D FF 01 4D F2");
    QTest::newRow("Unmute Video")              << QByteArray("1") << QByteArray("0") << QByteArray("Unmute Video") << mute(MuteOutput::Video) << QByteArray("F1 01 04 31 40 31 56 44 0D FF 01 4E F2");
    QTest::newRow("ID 42, Play")               << QByteArray("42") << QByteArray("0") << QByteArray() << cmd(Command::Play) << QByteArray("F1 01 04 34 32 40 50 4C 0D FF 01 54 F2");
    QTest::newRow("ID 42, Select Clip # 7")    << QByteArray("42") << QByteArray("7") << QByteArray() << cmd(Command::SelectClip) << QByteArray("F1 01 04 34 32 40 37 53 45 0D FF 01 87 F2");
    // clang-format on
}

void TestCommandButtons::eachButtonSendsItsFrame()
{
    QFETCH(QByteArray, unitId);
    QFETCH(QByteArray, clip);
    QFETCH(QByteArray, caption);
    QFETCH(Press, press);
    QFETCH(QByteArray, frame);

    Rig rig;
    rig.startUp();
    rig.window.setText(Field::TeskIDtxt, unitId.toStdString());
    rig.window.setText(Field::ClipNumtxt, clip.toStdString());
    if (press.command) {
        rig.controller.commandPressed(*press.command);
    } else {
        const MuteButton button =
            *press.mute == MuteOutput::Audio ? MuteButton::AudioMuteCmd : MuteButton::VideoMuteCmd;
        if (!caption.isEmpty())
            rig.window.setCaption(button, caption.toStdString());
        const std::string before = rig.window.caption(button);
        rig.controller.mutePressed(*press.mute);
        QCOMPARE(rig.window.caption(button), before); // a click never changes the caption
    }
    QCOMPARE(rig.endpoint.sent.size(), 1u);
    QCOMPARE(ToHex(rig.lastSent()), frame);
}

void TestCommandButtons::unknownMuteCaptionKeepsTheCommand()
{
    Rig rig;
    rig.startUp();
    rig.controller.commandPressed(Command::Still);
    rig.window.setCaption(MuteButton::AudioMuteCmd, "mute audio"); // not an exact caption
    rig.controller.mutePressed(MuteOutput::Audio);
    QCOMPARE(rig.endpoint.sent.size(), 2u);
    QCOMPARE(rig.endpoint.sent[1].payload, rig.endpoint.sent[0].payload);
}

QTEST_APPLESS_MAIN(TestCommandButtons)
#include "tst_command_buttons.moc"
