// SPDX-License-Identifier: MIT
#pragma once

#include "controller/window_ops.h"
#include "protocol/command_set.h"

#include <span>
#include <variant>

namespace corvane {

// A label, and the field it names: its buddy, by which screen readers
// announce the field.
struct Label
{
    Field buddy;
};

// What a control is to the program, which also decides what is made for it:
// a text field the rules read and write, a button that sends a command, a
// mute button whose caption and enabled flag the rules set, or a label.
using ControlRole = std::variant<Field, Command, MuteOutput, Label>;

// One control of the window, placed in twips as the layout was drawn
// (15 twips make one device-independent pixel).
struct ControlSpec
{
    const char *name;
    ControlRole role;
    const char *text; // caption (translated as shown), or a text field's initial text
    int left, top, width, height;
    int tabIndex;
    int maxLength; // text fields; 0 for none
    bool readOnly;
    const char *longest; // the longest text it must show in full; "" when that is its own text
    const char *toolTip; // translated as shown
};

inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 4365;

constexpr int TwipsToPixels(int twips) { return (twips + 7) / 15; }

std::span<const ControlSpec> MainLayout();

} // namespace corvane
