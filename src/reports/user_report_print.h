// The pages of a contact report, and the report status window TUserReportPrint they are drawn
// in. The page routines work on any engine object, so tests and benchmarks can run them into
// a report file without a window.
#pragma once

#include <QString>
#include <functional>

#include "output/status_window.h"
#include "reports/report_layouts.h"
#include "xbase/work_area.h"

namespace qb::reports {

StatusTexts reportStatusTexts();

// The current record's fields as a report prints them.
ReportFields readReportFields(const xb::WorkArea& contacts, bool withMemo);

class ContactReportPages {
  public:
    // Pages start at the table's current record and follow its order and selection.
    ContactReportPages(xb::WorkArea& contacts, int layout, QString title, bool codes, bool memo);

    // Asked before each record; true ends the pages there (a stopped preview keeps them).
    std::function<bool()> stopRequested;
    // Called once per record, so windows stay responsive.
    std::function<void()> letEventsRun;

    // OnBeforePrint.
    void BeforePrintReport(TBaseReport& r);
    // OnPrint for the chosen layout: every page of the report.
    void PrintReport(TBaseReport& r);
    void PrintReport1(TBaseReport& r) { printPages(r, 1); }
    void PrintReport2(TBaseReport& r) { printPages(r, 2); }
    void PrintReport3(TBaseReport& r) { printPages(r, 3); }
    void PrintReport4(TBaseReport& r) { printPages(r, 4); }
    // The page header of a layout: title, page number, date, column headings and rules.
    void HeaderFooter1(TBaseReport& r) { header(r, 1); }
    void HeaderFooter2(TBaseReport& r) { header(r, 2); }
    void HeaderFooter3(TBaseReport& r) { header(r, 3); }
    void HeaderFooter4(TBaseReport& r) { header(r, 4); }
    // The codes and memo bands after a record's rows.
    void HandleCodesAndMemo(TBaseReport& r, const ReportFields& fields);
    // The text in the current tab stop, clipped to `width` less 0.2 inch on the current line.
    static void DoTextRect(TBaseReport& r, const QString& text, double width);

    int recordsPrinted() const { return records_; }

  private:
    void printPages(TBaseReport& r, int layout);
    void header(TBaseReport& r, int layout);
    // A new page with its header, in the layout's font.
    void nextPage(TBaseReport& r);
    void setLayoutTabs(TBaseReport& r);
    void setBandTab(TBaseReport& r, int shade);
    void printRows(TBaseReport& r, const ReportFields& f);

    xb::WorkArea& contacts_;
    int layout_;
    QString title_;
    bool codes_;
    bool memo_;
    int records_ = 0;
};

class TUserReportPrint : public TStatusWindow {
  public:
    explicit TUserReportPrint(QWidget* parent = nullptr);
    ~TUserReportPrint() override;

    // Sets up the pages and wires the engine of the prepared pass (PreparePrinterPass or
    // PreparePreviewPass first).
    void PrepareRun(xb::WorkArea& contacts, int layout, const QString& title, bool codes,
                    bool memo);
    const ContactReportPages* pages() const { return pages_.get(); }

  private:
    std::unique_ptr<ContactReportPages> pages_;
};

}  // namespace qb::reports
