// The ZIP code count report: the count's lines in four shaded columns per page under a title
// and a page number, drawn in the ZIP count's status window with its own closing texts.
#pragma once

#include <QStringList>
#include <functional>

#include "output/status_window.h"

namespace qb::presort {

StatusTexts zipStatusTexts();

// Draws the report lines; the page-drawing part works on any engine object, so tests and
// benchmarks can run it into a report file without a window.
class ZipReportPages {
  public:
    explicit ZipReportPages(const QStringList& lines) : lines_(lines) {}

    // Asked after each line; true ends the pages there (a stopped preview keeps them).
    std::function<bool()> stopRequested;
    // Called after each line, so windows stay responsive.
    std::function<void()> letEventsRun;

    // OnPrint: every page of the report.
    void PrintZipReport(TBaseReport& report);
    // The title, page number, frame and column rules of a page.
    void HeaderFooter(TBaseReport& report);

  private:
    const QStringList& lines_;
};

class TZipReport : public TStatusWindow {
  public:
    // The lines stay the caller's and must outlive the window.
    TZipReport(const QStringList& lines, QWidget* parent = nullptr);
    // Wires the engine of the prepared pass (PreparePrinterPass or PreparePreviewPass first).
    void WireReport();

    void PrintZipReport(TBaseReport& report) { pages_.PrintZipReport(report); }
    void HeaderFooter(TBaseReport& report) { pages_.HeaderFooter(report); }

  private:
    ZipReportPages pages_;
};

}  // namespace qb::presort

namespace qb {
class PassFrontEnd;
}

namespace qb::presort {

// One print or preview of the report; true when the pass completed (a preview stopped by the
// user counts, and shows the pages made so far). A preview is shown as "Preview Zipcode Count".
bool RunZipReport(const QStringList& lines, bool preview, PassFrontEnd& frontEnd, QWidget* parent);

}  // namespace qb::presort
