// Closing modal widgets when a test fails inside their event loop.
#include "modal_guard.h"

#include <QDialog>

namespace qb::test {

int closeModalWidgets() {
    int closed = 0;
    // A widget that refuses to close stays the active one; give up on it rather than spin.
    for (QWidget* last = nullptr; QWidget* w = QApplication::activeModalWidget(); last = w) {
        if (w == last) break;
        if (auto* dialog = qobject_cast<QDialog*>(w))
            dialog->done(QDialog::Rejected);  // message boxes ignore close() without Escape
        else
            w->close();
        ++closed;
    }
    return closed;
}

void ModalGuard::OnTestPartResult(const ::testing::TestPartResult& result) {
    if (result.fatally_failed()) closeModalWidgets();
}

void installModalGuard() {
    ::testing::UnitTest::GetInstance()->listeners().Append(new ModalGuard);  // gtest owns it
}

}  // namespace qb::test
