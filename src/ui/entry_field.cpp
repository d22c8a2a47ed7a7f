// SPDX-License-Identifier: MIT
#include "ui/entry_field.h"

#include "ui/key_filter.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

namespace corvane {

namespace {

bool IsControl(QChar c) { return c.category() == QChar::Other_Control; }

// Whether a key press would put its text into a line edit, judged by the
// characters it carries. Control characters are never inserted: they are the
// text of Tab, Delete, Backspace and of shortcuts where the platform sends
// Ctrl+C as 0x03. With Ctrl or Ctrl+Shift alone, where the platform sends the
// letter itself, the key is a shortcut and the field inserts nothing, except
// a formatting character (ZWNJ, RLM and the like), which goes in whatever is
// held. Every other key inserts: AltGr (Ctrl+Alt), Alt, Meta included.
bool InsertsText(const QKeyEvent &key)
{
    const QString text = key.text();
    if (std::all_of(text.begin(), text.end(), IsControl))
        return false;
    const auto modifiers = key.modifiers() & ~Qt::KeypadModifier;
    const bool shortcut =
        modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier);
    return !shortcut || text.front().category() == QChar::Other_Format;
}

} // namespace

EntryField::EntryField(Field field, const QString &text, QWidget *parent)
    : QLineEdit(text, parent), m_field(field)
{
}

void EntryField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F2 && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        emit editRequested();
        return;
    }
    if (takesKey(*event))
        QLineEdit::keyPressEvent(event);
    // A dropped key stays accepted, so it never reaches the window either.
}

bool EntryField::takesKey(const QKeyEvent &key) const
{
    // Enter and Escape are typed control codes the rules drop: they press nothing.
    if (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Escape)
        return false;
    if (!InsertsText(key))
        return true;
    const QString text = key.text();
    return std::all_of(text.begin(), text.end(),
                       [this](QChar c) { return IsTypedCharacterAllowed(m_field, c.unicode()); });
}

// An input method hands over finished text (a dead key's "é", a word from an
// on-screen keyboard) as a commit, not as keys. Characters the rule refuses
// are taken out of it; the rest goes in as if typed. A commit is text, never
// an editing key, so backspace has no place in it either.
void EntryField::inputMethodEvent(QInputMethodEvent *event)
{
    QString commit = event->commitString();
    commit.removeIf(
        [this](QChar c) { return IsControl(c) || !IsTypedCharacterAllowed(m_field, c.unicode()); });
    if (commit.size() != event->commitString().size())
        event->setCommitString(commit, event->replacementStart(), event->replacementLength());
    QLineEdit::inputMethodEvent(event);
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
