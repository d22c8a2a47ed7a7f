#pragma once

#include <span>

namespace corvane {

enum class ControlKind { TextField, Label, Button };

// One control of the window, placed in twips as the layout was drawn
// (15 twips make one device-independent pixel).
struct ControlSpec
{
    const char *name;
    ControlKind kind;
    const char *text; // caption, or a text field's initial text
    int left, top, width, height;
    int tabIndex;
    int maxLength; // text fields; 0 for none
    bool readOnly;
    const char *toolTip;
    const char *buddy; // labels: the field they name, so screen readers announce the field by it
};

inline constexpr int kClientWidthTwips = 4455;
inline constexpr int kClientHeightTwips = 4365;

constexpr int TwipsToPixels(int twips) { return (twips + 7) / 15; }

std::span<const ControlSpec> MainLayout();

} // namespace corvane
