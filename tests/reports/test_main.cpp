// Test entry for a Qt folder: a QApplication on the offscreen platform, printers limited to the
// built-in PDF printer so results do not depend on the machine's printers.
#include "output/printer_catalog.h"

#include <gtest/gtest.h>
#include <QApplication>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
