#pragma once

#include <QByteArray>

#include <string>

// Test oracles are written as hex ("F1 01 04 ..."), independent of the code under test.
inline std::string FromHex(const char *hex)
{
    const QByteArray bytes = QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

inline QByteArray ToHex(const std::string &bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())).toHex(' ').toUpper();
}
