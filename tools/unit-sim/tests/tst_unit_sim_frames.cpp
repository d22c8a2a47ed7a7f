// The simulator's reading of frames, against frames written out by hand.

#include "frame_parser.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane::unitsim;

class TestUnitSimFrames : public QObject
{
    Q_OBJECT

private slots:
    // The row tag is the datagram; Play for unit 1 is F1 01 04 31 40 50 4C 0D FF 01 1F F2 (sum 287).
    void readsFrames_data()
    {
        QTest::addColumn<QByteArray>("reading"); // "command", "damaged(FAULT)" or "not-a-frame(FAULT)"
        const auto row = [](const char *hex, const char *reading) {
            QTest::newRow(hex) << QByteArray(reading);
        };
        row("F1 01 04 31 40 50 4C 0D FF 01 1F F2", "command");
        row("F1 01 04 30 40 0D 82 F2", "command");                         // the shortest: sum 130
        row("F1 01 04 31 40 39 39 35 30 53 45 0D FF 01 F2 F2", "command"); // 0xF2 in the checksum
        row("F1 01 04 31 32 37 40 31 32 33 34 35 36 53 45 0D FF 02 B9 F2", "command"); // 20 bytes
        row("F1 01 04 31 32 37 40 31 32 33 34 35 36 37 53 45 0D FF 02 F0 F2", "not-a-frame(too-long)");
        row("F1 01 04 31 40 50 4C 0D FF 01 20 F2", "damaged(checksum-mismatch)");
        row("F1 01 04 30 40 78 0D FA F2", "damaged(checksum-mismatch)"); // sum 250 needs FF 00 FA
        row("F1 01 04 31 40 50 4C 0D 1F F2", "damaged(checksum-mismatch)");
        row("F1 01 04 31 40 50 4C 0D FF 01 F2", "damaged(checksum-length)");
        row("F1 01 05 31 40 50 4C 0D FF 01 20 F2", "damaged(bad-lead)");
        row("F1 01 04 3A 40 50 4C 0D FF 01 28 F2", "damaged(bad-unit-id)");
        row("F1 01 04 31 32 33 34 40 50 4C 0D FF 01 E9 F2", "damaged(bad-unit-id)");
        row("F1 01 04 31 40 50 4C FF 01 12 F2", "damaged(no-carriage-return)");
        row("F1 01 04 31 40 50 4C 0D FF 01", "not-a-frame(no-end-byte)");
        row("52 20 20 20 20 20 20 20", "not-a-frame(no-start-byte)");
        row("F1 F2", "not-a-frame(too-short)");
    }
    void readsFrames()
    {
        QFETCH(QByteArray, reading);
        const ParsedFrame parsed = ParseFrame(FromHex(QTest::currentDataTag()));
        const char *kinds[] = {"command", "damaged", "not-a-frame"};
        QByteArray read = kinds[int(parsed.kind)];
        if (parsed.kind != FrameKind::Command)
            read += "(" + QByteArray::fromStdString(std::string(FaultName(parsed.fault))) + ")";
        QCOMPARE(read, reading);
    }
};

QTEST_APPLESS_MAIN(TestUnitSimFrames)
#include "tst_unit_sim_frames.moc"
