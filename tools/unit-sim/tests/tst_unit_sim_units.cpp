// SPDX-License-Identifier: MIT
// What simulated units make of the datagrams they get: how a frame is read,
// which unit acts, what it becomes, what is answered, and how rehearsed
// faults change the answer.

#include "protocol/command_frame.h"
#include "simulator.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane::unitsim;

class TestUnitSimUnits : public QObject
{
    Q_OBJECT

private slots:
    void unitsReadActAndAnswer_data()
    {
        QTest::addColumn<QList<int>>("ids");    // the units simulated; the first one's state is checked
        QTest::addColumn<int>("errors");        // -1: a silent unit
        QTest::addColumn<QString>("datagrams"); // ", "-separated: "ID:COMMAND" (framed by the program's
                                                // builder, CR added) or a datagram in hex
        QTest::addColumn<QString>("replies");   // one each, "-" for none
        QTest::addColumn<QString>("state");     // of the first unit: clip, mode, audio, video
        const auto row = [](const char *tag, QList<int> ids, int errors, const char *datagrams,
                            const char *replies, const char *state) {
            QTest::newRow(tag) << ids << errors << QString(datagrams) << QString(replies) << QString(state);
        };
        row("addressed unit acts", {5, 1}, 0, "5:PL, 5:12SE, 5:0AD, 5:0VD, 5:1VD, 1:LP", "R R R R R R",
            "12 stopped off on");
        row("loop play", {5}, 0, "5:LP", "R", "- looping on on");
        row("007 names unit 7", {7}, 0, "007:ST", "R", "- still on on");
        row("127: all act, none answers", {0, 126}, 0, "127:PA, F1 01 04 31 32 37 40 52 4A 0D FF 01 89 F2",
            "- -", "- paused on on");
        row("unknown commands", {1}, 0, "1:XX, 1:123456SE, 1:2AD", "? ? ?", "- stopped on on");
        // Play for unit 1 is F1 01 04 31 40 50 4C 0D FF 01 1F F2 (sum 287); each damaged frame breaks one
        // rule. "w" and CR for unit 1 sum to 250, which needs FF 00 FA.
        row("damaged: asked again by the unit named, or by one when none can be read", {1}, 0,
            "F1 01 04 31 40 50 4C 0D FF 01 20 F2, F1 01 04 31 40 50 4C 0D 1F F2, F1 01 04 31 40 77 0D FA F2, "
            "F1 01 04 31 40 50 4C 0D FF 01 F2, F1 01 05 31 40 50 4C 0D FF 01 20 F2, "
            "F1 01 04 3A 40 50 4C 0D FF 01 28 F2, F1 01 04 31 32 33 34 40 50 4C 0D FF 01 E9 F2, "
            "F1 01 04 31 40 50 4C FF 01 12 F2, F1 01 04 32 40 50 4C 0D FF 01 21 F2",
            "E00 E00 E00 E00 E00 E00 E00 E00 -", "- stopped on on");
        row("frames that read: shortest, 0xF2 in the checksum, longest", {0, 1}, 0,
            "F1 01 04 30 40 0D 82 F2, F1 01 04 31 40 39 39 35 30 53 45 0D FF 01 F2 F2, "
            "F1 01 04 31 32 37 40 31 32 33 34 35 36 53 45 0D FF 02 B9 F2",
            "? R -", "- stopped on on");
        row("not frames: stray traffic", {1}, 0,
            "F1 01 04 31 40 50 4C 0D FF 01, 52 20 20 20 20 20 20 20, F1 F2, "
            "F1 01 04 31 32 37 40 31 32 33 34 35 36 37 53 45 0D FF 02 F0 F2",
            "- - - -", "- stopped on on");
        row("rehearsed error, used up", {1}, 1, "1:PL, 1:PL, 2:PL", "E00 R -", "- playing on on");
        row("silent unit still acts", {1}, -1, "1:PL", "-", "- playing on on");
    }
    void unitsReadActAndAnswer()
    {
        QFETCH(QList<int>, ids);
        QFETCH(int, errors);
        QFETCH(QString, datagrams);
        Simulator simulator(std::vector<int>(ids.begin(), ids.end()),
                            Faults{std::max(errors, 0), errors < 0});
        QStringList answered;
        for (const QString &datagram : datagrams.split(QStringLiteral(", "))) {
            const QStringList idAndCommand = datagram.split(QLatin1Char(':'));
            const std::string bytes = idAndCommand.size() == 1
                                          ? FromHex(qPrintable(datagram))
                                          : corvane::CommandFrame(idAndCommand[0].toStdString(),
                                                                  idAndCommand[1].toStdString() + "\r");
            answered << QString::fromStdString(simulator.Receive(bytes).reply.value_or("-"));
        }
        QTEST(answered.join(QLatin1Char(' ')), "replies");
        const UnitState *unit = simulator.unit(ids[0]);
        const auto onOff = [](bool on) { return on ? "on" : "off"; };
        QTEST(QStringLiteral("%1 %2 %3 %4")
                  .arg(unit->clip.empty() ? "-" : unit->clip.c_str(), ModeName(unit->mode).data(),
                       onOff(unit->audioOn), onOff(unit->videoOn)),
              "state");
    }
};

QTEST_APPLESS_MAIN(TestUnitSimUnits)
#include "tst_unit_sim_units.moc"
