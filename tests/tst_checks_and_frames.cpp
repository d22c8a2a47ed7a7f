// SPDX-License-Identifier: MIT
#include "controller/input_checks.h"
#include "net/ipv4_text.h"
#include "protocol/command_frame.h"
#include "support/hex.h"

#include <QTest>

using namespace corvane;

// The address and ID checks, where the row tag is the text checked; frames and
// checksums against sums worked out by hand from the byte values.
class TestChecksAndFrames : public QObject
{
    Q_OBJECT

private slots:
    // Only four address groups are examined: what follows the fourth is the endpoint's to refuse.
    void addressAndIdChecks_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        const auto rows = [](const char *kind, std::initializer_list<const char *> texts, bool valid) {
            for (const char *text : texts)
                QTest::addRow("%s '%s'", kind, text) << QByteArray(text) << valid;
        };
        rows("address", {"255.255.255.255", "0.0.0.1", "1.0.0.0", "1.2.3.4.", "1.2.3.4.5"}, true);
        rows("address",
             {"0.0.0.0", "000.0.00.0", "256.1.1.1", "1.1.1.256", "1.2.3", "1..2.3", ".1.2.3", "1.2.3.", "",
              "1.2.3.4x", "9999999999.1.1", "4294967297.0.0.0", "-1.2.3.4", " 1.2.3.4"},
             false);
        rows("ID", {"0", "127", "000", "007"}, true);
        rows("ID", {"", "128", "0127", "1e2", " 12", "+12", "12."}, false);
    }
    void addressAndIdChecks()
    {
        QFETCH(QByteArray, text);
        const std::string checked = text.toStdString();
        QTEST(QTest::currentDataTag()[0] == 'a' ? IsIpTextValid(checked) : IsIdTextValid(checked), "valid");
    }

    // What the endpoint sends to: exactly four decimal groups, leading zeros and all.
    void destination_data()
    {
        QTest::addColumn<qint64>("address"); // -1: refused
        QTest::newRow("010.77.0.2") << qint64(0x0A4D0002);
        QTest::newRow("255.255.255.255") << qint64(0xFFFFFFFF);
        for (const char *text : {"1.2.3.4.", "1.2.3.4.5", "1.2.3", "1.2.3.256", "1.2..4"})
            QTest::newRow(text) << qint64(-1);
    }
    void destination()
    {
        QFETCH(qint64, address);
        const auto parsed = ParseDottedQuad(QTest::currentDataTag());
        QCOMPARE(parsed ? qint64(*parsed) : -1, address);
    }

    void frames_data()
    {
        QTest::addColumn<QByteArray>("unitId");
        QTest::addColumn<QByteArray>("command");
        QTest::newRow("F1 01 04 31 40 50 4C 0D FF 01 1F F2") << QByteArray("1") << QByteArray("PL\r");
        QTest::newRow("F1 01 04 31 32 40 35 53 45 0D FF 01 82 F2") << QByteArray("12") << QByteArray("5SE\r");
        QTest::newRow("F1 01 04 30 30 37 40 50 4C 0D FF 01 85 F2") << QByteArray("007") << QByteArray("PL\r");
        QTest::newRow("F1 01 04 31 40 FF 8B FF 02 00 F2") << QByteArray("1") << QByteArray("\xFF\x8B");
        QTest::newRow("F1 01 04 31 40 FF 7D FF 01 F2 F2") << QByteArray("1") << QByteArray("\xFF\x7D");
    }
    void frames()
    {
        QFETCH(QByteArray, unitId);
        QFETCH(QByteArray, command);
        QCOMPARE(ToHex(CommandFrame(unitId.toStdString(), command.toStdString())),
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
        QCOMPARE(ToHex(ChecksumField(bytes.toStdString())), tag.mid(tag.indexOf("-> ") + 3));
    }
};

QTEST_APPLESS_MAIN(TestChecksAndFrames)
#include "tst_checks_and_frames.moc"
