// SPDX-License-Identifier: MIT
#include "ui/entry_field.h"

#include "ui/key_filter.h"

#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace corvane {

namespace {

// Keys that type nothing (cursor keys, Tab, Delete, shortcuts such as Ctrl+V)
// keep their usual effect; only typed characters are filtered.
bool TypesCharacter(const QKeyEvent &key)
{
    if (key.text().isEmpty() || key.modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return false;
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete: return false;
    default: return true;
    }
}

} // namespace

EntryField::EntryField(Field field, const QString &text, QWidget *parent)
    : QLineEdit(text, parent), m_field(field)
{
}

void EntryField::keyPressEvent(QKeyEvent *event)
{
    if (takesKey(*event))
        QLineEdit::keyPressEvent(event);
    // A dropped key stays accepted, so it never reaches the window either.
}

bool EntryField::takesKey(const QKeyEvent &key) const
{
    if (!TypesCharacter(key))
        return true;
    const QString text = key.text();
    return std::all_of(text.begin(), text.end(),
                       [this](QChar c) { return IsTypedCharacterAllowed(m_field, c.unicode()); });
}

bool EntryField::takesClick(const QMouseEvent &click)
{
    if (click.button() != Qt::LeftButton)
        return true;
    const bool wasLocked = isReadOnly();
    emit editRequested();
    return !wasLocked;
}

void EntryField::mousePressEvent(QMouseEvent *event)
{
    if (takesClick(*event))
        QLineEdit::mousePressEvent(event);
}

void EntryField::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (takesClick(*event))
        QLineEdit::mouseDoubleClickEvent(event);
}

} // namespace corvane
