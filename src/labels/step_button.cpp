// Stepping while held.
#include "labels/step_button.h"

namespace qb::labels {

StepButton::StepButton(const QString& text, int firstRepeat, int repeatEvery, QWidget* parent)
    : QPushButton(text, parent), every_(repeatEvery) {
    timer_.setSingleShot(false);
    connect(this, &QPushButton::pressed, this, [this, firstRepeat] {
        emit stepped(false);
        timer_.start(firstRepeat);
    });
    connect(this, &QPushButton::released, this, [this] { timer_.stop(); });
    connect(&timer_, &QTimer::timeout, this, &StepButton::repeat);
}

void StepButton::repeat() {
    if (!isDown()) {
        timer_.stop();
        return;
    }
    timer_.setInterval(every_);
    emit stepped(true);
}

}  // namespace qb::labels
