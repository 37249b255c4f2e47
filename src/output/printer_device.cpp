// The shared printer selection on top of QPrinter. The PDF printer writes to a side file that
// replaces the chosen file only when the document ends whole, so an abandoned or failed run
// leaves nothing and the earlier file stays as it was.
#include "output/printer_device.h"

#include "controls/prompts.h"
#include "output/printer_catalog.h"
#include "store/output_file.h"

#include <QFile>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintEngine>
#include <QPrinter>
#include <QPrinterInfo>
#include <array>
#include <cmath>
#include <utility>

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace qb {
namespace {

std::unique_ptr<PrinterDevice>& sharedSlot() {
    static std::unique_ptr<PrinterDevice> device;
    return device;
}

const QString AutomaticBin = QStringLiteral("Automatically Select");

// Job options of the platform's printing system; Qt reads them under this property key.
constexpr auto JobOptionsKey = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// The PDF printer's papers under the names print dialogs commonly give them.
struct NamedPaper {
    QPageSize::PageSizeId id;
    const char* name;
};
const std::array<NamedPaper, 14> PdfPapers = {{{QPageSize::Letter, "Letter"},
                                               {QPageSize::Legal, "Legal"},
                                               {QPageSize::Executive, "Executive"},
                                               {QPageSize::Tabloid, "Tabloid"},
                                               {QPageSize::A3, "A3"},
                                               {QPageSize::A4, "A4"},
                                               {QPageSize::A5, "A5"},
                                               {QPageSize::A6, "A6"},
                                               {QPageSize::B5, "B5"},
                                               {QPageSize::Envelope10, "Envelope #10"},
                                               {QPageSize::EnvelopeDL, "Envelope DL"},
                                               {QPageSize::EnvelopeC5, "Envelope C5"},
                                               {QPageSize::EnvelopeC6, "Envelope C6"},
                                               {QPageSize::EnvelopeMonarch, "Envelope Monarch"}}};

// Standard paper codes as printer drivers number them.
std::optional<QPageSize::PageSizeId> paperForCode(int code) {
    switch (code) {
        case 1:
        case 2:
            return QPageSize::Letter;
        case 3:
            return QPageSize::Tabloid;
        case 4:
            return QPageSize::Ledger;
        case 5:
            return QPageSize::Legal;
        case 6:
            return QPageSize::Statement;
        case 7:
            return QPageSize::Executive;
        case 8:
            return QPageSize::A3;
        case 9:
        case 10:
            return QPageSize::A4;
        case 11:
            return QPageSize::A5;
        case 12:
            return QPageSize::JisB4;
        case 13:
            return QPageSize::JisB5;
        case 14:
            return QPageSize::Folio;
        case 15:
            return QPageSize::Quarto;
        case 16:
            return QPageSize::Imperial10x14;
        case 18:
            return QPageSize::Note;
        case 19:
            return QPageSize::Envelope9;
        case 20:
            return QPageSize::Envelope10;
        case 21:
            return QPageSize::Envelope11;
        case 22:
            return QPageSize::Envelope12;
        case 23:
            return QPageSize::Envelope14;
        case 27:
            return QPageSize::EnvelopeDL;
        case 28:
            return QPageSize::EnvelopeC5;
        case 29:
            return QPageSize::EnvelopeC3;
        case 30:
            return QPageSize::EnvelopeC4;
        case 31:
            return QPageSize::EnvelopeC6;
        case 34:
            return QPageSize::EnvelopeB4;
        case 35:
            return QPageSize::EnvelopeB5;
        case 37:
            return QPageSize::EnvelopeMonarch;
        default:
            return std::nullopt;
    }
}

QList<std::pair<QPageSize, QString>> papersOf(const QString& printerName) {
    QList<std::pair<QPageSize, QString>> papers;
    if (PrinterCatalog::isPdf(printerName)) {
        for (const NamedPaper& p : PdfPapers) {
            papers.append({QPageSize(p.id), QString::fromLatin1(p.name)});
        }
    } else {
        for (const QPageSize& s : QPrinterInfo::printerInfo(printerName).supportedPageSizes()) {
            papers.append({s, s.name()});
        }
    }
    return papers;
}

}  // namespace

PrinterDevice& PrinterDevice::shared() {
    auto& slot = sharedSlot();
    if (!slot) slot = std::make_unique<PrinterDevice>();
    return *slot;
}

void PrinterDevice::releaseShared() {
    sharedSlot().reset();
}

bool PrinterDevice::sharedExists() {
    return sharedSlot() != nullptr;
}

PrinterDevice::PrinterDevice() {
    const QString name = PrinterCatalog::defaultName();
    if (!name.isEmpty()) createPrinter(name);
}

PrinterDevice::~PrinterDevice() {
    if (documentOpen_) abandonDocument();
}

void PrinterDevice::createPrinter(const QString& name) {
    if (PrinterCatalog::isPdf(name)) {
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
        setUpPdf();
        printer_->setPageSize(QPageSize(QPageSize::Letter));
        printer_->setPageOrientation(QPageLayout::Portrait);
        bins_ = {{AutomaticBin, QString()}};
    } else {
        printer_ =
            std::make_unique<QPrinter>(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
        printer_->setFullPage(false);
        printer_->setPageMargins(printer_->pageLayout().minimumMargins(),
                                 printer_->pageLayout().units());
        bins_ = ppdInputSlotsOf(name);
        if (bins_.empty()) bins_ = {{AutomaticBin, QString()}};
    }
    name_ = name;
    bin_ = 0;
}

void PrinterDevice::setUpPdf() {
    if (printer_->outputFormat() != QPrinter::PdfFormat) {
        printer_->setOutputFormat(QPrinter::PdfFormat);
    }
    printer_->setResolution(600);
    printer_->setFullPage(true);
    printer_->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
}

QString PrinterDevice::driverName() const {
    if (!printer_) return {};
    if (PrinterCatalog::isPdf(name_)) return QStringLiteral("PDF");
    const QString model = QPrinterInfo::printerInfo(name_).makeAndModel();
    return model.isEmpty() ? QStringLiteral("CUPS") : model;
}

QString PrinterDevice::portName() const {
    if (!printer_) return {};
    if (PrinterCatalog::isPdf(name_)) return QStringLiteral("FILE:");
    const QString location = QPrinterInfo::printerInfo(name_).location();
    return location.isEmpty() ? name_ : location;
}

int PrinterDevice::printerIndex() const {
    if (!printer_) return -1;
    return static_cast<int>(PrinterCatalog::names().indexOf(name_));
}

bool PrinterDevice::setPrinterIndex(int index) {
    const QStringList names = PrinterCatalog::names();
    if (names.isEmpty()) return false;
    if (index == -1) return selectPrinter(PrinterCatalog::defaultName());
    if (index < 0 || index >= names.size()) return false;
    return selectPrinter(names[index]);
}

bool PrinterDevice::selectPrinter(const QString& name) {
    if (!PrinterCatalog::names().contains(name)) return false;
    if (name != name_ || !printer_) createPrinter(name);
    return true;
}

QStringList PrinterDevice::paperNamesOf(const QString& printerName) {
    QStringList names;
    for (const auto& paper : papersOf(printerName))
        names << paper.second;
    return names;
}

QStringList PrinterDevice::binNamesOf(const QString& printerName) {
    if (PrinterCatalog::isPdf(printerName)) return {AutomaticBin};
    QStringList names;
    for (const PaperBin& b : ppdInputSlotsOf(printerName))
        names << b.name;
    if (names.isEmpty()) names << AutomaticBin;
    return names;
}

QStringList PrinterDevice::binNames() const {
    QStringList names;
    if (!printer_) return names;
    for (const PaperBin& b : bins_)
        names << b.name;
    return names;
}

int PrinterDevice::binIndex() const {
    return printer_ ? bin_ : -1;
}

bool PrinterDevice::selectBin(const QString& name) {
    for (std::size_t i = 0; i < bins_.size() && printer_; ++i) {
        if (bins_[i].name != name) continue;
        bin_ = static_cast<int>(i);
        if (!bins_[i].keyword.isEmpty()) {
            if (QPrintEngine* engine = printer_->printEngine()) {
                engine->setProperty(JobOptionsKey,
                                    QStringList{QStringLiteral("InputSlot"), bins_[i].keyword});
            }
        }
        return true;
    }
    return false;
}

QStringList PrinterDevice::paperNames() const {
    QStringList names;
    if (!printer_) return names;
    for (const auto& paper : papersOf(name_))
        names << paper.second;
    return names;
}

int PrinterDevice::paperIndex() const {
    if (!printer_) return -1;
    const QPageSize current = printer_->pageLayout().pageSize();
    const auto papers = papersOf(name_);
    for (qsizetype i = 0; i < papers.size(); ++i) {
        if (papers[i].first.isEquivalentTo(current)) return static_cast<int>(i);
    }
    return -1;
}

bool PrinterDevice::selectPaper(const QString& name) {
    if (!printer_) return false;
    for (const auto& paper : papersOf(name_)) {
        if (paper.second == name) return printer_->setPageSize(paper.first);
    }
    return false;
}

bool PrinterDevice::setPaperSize(int code, double height, double width) {
    if (!printer_) {
        if (code == 0) {
            if (width <= 0 || height <= 0) return false;
            plainPaper_ = QSizeF(width, height);
            return true;
        }
        const auto id = paperForCode(code);
        if (!id) return false;
        plainPaper_ = QPageSize(*id).size(QPageSize::Millimeter) / 25.4;
        return true;
    }
    QPageSize wanted;
    if (code == 0) {
        const long w = std::lround(width * 254.0);
        const long h = std::lround(height * 254.0);
        if (w <= 0 || h <= 0) return false;
        wanted = QPageSize(QSizeF(w / 10.0, h / 10.0), QPageSize::Millimeter, QString(),
                           QPageSize::ExactMatch);
    } else {
        const auto id = paperForCode(code);
        if (!id) return false;
        wanted = QPageSize(*id);
    }
    if (!printer_->setPageSize(wanted)) return false;
    return printer_->pageLayout().pageSize().isEquivalentTo(wanted);
}

TOrientation PrinterDevice::orientation() const {
    if (!printer_) return plainOrientation_;
    return printer_->pageLayout().orientation() == QPageLayout::Landscape ? poLandScape
                                                                          : poPortrait;
}

void PrinterDevice::setOrientation(TOrientation orientation) {
    if (orientation == poDefault) return;
    if (!printer_) {
        plainOrientation_ = orientation;
        return;
    }
    printer_->setPageOrientation(orientation == poLandScape ? QPageLayout::Landscape
                                                            : QPageLayout::Portrait);
}

int PrinterDevice::copies() const {
    return printer_ ? printer_->copyCount() : plainCopies_;
}

void PrinterDevice::setCopies(int copies) {
    if (copies < 1) return;
    if (printer_) {
        printer_->setCopyCount(copies);
    } else {
        plainCopies_ = copies;
    }
}

void PrinterDevice::setResolution(int dpi) {
    if (printer_ && dpi > 0) printer_->setResolution(dpi);
}

PageGeometry PrinterDevice::geometry() const {
    PageGeometry g;
    if (!printer_) {
        const bool landscape = plainOrientation_ == poLandScape;
        g.width = landscape ? plainPaper_.height() : plainPaper_.width();
        g.height = landscape ? plainPaper_.width() : plainPaper_.height();
        return g;
    }
    // Millimetres keep two decimals in Qt's page layouts, inches only two as well, so sizes
    // are read in millimetres: A4's 210 by 297 and letter's 215.9 by 279.4 stay exact.
    const QPageLayout layout = printer_->pageLayout();
    const QRectF paper = layout.fullRect(QPageLayout::Millimeter);
    const QMarginsF margins =
        printer_->fullPage() ? QMarginsF() : layout.margins(QPageLayout::Millimeter);
    g.width = paper.width() / 25.4;
    g.height = paper.height() / 25.4;
    g.unprintableLeft = margins.left() / 25.4;
    g.unprintableTop = margins.top() / 25.4;
    g.unprintableRight = margins.right() / 25.4;
    g.unprintableBottom = margins.bottom() / 25.4;
    g.dpiX = printer_->logicalDpiX();
    g.dpiY = printer_->logicalDpiY();
    return g;
}

void PrinterDevice::adoptDialogChanges() {
    if (!printer_) return;
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        const QString chosen = printer_->outputFileName();
        if (!chosen.isEmpty()) outputFile_ = chosen;
        if (!PrinterCatalog::isPdf(name_)) {
            name_ = PrinterCatalog::pdfPrinterName();
            bins_ = {{AutomaticBin, QString()}};
            bin_ = 0;
        }
        setUpPdf();
    } else if (printer_->printerName() != name_ &&
               PrinterCatalog::names().contains(printer_->printerName())) {
        name_ = printer_->printerName();
        bins_ = ppdInputSlotsOf(name_);
        if (bins_.empty()) bins_ = {{AutomaticBin, QString()}};
        bin_ = 0;
    }
}

namespace {

// The PDF writer sets up and drops its compression buffers for every page. With the C
// library's defaults those buffers are mapped and unmapped, or the heap grows and is trimmed
// again around them, and the memory is faulted in anew for every page, which costs more than
// drawing the page. Taking them from the heap, growing it by a larger step (address space
// only: untouched memory costs nothing) and keeping what was freed makes documents of many
// small pages, one envelope or letter per contact, several times faster. It is set as the
// program loads, before the heap has been laid out by the small steps.
#ifdef __GLIBC__
const bool kHeapStepSet = [] {
    constexpr int kStep = 64 * 1024 * 1024;
    mallopt(M_MMAP_THRESHOLD, kStep);
    mallopt(M_TRIM_THRESHOLD, kStep);
    mallopt(M_TOP_PAD, kStep);
    return true;
}();
#endif

}  // namespace

PrinterDevice::Open PrinterDevice::beginDocument(const QString& title, QWidget* dialogParent) {
    failure_.clear();
    if (!printer_) return Open::Failed;
    printer_->setDocName(title);
    printer_->setCreator(QStringLiteral("Quillbank"));
    if (printer_->outputFormat() == QPrinter::PdfFormat) {
        QString target = outputFile_;
        if (target.isEmpty()) {
            FileDialogRequest request;
            request.caption = QStringLiteral("Save PDF File As");
            request.filter = QStringLiteral("PDF Files|*.pdf");
            request.defaultSuffix = QStringLiteral("pdf");
            request.fileName = title + QStringLiteral(".pdf");
            request.overwritePrompt = true;
            request.mustExist = false;
            const auto chosen = prompts().saveFile(dialogParent, request);
            if (!chosen || chosen->isEmpty()) return Open::Cancelled;
            target = *chosen;
        }
        auto file = std::make_unique<SafeOutputFile>(target);
        if (!file->begin()) {
            failure_ = file->errorString();
            return Open::Failed;
        }
        auto writer = std::make_unique<QPdfWriter>(file.get());
        writer->setPageLayout(printer_->pageLayout());
        writer->setResolution(printer_->resolution());
        writer->setTitle(title);
        writer->setCreator(QStringLiteral("Quillbank"));
        pdfFile_ = std::move(file);
        pdfWriter_ = std::move(writer);
    }
    documentOpen_ = true;
    return Open::Ok;
}

QPagedPaintDevice* PrinterDevice::pageDevice() {
    if (pdfWriter_) return pdfWriter_.get();
    return printer_.get();
}

QPainter* PrinterDevice::startPage() {
    if (!documentOpen_ || !printer_ || !failure().isEmpty()) return nullptr;
    if (!painter_) {
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(pageDevice())) return nullptr;
        painter_ = std::move(painter);
        return painter_.get();
    }
    if (!pageDevice()->newPage()) return nullptr;
    return painter_.get();
}

QString PrinterDevice::failure() const {
    if (!failure_.isEmpty()) return failure_;
    if (pdfFile_ && pdfFile_->failed()) return pdfFile_->errorString();
    return {};
}

bool PrinterDevice::supportsMultipleCopies() const {
    return printer_ && printer_->outputFormat() == QPrinter::NativeFormat &&
           printer_->supportsMultipleCopies();
}

void PrinterDevice::closePainter(bool abort) {
    if (!painter_) return;
    if (abort && printer_->outputFormat() == QPrinter::NativeFormat) printer_->abort();
    if (painter_->isActive()) painter_->end();
    painter_.reset();
}

bool PrinterDevice::endDocument() {
    if (!documentOpen_) return false;
    closePainter(false);
    documentOpen_ = false;
    if (!pdfFile_) return true;
    // The writer finishes the file when the painter ends; only then is the file complete.
    pdfWriter_.reset();
    const bool saved = pdfFile_->commit();
    if (!saved) failure_ = pdfFile_->errorString();
    pdfFile_.reset();
    return saved;
}

void PrinterDevice::abandonDocument() {
    if (!documentOpen_) return;
    closePainter(true);
    documentOpen_ = false;
    pdfWriter_.reset();
    if (pdfFile_) pdfFile_->discard();
    pdfFile_.reset();
}

}  // namespace qb
