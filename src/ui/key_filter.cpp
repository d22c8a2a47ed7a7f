// SPDX-License-Identifier: MIT
#include "ui/key_filter.h"

namespace corvane {

bool IsTypedCharacterAllowed(Field field, char32_t character)
{
    if (character == U'\b' || (character >= U'0' && character <= U'9'))
        return true;
    return character == U'.' && field == Field::Address;
}

} // namespace corvane
