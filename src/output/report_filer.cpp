// Report-file passes: the device geometry comes from the selected printer when one is
// installed and from a plain 96-dpi screen page otherwise.
#include "output/report_filer.h"

#include "output/printer_catalog.h"
#include "output/report_error.h"

#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <QWidget>

namespace qb {

TReportFiler::TReportFiler(QObject* owner) : TBaseReport(owner) {}

TReportFiler::~TReportFiler() = default;

QString TReportFiler::streamName() const {
    switch (streamMode_) {
        case smFile:
        case smTempFile:
            return fileName_;
        case smUser:
            return QStringLiteral("report stream");
        case smMemory:
            break;
    }
    return QStringLiteral("report in memory");
}

bool TReportFiler::prepareStart() {
    if (!PrinterCatalog::hasPrinters() && !qobject_cast<QWidget*>(parent())) {
        throw ReportError(report_messages::filerNeedsForm);
    }
    if (streamMode_ == smUser && !stream_) throw ReportError(report_messages::userStreamMissing);
    return true;
}

bool TReportFiler::openDocument() {
    QIODevice* device = nullptr;
    ownedFile_.reset();
    switch (streamMode_) {
        case smUser:
            device = stream_;
            if (!device->isOpen() && !device->open(QIODevice::ReadWrite)) {
                throw ReportError(QStringLiteral("%1: cannot be opened: %2")
                                      .arg(streamName(), device->errorString()));
            }
            break;
        case smMemory:
            if (memory_.isOpen()) memory_.close();
            memory_.setData(QByteArray());
            memory_.open(QIODevice::ReadWrite);
            device = &memory_;
            break;
        case smFile: {
            auto file = std::make_unique<QFile>(fileName_);
            if (!file->open(QIODevice::ReadWrite | QIODevice::Truncate)) {
                throw ReportError(QStringLiteral("%1: cannot be created: %2")
                                      .arg(fileName_, file->errorString()));
            }
            ownedFile_ = std::move(file);
            device = ownedFile_.get();
            break;
        }
        case smTempFile: {
            auto file = std::make_unique<QTemporaryFile>(QDir::tempPath() +
                                                         QStringLiteral("/quillbank-XXXXXX.qbr"));
            file->setAutoRemove(false);
            if (!file->open()) {
                throw ReportError(QStringLiteral("Temporary report file: cannot be created: %1")
                                      .arg(file->errorString()));
            }
            fileName_ = file->fileName();
            ownedFile_ = std::move(file);
            device = ownedFile_.get();
            break;
        }
    }
    writer_ = std::make_unique<ReportFileWriter>(*device, streamName());
    const PageGeometry& g = geometry();
    writer_->begin(g.width, g.height, accuracy_ == amPositioning);
    return true;
}

void TReportFiler::outputPage(int pageNumber, const QByteArray& body) {
    writer_->addPage(pageNumber, body);
}

void TReportFiler::closeDocument(bool) {
    if (!writer_) return;
    // Even an aborted pass leaves a readable file with the pages it recorded.
    writer_->finish();
    reportSize_ = writer_->size();
    writer_.reset();
    if (ownedFile_) {
        ownedFile_->close();
        ownedFile_.reset();
    }
}

}  // namespace qb
