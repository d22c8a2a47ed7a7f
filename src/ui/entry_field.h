// SPDX-License-Identifier: MIT
#pragma once

#include "controller/window_ops.h"

#include <QLineEdit>

namespace corvane {

// A field the operator types into. Every character that would be inserted is
// judged by the field's rule, whatever event carries it: a key press, with any
// modifiers, or an input method's commit (dead keys, compose, on-screen
// keyboards). Keys that insert nothing keep their usual effect; a paste goes in
// unjudged, cut to the length limit.
class EntryField : public QLineEdit
{
    Q_OBJECT

public:
    EntryField(Field field, const QString &text, QWidget *parent = nullptr);

signals:
    // A left click, or F2 (the usual "edit this" key) with the focus here, so
    // that keyboard and screen-reader users can ask too. While the field is
    // locked, the click only asks: it does not reach the field.
    void editRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool takesKey(const QKeyEvent &key) const;
    bool takesClick(const QMouseEvent &click);

    Field m_field;
};

} // namespace corvane
