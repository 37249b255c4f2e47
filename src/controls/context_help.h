// The "What's this?" help of a window: a right click on a control with a help text offers
// it in a small menu; the pointer-help button enters the pointer mode; F1 asks for help.
#pragma once

class QWidget;
class QAbstractButton;
class QToolButton;

namespace qb {

// Every control under root that has a "What's this?" text gets the right-click menu.
// Call after the window's controls exist.
void installWhatsThisMenus(QWidget* root);
// Makes the button switch the pointer into "What's this?" mode.
void makePointerHelpButton(QAbstractButton* button);
// F1 presses the button named HelpButton of the window in which it is typed, so the key
// opens the same topic as that button: the one of the page or dialog in front. Installed
// once for the whole program; later calls do nothing.
void installHelpKey();
// The "?" button every dialog has, named MouseHelpButton, already made a pointer-help button.
QToolButton* newPointerHelpButton(QWidget* parent);

}  // namespace qb
