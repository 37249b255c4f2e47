// Contact reports: which records each layout lists and in what order, the record scope with
// everything put back afterwards, the codes and memo bands across pages, and positions read
// back from the "PDF file" printer.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include "output/printer_catalog.h"
#include "reports/user_report_print.h"
#include "reports_fixture.h"

namespace {

using namespace reporttest;
using qb::reports::ReportRequest;

// The first cell of each record row: the texts drawn at the first column's text start.
QStringList firstColumn(const Recorded& run, double x = 1.02) {
    QStringList cells;
    for (const auto& page : run.pages)
        for (const auto& t : opsOf<qb::ClipTextOp>(page))
            if (std::abs(t.x - x) < 1e-3) cells << t.text;
    return cells;
}

std::vector<Row> awkwardNames() {
    return {{{"LNAME", "Brown"}, {"ORG", "Zeta"}},
            {{"FNAME", "Nobody"}, {"ORG", "Acme"}},
            {{"LNAME", "'t Hart"}},
            {{"LNAME", "(Estate of) Smith"}, {"ORG", "Estate"}},
            {{"LNAME", "#1 Realty"}, {"ORG", "#1"}},
            {{"LNAME", "Adams"}, {"PREFIX", "Deleted"}},
            {{"LNAME", "Adams"}, {"FNAME", "Ann"}}};
}

TEST_F(ReportsTest, EachLayoutListsItsOrderAndLeavesOutOnlyEmptyKeys) {
    open(awkwardNames());
    ReportRequest r;
    r.scope = qb::ScopeChoice::AllRecords;
    r.layout = 1;
    EXPECT_EQ(
        firstColumn(preview(r)),
        (QStringList{"#1 Realty, ", "'t Hart, ", "(Estate of) Smith, ", "Adams, Ann ", "Brown, "}));
    r.layout = 2;
    EXPECT_EQ(firstColumn(preview(r)).size(), 5);
    r.layout = 3;
    EXPECT_EQ(firstColumn(preview(r)), (QStringList{"#1", "Acme", "Estate", "Zeta"}));
    r.layout = 4;
    // Every record, the one without a last name too (it has no name cell, only a date cell).
    const Recorded all = preview(r);
    EXPECT_EQ(last.records, 6);
    // A first name without a prefix still gets the prefix's blank.
    EXPECT_EQ(firstColumn(all), (QStringList{"#1 Realty, ", "'t Hart, ", "(Estate of) Smith, ",
                                             "Adams,  Ann ", "Brown, "}));
    // Its rows are in Arial 8, although the header before them ends in Arial 9.
    float rowFont = 0;
    for (const qb::DrawOp& op : all.pages.at(0)) {
        if (const auto* f = std::get_if<qb::FontOp>(&op)) rowFont = f->size;
        if (std::holds_alternative<qb::ClipTextOp>(op)) break;
    }
    EXPECT_EQ(rowFont, 8.0f);
}

TEST_F(ReportsTest, OnlyCurrentRecordWithoutALastNameGivesAnEmptyListInLayoutOne) {
    qb::Dataset& t = open(awkwardNames());
    t.go(2);
    ReportRequest r;
    r.scope = qb::ScopeChoice::OnlyCurrent;
    preview(r);
    EXPECT_EQ(last.records, 0);
    r.startFromCurrent = true;
    preview(r);
    EXPECT_EQ(last.records, 1);
}

class ReportScope : public ReportsTest {
  protected:
    void SetUp() override {
        ReportsTest::SetUp();
        std::vector<Row> rows;
        for (int i = 0; i < 120; ++i)
            rows.push_back(
                {{"LNAME", QStringLiteral("N%1").arg(i, 3, 10, QLatin1Char('0')).toStdString()},
                 {"ZIP", i % 2 ? "11111" : "22222"}});
        qb::Dataset& t = open(rows);
        t.setOrderTag(QStringLiteral("ZIP"));
        t.setSelection(QStringLiteral("ZIP='1'.and.") + qb::kDeletionExclusion);
        t.go(10);  // inside the filter
    }
    void expectRestored() {
        EXPECT_EQ(table->orderTag(), "ZIP");
        EXPECT_EQ(table->selection(), QStringLiteral("ZIP='1'.and.") + qb::kDeletionExclusion);
        EXPECT_EQ(table->recNo(), 10u);
    }
    // Runs the window as the dialog does; `act` is called on every turn of the event loop.
    qb::reports::ReportResult runShown(ReportRequest r,
                                       std::function<void(qb::TStatusWindow&)> act) {
        QWidget main;
        qb::DialogPassFrontEnd frontEnd(&main);
        QTimer t;
        t.setInterval(0);
        QObject::connect(&t, &QTimer::timeout, [&] {
            if (auto* w = dynamic_cast<qb::TStatusWindow*>(QApplication::activeModalWidget()))
                act(*w);
            else if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                d->reject();  // the preview window
        });
        t.start();
        return qb::reports::DoPrint(*table, r, frontEnd, nullptr);
    }
};

TEST_F(ReportScope, EveryScopeListsItsRecordsAndPutsEverythingBack) {
    ReportRequest r;
    r.scope = qb::ScopeChoice::AllRecords;
    EXPECT_EQ(firstColumn(preview(r)).size(), 120);
    expectRestored();
    r.scope = qb::ScopeChoice::MatchingFilter;
    const QStringList matching = firstColumn(preview(r));
    EXPECT_EQ(matching.size(), 60);
    EXPECT_EQ(matching.front(), "N001, ");  // last-name order, whatever the table's order
    expectRestored();
    r.scope = qb::ScopeChoice::OnlyCurrent;
    EXPECT_EQ(firstColumn(preview(r)), QStringList{"N009, "});
    expectRestored();
    r.scope = qb::ScopeChoice::MatchingFilter;
    r.startFromCurrent = true;
    EXPECT_EQ(firstColumn(preview(r)).front(), "N009, ");
    expectRestored();
}

TEST_F(ReportScope, AStoppedPreviewAndAnAbortedPrintPutEverythingBack) {
    ReportRequest r;
    r.scope = qb::ScopeChoice::AllRecords;
    r.preview = true;
    bool stopped = false;
    auto result = runShown(r, [&](qb::TStatusWindow& w) {
        if (w.PassFinished()) {
            w.CancelButton()->click();
        } else if (!stopped) {
            w.CancelButton()->click();
            stopped = w.StopRequested();
        }
    });
    EXPECT_EQ(result.outcome, qb::reports::ReportOutcome::Completed);
    EXPECT_LT(result.records, 120);
    expectRestored();

    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);
    qb::PrinterDevice::shared().selectPrinter(qb::PrinterCatalog::pdfPrinterName());
    const QString pdf = home.file(QStringLiteral("aborted.pdf"));
    qb::PrinterDevice::shared().setOutputFileName(pdf);
    r.preview = false;
    script.answerYes("Cancel Report Printing?");
    bool asked = false;
    result = runShown(r, [&](qb::TStatusWindow& w) {
        if (w.PassFinished()) {
            EXPECT_EQ(w.StatusLabel()->text(), "\nReport Print Canceled!");
            w.CancelButton()->click();
        } else if (!asked) {
            asked = true;
            w.CancelButton()->click();
        }
    });
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::Platform);
    EXPECT_EQ(result.outcome, qb::reports::ReportOutcome::Aborted);
    EXPECT_FALSE(QFile::exists(pdf));
    expectRestored();
}

TEST_F(ReportsTest, LongMemoContinuesOnTheNextPageUnderARepeatedHeaderAndFitsItsBand) {
    QString memo;
    for (int i = 0; i < 70; ++i)
        memo += QStringLiteral(
                    "Line %1 of a memo long enough to need a second page, with words "
                    "enough to wrap at the band's edge more than once. ")
                    .arg(i);
    open({{{"LNAME", "Memo"}, {"NOTES", "VIP"}, {"MEMO", memo.toStdString()}},
          {{"LNAME", "Plain"}, {"MEMO", " "}}});
    ReportRequest r;
    r.title = "Members";
    r.scope = qb::ScopeChoice::AllRecords;
    r.codes = r.memo = true;
    const Recorded run = preview(r);
    ASSERT_GE(run.pages.size(), 2u);
    for (size_t p = 0; p < run.pages.size(); ++p) {
        const QStringList texts = textsOf(run.pages[p]);
        EXPECT_EQ(texts.value(0), "Members");
        EXPECT_TRUE(texts.contains(QStringLiteral("Page %1").arg(p + 1)));
        EXPECT_TRUE(texts.contains("City/St/Zip"));
    }
    EXPECT_TRUE(textsOf(run.pages[0]).contains("VIP"));
    // The memo band keeps its shade on every page; no memo line runs past the band.
    const int memoGrey = qb::shadeGrey(10);
    for (const auto& page : run.pages) {
        int memoFills = 0;
        for (const auto& f : opsOf<qb::FillOp>(page))
            if (int(f.colour & 0xFF) == memoGrey) ++memoFills;
        EXPECT_GT(memoFills, 0);
        for (const auto& t : opsOf<qb::TextOp>(page))
            if (t.y > 1.5) EXPECT_LE(t.x + t.width, 8.0 - 0.02 + 1e-3) << t.text.toStdString();
    }
    // The second contact's memo is one blank line: no band for it.
    const auto& lastPage = run.pages.back();
    const QStringList texts = textsOf(lastPage);
    ASSERT_TRUE(texts.contains("Plain, "));
    EXPECT_EQ(texts.back(), "Plain, ");
}

TEST_F(ReportsTest, LayoutOneLandsOnLetterPaperWhereItShould) {
    std::vector<Row> rows;
    for (int i = 0; i < 100; ++i)
        rows.push_back(
            {{"LNAME", QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')).toStdString()},
             {"STREET", "1 Elm"},
             {"CITY", "Salem"},
             {"PHONE", "5551234"}});
    open(rows);
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::PdfOnly);
    qb::PrinterDevice::shared().selectPrinter(qb::PrinterCatalog::pdfPrinterName());
    const QString pdf = home.file(QStringLiteral("layout1.pdf"));
    qb::PrinterDevice::shared().setOutputFileName(pdf);
    ReportRequest r;
    r.title = "Roster";
    r.scope = qb::ScopeChoice::AllRecords;
    qb::UnshownPassFrontEnd frontEnd;
    table->setOrderTag(QStringLiteral("CITY"));
    table->go(40);
    const auto result = qb::reports::DoPrint(*table, r, frontEnd, nullptr);
    qb::PrinterCatalog::setMode(qb::PrinterCatalog::Mode::Platform);
    ASSERT_EQ(result.outcome, qb::reports::ReportOutcome::Completed);
    EXPECT_EQ(result.records, 100);
    EXPECT_EQ(table->orderTag(), "CITY");
    EXPECT_EQ(table->recNo(), 40u);
    EXPECT_EQ(result.pages, 2);

    const auto words = pdfWords(pdf);
    int pages = 0;
    for (const Word& w : words)
        pages = std::max(pages, w.page);
    EXPECT_EQ(pages, 2);
    const Word* title = findWord(words, "Roster");
    const Word* pageNumber = findWord(words, "1");
    ASSERT_TRUE(title && pageNumber);
    EXPECT_NEAR(title->xMin, 1.00, 0.01);
    EXPECT_NEAR(pageNumber->xMax, 8.00, 0.01);
    const double columns[] = {1.02, 2.77, 4.92, 6.92};
    const char* headings[] = {"Name", "Address", "City/St/Zip", "Phone"};
    for (int i = 0; i < 4; ++i) {
        const Word* w = findWord(words, headings[i]);
        ASSERT_TRUE(w) << headings[i];
        EXPECT_NEAR(w->xMin, columns[i], 0.01) << headings[i];
    }
    const Word* first = findWord(words, "Name000,");
    ASSERT_TRUE(first);
    EXPECT_NEAR(first->xMin, 1.02, 0.01);
    EXPECT_GT(first->yMin, 1.5);
}

}  // namespace

namespace {

using namespace reporttest;

TEST_F(ReportsTest, AnEngineErrorEndsThePassWithAMessageAndNoReport) {
    std::vector<Row> rows;
    for (int i = 0; i < 30; ++i)
        rows.push_back(
            {{"LNAME", QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0')).toStdString()},
             {"MEMO", QString(600, u'm').toStdString()}});
    qb::Dataset& t = open(rows);
    const uint32_t record = t.recNo();
    // The memo file loses the blocks of the later memos, as a damaged copy would.
    QFile memo(home.file(QStringLiteral("CONTACTS.FPT")));
    ASSERT_TRUE(memo.resize(memo.size() / 2));
    ReportRequest r;
    r.scope = qb::ScopeChoice::AllRecords;
    r.memo = true;
    script.acknowledgeError();
    const Recorded run = preview(r);
    EXPECT_EQ(last.outcome, qb::reports::ReportOutcome::Aborted);
    EXPECT_TRUE(run.pages.empty());
    EXPECT_EQ(t.recNo(), record);
    EXPECT_EQ(t.orderTag(), "LNAME");
}

}  // namespace

namespace {

using namespace reporttest;

TEST_F(ReportsTest, ACodesBandThatFindsNoLineLeftGoesOnTheNextPageUnderTheHeader) {
    // One row without codes, then rows of two lines each: some row fills a page's last line
    // and its band must move to the next page.
    std::vector<Row> rows{{{"LNAME", "A"}}};
    for (int i = 0; i < 90; ++i)
        rows.push_back(
            {{"LNAME", QStringLiteral("N%1").arg(i, 2, 10, QLatin1Char('0')).toStdString()},
             {"NOTES", "VIP"}});
    open(rows);
    ReportRequest r;
    r.scope = qb::ScopeChoice::AllRecords;
    r.codes = true;
    const Recorded run = preview(r);
    ASSERT_GE(run.pages.size(), 2u);
    EXPECT_EQ(allTexts(run).count("VIP"), 90);
    bool bandOpensAPage = false;
    for (size_t p = 0; p < run.pages.size(); ++p) {
        const QStringList texts = textsOf(run.pages[p]);
        EXPECT_TRUE(texts.contains(QStringLiteral("Page %1").arg(p + 1)));
        bandOpensAPage |= texts.value(texts.indexOf("Phone") + 1) == u"Codes: ";
        // Nothing runs below the rule at the section's bottom.
        for (const auto& t : opsOf<qb::TextOp>(run.pages[p]))
            EXPECT_LT(t.y, 10.0) << t.text.toStdString();
    }
    EXPECT_TRUE(bandOpensAPage);
}

}  // namespace
