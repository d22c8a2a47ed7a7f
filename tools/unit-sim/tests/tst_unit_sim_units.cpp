// SPDX-License-Identifier: MIT
// What simulated units make of the datagrams they get: how a frame is read,
// which unit acts, what it becomes, what is answered, and how rehearsed
// faults change the answer.

#include "protocol/command_frame.h"
#include "simulator.h"
#include "support/hex.h"

#include <QFile>
#include <QTest>

using namespace corvane::unitsim;

class TestUnitSimUnits : public QObject
{
    Q_OBJECT

private slots:
    // How each datagram of the table shared with the dissector's test is read.
    void framesReadAsTheTableSays_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<QString>("verdict");
        QFile table(QStringLiteral(CORVANE_FRAME_VERDICTS));
        QVERIFY2(table.open(QIODevice::ReadOnly | QIODevice::Text), qPrintable(table.errorString()));
        while (!table.atEnd()) {
            const QList<QByteArray> columns = table.readLine().split('|');
            if (columns.size() == 3 && !columns[0].startsWith('#'))
                QTest::newRow(columns[1].trimmed().constData())
                    << QByteArray::fromHex(columns[1]) << QString(columns[0].trimmed());
        }
    }
    void framesReadAsTheTableSays()
    {
        QFETCH(QByteArray, datagram);
        Simulator simulator({1}, Faults{});
        const std::string line = simulator.Receive(datagram.toStdString()).log.front();
        const std::size_t at = line.find(" frame=") + 7;
        QTEST(QString::fromStdString(line.substr(at, line.find(' ', at) - at)), "verdict");
    }

    void unitsReadActAndAnswer_data()
    {
        QTest::addColumn<QList<int>>("ids");    // the units simulated; the first one's state is checked
        QTest::addColumn<QString>("faults");    // "N E00" for --errors N, "silent"
        QTest::addColumn<QString>("datagrams"); // ", "-separated: "ID:COMMAND" (framed by the program's
                                                // builder, CR added) or a datagram in hex
        QTest::addColumn<QString>("replies");   // one each, "-" for none
        QTest::addColumn<QString>("state");     // of the first unit: clip, mode, audio, video
        const auto row = [](const char *tag, QList<int> ids, const char *faults, const char *datagrams,
                            const char *replies, const char *state) {
            QTest::newRow(tag) << ids << QString(faults) << QString(datagrams) << QString(replies)
                               << QString(state);
        };
        row("addressed unit acts", {5, 1}, "", "5:PL, 5:12SE, 5:0AD, 5:0VD, 5:1VD, 1:LP", "R R R R R R",
            "12 stopped off on");
        row("loop play", {5}, "", "5:LP", "R", "- looping on on");
        row("007 names unit 7", {7}, "", "007:ST", "R", "- still on on");
        row("127: all act, none answers", {0, 126}, "", "127:PA, F1 01 04 31 32 37 40 52 4A 0D FF 01 89 F2",
            "- -", "- paused on on");
        row("unknown commands", {1}, "", "1:XX, 1:123456SE, 1:2AD", "? ? ?", "- stopped on on");
        // Damaged for unit 1, with an ID that cannot be read, for unit 2; stray traffic.
        row("damaged: asked again by the unit named, or by one when none can be read", {1}, "",
            "F1 01 04 31 40 50 4C 0D FF 01 20 F2, F1 01 04 3A 40 50 4C 0D FF 01 28 F2, "
            "F1 01 04 32 40 50 4C 0D FF 01 21 F2, F1 01 04 31 40 50 4C 0D FF 01",
            "E00 E00 - -", "- stopped on on");
        row("rehearsed error, used up, not carried out", {1}, "1 E00", "1:0AD, 1:PL, 2:PL", "E00 R -",
            "- playing on on");
        row("rehearsed error, then silence; a silent unit acts", {1}, "1 E00, silent", "1:0VD, 1:PL, 1:LP",
            "E00 - -", "- looping on on");
    }
    void unitsReadActAndAnswer()
    {
        QFETCH(QList<int>, ids);
        QFETCH(QString, faults);
        QFETCH(QString, datagrams);
        Simulator simulator(
            std::vector<int>(ids.begin(), ids.end()),
            Faults{faults.section(' ', 0, 0).toInt(), faults.contains(QStringLiteral("silent"))});
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
