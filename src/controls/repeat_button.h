// A push button that repeats its click while held, for stepping through records.
#pragma once

#include <QPushButton>

namespace qb {

class RepeatButton : public QPushButton {
    Q_OBJECT

  public:
    // The first repeat comes after firstPause milliseconds, the next ones every 25.
    RepeatButton(const QString& text, int firstPause, QWidget* parent = nullptr);
};

}  // namespace qb
