// Replays each page of a report file through the one page renderer onto a printer or a PDF.
#include "output/file_printer.h"

#include "controls/prompts.h"
#include "output/page_renderer.h"
#include "output/printer_catalog.h"
#include "output/printer_device.h"
#include "output/report_error.h"
#include "output/report_file.h"
#include "store/output_file.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QWidget>
#include <memory>

namespace qb {
namespace {

struct OpenedReport {
    std::unique_ptr<QFile> file;
    std::unique_ptr<ReportFileReader> reader;
};

OpenedReport openReport(TStreamMode mode, QIODevice* stream, const QString& fileName) {
    OpenedReport r;
    if (mode == smUser) {
        if (!stream) throw ReportError(report_messages::userStreamMissing);
        r.reader = std::make_unique<ReportFileReader>(*stream, QStringLiteral("report stream"));
    } else {
        r.file = std::make_unique<QFile>(fileName);
        r.reader = std::make_unique<ReportFileReader>(*r.file, fileName);
    }
    return r;
}

}  // namespace

TFilePrinter::TFilePrinter(QObject* owner) : QObject(owner) {}

QWidget* TFilePrinter::dialogParent() const {
    for (QObject* o = parent(); o; o = o->parent()) {
        if (auto* w = qobject_cast<QWidget*>(o)) return w->window();
    }
    return nullptr;
}

bool TFilePrinter::Execute() {
    PrinterDevice& device = PrinterDevice::shared();
    if (!PrinterCatalog::hasPrinters() || !device.hasPrinter()) {
        prompts().error(dialogParent(), report_messages::noPrinters);
        return false;
    }
    const OpenedReport report = openReport(streamMode_, stream_, fileName_);
    const ReportFileHeader& h = report.reader->header();
    switch (device.beginDocument(title_, dialogParent())) {
        case PrinterDevice::Open::Ok:
            break;
        case PrinterDevice::Open::Cancelled:
            return false;
        case PrinterDevice::Open::Failed: {
            const QString why = device.failure();
            prompts().error(dialogParent(), why.isEmpty() ? report_messages::invalidPrinter : why);
            return false;
        }
    }
    const PageGeometry g = device.geometry();
    try {
        for (int page = h.firstPage; h.pageCount > 0 && page <= h.lastPage; ++page) {
            const PageOps ops = report.reader->readPage(page);
            QPainter* painter = device.startPage();
            if (!painter) {
                if (const QString why = device.failure(); !why.isEmpty()) throw ReportError(why);
                device.abandonDocument();
                prompts().error(dialogParent(), report_messages::invalidPrinter);
                return false;
            }
            RenderTarget target;
            target.pixelsPerInchX = painter->device()->logicalDpiX();
            target.pixelsPerInchY = painter->device()->logicalDpiY();
            target.offsetX = g.unprintableLeft;
            target.offsetY = g.unprintableTop;
            renderPage(*painter, ops, target);
        }
    } catch (...) {
        device.abandonDocument();
        throw;
    }
    if (!device.endDocument()) throw ReportError(device.failure());
    return true;
}

void TFilePrinter::WritePdf(const QString& path) {
    const OpenedReport report = openReport(streamMode_, stream_, fileName_);
    const ReportFileHeader& h = report.reader->header();
    SafeOutputFile file(path);
    if (!file.begin()) throw ReportError(file.errorString());
    QPdfWriter writer(&file);
    writer.setTitle(title_);
    writer.setCreator(QStringLiteral("Quillbank"));
    writer.setResolution(600);
    writer.setPageSize(QPageSize(QSizeF(h.pageWidth, h.pageHeight), QPageSize::Inch, QString(),
                                 QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer))
        throw ReportError(QStringLiteral("%1: cannot be written").arg(path));
    RenderTarget target;
    target.pixelsPerInchX = writer.logicalDpiX();
    target.pixelsPerInchY = writer.logicalDpiY();
    target.fitTextWidths = h.positioning;
    try {
        for (int page = h.firstPage; h.pageCount > 0 && page <= h.lastPage; ++page) {
            if (page > h.firstPage) writer.newPage();
            renderPage(painter, report.reader->readPage(page), target);
        }
    } catch (...) {
        // Half a PDF is no use to anyone; the error tells what stopped it, and the side file
        // goes with the writer.
        painter.end();
        throw;
    }
    painter.end();
    if (!file.commit()) throw ReportError(file.errorString());
}

}  // namespace qb
