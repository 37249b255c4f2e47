// The "What's this?" help of a window: a right click on a control with a help text offers
// it in a small menu; the pointer-help button enters the pointer mode.
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
// The "?" button every dialog has, named MouseHelpButton, already made a pointer-help button.
QToolButton* newPointerHelpButton(QWidget* parent);

}  // namespace qb
