// Where a window opens: dialogs centred over the window they belong to, once their size is
// known; a companion window (help) beside the dialog it serves, on the same screen.
#pragma once

class QWidget;

namespace qb {

// Lays the window out (so its size is final) and centres it over `over`.
void centreOver(QWidget& window, const QWidget& over);
// The same when there is a window to centre over; a window without one stays where it is.
void centreOver(QWidget& window, const QWidget* over);
// Puts the window to the right of `beside`, or to its left when the screen has no room
// there, top edges level, and keeps it on the screen.
void placeBeside(QWidget& window, const QWidget& beside);

}  // namespace qb
