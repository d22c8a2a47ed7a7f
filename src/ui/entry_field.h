// SPDX-License-Identifier: MIT
#pragma once

#include "controller/window_ops.h"

#include <QLineEdit>

namespace corvane {

// A field the operator types into. Each typed character is judged by the
// field's rule; keys that type nothing keep their usual effect, and a paste
// goes in unjudged, cut to the length limit.
class EntryField : public QLineEdit
{
    Q_OBJECT

public:
    EntryField(Field field, const QString &text, QWidget *parent = nullptr);

signals:
    // A left click. While the field is locked, the click only asks: it does
    // not reach the field.
    void editRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool takesKey(const QKeyEvent &key) const;
    bool takesClick(const QMouseEvent &click);

    Field m_field;
};

} // namespace corvane
