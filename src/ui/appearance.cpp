// SPDX-License-Identifier: MIT
#include "ui/appearance.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>

#include <algorithm>

namespace corvane {

namespace {

constexpr qreal kFontPointSize = 9.75;
constexpr qreal kFontStep = 0.25;

// The face the layout was drawn with where the system has it; otherwise a
// face with the same metrics, otherwise the system's sans-serif.
// Looked up once: the font database is slow to ask.
QString UiFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char *candidate : {"MS Sans Serif", "Liberation Sans"}) {
            const QString known = QString::fromLatin1(candidate);
            if (families.contains(known))
                return known;
        }
        return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    }();
    return family;
}

// One of the program's own pictures, read in the format it is: left to
// guess, the reader would first load every image plugin installed to ask it.
QPixmap ReadPicture(const QString &file, const char *format)
{
    QImageReader reader(file, format);
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

// The width a field has for text once its inner margins are trimmed away:
// the contents rect inside the frame. Untrimmed, QLineEdit keeps 2 px of its
// own on either side of it.
int FieldRoom(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    return edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width();
}

// A push button's caption is drawn centred in its contents rect, and clipped there.
int ButtonRoom(const QPushButton *button)
{
    QStyleOptionButton option;
    option.initFrom(button);
    return button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button).width();
}

// Makes what room a control can for its text, a label by growing, and says how much it has.
int MakeRoom(QWidget *control, const QString &longest, int rightEdge)
{
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        return FieldRoom(edit);
    if (auto *button = qobject_cast<QPushButton *>(control))
        return ButtonRoom(button);
    if (auto *label = qobject_cast<QLabel *>(control)) {
        QRect rect = label->geometry();
        const int needed = label->fontMetrics().horizontalAdvance(longest) + 2;
        rect.setWidth(std::min(std::max(rect.width(), needed), rightEdge - rect.left()));
        label->setGeometry(rect);
        return rect.width() - 2;
    }
    return control->width();
}

void TrimMargins(QLineEdit *edit, int needed)
{
    const int shortfall = needed - (FieldRoom(edit) - 4);
    if (shortfall > 0)
        edit->setTextMargins(-(shortfall + 1) / 2, 0, -(shortfall / 2), 0);
    else
        edit->setTextMargins(0, 0, 0, 0);
}

} // namespace

QFont UiFont(bool bold)
{
    QFont font(UiFamily());
    font.setPointSizeF(kFontPointSize);
    font.setBold(bold);
    return font;
}

// The 1x picture on ordinary screens, the 2x one only where it shows. The
// 1x picture is stored as plain pixels (PPM, kept uncompressed in the
// resources): decoding it as a PNG took longer than showing the window's
// controls.
QPixmap BackgroundArt()
{
    const bool dense = qGuiApp->devicePixelRatio() > 1.0;
    QPixmap background = dense ? ReadPicture(QStringLiteral(":/art/background@2x.png"), "png")
                               : ReadPicture(QStringLiteral(":/art/background.ppm"), "ppm");
    background.setDevicePixelRatio(dense ? 2.0 : 1.0);
    return background;
}

QIcon WindowIcon()
{
    QIcon icon;
    icon.addPixmap(ReadPicture(QStringLiteral(":/art/icon-32.png"), "png"));
    icon.addPixmap(ReadPicture(QStringLiteral(":/art/icon-64.png"), "png"));
    return icon;
}

void FitText(QWidget *control, const QString &longest, int rightEdge)
{
    // One pixel more for a field's text cursor after the last character.
    const int cursor = qobject_cast<QLineEdit *>(control) ? 1 : 0;
    const auto needed = [&] { return control->fontMetrics().horizontalAdvance(longest) + cursor; };
    QFont font = control->font();
    while (needed() > MakeRoom(control, longest, rightEdge) && font.pointSizeF() > kFontStep) {
        font.setPointSizeF(font.pointSizeF() - kFontStep);
        control->setFont(font);
    }
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        TrimMargins(edit, needed());
}

} // namespace corvane
