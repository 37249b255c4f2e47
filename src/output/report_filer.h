// The engine recording its pages into a report file: in memory, in a named or temporary
// file, or in a stream the caller owns.
#pragma once

#include "output/base_report.h"
#include "output/report_file.h"

#include <QBuffer>
#include <QPointer>
#include <memory>

class QIODevice;

namespace qb {

class TReportFiler : public TBaseReport {
  public:
    explicit TReportFiler(QObject* owner = nullptr);
    ~TReportFiler() override;

    TStreamMode StreamMode() const { return streamMode_; }
    void SetStreamMode(TStreamMode mode) { streamMode_ = mode; }
    // The caller's stream under smUser; it is written from position 0.
    QIODevice* Stream() const { return stream_; }
    void SetStream(QIODevice* stream) { stream_ = stream; }
    QString FileName() const { return fileName_; }
    void SetFileName(const QString& name) { fileName_ = name; }
    TAccuracyMethod AccuracyMethod() const { return accuracy_; }
    void SetAccuracyMethod(TAccuracyMethod method) { accuracy_ = method; }

    // The report file of the last smMemory pass.
    const QByteArray& MemoryData() const { return memory_.data(); }
    // Size in bytes of the report file written by the last pass.
    qint64 ReportSize() const { return reportSize_; }

  protected:
    bool prepareStart() override;
    bool openDocument() override;
    void outputPage(int pageNumber, const QByteArray& body) override;
    void closeDocument(bool abandon) override;
    bool isReportFilePass() const override { return true; }

  private:
    QString streamName() const;

    TStreamMode streamMode_ = smMemory;
    QPointer<QIODevice> stream_;
    QString fileName_;
    TAccuracyMethod accuracy_ = amAppearance;
    QBuffer memory_;
    std::unique_ptr<QIODevice> ownedFile_;
    std::unique_ptr<ReportFileWriter> writer_;
    qint64 reportSize_ = 0;
};

}  // namespace qb
