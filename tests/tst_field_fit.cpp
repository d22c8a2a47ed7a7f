// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QtTest>

using namespace corvane;

namespace {

// A bare field like the window's: the part of its contents rectangle, as
// QLineEdit asks the style for it, that the frame leaves.
struct StyledField : QLineEdit
{
    explicit StyledField(const QLineEdit &field) : QLineEdit(field.parentWidget())
    {
        setGeometry(field.geometry());
        setReadOnly(field.isReadOnly());
        ensurePolished();
    }
    QRect inside() const
    {
        QStyleOptionFrame option;
        initStyleOption(&option);
        const int frame = option.lineWidth;
        return style()
            ->subElementRect(QStyle::SE_LineEditContents, &option, this)
            .intersected(rect().marginsRemoved(QMargins(frame, frame, frame, frame)));
    }
};

} // namespace

// Every field shows its longest text in full under each style a desktop may
// give the window: the first and the last character, and the cursor after
// it, inside the style's contents rectangle and frame, a pixel clear of
// them. Nothing is bound or sent: the window is never started.
class TestFieldFit : public QObject
{
    Q_OBJECT

private slots:
    void longestTextsShowInFull_data()
    {
        QTest::addColumn<QString>("style");
        for (const char *style : {"Fusion", "Windows", "Adwaita", "Adwaita-Dark"})
            QTest::newRow(style) << QString::fromLatin1(style);
    }
    void longestTextsShowInFull()
    {
        QFETCH(QString, style);
        if (!QStyleFactory::keys().contains(style, Qt::CaseInsensitive))
            QSKIP(qPrintable(style + " is not installed (Debian: adwaita-qt6)"));
        QApplication::setStyle(style);
        Main window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const std::pair<const char *, const char *> longest[] = {{"BroadIPtxt", "255.255.255.255"},
                                                                 {"LocalIPtxt", "255.255.255.255"},
                                                                 {"LocalPortTxt", "65535"},
                                                                 {"TeskIDtxt", "127"},
                                                                 {"ClipNumtxt", "99999"}};
        for (const auto &[name, text] : longest) {
            auto *field = window.findChild<QLineEdit *>(QLatin1String(name));
            QVERIFY2(field, name);
            field->setText(QLatin1String(text));
            // The field works out its scrolling as it paints. The cursor's
            // rectangle is centred a pixel left of the cursor.
            field->repaint();
            const int cursor = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() + 1;
            const int first = cursor - field->fontMetrics().horizontalAdvance(QLatin1String(text));
            const QRect room = StyledField(*field).inside();
            QVERIFY2(first > room.left() && cursor < room.right(),
                     qPrintable(QStringLiteral("%1: from %2 to %3 in %4 to %5")
                                    .arg(name)
                                    .arg(first)
                                    .arg(cursor)
                                    .arg(room.left())
                                    .arg(room.right())));
        }
    }
};

QTEST_MAIN(TestFieldFit)
#include "tst_field_fit.moc"
