#include "support/box_answerer.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace corvane;

namespace {

struct Expected
{
    const char *name;
    const char *text;
    int x, y, w, h; // pixels
    int maxLength;  // 0: not a text field
    bool readOnly;
    const char *toolTip;
};

// The window as drawn, in pixels (15 twips each), written out independently of the layout table.
// clang-format off
const Expected kControls[] = {
    {"BroadIPtxt",   "",                     8,   8,   105, 19, 15,    false, "See network administrator before changing."},
    {"BroadIPlbl",   "Broadcast IP Address", 120, 8,   97,  19, 0,     false, ""},
    {"LocalIPtxt",   "",                     8,   32,  105, 19, 32767, true,  "This is your computers IP address."},
    {"HostIPLbl",    "Local IP Address",     120, 32,  57,  19, 0,     false, ""},
    {"LocalPortTxt", "",                     8,   56,  41,  19, 5,     true,  "Port that your computer will comunicate with Tesk2 on."},
    {"LocalPLbl",    "Local Port",           56,  56,  73,  19, 0,     false, ""},
    {"TeskIDtxt",    "",                     8,   80,  33,  19, 3,     false, "ID Number of Tesk2 you wish to control."},
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

const QStringList kTabOrder = {"TeskIDtxt",    "ClipNumtxt", "SelectCmd",  "PlayCmd",   "LPlayCmd",
                               "VideoMuteCmd", "PauseCmd",   "StillCmd",   "StopCmd",   "AudioMuteCmd",
                               "LocalPortTxt", "BroadIPtxt", "LocalIPtxt", "TeskRspTxt"};

const QString kUnlockQuestion =
    QStringLiteral("Broadcast IP Address: Are you sure you want to change the broadcast IP address?");

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void layoutMatchesTheDrawing();
    void windowIsPlainAndFixed();
    void focusStartsInTheIdFieldAndFollowsTheTabOrder();
    void captionsAndContentsShowInFull();
    void screenReadersNameEveryControl();
    void startUpFillsTheFields();
    void keyFilters_data();
    void keyFilters();
    void pasteIsNotFilteredButCut();
    void enterAndEscapePressNothing();
    void addressFieldAsksOnClickOnly();
    void muteButtonsFollowTypedId();
    void timeoutWarnsOnce();

private:
    QLineEdit *field(const char *name) const { return m_window->findChild<QLineEdit *>(QLatin1String(name)); }
    QPushButton *button(const char *name) const
    {
        return m_window->findChild<QPushButton *>(QLatin1String(name));
    }
    void startUp();

    Main *m_window = nullptr;
};

void TestMainWindow::init()
{
    m_window = new Main;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestMainWindow::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

// Start-up binds a socket; only inside the private namespace.
void TestMainWindow::startUp()
{
    REQUIRE_PRIVATE_NETWORK();
    m_window->startUp();
}

void TestMainWindow::layoutMatchesTheDrawing()
{
    for (const Expected &c : kControls) {
        const QString name = QLatin1String(c.name);
        auto *widget = m_window->findChild<QWidget *>(name);
        QVERIFY2(widget, qPrintable(name));
        const QRect g = widget->geometry();
        QVERIFY2(g.x() == c.x && g.y() == c.y && g.height() == c.h, qPrintable(name));
        if (auto *label = qobject_cast<QLabel *>(widget)) {
            QVERIFY2(g.width() >= c.w, qPrintable(name)); // labels may only grow, to the right
            QCOMPARE(label->text(), QLatin1String(c.text));
        } else {
            QVERIFY2(g.width() == c.w, qPrintable(name));
        }
        QCOMPARE(widget->toolTip(), QLatin1String(c.toolTip));
        if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
            QCOMPARE(edit->text(), QLatin1String(c.text));
            QCOMPARE(edit->maxLength(), c.maxLength);
            QCOMPARE(edit->isReadOnly(), c.readOnly);
            QVERIFY(!edit->font().bold());
        } else {
            QVERIFY2(widget->font().bold(), qPrintable(name));
        }
        if (auto *push = qobject_cast<QPushButton *>(widget)) {
            QCOMPARE(push->text(), QLatin1String(c.text));
            QVERIFY2(!push->isDefault() && !push->autoDefault(), qPrintable(name));
        }
        QCOMPARE(widget->font().pointSizeF(), 9.75);
    }
}

void TestMainWindow::windowIsPlainAndFixed()
{
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Corvane V1.0.1"));
    QCOMPARE(m_window->size(), QSize(297, 291));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QVERIFY(m_window->isWindow());
    QVERIFY(!m_window->inherits("QDialog")); // a dialog would close on Escape
    QVERIFY(!m_window->windowIcon().isNull());
}

void TestMainWindow::focusStartsInTheIdFieldAndFollowsTheTabOrder()
{
    QStringList order;
    QWidget *widget = field("TeskIDtxt");
    QTRY_COMPARE(QApplication::focusWidget(), widget);
    do {
        if (widget->focusPolicy() & Qt::TabFocus)
            order << widget->objectName();
        widget = widget->nextInFocusChain();
    } while (widget != field("TeskIDtxt"));
    QCOMPARE(order, kTabOrder);
}

void TestMainWindow::captionsAndContentsShowInFull()
{
    for (QLabel *label : m_window->findChildren<QLabel *>()) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(needed <= label->width(), qPrintable(label->objectName()));
        QVERIFY2(label->geometry().right() < m_window->width(), qPrintable(label->objectName()));
    }
    auto *video = button("VideoMuteCmd");
    auto *audio = button("AudioMuteCmd");
    video->setText(QStringLiteral("Unmute Video"));
    audio->setText(QStringLiteral("Unmute Audio"));
    for (QPushButton *push : m_window->findChildren<QPushButton *>()) {
        const int needed = push->fontMetrics().horizontalAdvance(push->text());
        QVERIFY2(needed + 8 <= push->width(), qPrintable(push->objectName()));
    }

    const std::pair<const char *, const char *> longest[] = {
        {"BroadIPtxt", "255.255.255.255"},
        {"LocalIPtxt", "255.255.255.255"},
        {"LocalPortTxt", "49152"},
        {"ClipNumtxt", "99999"},
        {"TeskIDtxt", "127"},
    };
    for (const auto &[name, text] : longest) {
        QLineEdit *edit = field(name);
        edit->setText(QLatin1String(text));
        // The field works out its scrolling when it paints.
        const auto cursorX = [edit] {
            edit->repaint();
            return edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        };
        edit->home(false);
        const int start = cursorX();
        edit->end(false);
        // Shown in full: going to the end did not scroll the text, and the end is inside the frame.
        QVERIFY2(cursorX() - start == edit->fontMetrics().horizontalAdvance(QLatin1String(text)), name);
        QVERIFY2(cursorX() < edit->width() - 1, name);
    }
}

void TestMainWindow::screenReadersNameEveryControl()
{
    const std::pair<const char *, const char *> names[] = {
        {"BroadIPtxt", "Broadcast IP Address"},
        {"LocalIPtxt", "Local IP Address"},
        {"LocalPortTxt", "Local Port"},
        {"TeskIDtxt", "Tesk2 ID Number"},
        {"ClipNumtxt", "Clip number"},
        {"TeskRspTxt", "Tesk2 Response"},
        {"PlayCmd", "Play"},
        {"AudioMuteCmd", "Mute Audio"},
    };
    for (const auto &[name, spoken] : names) {
        auto *widget = m_window->findChild<QWidget *>(QLatin1String(name));
        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(widget);
        QVERIFY2(accessible, name);
        QCOMPARE(accessible->text(QAccessible::Name), QLatin1String(spoken));
        QCOMPARE(accessible->text(QAccessible::Description), widget->toolTip());
    }
}

void TestMainWindow::startUpFillsTheFields()
{
    startUp();
    QCOMPARE(field("TeskIDtxt")->text(), QStringLiteral("1"));
    QCOMPARE(field("BroadIPtxt")->text(), QStringLiteral("255.255.255.255"));
    QVERIFY(field("BroadIPtxt")->isReadOnly());
    QCOMPARE(field("LocalIPtxt")->text(), QStringLiteral("10.99.0.1"));
    QCOMPARE(field("LocalPortTxt")->text(), QStringLiteral("1028"));
}

void TestMainWindow::keyFilters_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");

    QTest::newRow("ID: letters and space refused") << "TeskIDtxt"
                                                   << "a 1b2"
                                                   << "12";
    QTest::newRow("ID: dot refused") << "TeskIDtxt"
                                     << "1.2"
                                     << "12";
    QTest::newRow("clip: letters refused") << "ClipNumtxt"
                                           << "x9y8"
                                           << "98";
    QTest::newRow("clip: dot refused") << "ClipNumtxt"
                                       << "9.8"
                                       << "98";
    QTest::newRow("address: dot accepted") << "BroadIPtxt"
                                           << "10.a0.0 .1"
                                           << "10.0.0.1";
    QTest::newRow("address: cut at 15") << "BroadIPtxt"
                                        << "1234567890123456789"
                                        << "123456789012345";
}

void TestMainWindow::keyFilters()
{
    QFETCH(QString, name);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QLineEdit *edit = field(qPrintable(name));
    edit->clear();
    edit->setFocus();
    QTest::keyClicks(edit, typed);
    QCOMPARE(edit->text(), shown);

    // Backspace passes; Home, Delete and the cursor keys keep their effect.
    QTest::keyClick(edit, Qt::Key_Backspace);
    const QString afterBackspace = shown.chopped(1);
    QCOMPARE(edit->text(), afterBackspace);
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClick(edit, Qt::Key_Delete);
    const QString afterDelete = afterBackspace.mid(1);
    QCOMPARE(edit->text(), afterDelete);
    QTest::keyClick(edit, Qt::Key_Right);
    QTest::keyClicks(edit, QStringLiteral("5"));
    QCOMPARE(edit->text(), afterDelete.left(1) + QLatin1Char('5') + afterDelete.mid(1));
}

void TestMainWindow::pasteIsNotFilteredButCut()
{
    QLineEdit *edit = field("ClipNumtxt");
    edit->clear();
    edit->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("ab12cd34"));
    QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit->text(), QStringLiteral("ab12c"));
}

void TestMainWindow::enterAndEscapePressNothing()
{
    startUp();
    int boxes = 0;
    BoxAnswerer answerer;
    for (const char *name : {"TeskIDtxt", "ClipNumtxt"}) {
        QLineEdit *edit = field(name);
        edit->setFocus();
        const QString before = edit->text();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(edit, key);
        QCOMPARE(edit->text(), before);
    }
    QTest::keyClick(button("PlayCmd"), Qt::Key_Return);
    QTest::qWait(50);
    boxes += int(answerer.seen.size());
    QCOMPARE(boxes, 0);
    QVERIFY(m_window->isVisible());
    QCOMPARE(field("TeskRspTxt")->text(), QString()); // nothing was sent, nothing came back
}

void TestMainWindow::addressFieldAsksOnClickOnly()
{
    startUp();
    QLineEdit *address = field("BroadIPtxt");
    BoxAnswerer answerer;

    // Tabbing in asks nothing, and the locked field takes no typing.
    address->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(address, QStringLiteral("9"));
    QTest::qWait(30);
    QCOMPARE(answerer.seen.size(), 0);
    QCOMPARE(address->text(), QStringLiteral("255.255.255.255"));

    answerer.answers = {QMessageBox::No, QMessageBox::No, QMessageBox::Yes};
    QTest::mouseClick(address, Qt::LeftButton);
    QTRY_COMPARE(answerer.seen.size(), 1);
    QVERIFY(address->isReadOnly());
    QTest::mouseDClick(address, Qt::LeftButton); // a quick second click asks too
    QTRY_COMPARE(answerer.seen.size(), 2);
    QVERIFY(address->isReadOnly());
    field("TeskIDtxt")->setFocus();
    QTest::mouseClick(address, Qt::LeftButton);
    QTRY_COMPARE(answerer.seen.size(), 3);
    QCOMPARE(answerer.seen.first(), kUnlockQuestion);
    QCOMPARE(answerer.icons.first(), QMessageBox::Question);
    QVERIFY(!address->isReadOnly());
    QCOMPARE(m_window->focusWidget(), address); // it has the focus once the window is active again

    QTest::mouseClick(address, Qt::LeftButton);
    QTest::qWait(30);
    QCOMPARE(answerer.seen.size(), 3); // never asked again
    address->selectAll();
    QTest::keyClicks(address, QStringLiteral("127.0.0.1"));
    QCOMPARE(address->text(), QStringLiteral("127.0.0.1"));
}

void TestMainWindow::muteButtonsFollowTypedId()
{
    startUp();
    QLineEdit *id = field("TeskIDtxt");
    id->setFocus();
    id->selectAll();
    QTest::keyClicks(id, QStringLiteral("127"));
    QVERIFY(!button("VideoMuteCmd")->isEnabled());
    QVERIFY(!button("AudioMuteCmd")->isEnabled());
    QTest::keyClick(id, Qt::Key_Backspace);
    QVERIFY(button("VideoMuteCmd")->isEnabled());
    QVERIFY(button("AudioMuteCmd")->isEnabled());
    QTest::keyClicks(id, QStringLiteral("7"));
    id->clear();
    QVERIFY(!button("VideoMuteCmd")->isEnabled());
}

void TestMainWindow::timeoutWarnsOnce()
{
    startUp();
    auto *timer = m_window->findChild<QTimer *>(QStringLiteral("TeskTimeOut"));
    QVERIFY(timer);
    QCOMPARE(timer->interval(), 6000);
    QCOMPARE(timer->timerType(), Qt::PreciseTimer);
    QVERIFY(!timer->isActive());
    timer->setInterval(40);
    field("BroadIPtxt")->setText(QStringLiteral("127.0.0.1")); // nobody answers there

    BoxAnswerer answerer;
    QTest::mouseClick(button("PlayCmd"), Qt::LeftButton);
    QVERIFY(timer->isActive());
    QTRY_COMPARE(answerer.seen.size(), 1);
    QTest::qWait(200);
    QCOMPARE(answerer.seen,
             QStringList{"Timeout Error: Communications Error: Check all connections and settings!"});
    QCOMPARE(answerer.icons.first(), QMessageBox::Warning);
    QVERIFY(!timer->isActive());

    field("TeskIDtxt")->setText(QStringLiteral("127"));
    QTest::mouseClick(button("StopCmd"), Qt::LeftButton);
    QVERIFY(!timer->isActive()); // nobody is expected to answer unit 127
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
