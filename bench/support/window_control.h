// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QtGlobal>

namespace bench {

// One of the window's controls or members by its object name. A benchmark that lost its handle would measure
// nothing, so a missing one stops the run at once with its name.
template <class T> T *Control(const QObject &window, const char *name)
{
    T *found = window.findChild<T *>(QString::fromLatin1(name));
    if (!found)
        qFatal("the window has no %s named \"%s\"", T::staticMetaObject.className(), name);
    return found;
}

} // namespace bench
