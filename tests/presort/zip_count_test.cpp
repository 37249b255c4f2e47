// The ZIP code count: which key each ZIP text counts under, the report's lines and order,
// counting a table's selection with progress and cancel, and the report's columns and pages.
#include <QLocale>

#include "presort/zip_report.h"
#include "presort/zip_tally.h"
#include "presort_test_util.h"
#include "reports/report_test_util.h"

using namespace qb::presort;
using namespace presorttest;

namespace {

QString grouped(const char* digitsWithCommas) {
    return QString::fromLatin1(digitsWithCommas).replace(u',', QLocale::system().groupSeparator());
}

TEST(ZipCount, KeysAreFiledAsValidOtherOrBlankAndListedInReportOrder) {
    ZipTally t;
    for (const char* zip : {"62704", "12345-6789", "1234", " 1234", "A1B 2C3", "1234A", "", "12345",
                            "02134", "A1B 2X9", ""})
        t.add(zip);
    EXPECT_EQ(t.validEntries(), (std::vector<ZipTally::Entry>{
                                    {"02134", 1}, {"12345", 2}, {"1234A", 1}, {"62704", 1}}));
    EXPECT_EQ(t.otherEntries(),
              (std::vector<ZipTally::Entry>{{" 1234", 1}, {"1234", 1}, {"A1B 2", 2}}));
    EXPECT_EQ(t.blanks(), 2u);
    const QStringList expected{"02134     1", "12345     2", "1234A     1", "62704     1", "", "",
                               " 1234     1", "1234      1", "A1B 2     2", "BLANK     2"};
    EXPECT_EQ(t.reportLines(), expected);
}

TEST(ZipCount, EmptyCountStillSeparatesTheListsAndTalliesAreGrouped) {
    EXPECT_EQ(ZipTally().reportLines(), (QStringList{"", ""}));
    EXPECT_EQ(formatTally(1234), grouped("1,234"));
    EXPECT_EQ(formatTally(999), "999");
    EXPECT_EQ(formatTally(1000000), grouped("1,000,000"));
    EXPECT_EQ(zipReportLine("ABCDEFGHIJKL", 5), "ABCDEFGHIJ5");
}

class CountObserver : public PresortObserver {
  public:
    void showProgress(const QString& text) override { texts << text; }
    bool cancelRequested() override { return cancelAt > 0 && ++polls >= cancelAt; }
    QStringList texts;
    int polls = 0;
    int cancelAt = 0;
};

TEST(ZipCount, CountsTheSelectionOnlyAndPutsOrderAndRecordBack) {
    QTemporaryDir dir;
    std::vector<Contact> rows;
    addCopies(rows, 150, "62704");
    rows.push_back({"99999", "Gone", "DELETED"});
    rows.push_back({"", "Blank"});
    const std::string path = makeContactFile(dir, rows);
    xb::WorkArea a;
    a.use(path, xb::UseMode::ReadOnly);
    a.setOrder(a.tagArea("ZIP"));
    a.query(qb::kDeletionExclusion);
    a.go(151 + 1);  // the blank one
    CountObserver observer;
    const auto tally = countZipCodes(a, observer);
    ASSERT_TRUE(tally.has_value());
    EXPECT_EQ(tally->validEntries(), (std::vector<ZipTally::Entry>{{"62704", 150}}));
    EXPECT_EQ(tally->blanks(), 1u);
    EXPECT_EQ(a.indexOrd(), a.tagArea("ZIP"));
    EXPECT_EQ(a.recNo(), 152u);
    EXPECT_EQ(observer.texts, (QStringList{"Reading database records...", "Reading record 100",
                                           "Sorting Zip Codes..."}));

    observer.cancelAt = 3;
    EXPECT_FALSE(countZipCodes(a, observer).has_value());
    EXPECT_EQ(a.recNo(), 152u);
}

// The report drawn into a report file: what each page holds and where.
reporttest::Recorded drawReport(const QStringList& lines) {
    ZipReportPages pages(lines);
    return reporttest::recordPass([&](qb::TBaseReport& r) { pages.PrintZipReport(r); });
}

QStringList numberedLines(int n) {
    QStringList lines;
    for (int i = 0; i < n; ++i)
        lines << zipReportLine(QStringLiteral("%1").arg(i, 5, 10, QLatin1Char('0')), 1);
    return lines;
}

TEST(ZipReport, FourColumnsOf54LinesFillAPageAndOneMoreLineStartsTheNext) {
    const auto full = drawReport(numberedLines(216));
    ASSERT_EQ(full.pages.size(), 1u);
    const auto over = drawReport(numberedLines(217));
    ASSERT_EQ(over.pages.size(), 2u);
    EXPECT_TRUE(reporttest::textsOf(over.pages[1]).contains("00216"));
    EXPECT_TRUE(reporttest::textsOf(over.pages[1]).contains("Zip Code Count Report"));
    EXPECT_TRUE(reporttest::textsOf(over.pages[1]).contains("Page 2"));

    // Line 55 opens the second column, 1.875 inches to the right, at the first line's height.
    const auto texts = reporttest::opsOf<qb::TextOp>(full.pages[0]);
    auto at = [&](const char* key) {
        for (const auto& t : texts)
            if (t.text == QLatin1String(key)) return t;
        ADD_FAILURE() << key;
        return qb::TextOp{};
    };
    EXPECT_NEAR(at("00000").x, 0.55, 1e-3);
    EXPECT_NEAR(at("00054").x, 0.55 + 1.875, 1e-3);
    EXPECT_NEAR(at("00054").y, at("00000").y, 1e-3);
    EXPECT_NEAR(at("00053").y - at("00000").y, 53.0 / 6, 1e-3);
}

TEST(ZipReport, OddLinesOfEachColumnAreShadedAndLargeTalliesPrintWhole) {
    QStringList lines = numberedLines(55);
    lines[2] = zipReportLine("12345", 1234567);
    const auto run = drawReport(lines);
    ASSERT_EQ(run.pages.size(), 1u);
    EXPECT_TRUE(reporttest::textsOf(run.pages[0]).contains(grouped("1,234,567")));
    // Three shaded cells per odd line: 27 lines in the first column, the first of the second.
    const auto fills = reporttest::opsOf<qb::FillOp>(run.pages[0]);
    EXPECT_EQ(fills.size(), (27u + 1u) * 3u);
    for (const auto& f : fills)
        EXPECT_NEAR(std::fmod(f.y1 - fills[0].y1 + 1e-4, 2.0 / 6), 0, 1e-3);
}

}  // namespace
