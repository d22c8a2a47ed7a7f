// SPDX-License-Identifier: MIT
#pragma once

#include "controller/window_ops.h"

namespace corvane {

// Which typed characters an entry field takes, whether a key or an input
// method brings them: digits everywhere, the dot in the address field, and
// backspace; every other character is dropped. Keys that insert nothing
// (cursor keys, Tab, Delete, shortcuts) and pasted text never come here.
bool IsTypedCharacterAllowed(Field field, char32_t character);

} // namespace corvane
