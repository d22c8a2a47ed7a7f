#include "protocol/command_frame.h"
#include "support/hex.h"

#include <QTest>

// Frames and checksums against sums worked out by hand from the byte values.
class TestCommandFrame : public QObject
{
    Q_OBJECT

private slots:
    void frames_data()
    {
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("F1 01 04 31 40 50 4C 0D FF 01 1F F2") << QByteArray("1") << QByteArray("PL\r");
        QTest::newRow("F1 01 04 31 32 37 40 52 4A 0D FF 01 88 F2") << QByteArray("127") << QByteArray("RJ\r");
        QTest::newRow("F1 01 04 31 32 40 35 53 45 0D FF 01 82 F2") << QByteArray("12") << QByteArray("5SE\r");
        QTest::newRow("F1 01 04 30 30 37 40 50 4C 0D FF 01 85 F2") << QByteArray("007") << QByteArray("PL\r");
        QTest::newRow("F1 01 04 31 40 FF 8B FF 02 00 F2") << QByteArray("1") << QByteArray("\xFF\x8B");
        QTest::newRow("F1 01 04 31 40 FF 7D FF 01 F2 F2") << QByteArray("1") << QByteArray("\xFF\x7D");
    }
    void frames()
    {
        QFETCH(QByteArray, unitId);
        QFETCH(QByteArray, command);
        QCOMPARE(ToHex(corvane::CommandFrame(unitId.toStdString(), command.toStdString())),
                 QByteArray(QTest::currentDataTag()));
    }

    // The bytes summed, in hex; the row tag ends in the checksum field.
    void checksumForms_data()
    {
        QTest::addColumn<QByteArray>("summed");
        const QByteArray ff257 = QByteArray("FF").repeated(257);
        QTest::newRow("sum 249 -> F9") << QByteArray("F9");
        QTest::newRow("sum 250 -> FF 00 FA") << QByteArray("FA");
        QTest::newRow("sum 65535 -> FF FF FF") << ff257;
        QTest::newRow("sum 65536 -> FE 01 00 00") << ff257 + "01";
        QTest::newRow("sum 0x123456 -> FE 12 34 56") << QByteArray("9C") + QByteArray("FF").repeated(4678);
    }
    void checksumForms()
    {
        QFETCH(QByteArray, summed);
        const QByteArray bytes = QByteArray::fromHex(summed);
        const QByteArray tag(QTest::currentDataTag());
        QCOMPARE(ToHex(corvane::FindCheckSum(bytes.toStdString())), tag.mid(tag.indexOf("-> ") + 3));
    }
};

QTEST_APPLESS_MAIN(TestCommandFrame)
#include "tst_command_frame.moc"
