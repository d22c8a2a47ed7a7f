#include "support/rig.h"
#include "ui/key_filter.h"

#include <QTest>

using namespace corvane;

class TestFieldRules : public QObject
{
    Q_OBJECT

private slots:
    void muteButtonsFollowTheUnitId_data();
    void muteButtonsFollowTheUnitId();
    void onlyBothDisabledAreEnabledAgain();
    void addressFieldAsksBeforeUnlocking();
    void typedCharacters_data();
    void typedCharacters();
};

void TestFieldRules::muteButtonsFollowTheUnitId_data()
{
    QTest::addColumn<QStringList>("typed"); // successive texts of the ID field
    QTest::addColumn<bool>("enabled");

    QTest::newRow("127 disables") << QStringList{"127"} << false;
    QTest::newRow("12 after 127 enables") << QStringList{"127", "12"} << true;
    QTest::newRow("emptied after 127 stays disabled") << QStringList{"127", ""} << false;
    QTest::newRow("pasted text after 127 is ignored") << QStringList{"127", "1a"} << false;
    QTest::newRow("007 after 127 enables") << QStringList{"127", "007"} << true;
    QTest::newRow("0 keeps them enabled") << QStringList{"0"} << true;
}

void TestFieldRules::muteButtonsFollowTheUnitId()
{
    QFETCH(QStringList, typed);
    QFETCH(bool, enabled);

    Rig rig;
    rig.startUp();
    for (const QString &text : typed)
        rig.window.setText(Field::TeskIDtxt, text.toStdString());
    QCOMPARE(rig.window.isEnabled(MuteButton::VideoMuteCmd), enabled);
    QCOMPARE(rig.window.isEnabled(MuteButton::AudioMuteCmd), enabled);
    const int video = rig.indexOf(enabled ? "enable VideoMuteCmd" : "disable VideoMuteCmd");
    const int audio = rig.indexOf(enabled ? "enable AudioMuteCmd" : "disable AudioMuteCmd");
    QVERIFY2(video <= audio, "video first, then audio");
}

void TestFieldRules::onlyBothDisabledAreEnabledAgain()
{
    Rig rig;
    rig.startUp();
    rig.window.setEnabled(MuteButton::AudioMuteCmd, false);
    rig.window.setText(Field::TeskIDtxt, "5");
    QVERIFY(rig.window.isEnabled(MuteButton::VideoMuteCmd));
    QVERIFY(!rig.window.isEnabled(MuteButton::AudioMuteCmd));
}

void TestFieldRules::addressFieldAsksBeforeUnlocking()
{
    Rig rig;
    rig.startUp();
    const std::string question =
        "Broadcast IP Address: Are you sure you want to change the broadcast IP address?";

    rig.window.answers = {BoxResult::No, BoxResult::No};
    rig.controller.addressFieldClicked();
    rig.controller.addressFieldClicked();
    QCOMPARE(rig.window.boxTexts(), (std::vector<std::string>{question, question}));
    QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Question);
    QCOMPARE(rig.window.boxes[0].buttons, BoxButtons::YesNo);
    QVERIFY(rig.window.isLocked(Field::BroadIPtxt));
    QVERIFY(rig.window.focused != Field::BroadIPtxt);

    rig.window.answers = {BoxResult::Yes};
    rig.controller.addressFieldClicked();
    QVERIFY(!rig.window.isLocked(Field::BroadIPtxt));
    QCOMPARE(rig.window.focused, Field::BroadIPtxt);

    rig.controller.addressFieldClicked(); // unlocked for good: no more questions
    QCOMPARE(rig.window.boxes.size(), 3u);
}

void TestFieldRules::typedCharacters_data()
{
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("allowed");

    // Every character from 0 to 255 not listed here must be refused.
    const QString digits = QStringLiteral("0123456789\b");
    QTest::newRow("address field") << int(Field::BroadIPtxt) << digits + QLatin1Char('.');
    QTest::newRow("unit ID field") << int(Field::TeskIDtxt) << digits;
    QTest::newRow("clip number field") << int(Field::ClipNumtxt) << digits;
}

void TestFieldRules::typedCharacters()
{
    QFETCH(int, field);
    QFETCH(QString, allowed);
    for (char32_t c = 0; c < 0x180; ++c) {
        const bool expected = c < 0x100 && allowed.contains(QChar(c));
        QVERIFY2(IsTypedCharacterAllowed(Field(field), c) == expected,
                 qPrintable(QStringLiteral("character %1").arg(int(c))));
    }
}

QTEST_APPLESS_MAIN(TestFieldRules)
#include "tst_field_rules.moc"
