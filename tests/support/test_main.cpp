// The one entry of the Qt test programs: a widget application on the offscreen platform,
// printers limited to the built-in PDF printer so results do not depend on the machine, and
// the guard that keeps a failed check inside a dialog's event loop from blocking the run.
#include <gtest/gtest.h>

#include <QApplication>

#include "modal_guard.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QUILLBANK_PRINTERS")) qputenv("QUILLBANK_PRINTERS", "pdf");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    qb::test::installModalGuard();
    return RUN_ALL_TESTS();
}
