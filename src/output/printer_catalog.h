// Which printers the program can print to: the platform's installed printers and the built-in
// "PDF file" printer. A setting can hide the platform's printers, or all printers, so that
// tests behave the same on every machine and the "no printers" paths can be exercised.
#pragma once

#include <QString>
#include <QStringList>

namespace qb {

class PrinterCatalog {
  public:
    enum class Mode {
        Platform,  // the platform's printers and "PDF file"
        PdfOnly,   // "PDF file" alone
        None       // no printer is installed
    };

    static const QString& pdfPrinterName();

    // The mode starts from the environment variable QUILLBANK_PRINTERS ("none", "pdf"),
    // else Platform.
    static Mode mode();
    static void setMode(Mode mode);

    static QStringList names();
    static bool hasPrinters() { return !names().isEmpty(); }
    // The platform's default printer when it has one, else "PDF file"; empty without printers.
    static QString defaultName();
    static bool isPdf(const QString& name) { return name == pdfPrinterName(); }
};

}  // namespace qb
