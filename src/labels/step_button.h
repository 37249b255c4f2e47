// A button that steps once when pressed and keeps stepping while held, telling each step
// whether it is a repeat: the designer's font size and offset buttons.
#pragma once

#include <QPushButton>
#include <QTimer>

namespace qb::labels {

class StepButton : public QPushButton {
    Q_OBJECT

  public:
    StepButton(const QString& text, int firstRepeat, int repeatEvery, QWidget* parent = nullptr);

  signals:
    void stepped(bool repeating);

  private:
    void repeat();

    QTimer timer_;
    int every_;
};

}  // namespace qb::labels
