// SPDX-License-Identifier: MIT
#pragma once

// How the window looks: its faces, its pictures, and the fitting that keeps
// every text in full inside the boxes the layout draws.

class QFont;
class QIcon;
class QImage;
class QSize;
class QString;
class QWidget;

namespace corvane {

// The layout's face at its size, bold for captions, regular for fields.
QFont UiFont(bool bold);

// The background art for the densest screen present, exactly as large as
// the given client area. The 1x picture uses the resources' own pixels.
QImage BackgroundArt(QSize clientArea);

QIcon WindowIcon();

// Makes a control's longest text show in full, in whatever face and style
// the system gave: a field's text stays inside its style's contents
// rectangle and off its frame, using the style's padding and a pixel of the
// field's own margin on either side where it needs them; a label
// grows to the right up to rightEdge; where that is not enough, the control's
// font steps down a quarter point at a time until the text fits. Fields keep
// their drawn width.
void FitText(QWidget *control, const QString &longest, int rightEdge);

} // namespace corvane
