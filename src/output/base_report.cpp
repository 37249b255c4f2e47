// The engine's settable state: units, margins and section, geometry, status text, and the
// printer selection it shares with every other engine object.
#include "output/base_report.h"

#include "controls/prompts.h"
#include "output/printer_catalog.h"
#include "output/report_error.h"
#include "output/status_format.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPrinter>
#include <QWidget>
#include <cmath>

namespace qb {

TBaseReport::TBaseReport(QObject* owner) : QObject(owner) {
    metrics_.setFont(font_);
}

TBaseReport::~TBaseReport() = default;

void TBaseReport::SetUnits(TUnits units) {
    units_ = units;
    if (units != unUser) unitsFactor_ = unitsPerInch(units);
}

void TBaseReport::SetUnitsFactor(double factor) {
    if (!(factor > 0)) return;
    unitsFactor_ = factor;
    units_ = unUser;
    for (TUnits u : {unInch, unMM, unCM, unPoint}) {
        if (factor == unitsPerInch(u)) units_ = u;
    }
}

const PageGeometry& TBaseReport::geometry() const {
    if (passGeometry_) return *passGeometry_;
    liveGeometry_ = deviceGeometry();
    return liveGeometry_;
}

PageGeometry TBaseReport::deviceGeometry() const {
    return PrinterDevice::shared().geometry();
}

double TBaseReport::PageWidth() const {
    return toUnits(geometry().width);
}

double TBaseReport::PageHeight() const {
    return toUnits(geometry().height);
}

void TBaseReport::ReadPageGeometry() {
    if (passGeometry_) {
        passGeometry_ = deviceGeometry();
    } else {
        liveGeometry_ = deviceGeometry();
    }
}

void TBaseReport::SetMarginLeft(double v) {
    marginLeft_ = toInches(v);
    sectionLeft_ = marginLeft_;
}

void TBaseReport::SetMarginRight(double v) {
    marginRight_ = toInches(v);
    sectionRight_ = geometry().width - marginRight_;
}

void TBaseReport::SetMarginTop(double v) {
    marginTop_ = toInches(v);
    sectionTop_ = marginTop_;
}

void TBaseReport::SetMarginBottom(double v) {
    marginBottom_ = toInches(v);
    sectionBottom_ = geometry().height - marginBottom_;
}

void TBaseReport::ReapplyMargins() {
    SetMarginLeft(MarginLeft());
    SetMarginRight(MarginRight());
    SetMarginTop(MarginTop());
    SetMarginBottom(MarginBottom());
}

void TBaseReport::ResetSection() {
    const PageGeometry& g = geometry();
    sectionLeft_ = marginLeft_;
    sectionRight_ = g.width - marginRight_;
    sectionTop_ = marginTop_;
    sectionBottom_ = g.height - marginBottom_;
}

void TBaseReport::SetLinesPerInch(int lines) {
    if (lines >= 1) linesPerInch_ = lines;
}

void TBaseReport::SetLineHeight(double v) {
    if (!(v > 0)) return;
    userLineHeight_ = toInches(v);
    lineHeightMethod_ = lhmUser;
}

double TBaseReport::lineHeight() const {
    switch (lineHeightMethod_) {
        case lhmLinesPerInch:
            return 1.0 / linesPerInch_;
        case lhmFont:
            return font_.size / 60.0;
        case lhmUser:
            return userLineHeight_;
    }
    return 1.0 / linesPerInch_;
}

void TBaseReport::SetTabShade(int percent) {
    tabShade_ = std::clamp(percent, 0, 100);
}

QWidget* TBaseReport::dialogParent() const {
    for (QObject* o = parent(); o; o = o->parent()) {
        if (auto* w = qobject_cast<QWidget*>(o)) return w->window();
    }
    return nullptr;
}

QString TBaseReport::StatusString() const {
    StatusValues v;
    v.currentPage = currentPage_;
    v.firstPage = firstPage_;
    v.lastPage = lastPage_;
    v.lines = statusText_;
    if (isReportFilePass()) {
        v.deviceName = v.driverName = QStringLiteral("Preview");
        v.portName = QStringLiteral("Screen");
    } else {
        const PrinterDevice& device = PrinterDevice::shared();
        v.deviceName = device.printerName();
        v.driverName = device.driverName();
        v.portName = device.portName();
    }
    return expandStatus(statusFormat_, v);
}

void TBaseReport::UpdateStatus() {
    if (!statusLabel_) return;
    QString text = StatusString();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    statusLabel_->setText(text);
    QCoreApplication::processEvents();
}

// --- the shared printer selection ---

void TBaseReport::requireIdle() const {
    if (printing_) throw ReportError(report_messages::alreadyPrinting);
}

QStringList TBaseReport::PrinterNames() const {
    return PrinterCatalog::names();
}

int TBaseReport::PrinterIndex() const {
    return PrinterDevice::shared().printerIndex();
}

void TBaseReport::SetPrinterIndex(int index) {
    requireIdle();
    PrinterDevice::shared().setPrinterIndex(index);
}

bool TBaseReport::SelectPrinter(const QString& name) {
    requireIdle();
    return PrinterDevice::shared().selectPrinter(name);
}

QStringList TBaseReport::BinNames() const {
    return PrinterDevice::shared().binNames();
}

QStringList TBaseReport::PaperNames() const {
    return PrinterDevice::shared().paperNames();
}

int TBaseReport::BinIndex() const {
    return PrinterDevice::shared().binIndex();
}

int TBaseReport::PaperIndex() const {
    return PrinterDevice::shared().paperIndex();
}

bool TBaseReport::SelectBin(const QString& name) {
    requireIdle();
    return PrinterDevice::shared().selectBin(name);
}

bool TBaseReport::SelectPaper(const QString& name) {
    requireIdle();
    return PrinterDevice::shared().selectPaper(name);
}

bool TBaseReport::SetPaperSize(int code, double height, double width) {
    requireIdle();
    return PrinterDevice::shared().setPaperSize(code, height, width);
}

TOrientation TBaseReport::Orientation() const {
    return PrinterDevice::shared().orientation();
}

void TBaseReport::SetOrientation(TOrientation orientation) {
    requireIdle();
    PrinterDevice::shared().setOrientation(orientation);
}

int TBaseReport::Copies() const {
    return PrinterDevice::shared().copies();
}

void TBaseReport::SetCopies(int copies) {
    requireIdle();
    PrinterDevice::shared().setCopies(copies);
}

bool TBaseReport::ShowPrintDialog() {
    requireIdle();
    PrinterDevice& device = PrinterDevice::shared();
    QPrinter* printer = device.qprinter();
    if (!printer) return false;
    printer->setPrintRange(QPrinter::AllPages);
    printer->setFromTo(0, 0);
    if (!prompts().printDialog(dialogParent(), *printer)) return false;
    device.adoptDialogChanges();
    if (printer->printRange() == QPrinter::PageRange && printer->fromPage() > 0) {
        firstPage_ = printer->fromPage();
        lastPage_ = std::max(printer->fromPage(), printer->toPage());
    } else {
        firstPage_ = 1;
        lastPage_ = kNoLastPage;
    }
    device.setChosenPages(firstPage_, lastPage_);
    return true;
}

bool TBaseReport::ShowPrinterSetupDialog() {
    requireIdle();
    PrinterDevice& device = PrinterDevice::shared();
    if (!device.hasPrinter()) return false;
    PrinterSetupRequest request;
    request.printers = PrinterCatalog::names();
    request.printer = device.printerName();
    request.paper = device.paperNames().value(device.paperIndex());
    request.source = device.binNames().value(device.binIndex());
    request.landscape = device.orientation() == poLandScape;
    request.papersOf = &PrinterDevice::paperNamesOf;
    request.sourcesOf = &PrinterDevice::binNamesOf;
    if (!prompts().printerSetupDialog(dialogParent(), request)) return false;
    // Each choice is applied to the device itself, so the next pass prints with it.
    device.selectPrinter(request.printer);
    if (!request.paper.isEmpty()) device.selectPaper(request.paper);
    if (!request.source.isEmpty()) device.selectBin(request.source);
    device.setOrientation(request.landscape ? poLandScape : poPortrait);
    return true;
}

}  // namespace qb
