// The engine drawing straight on the selected printer.
#pragma once

#include "output/base_report.h"

#include <QByteArray>
#include <vector>

namespace qb {

class TReportPrinter : public TBaseReport {
  public:
    explicit TReportPrinter(QObject* owner = nullptr);

    // Drops what the printer has received of the current document at once; the pass goes on
    // drawing into nothing until the caller's Abort is noticed.
    void AbandonDocument();

  protected:
    bool prepareStart() override;
    bool openDocument() override;
    void outputPage(int pageNumber, const QByteArray& body) override;
    void closeDocument(bool abandon) override;
    bool isReportFilePass() const override { return false; }

  private:
    bool renderOnDevice(const QByteArray& body);

    // Pages kept for the further copies a device cannot make itself.
    std::vector<QByteArray> keptPages_;
    int extraCopies_ = 0;
};

}  // namespace qb
