#include "support/box_answerer.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

using namespace corvane;

namespace {

struct Expected
{
    const char *name, *text;
    int x, y, w, h; // pixels: twips / 15, rounded
    int maxLength;  // text fields
    bool readOnly;
    const char *toolTip;
};

// The window as drawn, just after start-up, written out independently of the layout table.
// clang-format off
const Expected kControls[] = {
    {"BroadIPtxt",   "255.255.255.255",      8,   8,   105, 19, 15,    true,  "See network administrator before changing."},
    {"BroadIPlbl",   "Broadcast IP Address", 120, 8,   97,  19, 0,     false, ""},
    {"LocalIPtxt",   "10.99.0.1",            8,   32,  105, 19, 32767, true,  "This is your computers IP address."},
    {"HostIPLbl",    "Local IP Address",     120, 32,  57,  19, 0,     false, ""},
    {"LocalPortTxt", "1028",                 8,   56,  41,  19, 5,     true,  "Port that your computer will comunicate with Tesk2 on."},
    {"LocalPLbl",    "Local Port",           56,  56,  73,  19, 0,     false, ""},
    {"TeskIDtxt",    "1",                    8,   80,  33,  19, 3,     false, "ID Number of Tesk2 you wish to control."},
    {"TeskIDlbl",    "Tesk2 ID Number",      48,  80,  121, 19, 0,     false, ""},
    {"SelectCmd",    "Select Clip #",        8,   128, 123, 22, 0,     false, "Search to first frame of selected clip."},
    {"ClipNumtxt",   "0",                    136, 128, 49,  22, 5,     false, "Clip number you wish to select."},
    {"PauseCmd",     "Pause",                224, 128, 65,  22, 0,     false, "Pause current clip (Video muted)."},
    {"PlayCmd",      "Play",                 8,   152, 49,  22, 0,     false, "Play selected clip."},
    {"StillCmd",     "Still",                240, 152, 49,  22, 0,     false, "Pause current clip (Last Frame Shown)."},
    {"LPlayCmd",     "Loop Play",            8,   176, 89,  22, 0,     false, "Play and loop selected clip."},
    {"StopCmd",      "Stop",                 240, 176, 49,  22, 0,     false, "Stop current video (Last frame shown)."},
    {"VideoMuteCmd", "Mute Video",           8,   200, 113, 22, 0,     false, "Mute/Unmute video output."},
    {"AudioMuteCmd", "Mute Audio",           176, 200, 113, 22, 0,     false, "Mute/Unmute audio output."},
    {"TeskRspTxt",   "",                     128, 248, 33,  19, 65507, true,  "Displays Tesk2s response to command sent."},
    {"TeskRspLbl",   "Tesk2 Response",       168, 248, 121, 19, 0,     false, ""},
};
// clang-format on

} // namespace

// What only the real window shows: layout, focus, keys, boxes, and its wiring to a real socket.
// Runs in a private network namespace: start-up binds, and some tests send.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        REQUIRE_PRIVATE_NETWORK();
        m_window = std::make_unique<Main>();
        m_window->startUp();
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void layoutMatchesTheDrawing()
    {
        QCOMPARE(m_window->windowTitle(), QStringLiteral("Corvane V1.0.1"));
        QCOMPARE(m_window->size(), QSize(297, 291));
        for (const Expected &c : kControls) {
            auto *widget = m_window->findChild<QWidget *>(QLatin1String(c.name));
            QVERIFY2(widget, c.name);
            const QRect g = widget->geometry();
            QVERIFY2(g.topLeft() == QPoint(c.x, c.y) && g.height() == c.h, c.name);
            QVERIFY2(qobject_cast<QLabel *>(widget) ? g.width() >= c.w : g.width() == c.w,
                     c.name); // labels may grow
            QCOMPARE(widget->toolTip(), QLatin1String(c.toolTip));
            QCOMPARE(widget->property("text").toString(), QLatin1String(c.text));
            if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
                QCOMPARE(edit->maxLength(), c.maxLength);
                QCOMPARE(edit->isReadOnly(), c.readOnly);
            }
        }
        // Screen readers name each field by its label.
        QAccessibleInterface *id = QAccessible::queryAccessibleInterface(field("TeskIDtxt"));
        QCOMPARE(id->text(QAccessible::Name), QStringLiteral("Tesk2 ID Number"));
        QCOMPARE(m_window->findChild<QTimer *>(QStringLiteral("TeskTimeOut"))->interval(), 6000);
    }

    void focusStartsInTheIdFieldAndFollowsTheTabOrder()
    {
        QWidget *widget = field("TeskIDtxt");
        QTRY_COMPARE(QApplication::focusWidget(), widget);
        QStringList order;
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != field("TeskIDtxt"));
        QCOMPARE(order, (QStringList{"TeskIDtxt", "ClipNumtxt", "SelectCmd", "PlayCmd", "LPlayCmd",
                                     "VideoMuteCmd", "PauseCmd", "StillCmd", "StopCmd", "AudioMuteCmd",
                                     "LocalPortTxt", "BroadIPtxt", "LocalIPtxt", "TeskRspTxt"}));
    }

    // Typed into an emptied field; then edited with Backspace, Home, Delete, Right and a 5.
    void keys_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("edited");
        QTest::newRow("ID") << "TeskIDtxt"
                            << "a 1.b23"
                            << "123"
                            << "25";
        QTest::newRow("clip") << "ClipNumtxt"
                              << "x9.y 87"
                              << "987"
                              << "85";
        QTest::newRow("address, cut at 15") << "BroadIPtxt"
                                            << "10.a0 .1234567890123"
                                            << "10.0.1234567890"
                                            << "05.0.123456789";
    }
    void keys()
    {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(QString, edited);
        QLineEdit *edit = field(qPrintable(name));
        edit->setReadOnly(false); // the address field's lock is tested below
        edit->clear();
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->text(), shown);
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Delete, QStringLiteral("\x7f"),
                            {}); // as X11 sends it
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(edit, Qt::Key_5);
        QCOMPARE(edit->text(), edited);
    }

    void pasteIsNotFilteredButCut()
    {
        QLineEdit *edit = field("ClipNumtxt");
        edit->clear();
        QApplication::clipboard()->setText(QStringLiteral("ab12cd34"));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("ab12c"));
    }

    void enterAndEscapePressNothing()
    {
        auto *timer = m_window->findChild<QTimer *>(QStringLiteral("TeskTimeOut"));
        for (auto *button : m_window->findChildren<QPushButton *>()) {
            button->setFocus();
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(button, key);
        }
        QVERIFY2(!timer->isActive(), "a key sent a command"); // any send to unit 1 starts it
        QVERIFY(m_window->isVisible());
    }

    void idRuleRunsOnTheProgramsOwnChanges()
    {
        m_window->ops().setText(Field::TeskIDtxt, "127");
        QVERIFY(!m_window->findChild<QPushButton *>(QStringLiteral("AudioMuteCmd"))->isEnabled());
    }

    void addressFieldAsksOnClickOnly()
    {
        QLineEdit *address = field("BroadIPtxt");
        BoxAnswerer answerer;
        address->setFocus(
            Qt::TabFocusReason); // tabbing in asks nothing, and the locked field takes no typing
        QTest::keyClicks(address, QStringLiteral("9"));
        QCOMPARE(address->text(), QStringLiteral("255.255.255.255"));

        answerer.keys = {Qt::Key_Escape, Qt::Key_Return}; // No is the escape answer, Yes the default
        QTest::mouseClick(address, Qt::LeftButton);
        QTRY_COMPARE(answerer.seen.size(), 1);
        QVERIFY(address->isReadOnly());
        field("TeskIDtxt")->setFocus();
        QTest::mouseClick(address, Qt::LeftButton);
        QTRY_COMPARE(answerer.seen.size(), 2);
        QCOMPARE(answerer.icons, (QList<QMessageBox::Icon>{QMessageBox::Question, QMessageBox::Question}));
        QTRY_VERIFY(!address->isReadOnly());
        QTRY_COMPARE(m_window->focusWidget(), address);

        QTest::mouseClick(address, Qt::LeftButton);
        QTest::qWait(30);
        QCOMPARE(answerer.seen.size(), 2); // never asked again
    }

    // Typed as the operator types it, then Play clicked: the unit gets the ID as typed.
    void idGoesOnTheWireAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("F1 01 04 30 30 37 40 50 4C 0D FF 01 85 F2") << QStringLiteral("007");
        QTest::newRow("F1 01 04 30 30 30 40 50 4C 0D FF 01 7E F2") << QStringLiteral("000");
    }
    void idGoesOnTheWireAsTyped()
    {
        QFETCH(QString, typed);
        QUdpSocket unit;
        QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
        QLineEdit *id = field("TeskIDtxt");
        id->setFocus();
        id->selectAll();
        QTest::keyClicks(id, typed);
        QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("PlayCmd")), Qt::LeftButton);
        QVERIFY(unit.waitForReadyRead(2000));
        QCOMPARE(unit.receiveDatagram().data().toHex(' ').toUpper(), QByteArray(QTest::currentDataTag()));
    }

    void anyReplyShowsWholeOneCharPerByte()
    {
        QByteArray largest(65507, '\0'); // every byte value, rising: never "E00"
        for (int i = 0; i < largest.size(); ++i)
            largest[i] = char(i % 256);
        QUdpSocket unit;
        QCOMPARE(unit.writeDatagram(largest, QHostAddress(QStringLiteral("10.99.0.1")), 1028), qint64(65507));
        QTRY_COMPARE(field("TeskRspTxt")->text().size(), 65507);
        QCOMPARE(field("TeskRspTxt")->text(), QString::fromLatin1(largest));
    }

private:
    QLineEdit *field(const char *name) const { return m_window->findChild<QLineEdit *>(QLatin1String(name)); }

    std::unique_ptr<Main> m_window;
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
