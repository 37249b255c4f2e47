// Record buttons: auto-repeat with the pauses the record stepping wants.
#include "controls/repeat_button.h"

namespace qb {

RepeatButton::RepeatButton(const QString& text, int firstPause, QWidget* parent)
    : QPushButton(text, parent) {
    setAutoRepeat(true);
    setAutoRepeatDelay(firstPause);
    setAutoRepeatInterval(25);
    setFocusPolicy(Qt::TabFocus);
}

}  // namespace qb
