// The simulator's reading of frames, held against the frames the program
// itself builds and against damaged frames written out by hand.

#include "frame_parser.h"
#include "protocol/command_frame.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane::unitsim;

Q_DECLARE_METATYPE(FrameKind)
Q_DECLARE_METATYPE(FrameFault)

class TestUnitSimFrames : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryFrameTheProgramBuilds_data();
    void readsEveryFrameTheProgramBuilds();
    void readsChecksumsHoldingFrameBytes_data();
    void readsChecksumsHoldingFrameBytes();
    void namesTheDamage_data();
    void namesTheDamage();
    void catchesAnySingleDamagedByte();
};

void TestUnitSimFrames::readsEveryFrameTheProgramBuilds_data()
{
    QTest::addColumn<QByteArray>("unitId");
    QTest::addColumn<QByteArray>("command");

    const char *commands[] = {"SE\r", "7SE\r", "42SE\r", "305SE\r", "1234SE\r", "99999SE\r", "PL\r", "LP\r",
                              "PA\r", "ST\r",  "RJ\r",   "0AD\r",   "1AD\r",    "0VD\r",     "1VD\r"};
    for (const char *id : {"0", "1", "007", "126", "127"}) {
        for (const char *command : commands)
            QTest::addRow("ID %s, %s", id, QByteArray(command).chopped(1).constData())
                << QByteArray(id) << QByteArray(command);
    }
}

void TestUnitSimFrames::readsEveryFrameTheProgramBuilds()
{
    QFETCH(QByteArray, unitId);
    QFETCH(QByteArray, command);
    const std::string frame = corvane::CommandFrame(unitId.toStdString(), command.toStdString());
    const ParsedFrame parsed = ParseFrame(frame);
    QCOMPARE(FaultName(parsed.fault), FaultName(FrameFault::None));
    QVERIFY(parsed.kind == FrameKind::Command);
    QCOMPARE(QByteArray::fromStdString(std::string(parsed.unitIdText)), unitId);
    QCOMPARE(QByteArray::fromStdString(std::string(parsed.commandText)), command);
}

void TestUnitSimFrames::readsChecksumsHoldingFrameBytes_data()
{
    QTest::addColumn<QByteArray>("unitId");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<char>("inChecksum");

    // Clip numbers chosen so that the sum's low byte is a frame byte or zero.
    QTest::newRow("sum 0x1F2: end byte inside") << QByteArray("1") << QByteArray("9950SE\r") << '\xF2';
    QTest::newRow("sum 0x1F1: start byte inside") << QByteArray("1") << QByteArray("9940SE\r") << '\xF1';
    QTest::newRow("sum 0x200: zero byte inside") << QByteArray("99") << QByteArray("992SE\r") << '\x00';
}

void TestUnitSimFrames::readsChecksumsHoldingFrameBytes()
{
    QFETCH(QByteArray, unitId);
    QFETCH(QByteArray, command);
    QFETCH(char, inChecksum);
    const std::string frame = corvane::CommandFrame(unitId.toStdString(), command.toStdString());
    QCOMPARE(frame[frame.size() - 2], inChecksum); // the row really puts that byte there

    const ParsedFrame parsed = ParseFrame(frame);
    QCOMPARE(FaultName(parsed.fault), FaultName(FrameFault::None));
    QCOMPARE(QByteArray::fromStdString(std::string(parsed.commandText)), command);
}

void TestUnitSimFrames::namesTheDamage_data()
{
    QTest::addColumn<QByteArray>("hex");
    QTest::addColumn<FrameKind>("kind");
    QTest::addColumn<FrameFault>("fault");

    const auto damaged = [](const char *name, const char *hex, FrameFault fault) {
        QTest::newRow(name) << QByteArray(hex) << FrameKind::Damaged << fault;
    };
    const auto notAFrame = [](const char *name, const QByteArray &hex, FrameFault fault) {
        QTest::newRow(name) << hex << FrameKind::NotAFrame << fault;
    };
    // Play for unit 1 is F1 01 04 31 40 50 4C 0D FF 01 1F F2 (sum 287); each row breaks one thing.
    damaged("checksum off by one", "F1 01 04 31 40 50 4C 0D FF 01 20 F2", FrameFault::ChecksumMismatch);
    damaged("one-byte checksum for a sum of 287", "F1 01 04 31 40 50 4C 0D 1F F2",
            FrameFault::ChecksumMismatch);
    // A bare CR for unit 0 sums to 130, which only the one-byte form may carry.
    QTest::newRow("shortest frame") << QByteArray("F1 01 04 30 40 0D 82 F2") << FrameKind::Command
                                    << FrameFault::None;
    damaged("long form for a short sum", "F1 01 04 30 40 0D FF 00 82 F2", FrameFault::ChecksumMismatch);
    damaged("checksum field one byte short", "F1 01 04 31 40 50 4C 0D FF 01 F2", FrameFault::ChecksumLength);
    damaged("byte between checksum and end", "F1 01 04 31 40 50 4C 0D FF 01 1F 00 F2",
            FrameFault::ChecksumLength);
    damaged("end byte inside the checksum, real end lost", "F1 01 04 31 40 39 39 35 30 53 45 0D FF 01 F2",
            FrameFault::ChecksumLength);
    damaged("no checksum at all", "F1 01 04 31 40 50 4C 0D F2", FrameFault::ChecksumLength);
    damaged("wrong lead", "F1 01 05 31 40 50 4C 0D FF 01 20 F2", FrameFault::BadLead);
    damaged("lead bytes swapped", "F1 04 01 31 40 50 4C 0D FF 01 1F F2", FrameFault::BadLead);
    damaged("no ID", "F1 01 04 40 50 4C 0D EE F2", FrameFault::BadUnitId);
    damaged("non-digit ID", "F1 01 04 3A 40 50 4C 0D FF 01 28 F2", FrameFault::BadUnitId);
    damaged("four-digit ID", "F1 01 04 31 32 33 34 40 50 4C 0D FF 01 E9 F2", FrameFault::BadUnitId);
    damaged("no @ after the ID", "F1 01 04 31 50 4C 0D FF 00 DF F2", FrameFault::BadUnitId);
    damaged("no CR", "F1 01 04 31 40 50 4C FF 01 12 F2", FrameFault::NoCarriageReturn);

    notAFrame("empty", "", FrameFault::TooShort);
    notAFrame("start and end byte only", "F1 F2", FrameFault::TooShort);
    notAFrame("truncated", "F1 01 04 31 40 50 4C 0D FF 01", FrameFault::NoEndByte);
    notAFrame("end byte missing", "F1 01 04 31 40 50 4C 0D FF 01 1F", FrameFault::NoEndByte);
    notAFrame("start byte missing", "01 04 31 40 50 4C 0D FF 01 1F F2 F2", FrameFault::NoStartByte);
    notAFrame("a unit's reply", "52 20 20 20 20 20 20 20", FrameFault::NoStartByte);
    // The longest frame is 20 bytes; the program's builder makes both rows.
    QTest::newRow("20 bytes") << ToHex(corvane::CommandFrame("127", "123456SE\r")) << FrameKind::Command
                              << FrameFault::None;
    notAFrame("21 bytes", ToHex(corvane::CommandFrame("127", "1234567SE\r")), FrameFault::TooLong);
    notAFrame("largest UDP payload, frame-shaped", "F1" + QByteArray(65505, 'A').toHex() + "F2",
              FrameFault::TooLong);
}

void TestUnitSimFrames::namesTheDamage()
{
    QFETCH(QByteArray, hex);
    QFETCH(FrameKind, kind);
    QFETCH(FrameFault, fault);
    const ParsedFrame parsed = ParseFrame(FromHex(hex.constData()));
    QCOMPARE(FaultName(parsed.fault), FaultName(fault));
    QVERIFY(parsed.kind == kind);
}

void TestUnitSimFrames::catchesAnySingleDamagedByte()
{
    for (const char *command : {"PL\r", "12345SE\r", "1VD\r"}) {
        const std::string good = corvane::CommandFrame("126", command);
        QVERIFY(ParseFrame(good).kind == FrameKind::Command);
        for (std::size_t at = 0; at < good.size(); ++at) {
            for (const unsigned char flip : {0x01, 0x10, 0x80, 0xFF}) {
                std::string bad = good;
                bad[at] = static_cast<char>(bad[at] ^ flip);
                if (ParseFrame(bad).kind == FrameKind::Command)
                    QFAIL(qPrintable(QStringLiteral("accepted %1").arg(QString::fromLatin1(ToHex(bad)))));
            }
        }
    }
}

QTEST_APPLESS_MAIN(TestUnitSimFrames)
#include "tst_unit_sim_frames.moc"
