// Driving modal dialogs from tests without risking a run that never ends: a fatal failure
// while a dialog's exec() loop is running closes the open modal widgets, so exec() returns
// and the test finishes as failed instead of waiting for a click that will never come.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qb::test {

// Closes every open modal widget, innermost first (dialogs are rejected). Returns how many.
int closeModalWidgets();

// Reports failures to the modal widgets: a fatal one closes them all.
class ModalGuard : public ::testing::EmptyTestEventListener {
  public:
    void OnTestPartResult(const ::testing::TestPartResult& result) override;
};

// Appends a ModalGuard to gtest's listeners (the shared test main does this).
void installModalGuard();

// Runs act on the modal widget of type T that the next command opens, once its event loop
// runs. If none has opened after `tries` more turns of the event loop, the test fails and
// whatever modal widget is open is closed.
template <typename T>
void whenModal(std::function<void(T&)> act, int tries = 50, int delayMs = 0) {
    QTimer::singleShot(delayMs, [act = std::move(act), tries] {
        if (T* widget = dynamic_cast<T*>(QApplication::activeModalWidget())) {
            act(*widget);
        } else if (tries > 0) {
            whenModal<T>(act, tries - 1, 10);
        } else {
            ADD_FAILURE() << "the expected dialog did not open";
            closeModalWidgets();
        }
    });
}

}  // namespace qb::test
