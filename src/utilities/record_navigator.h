// The pieces the clean-up dialogs share: a First/Prior/Next/Last bar over a dataset, and the
// step of a long walk that keeps the window alive (gauge, count text, Cancel).
#pragma once

#include <QWidget>

#include "store/dataset.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace qb::utilities {

class RecordNavigator : public QWidget {
    Q_OBJECT

  public:
    RecordNavigator(Dataset* table, QWidget* parent = nullptr);

  private:
    Dataset* table_;
};

// After each record of a walk: sets the gauge, and every few records lets pending window
// messages run so that repaints happen and Cancel can be pressed.
void walkStepShown(uint32_t done, uint32_t total, QProgressBar* gauge);

}  // namespace qb::utilities
