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
#include <QStyle>
#include <QStyleOptionFrame>

#include <algorithm>

namespace corvane {

namespace {

constexpr qreal kFontPointSize = 9.75;

// The face the layout was drawn with where the system has it; otherwise a
// face with the same metrics, otherwise the system's sans-serif.
QString UiFamily()
{
    const QStringList families = QFontDatabase::families();
    for (const char *candidate : {"MS Sans Serif", "Liberation Sans"}) {
        const QString family = QString::fromLatin1(candidate);
        if (families.contains(family))
            return family;
    }
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

// One of the program's own pictures, read as the PNG it is: left to guess,
// the reader would first load every image plugin installed to ask it.
QPixmap ReadPng(const QString &file)
{
    QImageReader reader(file, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QFont UiFont(bool bold)
{
    QFont font(UiFamily());
    font.setPointSizeF(kFontPointSize);
    font.setBold(bold);
    return font;
}

// The 1x picture on ordinary screens, the 2x one only where it shows.
QPixmap BackgroundArt()
{
    const bool dense = qGuiApp->devicePixelRatio() > 1.0;
    QPixmap background =
        ReadPng(dense ? QStringLiteral(":/art/background@2x.png") : QStringLiteral(":/art/background.png"));
    background.setDevicePixelRatio(dense ? 2.0 : 1.0);
    return background;
}

QIcon WindowIcon()
{
    QIcon icon;
    icon.addPixmap(ReadPng(QStringLiteral(":/art/icon-32.png")));
    icon.addPixmap(ReadPng(QStringLiteral(":/art/icon-64.png")));
    return icon;
}

void FitContent(QLineEdit *edit, const QString &longest)
{
    edit->setTextMargins(0, 0, 0, 0);
    const int needed = edit->fontMetrics().horizontalAdvance(longest) + 1;
    // QLineEdit keeps 2 px of its own on either side of the contents rect.
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.lineWidth =
        edit->hasFrame() ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit) : 0;
    const int available =
        edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit).width() - 4;
    if (needed > available) {
        const int shortfall = needed - available;
        edit->setTextMargins(-(shortfall + 1) / 2, 0, -(shortfall / 2), 0);
    }
}

void FitCaption(QLabel *label, int rightEdge)
{
    QRect rect = label->geometry();
    const int needed = label->fontMetrics().horizontalAdvance(label->text()) + 2;
    rect.setWidth(std::min(std::max(rect.width(), needed), rightEdge - rect.left()));
    label->setGeometry(rect);
}

} // namespace corvane
