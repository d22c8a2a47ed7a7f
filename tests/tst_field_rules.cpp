#include "support/rig.h"
#include "ui/key_filter.h"

#include <QTest>

using namespace corvane;

// The rules of the entry fields: mute buttons by unit ID, the locked address, typed characters.
class TestFieldRules : public QObject
{
    Q_OBJECT

private slots:
    // Successive texts of the ID field, typed with both buttons enabled or with audio disabled.
    void muteButtonsFollowTheUnitId_data()
    {
        QTest::addColumn<QStringList>("typed");
        QTest::addColumn<bool>("audioOff");
        QTest::addColumn<QStringList>("steps"); // enable/disable, in order
        const QStringList off{"disable VideoMuteCmd", "disable AudioMuteCmd"};
        QTest::newRow("127 disables video, then audio") << QStringList{"127"} << false << off;
        QTest::newRow("12 after 127 enables both")
            << QStringList{"127", "12"} << false
            << off + QStringList{"enable VideoMuteCmd", "enable AudioMuteCmd"};
        QTest::newRow("emptied or pasted text after 127") << QStringList{"127", "", "1a"} << false << off;
        QTest::newRow("5 with only audio disabled") << QStringList{"5"} << true << QStringList{};
    }
    void muteButtonsFollowTheUnitId()
    {
        QFETCH(QStringList, typed);
        QFETCH(bool, audioOff);
        QFETCH(QStringList, steps);
        Rig rig;
        rig.startUp();
        rig.window.enabled[MuteButton::AudioMuteCmd] = !audioOff;
        for (const QString &text : typed)
            rig.window.setText(Field::TeskIDtxt, text.toStdString());
        QStringList done;
        for (const std::string &line : rig.journal.lines)
            if (line.find("able ") != std::string::npos)
                done << QString::fromStdString(line);
        QCOMPARE(done, steps);
    }

    void addressFieldAsksBeforeUnlocking()
    {
        Rig rig;
        rig.startUp();
        rig.window.answers = {BoxNo, BoxNo, BoxYes};
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
