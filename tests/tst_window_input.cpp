// SPDX-License-Identifier: MIT
// What reaches the entry fields by ways other than plain key presses, the
// keyboard's way to unlock the address, and how the window looks: its art
// over the whole client area, its text in a face other than the one it was
// drawn with. Run under a font configuration that holds DejaVu only, as on a
// system without Liberation.

#include "support/box_answerer.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QFontDatabase>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <memory>

using namespace corvane;

class TestWindowInput : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void charactersAreJudgedHoweverTheyCome_data();
    void charactersAreJudgedHoweverTheyCome();
    void editingKeysAndShortcutsWork();
    void f2AsksToUnlockTheAddress();
    void everyTextFitsInAnotherFace();
    void backgroundCoversTheClientArea();

private:
    QLineEdit *field(const QString &name) const { return m_window->findChild<QLineEdit *>(name); }
    std::unique_ptr<Main> m_window;
};

void TestWindowInput::init()
{
    m_window = std::make_unique<Main>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWindowInput::charactersAreJudgedHoweverTheyCome_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("modifiers"); // -1: not a key but an input method's commit
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    const auto row = [](const char *tag, const char *name, int modifiers, const QString &text,
                        const char *shown) {
        QTest::newRow(tag) << QString(name) << modifiers << text << QString(shown);
    };
    row("commit to ID: word with digits", "TeskIDtxt", -1, "1 a2", "12");
    row("commit to clip: e-acute, 9", "ClipNumtxt", -1, "é9", "09");
    row("commit to address: letters, comma", "BroadIPtxt", -1, "1a,0.0.2", "10.0.2");
    row("AltGr euro to clip", "ClipNumtxt", Qt::ControlModifier | Qt::AltModifier, "€", "0");
    row("Ctrl+Shift ZWNJ to address", "BroadIPtxt", Qt::ControlModifier | Qt::ShiftModifier,
        QStringLiteral("\u200c"), "");
    row("Meta+a to address", "BroadIPtxt", Qt::MetaModifier, "a", "");
}

void TestWindowInput::charactersAreJudgedHoweverTheyCome()
{
    QFETCH(QString, name);
    QFETCH(int, modifiers);
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QLineEdit *edit = field(name);
    if (modifiers < 0) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(edit, &commit);
    } else {
        // Qt names the key of a Latin-1 character by its capital.
        QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(text.front().toUpper().unicode()), text,
                            Qt::KeyboardModifiers(modifiers));
    }
    QCOMPARE(edit->text(), shown);
}

// Platforms differ in the text a Ctrl+letter shortcut carries: the control
// code (X11, Windows) or the letter itself (Qt Test, some others).
void TestWindowInput::editingKeysAndShortcutsWork()
{
    QLineEdit *edit = field("ClipNumtxt");
    for (const bool controlCodes : {true, false}) {
        edit->setText("123");
        // Select all, copy, cut, paste twice (cut to the length limit), undo.
        const std::pair<char, const char *> shortcuts[] = {{'A', "123"}, {'C', "123"},   {'X', ""},
                                                           {'V', "123"}, {'V', "12312"}, {'Z', "123"}};
        for (const auto &[letter, after] : shortcuts) {
            const QChar text = controlCodes ? QChar(letter - 'A' + 1) : QChar(letter).toLower();
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key(letter), QString(text), Qt::ControlModifier);
            QVERIFY2(edit->text() == after, controlCodes ? "control code" : "letter");
        }
    }
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Left, QString(), Qt::NoModifier);
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Delete, "\x7f", Qt::NoModifier);
    QCOMPARE(edit->text(), "12");
    edit->setFocus();
    QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_Tab, "\t", Qt::NoModifier);
    QCOMPARE(QApplication::focusWidget()->objectName(), "SelectCmd");
}

void TestWindowInput::f2AsksToUnlockTheAddress()
{
    QLineEdit *address = field("BroadIPtxt");
    m_window->ops().setLocked(Field::BroadIPtxt, true);
    BoxAnswerer answerer;
    answerer.answers = {QMessageBox::No, QMessageBox::Yes};
    QTest::keyClick(address, Qt::Key_F2); // returns once the box is answered
    QCOMPARE(answerer.seen.size(), 1);
    QVERIFY(address->isReadOnly());
    QTest::keyClick(address, Qt::Key_F2);
    QCOMPARE(answerer.seen.back(),
             "Broadcast IP Address: Are you sure you want to change the broadcast IP address?");
    QVERIFY(!address->isReadOnly());
}

void TestWindowInput::everyTextFitsInAnotherFace()
{
    const QStringList families = QFontDatabase::families();
    if (!families.contains("DejaVu Sans"))
        QSKIP("DejaVu Sans is not installed");
    QVERIFY2(!families.contains("Liberation Sans"), "the font configuration of this test should hide it");
    for (QLabel *label : m_window->findChildren<QLabel *>())
        QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width() &&
                     label->geometry().right() < m_window->width(),
                 qPrintable(label->objectName()));
    const QStringList longest = {
        "BroadIPtxt", "255.255.255.255", "LocalIPtxt", "255.255.255.255", "LocalPortTxt",
        "65535",      "TeskIDtxt",       "127",        "ClipNumtxt",      "99999"};
    for (qsizetype i = 0; i < longest.size(); i += 2) {
        QLineEdit *edit = field(longest[i]);
        edit->setText(longest[i + 1]);
        // In full: with the cursor at its end, the text is not scrolled and
        // ends inside the frame. The field works out its scrolling when it
        // paints; the cursor's rectangle is centred a pixel left of the cursor.
        edit->repaint();
        const int end = edit->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x();
        const int start = end - edit->fontMetrics().horizontalAdvance(longest[i + 1]);
        QVERIFY2(start >= 0 && end < edit->width() - 1, qPrintable(longest[i]));
    }
}

void TestWindowInput::backgroundCoversTheClientArea()
{
    m_window->setPalette(QPalette(Qt::white, Qt::magenta));
    const QImage shot = m_window->grab().toImage();
    // The bottom right corner is the last pixel the art reaches.
    QVERIFY(shot.pixelColor(shot.width() - 1, shot.height() - 1) != Qt::magenta);
}

QTEST_MAIN(TestWindowInput)
#include "tst_window_input.moc"
