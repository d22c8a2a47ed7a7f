// SPDX-License-Identifier: MIT
#pragma once

// The window's controls as the controller reads and sets them. The real window
// implements it with widgets, the headless programs with plain values, tests
// with a recorder, so every rule of the controller runs without a display.

#include "protocol/command_set.h"

#include <string>

namespace corvane {

enum class Field { Address, LocalAddress, LocalPort, UnitId, ClipNumber, Reply };

class WindowOps
{
public:
    virtual ~WindowOps() = default;

    // Field texts are 8-bit: one char per character, as on the wire. Setting
    // the unit ID field's text runs its change rule, just as typing does.
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, const std::string &text) = 0;

    // A locked field shows its text but takes no typing.
    virtual bool isLocked(Field field) const = 0;
    virtual void setLocked(Field field, bool locked) = 0;
    virtual void setFocus(Field field) = 0;

    // The mute buttons, one per output.
    virtual std::string caption(MuteOutput button) const = 0;
    virtual void setCaption(MuteOutput button, const std::string &caption) = 0;
    virtual bool isEnabled(MuteOutput button) const = 0;
    virtual void setEnabled(MuteOutput button, bool enabled) = 0;
};

} // namespace corvane
