#pragma once

class QWidget;

namespace bench {

// For the start-up children: once the window's first paint has gone through,
// prints "<CLOCK_MONOTONIC ns> <1 if a UDP socket under the window is bound>"
// on stdout and quits the application. The driver took the same clock just
// before it started the process, so the difference is the start-up time.
void ReportWhenShown(QWidget &window);

// What both reference programs do once their window is built: bind one UDP
// socket to the program's first port as the program does, show the window and
// report when it is shown.
void BindShowAndReport(QWidget &window);

} // namespace bench
