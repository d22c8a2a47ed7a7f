#include "support/rig.h"
#include "ui/key_filter.h"

#include <QTest>

using namespace corvane;

// The rules of the entry fields: mute buttons by unit ID, the locked address, typed characters.
class TestFieldRules : public QObject
{
    Q_OBJECT

private slots:
    void muteButtonsFollowTheUnitId()
    {
        Rig rig;
        rig.startUp();
        for (const char *id : {"127", "", "1a", "12"}) // emptied and pasted texts change nothing
            rig.window.setText(Field::TeskIDtxt, id);
        rig.window.enabled[MuteButton::AudioMuteCmd] = false;
        rig.window.setText(Field::TeskIDtxt, "5"); // only both disabled are enabled again
        const std::vector<std::string> steps = {"disable VideoMuteCmd", "disable AudioMuteCmd",
                                                "enable VideoMuteCmd", "enable AudioMuteCmd"};
        QCOMPARE(rig.only(steps), steps);
    }

    void addressFieldAsksBeforeUnlocking()
    {
        Rig rig;
        rig.startUp();
        rig.window.answers = {BoxResult::No, BoxResult::No, BoxResult::Yes};
        for (int click = 0; click < 4; ++click)
            rig.controller.addressFieldClicked();
        const std::string box =
            "box Broadcast IP Address: Are you sure you want to change the broadcast IP address?";
        QCOMPARE(rig.journal.lines,
                 (std::vector<std::string>{box, box, box, "unlock BroadIPtxt", "focus BroadIPtxt"}));
        QCOMPARE(rig.window.boxes[0].icon, BoxIcon::Question);
        QCOMPARE(rig.window.boxes[0].buttons, BoxButtons::YesNo);
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

QTEST_APPLESS_MAIN(TestFieldRules)
#include "tst_field_rules.moc"
