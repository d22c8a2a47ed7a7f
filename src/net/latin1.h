// SPDX-License-Identifier: MIT
#pragma once

// The one conversion between the rules' 8-bit text and Qt's: one char is one
// byte is one Latin-1 character, as on the wire. A character above U+00FF
// cannot reach the rules: the fields take digits and dots only.

#include <QByteArray>
#include <QString>

#include <string>

namespace corvane {

inline QString Latin1(const std::string &text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string Latin1(const QString &text)
{
    const QByteArray bytes = text.toLatin1();
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace corvane
