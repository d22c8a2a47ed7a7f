#pragma once

#include "controller/window_ops.h"

namespace corvane {

// Which typed characters an entry field takes: digits everywhere, the dot in
// the address field, and backspace; every other character, control codes such
// as Enter and Escape included, is dropped. Keys that type nothing (cursor
// keys, Tab, Delete) and pasted text never come here.
bool IsTypedCharacterAllowed(Field field, char32_t character);

} // namespace corvane
