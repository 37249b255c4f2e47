// Report-file passes: the device geometry comes from the selected printer when one is
// installed and from a plain 96-dpi screen page otherwise.
#include "output/report_filer.h"

#include "output/printer_catalog.h"
#include "output/report_error.h"
#include "store/output_file.h"

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
            // A report file the user named is an output like any other: written beside its
            // target and put in place only when finished.
            auto file = std::make_unique<SafeOutputFile>(fileName_);
            if (!file->begin()) throw ReportError(file->errorString());
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
    try {
        writer_->finish();
    } catch (...) {
        // An unfinished file is no report: a file of ours goes with its side file.
        writer_.reset();
        if (dynamic_cast<SafeOutputFile*>(ownedFile_.get())) ownedFile_.reset();
        throw;
    }
    reportSize_ = writer_->size();
    writer_.reset();
    if (auto* output = dynamic_cast<SafeOutputFile*>(ownedFile_.get())) {
        const bool saved = output->commit();
        const QString why = output->errorString();
        ownedFile_.reset();
        if (!saved) throw ReportError(why);
    } else if (ownedFile_) {
        ownedFile_->close();
        ownedFile_.reset();
    }
}

}  // namespace qb
