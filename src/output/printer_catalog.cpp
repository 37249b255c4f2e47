// Lists printers through Qt's printer information, adding the always-present PDF printer.
#include "output/printer_catalog.h"

#include <QPrinterInfo>
#include <QtGlobal>
#include <optional>

namespace qb {
namespace {

std::optional<PrinterCatalog::Mode>& modeOverride() {
    static std::optional<PrinterCatalog::Mode> mode;
    return mode;
}

}  // namespace

const QString& PrinterCatalog::pdfPrinterName() {
    static const QString name = QStringLiteral("PDF file");
    return name;
}

PrinterCatalog::Mode PrinterCatalog::mode() {
    if (modeOverride()) return *modeOverride();
    const QByteArray env = qgetenv("QUILLBANK_PRINTERS").trimmed().toLower();
    if (env == "none") return Mode::None;
    if (env == "pdf") return Mode::PdfOnly;
    return Mode::Platform;
}

void PrinterCatalog::setMode(Mode mode) {
    modeOverride() = mode;
}

QStringList PrinterCatalog::names() {
    QStringList list;
    switch (mode()) {
        case Mode::None:
            return list;
        case Mode::Platform:
            list = QPrinterInfo::availablePrinterNames();
            list.removeAll(pdfPrinterName());
            break;
        case Mode::PdfOnly:
            break;
    }
    list << pdfPrinterName();
    return list;
}

QString PrinterCatalog::defaultName() {
    switch (mode()) {
        case Mode::None:
            return {};
        case Mode::PdfOnly:
            return pdfPrinterName();
        case Mode::Platform:
            break;
    }
    const QString platform = QPrinterInfo::defaultPrinterName();
    if (!platform.isEmpty() && QPrinterInfo::availablePrinterNames().contains(platform)) {
        return platform;
    }
    return pdfPrinterName();
}

}  // namespace qb
