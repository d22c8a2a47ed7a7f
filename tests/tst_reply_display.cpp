// SPDX-License-Identifier: MIT
// The reply field shows replies at display rate, while the rules see every one.

#include "net/udp_endpoint.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
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
    void burstLeavesTheLastReplyShown()
    {
        burst("the last");
        QTRY_COMPARE(m_window->findChild<QLineEdit *>(QStringLiteral("replyField"))->text(), u"the last");
    }
    // In a flood, a reply longer than an Ethernet frame that another follows
    // at once is never laid out; the one that follows is shown.
    void longReplyFollowedAtOnceIsSkipped()
    {
        auto *field = m_window->findChild<QLineEdit *>(QStringLiteral("replyField"));
        QSignalSpy shown(field, &QLineEdit::textChanged);
        const auto port =
            m_window->findChild<QLineEdit *>(QStringLiteral("localPortField"))->text().toUShort();
        QUdpSocket unit;
        for (const QByteArray &reply : {QByteArray(1473, 'x'), QByteArray("after")})
            QCOMPARE(unit.writeDatagram(reply, QHostAddress(QHostAddress::LocalHost), port), reply.size());
        QTRY_COMPARE(field->text(), u"after");
        QCOMPARE(shown.count(), 1);
    }
    void burstEndingInRFlipsTheCaption()
    {
        auto *mute = m_window->findChild<QPushButton *>(QStringLiteral("videoMuteButton"));
        for (const char *flipped : {"Unmute Video", "Mute Video"}) {
            QTest::mouseClick(mute, Qt::LeftButton);
            burst("R");
            QTRY_COMPARE(mute->text(), QString::fromLatin1(flipped));
        }
    }

private:
    // Thousands of replies, none with a mark, then the last. They are sent a
    // hundred at a time, each hundred taken before the next, so none is lost.
    void burst(const QByteArray &last)
    {
        QSignalSpy arrived(m_window->findChild<UdpEndpoint *>(), &UdpEndpoint::datagramArrived);
        const auto port =
            m_window->findChild<QLineEdit *>(QStringLiteral("localPortField"))->text().toUShort();
        QUdpSocket unit;
        for (int i = 1; i <= 3000; ++i) {
            const QByteArray reply = i < 3000 ? QByteArray::number(i) + '?' : last;
            QCOMPARE(unit.writeDatagram(reply, QHostAddress(QHostAddress::LocalHost), port), reply.size());
            if (i % 100 == 0)
                QTRY_COMPARE(arrived.count(), i);
        }
    }

    std::unique_ptr<Main> m_window;
};

QTEST_MAIN(TestReplyDisplay)
#include "tst_reply_display.moc"
