// What simulated units do with the datagrams they get: which unit acts, what
// it becomes, what is answered, and how rehearsed faults change the answer.

#include "protocol/command_frame.h"
#include "simulator.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane::unitsim;

class TestUnitSimUnits : public QObject
{
    Q_OBJECT

private slots:
    // Each datagram is "ID COMMAND" (framed by the program's builder, CR added) or a frame in hex.
    void unitsActAndAnswer_data()
    {
        QTest::addColumn<QList<int>>("ids"); // the units simulated; the first one's state is checked
        QTest::addColumn<int>("errors");
        QTest::addColumn<bool>("silent");
        QTest::addColumn<QStringList>("datagrams");
        QTest::addColumn<QString>("replies"); // one each, "-" for none
        QTest::addColumn<QString>("state");   // clip, mode, audio, video
        QTest::newRow("addressed unit acts")
            << QList<int>{5, 1} << 0 << false
            << QStringList{"5 PL", "5 12SE", "5 0AD", "5 0VD", "5 1VD", "1 LP"} << "R R R R R R"
            << "12 stopped off on";
        QTest::newRow("loop play") << QList<int>{5} << 0 << false << QStringList{"5 LP"} << "R"
                                   << "- looping on on";
        QTest::newRow("007 names unit 7") << QList<int>{7} << 0 << false << QStringList{"007 ST"} << "R"
                                          << "- still on on";
        QTest::newRow("127: all act, none answers")
            << QList<int>{0, 126} << 0 << false
            << QStringList{"127 PA", "F1 01 04 31 32 37 40 52 4A 0D FF 01 89 F2"} << "- -"
            << "- paused on on";
        QTest::newRow("unknown commands")
            << QList<int>{1} << 0 << false << QStringList{"1 XX", "1 123456SE", "1 2AD"} << "? ? ?"
            << "- stopped on on";
        QTest::newRow("damaged: asked again by the unit named, or by one when none is")
            << QList<int>{1} << 0 << false
            << QStringList{"F1 01 04 31 40 50 4C 0D FF 01 20 F2", "F1 01 04 3A 40 50 4C 0D FF 01 28 F2",
                           "F1 01 04 32 40 50 4C 0D FF 01 21 F2", "F1 01 04 31 40 50 4C 0D FF 01"}
            << "E00 E00 - -"
            << "- stopped on on";
        QTest::newRow("rehearsed error, used up")
            << QList<int>{1} << 1 << false << QStringList{"1 PL", "1 PL", "2 PL"} << "E00 R -"
            << "- playing on on";
        QTest::newRow("silent unit still acts") << QList<int>{1} << 0 << true << QStringList{"1 PL"} << "-"
                                                << "- playing on on";
    }
    void unitsActAndAnswer()
    {
        QFETCH(QList<int>, ids);
        QFETCH(int, errors);
        QFETCH(bool, silent);
        QFETCH(QStringList, datagrams);
        QFETCH(QString, replies);
        QFETCH(QString, state);
        Simulator simulator(std::vector<int>(ids.begin(), ids.end()), Faults{errors, silent});
        QStringList answered;
        for (const QString &datagram : datagrams) {
            const QStringList idAndCommand = datagram.split(QLatin1Char(' '));
            const std::string bytes = datagram.startsWith(QLatin1String("F1 "))
                                          ? FromHex(qPrintable(datagram))
                                          : corvane::CommandFrame(idAndCommand[0].toStdString(),
                                                                  idAndCommand[1].toStdString() + "\r");
            const auto reply = simulator.Receive(bytes).reply;
            answered << QString::fromStdString(reply.value_or("-"));
        }
        QCOMPARE(answered.join(QLatin1Char(' ')), replies);
        const UnitState *unit = simulator.unit(ids[0]);
        const auto onOff = [](bool on) { return on ? "on" : "off"; };
        QCOMPARE(QStringLiteral("%1 %2 %3 %4")
                     .arg(unit->clip.empty() ? "-" : unit->clip.c_str(), ModeName(unit->mode).data(),
                          onOff(unit->audioOn), onOff(unit->videoOn)),
                 state);
    }
};

QTEST_APPLESS_MAIN(TestUnitSimUnits)
#include "tst_unit_sim_units.moc"
