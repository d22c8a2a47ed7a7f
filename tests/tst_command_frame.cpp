#include "protocol/command_frame.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane;

class TestCommandFrame : public QObject
{
    Q_OBJECT

private slots:
    void framesAreByteExact_data();
    void framesAreByteExact();
    void checksumFormDependsOnSum_data();
    void checksumFormDependsOnSum();
};

void TestCommandFrame::framesAreByteExact_data()
{
    QTest::addColumn<QByteArray>("unitId");
    QTest::addColumn<QByteArray>("command");
    QTest::addColumn<QByteArray>("frame");

    // Sums worked out by hand from the byte values.
    QTest::newRow("F1 01 04 31 40 50 4C 0D FF 01 1F F2 (ID 1, play)")
        << QByteArray("1") << QByteArray("PL\r") << QByteArray("F1 01 04 31 40 50 4C 0D FF 01 1F F2");
    QTest::newRow("F1 01 04 31 40 30 41 44 0D FF 01 38 F2 (ID 1, audio off)")
        << QByteArray("1") << QByteArray("0AD\r") << QByteArray("F1 01 04 31 40 30 41 44 0D FF 01 38 F2");
    QTest::newRow("F1 01 04 31 32 37 40 52 4A 0D FF 01 88 F2 (ID 127, stop)")
        << QByteArray("127") << QByteArray("RJ\r") << QByteArray("F1 01 04 31 32 37 40 52 4A 0D FF 01 88 F2");
    QTest::newRow("F1 01 04 31 32 40 35 53 45 0D FF 01 82 F2 (ID 12, clip 5)")
        << QByteArray("12") << QByteArray("5SE\r") << QByteArray("F1 01 04 31 32 40 35 53 45 0D FF 01 82 F2");
    QTest::newRow("F1 01 04 30 30 37 40 50 4C 0D FF 01 85 F2 (ID 007 keeps its zeros)")
        << QByteArray("007") << QByteArray("PL\r") << QByteArray("F1 01 04 30 30 37 40 50 4C 0D FF 01 85 F2");
    QTest::newRow("F1 01 04 30 30 30 40 50 41 0D FF 01 73 F2 (ID 000)")
        << QByteArray("000") << QByteArray("PA\r") << QByteArray("F1 01 04 30 30 30 40 50 41 0D FF 01 73 F2");
    QTest::newRow("F1 01 04 30 40 50 41 0D FF 01 13 F2 (ID 0, the smallest real sum 275)")
        << QByteArray("0") << QByteArray("PA\r") << QByteArray("F1 01 04 30 40 50 41 0D FF 01 13 F2");
    QTest::newRow("F1 01 04 31 40 53 45 0D FF 01 1B F2 (empty clip number)")
        << QByteArray("1") << QByteArray("SE\r") << QByteArray("F1 01 04 31 40 53 45 0D FF 01 1B F2");
    QTest::newRow("F1 01 04 31 40 FF 8B FF 02 00 F2 (0x00 inside the checksum)")
        << QByteArray("1") << QByteArray("\xFF\x8B") << QByteArray("F1 01 04 31 40 FF 8B FF 02 00 F2");
    QTest::newRow("F1 01 04 31 40 FF 7D FF 01 F2 F2 (end byte inside the checksum, unescaped)")
        << QByteArray("1") << QByteArray("\xFF\x7D") << QByteArray("F1 01 04 31 40 FF 7D FF 01 F2 F2");
    QTest::newRow("F1 01 04 31 40 FF 7C FF 01 F1 F2 (start byte inside the checksum, unescaped)")
        << QByteArray("1") << QByteArray("\xFF\x7C") << QByteArray("F1 01 04 31 40 FF 7C FF 01 F1 F2");
}

void TestCommandFrame::framesAreByteExact()
{
    QFETCH(QByteArray, unitId);
    QFETCH(QByteArray, command);
    QFETCH(QByteArray, frame);
    const std::string built = CommandFrame(unitId.toStdString(), command.toStdString());
    QCOMPARE(ToHex(built), frame);
}

void TestCommandFrame::checksumFormDependsOnSum_data()
{
    QTest::addColumn<QByteArray>("summed"); // bytes whose values add up to the sum in the row tag
    QTest::addColumn<QByteArray>("checksum");

    const auto bytesOf = [](int count, char value) { return QByteArray(count, value); };
    QTest::newRow("sum 0 -> 00") << QByteArray() << QByteArray("00");
    QTest::newRow("sum 249 -> F9") << bytesOf(1, '\xF9') << QByteArray("F9");
    QTest::newRow("sum 250 -> FF 00 FA") << bytesOf(1, '\xFA') << QByteArray("FF 00 FA");
    QTest::newRow("sum 255 -> FF 00 FF") << bytesOf(1, '\xFF') << QByteArray("FF 00 FF");
    QTest::newRow("sum 256 -> FF 01 00") << QByteArray("\xFF\x01") << QByteArray("FF 01 00");
    QTest::newRow("sum 65535 -> FF FF FF") << bytesOf(257, '\xFF') << QByteArray("FF FF FF");
    QTest::newRow("sum 65536 -> FE 01 00 00") << bytesOf(257, '\xFF') + '\x01' << QByteArray("FE 01 00 00");
    QTest::newRow("sum 0x123456 -> FE 12 34 56")
        << bytesOf(4678, '\xFF') + '\x9C' << QByteArray("FE 12 34 56");
}

void TestCommandFrame::checksumFormDependsOnSum()
{
    QFETCH(QByteArray, summed);
    QFETCH(QByteArray, checksum);
    QCOMPARE(ToHex(FindCheckSum(std::string(summed.constData(), summed.size()))), checksum);
}

QTEST_APPLESS_MAIN(TestCommandFrame)
#include "tst_command_frame.moc"
