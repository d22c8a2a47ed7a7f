// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QPushButton>

#include <functional>

class QPainter;

namespace corvane {

// A push button over the window's picture that paints its own piece of the
// picture beneath it. The style leaves a button's rounded corners unpainted,
// so a plain button has the window repaint its picture under the button at
// every press and release; this one is opaque, and a press repaints only the
// button, with the same pixels.
class BackdropButton : public QPushButton
{
    Q_OBJECT

public:
    // paintBackdrop paints the window's background in the window's coordinates.
    BackdropButton(const QString &text, std::function<void(QPainter &)> paintBackdrop, QWidget *parent);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    std::function<void(QPainter &)> m_paintBackdrop;
    QPixmap m_backdrop; // its piece of the picture, where it stands
    QPoint m_backdropAt;
};

} // namespace corvane
