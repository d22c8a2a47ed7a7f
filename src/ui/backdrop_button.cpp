// SPDX-License-Identifier: MIT
#include "ui/backdrop_button.h"

#include <QEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace corvane {

BackdropButton::BackdropButton(const QString &text, std::function<void(QPainter &)> paintBackdrop,
                               QWidget *parent)
    : QPushButton(text, parent), m_paintBackdrop(std::move(paintBackdrop))
{
}

bool BackdropButton::event(QEvent *event)
{
    const bool handled = QPushButton::event(event);
    // Said after the style has polished the button, which clears it.
    if (event->type() == QEvent::Polish)
        setAttribute(Qt::WA_OpaquePaintEvent);
    return handled;
}

// QPushButton's own paintEvent, after the backdrop. The button's piece of the
// picture is scaled once and kept: scaling it at every press and release
// cost more than the rest of the press.
void BackdropButton::paintEvent(QPaintEvent *)
{
    const qreal ratio = devicePixelRatio();
    if (m_backdrop.size() != size() * ratio || m_backdropAt != pos()) {
        m_backdrop = QPixmap(size() * ratio);
        m_backdrop.setDevicePixelRatio(ratio);
        m_backdropAt = pos();
        QPainter backdrop(&m_backdrop);
        backdrop.translate(-pos());
        m_paintBackdrop(backdrop);
    }
    QStylePainter painter(this);
    painter.drawPixmap(0, 0, m_backdrop);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButton, option);
}

} // namespace corvane
