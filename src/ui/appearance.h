// SPDX-License-Identifier: MIT
#pragma once

// How the window looks: its faces, its pictures, and the fitting that keeps
// every text in full inside the boxes the layout draws.

class QFont;
class QIcon;
class QLabel;
class QLineEdit;
class QPixmap;
class QString;

namespace corvane {

// The layout's face at its size, bold for captions, regular for fields.
QFont UiFont(bool bold);

// The background art for the densest screen present.
QPixmap BackgroundArt();

QIcon WindowIcon();

// Trims a field's inner margins just enough for its longest content to show
// in full inside the drawn width, which stays as laid out.
void FitContent(QLineEdit *edit, const QString &longest);

// A caption wider than its drawn box in the face at hand grows to the right,
// up to rightEdge, rather than being clipped.
void FitCaption(QLabel *label, int rightEdge);

} // namespace corvane
