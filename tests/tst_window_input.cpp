// SPDX-License-Identifier: MIT
// What reaches the entry fields by ways other than plain key presses, the
// keyboard's way to unlock the address, and how the window looks: its art
// over the whole client area, its text in a face other than the one it was
// drawn with. Run under a font configuration that holds DejaVu only, as on a
// system without Liberation.

#include "support/box_answerer.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

using namespace corvane;

class TestWindowInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void inputMethodCommitsAreJudged_data();
    void inputMethodCommitsAreJudged();
    void keysAreJudgedByTheirText_data();
    void keysAreJudgedByTheirText();
    void editingKeysAndShortcutsWork_data();
    void editingKeysAndShortcutsWork();
    void f2AsksToUnlockTheAddress_data();
    void f2AsksToUnlockTheAddress();
    void everyTextFitsInAnotherFace();
    void backgroundCoversTheClientArea();

private:
    QLineEdit *field(const QString &name) const { return m_window->findChild<QLineEdit *>(name); }

    Main *m_window = nullptr;
};

void TestWindowInput::init()
{
    m_window = new Main;
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
}

void TestWindowInput::cleanup()
{
    delete m_window;
    m_window = nullptr;
}

void TestWindowInput::inputMethodCommitsAreJudged_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("commit");
    QTest::addColumn<QString>("shown");
    QTest::newRow("ID: dead key e-acute") << "TeskIDtxt" << QStringLiteral("\u00e9") << "";
    QTest::newRow("ID: digits") << "TeskIDtxt"
                                << "127"
                                << "127";
    QTest::newRow("ID: word with digits") << "TeskIDtxt"
                                          << "1 a2"
                                          << "12";
    QTest::newRow("ID: backspace inside") << "TeskIDtxt"
                                          << "1\b2"
                                          << "12";
    QTest::newRow("clip: e-acute then 9") << "ClipNumtxt" << QStringLiteral("\u00e99") << "9";
    QTest::newRow("address: letters, comma, dots") << "BroadIPtxt"
                                                   << "1a,0.0.2"
                                                   << "10.0.2";
}

void TestWindowInput::inputMethodCommitsAreJudged()
{
    QFETCH(QString, name);
    QFETCH(QString, commit);
    QFETCH(QString, shown);
    QLineEdit *edit = field(name);
    edit->clear();
    edit->setFocus();
    QInputMethodEvent event;
    event.setCommitString(commit);
    QApplication::sendEvent(edit, &event);
    QCOMPARE(edit->text(), shown);
}

void TestWindowInput::keysAreJudgedByTheirText_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const int altGr = Qt::ControlModifier | Qt::AltModifier;
    QTest::newRow("ID: AltGr @") << "TeskIDtxt" << int(Qt::Key_Q) << altGr << "@"
                                 << "";
    QTest::newRow("clip: AltGr euro")
        << "ClipNumtxt" << int(Qt::Key_E) << altGr << QStringLiteral("\u20ac") << "";
    QTest::newRow("clip: AltGr digit") << "ClipNumtxt" << int(Qt::Key_7) << altGr << "7"
                                       << "7";
    QTest::newRow("address: Ctrl+Shift ZWNJ")
        << "BroadIPtxt" << int(Qt::Key_2) << int(Qt::ControlModifier | Qt::ShiftModifier)
        << QStringLiteral("\u200c") << "";
    QTest::newRow("address: Meta+a") << "BroadIPtxt" << int(Qt::Key_A) << int(Qt::MetaModifier) << "a"
                                     << "";
}

void TestWindowInput::keysAreJudgedByTheirText()
{
    QFETCH(QString, name);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QLineEdit *edit = field(name);
    edit->clear();
    edit->setFocus();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(key), text, Qt::KeyboardModifiers(modifiers));
    QCOMPARE(edit->text(), shown);
}

// Platforms differ in the text a Ctrl+letter shortcut carries: the control
// code (X11, Windows) or the letter itself (Qt Test, some others).
void TestWindowInput::editingKeysAndShortcutsWork_data()
{
    QTest::addColumn<QString>("codes");
    QTest::newRow("control codes") << "\x01\x03\x18\x16\x1a";
    QTest::newRow("letters") << "acxvz";
}

void TestWindowInput::editingKeysAndShortcutsWork()
{
    QFETCH(QString, codes);
    QLineEdit *edit = field("ClipNumtxt");
    edit->setFocus();
    edit->setText("123");
    const auto ctrl = [&](Qt::Key key, int i) {
        QTest::sendKeyEvent(QTest::Click, edit, key, codes.mid(i, 1), Qt::ControlModifier);
    };
    ctrl(Qt::Key_A, 0);
    ctrl(Qt::Key_C, 1);
    QCOMPARE(QApplication::clipboard()->text(), "123");
    ctrl(Qt::Key_X, 2);
    QCOMPARE(edit->text(), "");
    ctrl(Qt::Key_V, 3);
    ctrl(Qt::Key_V, 3);
    QCOMPARE(edit->text(), "12312");
    ctrl(Qt::Key_Z, 4);
    QCOMPARE(edit->text(), "123");
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Left, QString(), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Delete, "\x7f", Qt::NoModifier);
    QCOMPARE(edit->text(), "12");
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Tab, "\t", Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), "SelectCmd");
}

void TestWindowInput::f2AsksToUnlockTheAddress_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes unlocks") << true;
    QTest::newRow("No keeps it locked") << false;
}

void TestWindowInput::f2AsksToUnlockTheAddress()
{
    QFETCH(bool, yes);
    QLineEdit *address = field("BroadIPtxt");
    m_window->ops().setLocked(Field::BroadIPtxt, true);
    address->setFocus(Qt::TabFocusReason);
    BoxAnswerer answerer;
    answerer.answers = {yes ? QMessageBox::Yes : QMessageBox::No};
    QTest::keyClick(address, Qt::Key_F2);
    QTRY_COMPARE(answerer.seen.size(), 1);
    QCOMPARE(answerer.seen.front(),
             "Broadcast IP Address: Are you sure you want to change the broadcast IP address?");
    QCOMPARE(address->isReadOnly(), !yes);
}

void TestWindowInput::everyTextFitsInAnotherFace()
{
    const QStringList families = QFontDatabase::families();
    if (!families.contains("DejaVu Sans"))
        QSKIP("DejaVu Sans is not installed");
    QVERIFY2(!families.contains("Liberation Sans"), "the font configuration of this test should hide it");
    for (QLabel *label : m_window->findChildren<QLabel *>()) {
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(),
                 qPrintable(label->objectName()));
        QVERIFY2(label->geometry().right() < m_window->width(), qPrintable(label->objectName()));
    }
    const std::pair<const char *, const char *> longest[] = {
        {"BroadIPtxt", "255.255.255.255"}, {"LocalIPtxt", "255.255.255.255"},
        {"LocalPortTxt", "65535"},         {"TeskIDtxt", "127"},
        {"ClipNumtxt", "99999"},
    };
    for (const auto &[name, text] : longest) {
        QLineEdit *edit = field(name);
        edit->setText(text);
        // In full: shown from its start, the text ends inside the frame. The
        // cursor's rectangle is centred a pixel left of the cursor itself.
        edit->setCursorPosition(0);
        edit->repaint();
        const int start = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        const int end = start + edit->fontMetrics().horizontalAdvance(text);
        QVERIFY2(start >= 0 && end < edit->width() - 1, name);
    }
}

void TestWindowInput::backgroundCoversTheClientArea()
{
    QPalette palette = m_window->palette();
    palette.setColor(QPalette::Window, Qt::magenta);
    m_window->setPalette(palette);
    const QImage shot = m_window->grab().toImage();
    const QRgb unpainted = QColor(Qt::magenta).rgb();
    for (int x = 0; x < shot.width(); ++x)
        QVERIFY2(shot.pixel(x, shot.height() - 1) != unpainted, "bottom row");
    for (int y = 0; y < shot.height(); ++y)
        QVERIFY2(shot.pixel(shot.width() - 1, y) != unpainted, "right column");
}

QTEST_MAIN(TestWindowInput)
#include "tst_window_input.moc"
