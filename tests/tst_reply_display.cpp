// SPDX-License-Identifier: MIT
// The reply field shows replies at display rate, while the rules see every one.

#include "net/udp_endpoint.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QNetworkDatagram>
#include <QUdpSocket>

#include <memory>

using namespace corvane;

class TestReplyDisplay : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        REQUIRE_PRIVATE_NETWORK();
        m_window = std::make_unique<Main>();
        m_window->startUp();
        m_window->show();
    }
    // Thousands of replies, none with a mark but every 70th an "E00", then
    // the last; sent a hundred at a time, each hundred taken before the next,
    // so none is lost. The field is set at most once a display frame (17 ms)
    // and shows the last, while the rules see every reply: each "E00" is
    // answered by a resend, up to the limit of 41. The first is longer than
    // an Ethernet frame: another follows at once, so it is never laid out.
    void burstShownOncePerFrameWhileTheRulesSeeEveryReply()
    {
        QUdpSocket unit;
        QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
        auto *field = m_window->findChild<QLineEdit *>(QStringLiteral("replyField"));
        const auto port =
            m_window->findChild<QLineEdit *>(QStringLiteral("localPortField"))->text().toUShort();
        QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("playButton")), Qt::LeftButton);
        QSignalSpy arrived(m_window->findChild<UdpEndpoint *>(), &UdpEndpoint::datagramArrived);
        QSignalSpy shown(field, &QLineEdit::textChanged);
        QElapsedTimer took;
        took.start();
        for (int i = 1; i <= 3000; ++i) {
            const QByteArray reply = i == 3000     ? "the last"
                                     : i == 1      ? QByteArray(1473, 'x')
                                     : i % 70 == 0 ? "E00"
                                                   : QByteArray::number(i) + '?';
            QCOMPARE(unit.writeDatagram(reply, QHostAddress(QHostAddress::LocalHost), port), reply.size());
            if (i % 100 == 0)
                QTRY_COMPARE(arrived.count(), i);
        }
        QTRY_COMPARE(field->text(), u"the last");
        QVERIFY(std::none_of(shown.begin(), shown.end(),
                             [](const QList<QVariant> &text) { return text[0].toString().size() == 1473; }));
        QVERIFY2(shown.count() <= took.elapsed() / 17 + 2,
                 qPrintable(QStringLiteral("%1 shown in %2 ms").arg(shown.count()).arg(took.elapsed())));
        int frames = 0;
        while (unit.waitForReadyRead(300))
            for (; unit.hasPendingDatagrams(); ++frames)
                unit.receiveDatagram();
        QCOMPARE(frames, 1 + 41);
    }

private:
    std::unique_ptr<Main> m_window;
};

QTEST_MAIN(TestReplyDisplay)
#include "tst_reply_display.moc"
