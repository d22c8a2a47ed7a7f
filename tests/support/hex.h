// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include <string>

// Test oracles are written as hex ("F1 01 04 ..."), independent of the code under test.
inline std::string FromHex(const char *hex)
{
    return QByteArray::fromHex(hex).toStdString();
} // skips the spaces
inline QByteArray ToHex(const std::string &bytes)
{
    return QByteArray::fromStdString(bytes).toHex(' ').toUpper();
}
