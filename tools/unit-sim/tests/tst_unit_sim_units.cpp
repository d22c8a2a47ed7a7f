// What simulated units do with the frames they get: which unit acts, what
// changes, what is answered, and how rehearsed faults change the answer.

#include "protocol/command_frame.h"
#include "protocol/reply_text.h"
#include "simulator.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane::unitsim;

namespace {

std::string Frame(const char *id, const char *command) { return corvane::CommandFrame(id, command); }

QByteArray Reply(const Exchange &exchange)
{
    return exchange.reply ? QByteArray::fromStdString(*exchange.reply) : QByteArray("(none)");
}

bool Untouched(const UnitState *unit)
{
    return unit->clip.empty() && unit->mode == PlayMode::Stopped && unit->audioOn && unit->videoOn;
}

} // namespace

class TestUnitSimUnits : public QObject
{
    Q_OBJECT

private slots:
    void commandsChangeOnlyTheAddressedUnit();
    void zeroPaddedIdNamesTheSameUnit();
    void idForEveryUnitMovesAllAndNoneAnswers();
    void otherIdsAreIgnored();
    void unknownCommandsGetNeitherAcknowledgeNorResend_data();
    void unknownCommandsGetNeitherAcknowledgeNorResend();
    void damagedFramesAreAskedForAgain();
    void rehearsedFaultsChangeTheReply();
};

void TestUnitSimUnits::commandsChangeOnlyTheAddressedUnit()
{
    struct Step
    {
        const char *command;
        const char *clip;
        PlayMode mode;
        bool audio, video;
        std::vector<std::string> changes;
    };
    const Step steps[] = {
        {"12SE\r", "12", PlayMode::Stopped, true, true, {"clip \"\" -> \"12\""}},
        {"PL\r", "12", PlayMode::Playing, true, true, {"mode stopped -> playing"}},
        {"LP\r", "12", PlayMode::Looping, true, true, {"mode playing -> looping"}},
        {"PA\r", "12", PlayMode::Paused, true, true, {"mode looping -> paused"}},
        {"ST\r", "12", PlayMode::Still, true, true, {"mode paused -> still"}},
        {"0AD\r", "12", PlayMode::Still, false, true, {"audio on -> off"}},
        {"0VD\r", "12", PlayMode::Still, false, false, {"video on -> off"}},
        {"1AD\r", "12", PlayMode::Still, true, false, {"audio off -> on"}},
        {"RJ\r", "12", PlayMode::Stopped, true, false, {"mode still -> stopped"}},
        {"PL\r", "12", PlayMode::Playing, true, false, {"mode stopped -> playing"}},
        {"SE\r", "", PlayMode::Stopped, true, false, {"clip \"12\" -> \"\"", "mode playing -> stopped"}},
        {"1VD\r", "", PlayMode::Stopped, true, true, {"video off -> on"}},
        {"1VD\r", "", PlayMode::Stopped, true, true, {}},
    };
    Simulator simulator({1, 5}, {});
    for (const Step &step : steps) {
        const Exchange exchange = simulator.Receive(Frame("5", step.command));
        QCOMPARE(Reply(exchange), QByteArray("R"));
        const UnitState *unit = simulator.unit(5);
        QCOMPARE(unit->clip, std::string(step.clip));
        QCOMPARE(ModeName(unit->mode), ModeName(step.mode));
        QCOMPARE(unit->audioOn, step.audio);
        QCOMPARE(unit->videoOn, step.video);
        std::vector<std::string> expected;
        for (const std::string &change : step.changes)
            expected.push_back("unit 5: " + change);
        QCOMPARE(std::vector<std::string>(exchange.log.begin() + 1, exchange.log.end()), expected);
    }
    QVERIFY(Untouched(simulator.unit(1)));
}

void TestUnitSimUnits::zeroPaddedIdNamesTheSameUnit()
{
    Simulator simulator({7}, {});
    QCOMPARE(Reply(simulator.Receive(Frame("007", "PL\r"))), QByteArray("R"));
    QCOMPARE(ModeName(simulator.unit(7)->mode), ModeName(PlayMode::Playing));
}

void TestUnitSimUnits::idForEveryUnitMovesAllAndNoneAnswers()
{
    Simulator simulator({0, 126}, {});
    const Exchange exchange = simulator.Receive(Frame("127", "LP\r"));
    QCOMPARE(Reply(exchange), QByteArray("(none)"));
    QCOMPARE(ModeName(simulator.unit(0)->mode), ModeName(PlayMode::Looping));
    QCOMPARE(ModeName(simulator.unit(126)->mode), ModeName(PlayMode::Looping));
    // Not even a damaged frame for every unit is answered: they would all answer at once.
    QCOMPARE(Reply(simulator.Receive(FromHex("F1 01 04 31 32 37 40 52 4A 0D FF 01 89 F2"))),
             QByteArray("(none)"));
}

void TestUnitSimUnits::otherIdsAreIgnored()
{
    Simulator simulator({1}, {});
    for (const char *id : {"2", "000", "128", "999"}) {
        const Exchange exchange = simulator.Receive(Frame(id, "PL\r"));
        QCOMPARE(Reply(exchange), QByteArray("(none)"));
        QCOMPARE(exchange.log.size(), std::size_t{1});
    }
    // A damaged frame that names another unit is that unit's to answer.
    QCOMPARE(Reply(simulator.Receive(FromHex("F1 01 04 32 40 50 4C 0D FF 01 21 F2"))), QByteArray("(none)"));
    QVERIFY(Untouched(simulator.unit(1)));
}

void TestUnitSimUnits::unknownCommandsGetNeitherAcknowledgeNorResend_data()
{
    QTest::addColumn<QByteArray>("command");
    for (const char *command : {"XX\r", "pl\r", "2AD\r", "0XD\r", "123456SE\r", "1A2SE\r", "PLPL\r", "\r"})
        QTest::newRow(QByteArray(command).chopped(1).constData()) << QByteArray(command);
}

void TestUnitSimUnits::unknownCommandsGetNeitherAcknowledgeNorResend()
{
    QFETCH(QByteArray, command);
    Simulator simulator({1}, {});
    const Exchange exchange = simulator.Receive(Frame("1", command.constData()));
    QVERIFY(exchange.reply.has_value());
    // Judged by the program's own reading of replies.
    QVERIFY(!corvane::Acknowledges(*exchange.reply));
    QVERIFY(!corvane::AsksForResend(*exchange.reply));
    QVERIFY(Untouched(simulator.unit(1)));
}

void TestUnitSimUnits::damagedFramesAreAskedForAgain()
{
    Simulator simulator({1}, {});
    const char *damaged[] = {
        "F1 01 04 31 40 50 4C 0D FF 01 20 F2", // checksum off by one
        "F1 01 05 31 40 50 4C 0D FF 01 20 F2", // wrong lead: no one can tell whose it is
        "F1 01 04 3A 40 50 4C 0D FF 01 28 F2", // unreadable ID
        "F1 01 04 31 40 50 4C FF 01 12 F2",    // no CR
    };
    for (const char *hex : damaged)
        QCOMPARE(Reply(simulator.Receive(FromHex(hex))), QByteArray("E00"));
    for (const char *hex : {"F1 01 04 31 40 50 4C 0D FF 01", "52", ""}) // not frames: stray traffic
        QCOMPARE(Reply(simulator.Receive(FromHex(hex))), QByteArray("(none)"));
    QVERIFY(Untouched(simulator.unit(1)));
}

void TestUnitSimUnits::rehearsedFaultsChangeTheReply()
{
    const Faults two{2, false};
    struct Row
    {
        Verdict verdict;
        Faults faults;
        const char *reply;
        bool act;
        int errorsLeft;
    };
    const Row rows[] = {
        {Verdict::Accept, {}, "R", true, 0},
        {Verdict::Accept, two, "E00", false, 1},
        {Verdict::Refuse, two, "E00", false, 1},
        {Verdict::AskAgain, two, "E00", false, 1},
        {Verdict::Refuse, {}, "?", false, 0},
        {Verdict::AskAgain, {}, "E00", false, 0},
        // No reply goes out for these, so none is replaced and none is used up.
        {Verdict::Ignore, two, nullptr, false, 2},
        {Verdict::ObeyQuietly, two, nullptr, true, 2},
        {Verdict::Accept, {2, true}, nullptr, true, 2},
    };
    for (const Row &row : rows) {
        const Decision decision = Decide(row.verdict, row.faults);
        QCOMPARE(decision.reply.has_value(), row.reply != nullptr);
        if (row.reply)
            QCOMPARE(*decision.reply, std::string(row.reply));
        QCOMPARE(decision.act, row.act);
        QCOMPARE(decision.faults.errorsLeft, row.errorsLeft);
    }
}

QTEST_APPLESS_MAIN(TestUnitSimUnits)
#include "tst_unit_sim_units.moc"
