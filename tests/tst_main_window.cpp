// SPDX-License-Identifier: MIT
#include "net/udp_endpoint.h"
#include "support/private_network.h"
#include "ui/main_window.h"

#include <QtNetwork>
#include <QtTest>
#include <QtWidgets>

#include <deque>

using namespace corvane;

using Show = std::function<void(Outcomes &)>;
Q_DECLARE_METATYPE(Show)

namespace {

struct Expected // x, y, w, h in pixels: twips / 15, rounded; maxLength and readOnly of text fields
{
    const char *name, *text;
    int x, y, w, h, maxLength;
    bool readOnly;
    const char *toolTip;
};

// The window as drawn, just after start-up, written out independently of the layout table.
// clang-format off
const Expected kControls[] = {
    {"addressField",   "255.255.255.255",      8,   8,   105, 19, 15,    true,  "See network administrator before changing."},
    {"addressLabel",   "Broadcast IP Address", 120, 8,   97,  19, 0,     false, ""},
    {"localAddressField",   "10.99.0.1",            8,   32,  105, 19, 32767, true,  "This is your computers IP address."},
    {"localAddressLabel",    "Local IP Address",     120, 32,  57,  19, 0,     false, ""},
    {"localPortField", "1028",                 8,   56,  41,  19, 5,     true,  "Port that your computer will comunicate with Tesk2 on."},
    {"localPortLabel",    "Local Port",           56,  56,  73,  19, 0,     false, ""},
    {"unitIdField",    "1",                    8,   80,  33,  19, 3,     false, "ID Number of Tesk2 you wish to control."},
    {"unitIdLabel",    "Tesk2 ID Number",      48,  80,  121, 19, 0,     false, ""},
    {"selectClipButton",    "Select Clip #",        8,   128, 123, 22, 0,     false, "Search to first frame of selected clip."},
    {"clipNumberField",   "0",                    136, 128, 49,  22, 5,     false, "Clip number you wish to select."},
    {"pauseButton",     "Pause",                224, 128, 65,  22, 0,     false, "Pause current clip (Video muted)."},
    {"playButton",      "Play",                 8,   152, 49,  22, 0,     false, "Play selected clip."},
    {"stillButton",     "Still",                240, 152, 49,  22, 0,     false, "Pause current clip (Last Frame Shown)."},
    {"loopPlayButton",     "Loop Play",            8,   176, 89,  22, 0,     false, "Play and loop selected clip."},
    {"stopButton",      "Stop",                 240, 176, 49,  22, 0,     false, "Stop current video (Last frame shown)."},
    {"videoMuteButton", "Mute Video",           8,   200, 113, 22, 0,     false, "Mute/Unmute video output."},
    {"audioMuteButton", "Mute Audio",           176, 200, 113, 22, 0,     false, "Mute/Unmute audio output."},
    {"replyField",   "",                     128, 248, 33,  19, 65507, true,  "Displays Tesk2s response to command sent."},
    {"replyLabel",   "Tesk2 Response",       168, 248, 121, 19, 0,     false, ""},
};
// clang-format on

// Answers the window's modal boxes as an operator would, with the next queued
// key (Return, the default button, once none is left), noting "title: text",
// the icon and the buttons of each.
struct BoxAnswerer : QTimer
{
    std::deque<Qt::Key> keys;
    QStringList seen;
    QList<QMessageBox::Icon> icons;
    QList<QMessageBox::StandardButtons> buttons;
    BoxAnswerer()
    {
        connect(this, &QTimer::timeout, [this] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
                box && box->isVisible()) {
                seen << box->windowTitle() + ": " + box->text();
                icons << box->icon();
                buttons << box->standardButtons();
                QTest::keyClick(box, keys.empty() ? Qt::Key_Return : keys.front());
                if (!keys.empty())
                    keys.pop_front();
            }
        });
        start(5);
    }
};

} // namespace

// What only the real window shows: layout, focus, keys and input methods,
// boxes, its look in another face (the test runs under a font configuration
// that holds DejaVu only), and its wiring to a real socket. Runs in a private
// network namespace: start-up binds, and some tests send.
class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_applicationFont = QGuiApplication::font(); }
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
        QAccessibleInterface *id = QAccessible::queryAccessibleInterface(field("unitIdField"));
        QCOMPARE(id->text(QAccessible::Name),
                 m_window->findChild<QLabel *>(QStringLiteral("unitIdLabel"))->text());
        QCOMPARE(m_window->findChild<QTimer *>(QStringLiteral("replyTimer"))->interval(), 6000);
        // Message boxes and tooltips keep the application's font.
        QCOMPARE(QGuiApplication::font(), m_applicationFont);
        // The icons, stored as plain pixels, are the pictures the launcher shows.
        for (const int side : {32, 64}) {
            const auto premultiplied = QImage::Format_ARGB32_Premultiplied;
            const QImage drawn(QStringLiteral(CORVANE_ART_DIR "/icon-%1.png").arg(side));
            QCOMPARE(m_window->windowIcon().pixmap(side).toImage().convertToFormat(premultiplied),
                     drawn.convertToFormat(premultiplied));
        }
    }

    void focusStartsInTheIdFieldAndFollowsTheTabOrder()
    {
        QWidget *widget = field("unitIdField");
        QTRY_COMPARE(QApplication::focusWidget(), widget);
        QStringList order;
        do {
            if (widget->focusPolicy() & Qt::TabFocus)
                order << widget->objectName();
            widget = widget->nextInFocusChain();
        } while (widget != field("unitIdField"));
        QCOMPARE(order, (QStringList{"unitIdField", "clipNumberField", "selectClipButton", "playButton",
                                     "loopPlayButton", "videoMuteButton", "pauseButton", "stillButton",
                                     "stopButton", "audioMuteButton", "localPortField", "addressField",
                                     "localAddressField", "replyField"}));
        // A Tab with its text, as X11 sends it, still moves on.
        field("clipNumberField")->setFocus();
        QTest::sendKeyEvent(QTest::Click, field("clipNumberField"), Qt::Key_Tab, "\t", Qt::NoModifier);
        QCOMPARE(QApplication::focusWidget()->objectName(), "selectClipButton");
    }

    // Into an emptied field: typed, committed by an input method, or one key with modifiers. Typed
    // text is then edited with Backspace, Home, Delete, Right and a 5.
    void characters_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("modifiers"); // -2: typed; -1: an input method's commit
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("edited");
        const auto row = [](const char *tag, const char *name, int modifiers, const QString &text,
                            const char *shown, const char *edited = "") {
            QTest::newRow(tag) << QString(name) << modifiers << text << QString(shown) << QString(edited);
        };
        row("typed ID", "unitIdField", -2, "a 1.b23", "123", "25");
        row("typed clip", "clipNumberField", -2, "x9.y 87", "987", "85");
        row("typed address, cut at 15", "addressField", -2, "10.a0 .1234567890123", "10.0.1234567890",
            "05.0.123456789");
        row("commit to ID: word with digits", "unitIdField", -1, "1 a2", "12");
        row("commit to clip: e-acute, 9", "clipNumberField", -1, "é9", "9");
        row("commit to address: letters, comma", "addressField", -1, "1a,0.0.2", "10.0.2");
        row("AltGr euro to clip", "clipNumberField", Qt::ControlModifier | Qt::AltModifier, "€", "");
        row("Ctrl+Shift ZWNJ to address", "addressField", Qt::ControlModifier | Qt::ShiftModifier, "\u200c",
            "");
        row("Meta+a to address", "addressField", Qt::MetaModifier, "a", "");
    }
    void characters()
    {
        QFETCH(QString, name);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(QString, edited);
        QLineEdit *edit = field(qPrintable(name));
        edit->setReadOnly(false); // the address field's lock is tested below
        edit->clear();
        edit->setFocus();
        if (modifiers == -2) {
            QTest::keyClicks(edit, text);
        } else if (modifiers == -1) {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QApplication::sendEvent(edit, &commit);
        } else { // Qt names the key of a Latin-1 character by its capital.
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(text.front().toUpper().unicode()), text,
                                Qt::KeyboardModifiers(modifiers));
        }
        QTEST(edit->text(), "shown");
        if (edited.isEmpty())
            return;
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Delete, "\x7f", {}); // as X11 sends it
        QTest::keyClick(edit, Qt::Key_Right);
        QTest::keyClick(edit, Qt::Key_5);
        QCOMPARE(edit->text(), edited);
    }

    // Platforms differ in the text a Ctrl+letter shortcut carries: the control
    // code (X11, Windows) or the letter itself (Qt Test, some others).
    void shortcutsWorkAndPasteIsCutNotFiltered()
    {
        QLineEdit *edit = field("clipNumberField");
        for (const bool controlCodes : {true, false}) {
            edit->setText("1a3");
            // Select all, copy, cut, paste twice (cut to the length limit), undo.
            const std::pair<char, const char *> shortcuts[] = {{'A', "1a3"}, {'C', "1a3"},   {'X', ""},
                                                               {'V', "1a3"}, {'V', "1a31a"}, {'Z', "1a3"}};
            for (const auto &[letter, after] : shortcuts) {
                const QChar text = controlCodes ? QChar(letter - 'A' + 1) : QChar(letter).toLower();
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(letter), QString(text), Qt::ControlModifier);
                QVERIFY2(edit->text() == after, controlCodes ? "control code" : "letter");
            }
        }
    }

    void enterAndEscapePressNothingAndTheIdRuleFollowsAnyChange()
    {
        auto *timer = m_window->findChild<QTimer *>(QStringLiteral("replyTimer"));
        for (auto *button : m_window->findChildren<QPushButton *>()) {
            button->setFocus();
            for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(button, key);
        }
        QVERIFY2(!timer->isActive(), "a key sent a command"); // any send to unit 1 starts it
        QVERIFY(m_window->isVisible());
        // The ID rule runs on the program's own changes too, not only on typing.
        m_window->ops().setText(Field::UnitId, "127");
        QVERIFY(!m_window->findChild<QPushButton *>(QStringLiteral("audioMuteButton"))->isEnabled());
    }

    // A click or F2 asks, once the address is unlocked no more; Escape answers No, Return Yes, and Yes moves
    // the focus to the address. Tabbing in asks nothing.
    void addressFieldAsksOnClickOrF2Only()
    {
        QLineEdit *address = field("addressField");
        BoxAnswerer answerer;
        answerer.keys = {Qt::Key_Escape, Qt::Key_Return};
        address->setFocus(Qt::TabFocusReason);
        QTest::mouseClick(address, Qt::LeftButton);
        QTRY_COMPARE(answerer.seen.size(), 1);
        QVERIFY(address->isReadOnly());
        field("unitIdField")->setFocus();
        QTest::keyClick(address, Qt::Key_F2); // returns once the box is answered
        QCOMPARE(answerer.seen.size(), 2);
        QVERIFY(!address->isReadOnly());
        QTRY_COMPARE(m_window->focusWidget(), address);
        QTest::mouseClick(address, Qt::LeftButton);
        QTest::qWait(30);
        QCOMPARE(answerer.seen.size(), 2); // never asked again
    }

    // Each outcome as the window shows it: a box (icon, buttons, "title: text"), or the reply field's text
    // once its display frame is over. Replies start from "before", so that an emptied field shows.
    void outcomesAsShown_data()
    {
        QTest::addColumn<Show>("show");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<QString>("shown");
        const auto row = [](const char *tag, Show show, QMessageBox::Icon icon, int buttons,
                            const char *shown) {
            QTest::newRow(tag) << show << int(icon) << buttons << QString::fromUtf8(shown);
        };
        const int ok = QMessageBox::Ok, yesNo = QMessageBox::Yes | QMessageBox::No,
                  none = QMessageBox::NoIcon;
        row(
            "no free port", [](Outcomes &o) { o.noFreePort(); }, QMessageBox::Critical, ok,
            "Zelosock Error: No open port found!");
        row(
            "address rejected", [](Outcomes &o) { o.inputRejected(Input::Address); }, QMessageBox::Critical,
            ok, "Data Error: An invalid IP address was entered!");
        row(
            "unit ID rejected", [](Outcomes &o) { o.inputRejected(Input::UnitId); }, QMessageBox::Critical,
            ok, "Data Error: Invalid Tesk2 ID! (0-127)");
        row(
            "send refused",
            [](Outcomes &o) {
                o.sendRefused({101, "Network is unreachable"});
            },
            QMessageBox::Critical, ok, "SockError: Zelosock Error: 101\nNetwork is unreachable");
        row(
            "endpoint failed",
            [](Outcomes &o) {
                o.endpointFailed({10054, "Connection reset by peer"});
            },
            QMessageBox::Warning, ok, "SockError: Zelosock Error: 10054\nConnection reset by peer");
        row(
            "timed out", [](Outcomes &o) { o.timedOut(); }, QMessageBox::Warning, ok,
            "Timeout Error: Communications Error: Check all connections and settings!");
        row(
            "unlock? Return: Yes", [](Outcomes &o) { QVERIFY(o.confirmsUnlock()); }, QMessageBox::Question,
            yesNo, "Broadcast IP Address: Are you sure you want to change the broadcast IP address?");
        row(
            "replied", [](Outcomes &o) { o.replied("R"); }, QMessageBox::Icon(none), 0, "R");
        row(
            "resends spent", [](Outcomes &o) { o.resendsSpent("E00"); }, QMessageBox::Icon(none), 0, "E00");
        row(
            "resending", [](Outcomes &o) { o.resending("E00"); }, QMessageBox::Icon(none), 0, "");
        row(
            "sending", [](Outcomes &o) { o.sending(); }, QMessageBox::Icon(none), 0, "");
    }
    void outcomesAsShown()
    {
        QFETCH(Show, show);
        QFETCH(int, icon);
        QFETCH(int, buttons);
        QFETCH(QString, shown);
        BoxAnswerer answerer;
        m_window->outcomes().replied("before");
        show(m_window->outcomes());
        if (icon == QMessageBox::NoIcon) {
            QTRY_COMPARE(field("replyField")->text(), shown);
            QTest::qWait(30);
            QCOMPARE(field("replyField")->text(), shown);
            QCOMPARE(answerer.seen.size(), 0);
            return;
        }
        QCOMPARE(answerer.seen, QStringList{shown});
        QCOMPARE(answerer.icons, QList<QMessageBox::Icon>{QMessageBox::Icon(icon)});
        QCOMPARE(answerer.buttons,
                 QList<QMessageBox::StandardButtons>{QMessageBox::StandardButtons(buttons)});
    }

    void everyTextFitsInAnotherFace()
    {
        const QStringList families = QFontDatabase::families();
        if (!families.contains("DejaVu Sans"))
            QSKIP("DejaVu Sans is not installed");
        QVERIFY2(!families.contains("Liberation Sans"), "the font configuration of this test should hide it");
        for (QLabel *label : m_window->findChildren<QLabel *>())
            QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() &&
                         label->geometry().right() < m_window->width(),
                     qPrintable(label->objectName()));
        // The fields' texts: tst_field_fit, which runs in this face too.
        m_window->setPalette(QPalette(Qt::white, Qt::magenta));
        const QImage shot = m_window->grab().toImage();
        // The art covers the client area: the bottom right corner is the last pixel it reaches.
        QVERIFY(shot.pixelColor(shot.width() - 1, shot.height() - 1) != Qt::magenta);
    }

    void anyReplyShowsWholeOneCharPerByte()
    {
        QByteArray largest(65507, '\0'); // every byte value, rising: never "E00"
        for (int i = 0; i < largest.size(); ++i)
            largest[i] = char(i % 256);
        QUdpSocket unit;
        QCOMPARE(unit.writeDatagram(largest, QHostAddress(QStringLiteral("10.99.0.1")), 1028), qint64(65507));
        QTRY_COMPARE(field("replyField")->text().size(), 65507);
        QCOMPARE(field("replyField")->text(), QString::fromLatin1(largest));
    }

    // Last: it turns the wire log on for good. IDs typed with leading zeros go on the wire as typed.
    void wireLogShowsEachKindOfEvent()
    {
        QVERIFY2(!lcWire().isDebugEnabled(), "the wire log must be off unless asked for");
        QLoggingCategory::setFilterRules(QStringLiteral("corvane.wire=true"));
        // Sums worked by hand: 007 and "PL\r" sum to 0x185, 000 and "ST\r" to 0x189.
        const QByteArray play007 = "F1 01 04 30 30 37 40 50 4C 0D FF 01 85 F2",
                         still000 = "F1 01 04 30 30 30 40 53 54 0D FF 01 89 F2";
        // Each line must come, as often as it is listed, by the end of the test.
        for (const QByteArray &line : QByteArrayList{
                 "bound UDP port 1028", "sent to 255.255.255.255 port 2639: " + play007,
                 "reply from 10.99.0.1 port 2639: E00\\x0D", "sent to 255.255.255.255 port 2639: " + play007,
                 "that was resend 1 of this command", "sent to 255.255.255.255 port 2639: " + still000,
                 "no reply within 6000 ms"})
            QTest::ignoreMessage(QtDebugMsg, line.constData());
        // A unit that asks once for the frame again, then never answers.
        QUdpSocket unit;
        QVERIFY2(unit.bind(QHostAddress(QHostAddress::AnyIPv4), 2639), qPrintable(unit.errorString()));
        QByteArrayList frames;
        connect(&unit, &QUdpSocket::readyRead, &unit, [&unit, &frames] {
            const QNetworkDatagram frame = unit.receiveDatagram();
            frames << frame.data().toHex(' ').toUpper();
            if (frames.size() == 1)
                unit.writeDatagram("E00\r", frame.senderAddress(), frame.senderPort());
        });
        m_window = std::make_unique<Main>(); // the one from init is gone before this one binds
        m_window->startUp();
        m_window->show();
        BoxAnswerer answerer;
        for (const auto &[typed, button] :
             {std::pair("007", "playButton"), std::pair("000", "stillButton")}) {
            field("unitIdField")->setFocus();
            field("unitIdField")->selectAll();
            QTest::keyClicks(field("unitIdField"), typed);
            QTest::mouseClick(m_window->findChild<QPushButton *>(button), Qt::LeftButton);
            QTRY_COMPARE(frames.size(), typed[2] == '7' ? 2 : 3);
        }
        QCOMPARE(frames, (QByteArrayList{play007, play007, still000}));
        QTRY_COMPARE_WITH_TIMEOUT(answerer.seen.size(), 1, 8000);
    }

private:
    QLineEdit *field(const char *name) const { return m_window->findChild<QLineEdit *>(QLatin1String(name)); }

    std::unique_ptr<Main> m_window;
    QFont m_applicationFont; // as it was before any window was made
};

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
