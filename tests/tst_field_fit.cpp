// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include <QApplication>
#include <QLineEdit>
#include <QStyle>
#include <QStyleFactory>
#include <QStyleOptionFrame>
#include <QtTest>

using namespace corvane;

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
        const std::pair<const char *, const char *> longest[] = {{"addressField", "255.255.255.255"},
                                                                 {"localAddressField", "255.255.255.255"},
                                                                 {"localPortField", "65535"},
                                                                 {"unitIdField", "127"},
                                                                 {"clipNumberField", "99999"}};
        for (const auto &[name, text] : longest) {
            auto *field = window.findChild<QLineEdit *>(QLatin1String(name));
            QVERIFY2(field, name);
            field->setText(QLatin1String(text));
            // The field works out its scrolling as it paints. The cursor's
            // rectangle is centred a pixel left of the cursor.
            field->repaint();
            const int cursor = field->inputMethodQuery(Qt::ImCursorRectangle).toRect().center().x() + 1;
            const int first = cursor - field->fontMetrics().horizontalAdvance(QLatin1String(text));
            // A bare field of the same size asks the style as QLineEdit does.
            struct : QLineEdit
            {
                using QLineEdit::initStyleOption;
            } bare;
            bare.setGeometry(field->geometry());
            bare.setReadOnly(field->isReadOnly());
            QStyleOptionFrame option;
            bare.initStyleOption(&option);
            const int frame = option.lineWidth;
            const QRect room = bare.style()
                                   ->subElementRect(QStyle::SE_LineEditContents, &option, &bare)
                                   .intersected(bare.rect().marginsRemoved({frame, frame, frame, frame}));
            QVERIFY2(first > room.left() && cursor < room.right(), name);
        }
    }
};

QTEST_MAIN(TestFieldFit)
#include "tst_field_fit.moc"
