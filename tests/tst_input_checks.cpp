#include "controller/input_checks.h"
#include "net/ipv4_text.h"

#include <QTest>

using namespace corvane;

class TestInputChecks : public QObject
{
    Q_OBJECT

private slots:
    void addressCheck_data();
    void addressCheck();
    void unitIdCheck_data();
    void unitIdCheck();
    void destinationIsReadAsDecimal_data();
    void destinationIsReadAsDecimal();
};

void TestInputChecks::addressCheck_data()
{
    QTest::addColumn<bool>("valid");

    QTest::newRow("255.255.255.255") << true;
    QTest::newRow("0.0.0.1") << true;
    QTest::newRow("1.0.0.0") << true;
    QTest::newRow("010.77.0.2") << true;
    QTest::newRow("1.2.3.4.") << true;    // only four groups are examined
    QTest::newRow("1.2.3.4.5") << true;   // likewise; the endpoint refuses it
    QTest::newRow("1.2.3.4.abc") << true; // likewise
    QTest::newRow("0.0.0.0") << false;    // four zero groups
    QTest::newRow("0.0.0.0.5") << false;
    QTest::newRow("000.0.00.0") << false;
    QTest::newRow("256.1.1.1") << false;
    QTest::newRow("1.1.1.256") << false;
    QTest::newRow("1.2.3") << false;
    QTest::newRow("1..2.3") << false;
    QTest::newRow(".1.2.3") << false;
    QTest::newRow("1.2.3.") << false;
    QTest::newRow("") << false;
    QTest::newRow("1.2.3.4x") << false;
    QTest::newRow("9999999999.1.1") << false;   // ten digits, typed within 15 characters
    QTest::newRow("4294967296.1.1.1") << false; // wraps to 0 in 32 bits
    QTest::newRow("4294967297.0.0.0") << false; // wraps to 1 in 32 bits
    QTest::newRow("-1.2.3.4") << false;
    QTest::newRow("+1.2.3.4") << false;
    QTest::newRow(" 1.2.3.4") << false;
    QTest::newRow("1.2.3. 4") << false;
    QTest::newRow("0x1.2.3.4") << false;
}

void TestInputChecks::addressCheck()
{
    QFETCH(bool, valid);
    QCOMPARE(IsIpTextValid(QTest::currentDataTag()), valid);
}

void TestInputChecks::unitIdCheck_data()
{
    QTest::addColumn<bool>("valid");

    QTest::newRow("0") << true;
    QTest::newRow("1") << true;
    QTest::newRow("127") << true;
    QTest::newRow("000") << true;
    QTest::newRow("007") << true;
    QTest::newRow("") << false;
    QTest::newRow("128") << false;
    QTest::newRow("999") << false;
    QTest::newRow("1e2") << false;
    QTest::newRow("1e1") << false;
    QTest::newRow(" 12") << false;
    QTest::newRow("+12") << false;
    QTest::newRow("-0") << false;
    QTest::newRow("12.") << false;
    QTest::newRow("0127") << false;
}

void TestInputChecks::unitIdCheck()
{
    QFETCH(bool, valid);
    QCOMPARE(IsIdTextValid(QTest::currentDataTag()), valid);
}

void TestInputChecks::destinationIsReadAsDecimal_data()
{
    QTest::addColumn<qint64>("address"); // -1: refused

    QTest::newRow("255.255.255.255") << qint64(0xFFFFFFFF);
    QTest::newRow("127.0.0.1") << qint64(0x7F000001);
    QTest::newRow("010.77.0.2") << qint64(0x0A4D0002); // ten, not eight
    QTest::newRow("127.0.0.010") << qint64(0x7F00000A);
    QTest::newRow("1.2.3.4.") << qint64(-1);
    QTest::newRow("1.2.3.4.5") << qint64(-1);
    QTest::newRow("1.2.3") << qint64(-1);
    QTest::newRow("1.2.3.256") << qint64(-1);
    QTest::newRow("1.2..4") << qint64(-1);
    QTest::newRow("1.2.3.4x") << qint64(-1);
    QTest::newRow("") << qint64(-1);
}

void TestInputChecks::destinationIsReadAsDecimal()
{
    QFETCH(qint64, address);
    const auto parsed = ParseDottedQuad(QTest::currentDataTag());
    QCOMPARE(parsed ? qint64(*parsed) : qint64(-1), address);
}

QTEST_APPLESS_MAIN(TestInputChecks)
#include "tst_input_checks.moc"
