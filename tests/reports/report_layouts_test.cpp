// The texts a report composes from a contact's fields, and memo text broken into band lines.
#include <gtest/gtest.h>

#include "reports/report_layouts.h"

using namespace qb::reports;

namespace {

TEST(ReportTexts, NamesAndCityLinesLeaveOutTheirEmptyParts) {
    ReportFields f;
    f.lname = "Smith";
    f.fname = "Pat";
    f.middle = "Q";
    EXPECT_EQ(reportName(f), "Smith, Pat Q.");
    f.middle.clear();
    EXPECT_EQ(reportName(f), "Smith, Pat ");
    f.fname.clear();
    EXPECT_EQ(reportName(f), "Smith, ");
    f.lname = "  'T Hart";
    EXPECT_EQ(reportName(f), "'T Hart, ");

    EXPECT_EQ(cityLineA(f), "");
    EXPECT_EQ(cityLineB(f), "");
    f.city = "Springfield";
    f.state = "IL";
    f.zip = "62704";
    EXPECT_EQ(cityLineA(f), "Springfield, IL  62704 ");
    EXPECT_EQ(cityLineB(f), "Springfield, IL, 62704");
    f.city.clear();
    EXPECT_EQ(cityLineA(f), "IL  62704 ");
    EXPECT_EQ(cityLineB(f), ", IL, 62704");
    f.state.clear();
    EXPECT_EQ(cityLineA(f), "62704 ");
}

TEST(ReportTexts, LayoutFourCellsNeedTheirKeyParts) {
    ReportFields f;
    f.fname = "Pat";
    f.title = "Director";
    EXPECT_EQ(layout4Name(f), "");  // no last name, no name cell
    EXPECT_EQ(titleAndOrg(f), "");  // a title alone is not printed
    f.lname = "Smith";
    f.prefix = "Dr.";
    f.middle = "Q";
    EXPECT_EQ(layout4Name(f), "Smith, Dr. Pat Q.");
    f.org = "Acme";
    EXPECT_EQ(titleAndOrg(f), "Director, Acme");
    f.title.clear();
    EXPECT_EQ(titleAndOrg(f), "Acme");
    EXPECT_EQ(phoneAndFax(f), "");
    f.phone = "555-1234";
    f.fax = "555-9999";
    EXPECT_EQ(phoneAndFax(f), "Ph: 555-1234  Fax: 555-9999  ");
}

TEST(ReportTexts, OnlyAnEmptyKeyFieldLeavesARecordOut) {
    ReportFields f;
    f.org = "Acme";
    EXPECT_TRUE(leavesOut(reportLayout(1), f));
    EXPECT_TRUE(leavesOut(reportLayout(2), f));
    EXPECT_FALSE(leavesOut(reportLayout(3), f));
    EXPECT_FALSE(leavesOut(reportLayout(4), f));
    for (const char* name : {"'t Hart", "(Estate of) Smith", "#1 Realty", " Blank-led"}) {
        f.lname = name;
        EXPECT_FALSE(leavesOut(reportLayout(1), f)) << name;
    }
    f.org.clear();
    EXPECT_TRUE(leavesOut(reportLayout(3), f));
}

// One unit per character, so widths are easy to reason about.
double chars(const QString& s) {
    return double(s.size());
}

TEST(ReportTexts, MemoBreaksAtLineEndsThenWordsThenWithinLongWords) {
    EXPECT_EQ(wrapMemo("one two three\r\nfour", 8, chars),
              (QStringList{"one two", "three", "four"}));
    EXPECT_EQ(wrapMemo("abcdefghijkl xy", 5, chars), (QStringList{"abcde", "fghij", "kl xy"}));
    EXPECT_EQ(wrapMemo("a\r\n\r\nb\r\n", 5, chars), (QStringList{"a", "", "b"}));
    EXPECT_TRUE(wrapMemo("   ", 5, chars).isEmpty());
    EXPECT_TRUE(wrapMemo("  \r\n", 5, chars).isEmpty());
    EXPECT_TRUE(wrapMemo("", 5, chars).isEmpty());
    for (const QString& line : wrapMemo(QString(50, u'w') + " " + QString(7, u'v'), 6, chars))
        EXPECT_LE(line.size(), 6);
}

}  // namespace
