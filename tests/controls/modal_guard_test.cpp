// Tests driving modal dialogs end even when a check fails inside the dialog's event loop.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QTimer>

#include "modal_guard.h"

namespace qb::test {
namespace {

::testing::TestPartResult failure(::testing::TestPartResult::Type type) {
    return ::testing::TestPartResult(type, __FILE__, __LINE__, "checked inside a dialog");
}

TEST(ModalGuard, AFatalFailureClosesEveryOpenDialogAndANonFatalOneNone) {
    ModalGuard guard;
    QDialog outer;
    QMessageBox inner(QMessageBox::Question, QStringLiteral("Q"), QStringLiteral("Go on?"),
                      QMessageBox::Yes | QMessageBox::No);
    bool innerWasOpen = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [&] {
            innerWasOpen = QApplication::activeModalWidget() == &inner;
            guard.OnTestPartResult(failure(::testing::TestPartResult::kNonFatalFailure));
            EXPECT_EQ(QApplication::activeModalWidget(), &inner);
            guard.OnTestPartResult(failure(::testing::TestPartResult::kFatalFailure));
        });
        inner.exec();
    });
    EXPECT_EQ(outer.exec(), QDialog::Rejected);
    EXPECT_TRUE(innerWasOpen);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(ModalGuard, WaitingForADialogThatNeverOpensFailsAndClosesTheOneThatDid) {
    QDialog other;
    const auto waitInVain = [&other] {
        whenModal<QMessageBox>([](QMessageBox& box) { box.accept(); }, 2);
        other.exec();
    };
    EXPECT_NONFATAL_FAILURE(waitInVain(), "the expected dialog did not open");
    EXPECT_FALSE(other.isVisible());
}

}  // namespace
}  // namespace qb::test
