// SPDX-License-Identifier: MIT
#pragma once

// Everything the controller may do to the window. The real window implements
// it with widgets; tests implement it with a recorder, so every rule of the
// controller can be exercised without a display.

#include <string>

namespace corvane {

enum class Field { BroadIPtxt, LocalIPtxt, LocalPortTxt, TeskIDtxt, ClipNumtxt, TeskRspTxt };
enum class MuteButton { VideoMuteCmd, AudioMuteCmd };

enum class BoxIcon { Error, Warning, Question };
enum class BoxButtons { Ok, YesNo };
// Numbered as the message box codes the program has always used: a failed
// check keeps the code of the box that reported it in its error flag.
enum class BoxResult { Ok = 1, Yes = 6, No = 7 };

class WindowOps
{
public:
    virtual ~WindowOps() = default;

    // Field texts are 8-bit: one char per character, as on the wire. Setting a
    // field's text runs that field's change rule, just as typing does.
    virtual std::string text(Field field) const = 0;
    virtual void setText(Field field, const std::string &text) = 0;

    // A locked field shows its text but takes no typing.
    virtual bool isLocked(Field field) const = 0;
    virtual void setLocked(Field field, bool locked) = 0;
    virtual void setFocus(Field field) = 0;

    virtual std::string caption(MuteButton button) const = 0;
    virtual void setCaption(MuteButton button, const std::string &caption) = 0;
    virtual bool isEnabled(MuteButton button) const = 0;
    virtual void setEnabled(MuteButton button, bool enabled) = 0;

    // The reply timer: 6000 ms, repeating until stopped.
    virtual void startReplyTimer() = 0;
    virtual void stopReplyTimer() = 0;

    // A modal box; other events keep being handled while it is open.
    virtual BoxResult messageBox(BoxIcon icon, BoxButtons buttons, const std::string &title,
                                 const std::string &text) = 0;
};

} // namespace corvane
