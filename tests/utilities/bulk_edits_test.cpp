// The bulk edits' work: capitals of the code page, the match and replace rules, and runs that
// change records out of the selection while visiting each once.
#include <gtest/gtest.h>

#include "utilities/bulk_edits.h"
#include "utilities_fixture.h"
#include "xbase/codepage.h"
#include "xbase/error.h"
#include "xbase/file.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;
using Recs = std::vector<uint32_t>;

namespace {

TEST(BulkRules, CapitalsOfTheCodePageAndOneCaseRule) {
    const xb::CodePage& cp = xb::CodePage::windows1252();
    std::string bytes;
    ASSERT_TRUE(cp.fromUtf8("René o'brien ß", bytes));
    EXPECT_EQ(cp.toUtf8(upperInCodePage(bytes, cp)), "RENÉ O'BRIEN ß");

    ReplaceRequest r{QStringLiteral("STREET"), QStringLiteral("st"), false, false, false,
                     QStringLiteral("Street")};
    EXPECT_EQ(replacedValue(QStringLiteral("1 Main St"), r), "1 Main Street");
    EXPECT_EQ(replacedValue(QStringLiteral("Stone St"), r), "Streetone Street");
    r.caseSensitive = true;
    EXPECT_FALSE(replaceMatches(QStringLiteral("1 Main St"), r));  // matching and replacing agree
    r = ReplaceRequest{QStringLiteral("LNAME"), QStringLiteral("Brown"), true, true, true, {}};
    EXPECT_TRUE(replaceMatches(QStringLiteral("Brown"), r));
    EXPECT_FALSE(replaceMatches(QStringLiteral("BROWN"), r));
    r.caseSensitive = false;
    EXPECT_TRUE(replaceMatches(QStringLiteral("BROWN"), r));
    // An empty find value stands for an empty field, in either mode, and inserts nothing.
    r = ReplaceRequest{QStringLiteral("LNAME"), {}, false, true, false, QStringLiteral("X")};
    EXPECT_TRUE(replaceMatches(QString(), r));
    EXPECT_FALSE(replaceMatches(QStringLiteral("ab"), r));
    EXPECT_EQ(replacedValue(QString(), r), "X");
    // Quotes are values like any other.
    r = ReplaceRequest{QStringLiteral("LNAME"), QStringLiteral("\"Red\""), true, true, true,
                       QStringLiteral("Red's")};
    EXPECT_TRUE(replaceMatches(QStringLiteral("\"Red\""), r));
}

class BulkRun : public ::testing::Test {
  protected:
    void SetUp() override {
        Values deleted = person("Stone", "X");
        deleted["PREFIX"] = "DELETED";
        path = writeContacts(folder, {person("Stone", "Al", "ny"), person("Brown", "Bo"), deleted,
                                      person("stone", "Cy"), person("Stoney", "Di")});
        area.use(path.toStdString());
        area.setDeleted(true);
    }
    std::string text(uint32_t r, const char* f) {
        area.go(r);
        return area.getText(f);
    }
    ProgramFolder folder;
    QString path;
    xb::WorkArea area;
};

TEST_F(BulkRun, AReplaceThatEmptiesTheSelectionVisitsEachRecordOnce) {
    area.query("\"ST\"$UPPER(LNAME).AND.UPPER(PREFIX)<>\"DELETED\"");
    area.setOrder(area.tagArea("NAME"));
    const Recs records = selectedRecords(area);
    EXPECT_EQ(records, (Recs{1, 4, 5}));
    int steps = 0;
    const int changed = searchAndReplace(area, records,
                                         {QStringLiteral("LNAME"), QStringLiteral("stone"), true,
                                          false, true, QStringLiteral("Rock")},
                                         [&](uint32_t, uint32_t, int) { return ++steps > 0; });
    EXPECT_EQ(changed, 2);  // Stoney does not equal
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(area.dbFilter(), "\"ST\"$UPPER(LNAME).AND.UPPER(PREFIX)<>\"DELETED\"");
    EXPECT_EQ(area.queryRecCount(), 1u);
    area.query("");
    EXPECT_EQ(text(1, "LNAME"), "Rock");
    EXPECT_EQ(text(4, "LNAME"), "Rock");
    EXPECT_EQ(text(3, "LNAME"), "Stone");
    EXPECT_EQ(area.checkIndexes(), "");
}

TEST_F(BulkRun, UpperCasingAndDeletingKeepTheFileConsistent) {
    area.query(kDeletionExclusion);
    EXPECT_EQ(convertToUpper(area, {1, 4}, {QStringLiteral("LNAME"), QStringLiteral("STATE")}), 2);
    EXPECT_EQ(text(4, "LNAME"), "STONE");
    EXPECT_EQ(text(1, "STATE"), "NY");
    EXPECT_EQ(text(2, "LNAME"), "Brown");
    // A value longer than the field is cut, not refused.
    const std::string longer(40, 'a');
    EXPECT_EQ(searchAndReplace(area, {2},
                               {QStringLiteral("LNAME"), QStringLiteral("Brown"), true, true, true,
                                QString::fromStdString(longer)}),
              1);
    EXPECT_EQ(text(2, "LNAME"), std::string(30, 'a'));
    EXPECT_EQ(deleteRecords(area, selectedRecords(area)), 4);
    EXPECT_EQ(area.queryRecCount(), 0u);
    area.setDeleted(false);
    area.query("");
    EXPECT_EQ(text(5, "PREFIX"), "DELETED");
    EXPECT_TRUE(area.deleted());
    EXPECT_EQ(area.checkIndexes(), "");
}

TEST_F(BulkRun, ARunOverMostRecordsThatFailsLeavesTheNextOpenToRebuildTheIndexes) {
    area.query(kDeletionExclusion);
    area.setOrder(area.tagArea("NAME"));
    {
        // The table takes the flag and the first record, then its disk is full; rebuilding
        // the indexes at the end of the run fails too.
        xb::fault::ScopedPlan plan(
            xb::fault::Plan().failWrite("CONTACTS.DBF", 3).failWrite("CONTACTS.~pk.CDX", 1));
        EXPECT_THROW(convertToUpper(area, selectedRecords(area),
                                    {QStringLiteral("LNAME"), QStringLiteral("STATE")}),
                     xb::Error);
    }
    EXPECT_EQ(area.dbFilter(), kDeletionExclusion);
    area.close();
    // The SEQNO tag holds STATE as written, so a stale index would show here.
    area.use(path.toStdString());
    EXPECT_EQ(area.checkIndexes(), "");
    EXPECT_EQ(text(1, "STATE"), "NY");
    EXPECT_EQ(text(2, "LNAME"), "Brown");
}

TEST_F(BulkRun, UpperCasingMostRecordsInPlaceCanStopAndLeavesTheIndexesRebuilt) {
    area.query(kDeletionExclusion);
    const int name = area.tagArea("NAME");
    area.setOrder(name);
    const Recs records = selectedRecords(area);
    ASSERT_EQ(records, (Recs{1, 2, 4, 5}));
    const int done =
        convertToUpper(area, records, {QStringLiteral("LNAME"), QStringLiteral("STATE")},
                       [](uint32_t n, uint32_t, int) { return n < 2; });
    EXPECT_EQ(done, 2);
    EXPECT_FALSE(area.bulkUpdating());
    EXPECT_EQ(area.indexOrd(), name);
    EXPECT_EQ(text(1, "STATE"), "NY");
    EXPECT_EQ(text(2, "LNAME"), "BROWN");
    EXPECT_EQ(text(4, "LNAME"), "stone");
    EXPECT_EQ(area.checkIndexes(), "");
}

}  // namespace
