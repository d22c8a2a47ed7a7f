// SPDX-License-Identifier: MIT
#include "ui/backdrop_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace corvane {

BackdropButton::BackdropButton(const QString &text, std::function<void(QPainter &)> paintBackdrop,
                               QWidget *parent)
    : QPushButton(text, parent), m_paintBackdrop(std::move(paintBackdrop))
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// QPushButton's own paintEvent, after the backdrop, in one painter.
void BackdropButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    painter.save();
    painter.translate(-pos());
    m_paintBackdrop(painter);
    painter.restore();
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButton, option);
}

} // namespace corvane
