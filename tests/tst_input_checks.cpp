#include "controller/input_checks.h"
#include "net/ipv4_text.h"

#include <QTest>

using namespace corvane;

// The row tag is the text checked.
class TestInputChecks : public QObject
{
    Q_OBJECT

private slots:
    void addressCheck_data()
    {
        QTest::addColumn<bool>("valid");
        // Only four groups are examined: what follows the fourth is the endpoint's to refuse.
        for (const char *text : {"255.255.255.255", "0.0.0.1", "1.0.0.0", "1.2.3.4.", "1.2.3.4.5"})
            QTest::newRow(text) << true;
        for (const char *text :
             {"0.0.0.0", "000.0.00.0", "256.1.1.1", "1.1.1.256", "1.2.3", "1..2.3", ".1.2.3", "1.2.3.", "",
              "1.2.3.4x", "9999999999.1.1", "4294967297.0.0.0", "-1.2.3.4", " 1.2.3.4"})
            QTest::newRow(text) << false;
    }
    void addressCheck()
    {
        QFETCH(bool, valid);
        QCOMPARE(IsIpTextValid(QTest::currentDataTag()), valid);
    }

    void unitIdCheck_data()
    {
        QTest::addColumn<bool>("valid");
        for (const char *text : {"0", "127", "000", "007"})
            QTest::newRow(text) << true;
        for (const char *text : {"", "128", "0127", "1e2", " 12", "+12", "12."})
            QTest::newRow(text) << false;
    }
    void unitIdCheck()
    {
        QFETCH(bool, valid);
        QCOMPARE(IsIdTextValid(QTest::currentDataTag()), valid);
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
};

QTEST_APPLESS_MAIN(TestInputChecks)
#include "tst_input_checks.moc"
