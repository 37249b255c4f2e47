// Printer passes: each finished page is replayed on the printer; copies the printer cannot
// make itself are made by replaying the kept pages again at the end.
#include "output/report_printer.h"

#include "controls/prompts.h"
#include "output/page_codec.h"
#include "output/page_renderer.h"
#include "output/printer_catalog.h"
#include "output/report_error.h"

#include <QPainter>
#include <QPrinter>

namespace qb {

TReportPrinter::TReportPrinter(QObject* owner) : TBaseReport(owner) {}

void TReportPrinter::AbandonDocument() {
    if (Printing()) PrinterDevice::shared().abandonDocument();
    keptPages_.clear();
}

bool TReportPrinter::prepareStart() {
    if (!PrinterCatalog::hasPrinters() || !PrinterDevice::shared().hasPrinter()) {
        prompts().error(dialogParent(), report_messages::noPrinters);
        return false;
    }
    // The range the user chose in the print dialog just before, on whichever object it was.
    if (const auto pages = PrinterDevice::shared().takeChosenPages()) {
        SetFirstPage(pages->first);
        SetLastPage(pages->second);
    }
    return true;
}

bool TReportPrinter::openDocument() {
    PrinterDevice& device = PrinterDevice::shared();
    keptPages_.clear();
    extraCopies_ = device.supportsMultipleCopies() ? 0 : device.copies() - 1;
    switch (device.beginDocument(Title(), dialogParent())) {
        case PrinterDevice::Open::Ok:
            return true;
        case PrinterDevice::Open::Cancelled:
            return false;
        case PrinterDevice::Open::Failed:
            break;
    }
    const QString why = device.failure();
    prompts().error(dialogParent(), why.isEmpty() ? report_messages::invalidPrinter : why);
    return false;
}

bool TReportPrinter::renderOnDevice(const QByteArray& body) {
    PrinterDevice& device = PrinterDevice::shared();
    if (!device.documentOpen()) return false;
    QPainter* painter = device.startPage();
    if (!painter) {
        // A document that can no longer be written fails the run; the pass unwinds and the
        // document is dropped.
        if (const QString why = device.failure(); !why.isEmpty()) throw ReportError(why);
        prompts().error(dialogParent(), report_messages::invalidPrinter);
        Abort();
        return false;
    }
    QString fault;
    const auto ops = decodePage(body, &fault);
    if (!ops) throw ReportError(QStringLiteral("Printer page: %1").arg(fault));
    const PageGeometry& g = geometry();
    RenderTarget target;
    target.pixelsPerInchX = painter->device()->logicalDpiX();
    target.pixelsPerInchY = painter->device()->logicalDpiY();
    target.offsetX = g.unprintableLeft;
    target.offsetY = g.unprintableTop;
    renderPage(*painter, *ops, target);
    if (const QString why = device.failure(); !why.isEmpty()) throw ReportError(why);
    return true;
}

void TReportPrinter::outputPage(int, const QByteArray& body) {
    if (!renderOnDevice(body)) return;
    if (extraCopies_ > 0) keptPages_.push_back(body);
}

void TReportPrinter::closeDocument(bool abandon) {
    PrinterDevice& device = PrinterDevice::shared();
    if (abandon || Aborted()) {
        device.abandonDocument();
    } else {
        for (int copy = 0; copy < extraCopies_ && !Aborted(); ++copy) {
            for (const QByteArray& page : keptPages_) {
                if (!renderOnDevice(page)) break;
            }
        }
        if (Aborted()) {
            device.abandonDocument();
        } else if (!device.endDocument()) {
            keptPages_.clear();
            throw ReportError(device.failure());
        }
    }
    keptPages_.clear();
}

}  // namespace qb
