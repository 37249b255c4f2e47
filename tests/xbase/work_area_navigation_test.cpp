// Moving through a selection in an order, the deletion mark, seeking and row access.
#include <gtest/gtest.h>

#include "test_util.h"
#include "xbase/error.h"

using namespace xbtest;
using Recs = std::vector<uint32_t>;

namespace {

// Ten people: record numbers 1..10, names out of alphabetical order, two cities.
class Navigation : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("T.DBF");
        createSmallTable(path);
        a.use(path);
        const char* names[] = {"Jones", "adams", "Smith", "Baker", "smith",
                               "Clark", "Adams", "Young", "Evans", "Smithers"};
        for (int i = 0; i < 10; ++i)
            addRow(a, names[i], i % 2 ? "Boston" : "Denver", i * 10.0);
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
        a.indexTag("", {"AMOUNT", "AMOUNT", "", false, false});
        a.setOrder(0);
    }
    TempDir dir;
    std::string path;
    xb::WorkArea a;
};

TEST_F(Navigation, QueryAndOrderWalkTheSameRecordsBothWays) {
    EXPECT_EQ(walkForward(a), (Recs{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    a.query("CITY = \"Boston\"");
    EXPECT_EQ(walkForward(a), (Recs{2, 4, 6, 8, 10}));
    EXPECT_EQ(walkBackward(a), (Recs{10, 8, 6, 4, 2}));
    a.setOrder(a.tagArea("NAME"));
    // ADAMS(2) BAKER(4) CLARK(6) SMITHERS(10) YOUNG(8)
    EXPECT_EQ(walkForward(a), (Recs{2, 4, 6, 10, 8}));
    EXPECT_EQ(walkBackward(a), (Recs{8, 10, 6, 4, 2}));
    EXPECT_EQ(a.queryRecCount(), 5u);
    a.query("");
    EXPECT_EQ(walkForward(a), (Recs{2, 7, 4, 6, 9, 1, 3, 5, 10, 8}));
    EXPECT_EQ(a.dbFilter(), "");
}

TEST_F(Navigation, EndsOfTheSelection) {
    a.setOrder(a.tagArea("NAME"));
    a.query("CITY = \"Boston\"");
    a.last();
    EXPECT_EQ(a.recNo(), 8u);
    a.skip();
    EXPECT_TRUE(a.eof());
    EXPECT_EQ(a.recNo(), 11u);  // the end of file is one past the last record
    EXPECT_EQ(a.getText("NAME"), "");
    a.skip(-1);
    EXPECT_FALSE(a.eof());
    EXPECT_EQ(a.recNo(), 8u);
    a.first();
    a.skip(-1);
    EXPECT_TRUE(a.bof());
    EXPECT_EQ(a.recNo(), 2u);  // stays on the first record
    a.skip(3);
    EXPECT_EQ(a.recNo(), 10u);
    a.skip(-2);
    EXPECT_EQ(a.recNo(), 4u);
    a.query("CITY = \"Nowhere\"");
    a.first();
    EXPECT_TRUE(a.eof());
    EXPECT_TRUE(a.bof());
    EXPECT_EQ(a.queryRecCount(), 0u);
}

TEST_F(Navigation, GoingToARecordOutsideTheSelectionLandsOnTheNextOne) {
    a.setOrder(a.tagArea("NAME"));
    a.query("CITY = \"Boston\"");
    a.go(9);  // EVANS, in Denver: next Boston name after it is SMITHERS
    EXPECT_EQ(a.recNo(), 10u);
    a.go(4);
    EXPECT_EQ(a.recNo(), 4u);
    a.query("Recno()=7");
    a.first();
    EXPECT_EQ(walkForward(a), (Recs{7}));
    a.go(0);
    EXPECT_TRUE(a.eof());
}

TEST_F(Navigation, DeletionMarkHidesOnlyWhileHidingIsOn) {
    a.go(3);
    a.deleteRecord();
    a.go(5);
    a.deleteRecord();
    EXPECT_TRUE(a.deleted());
    a.setDeleted(true);
    EXPECT_EQ(walkForward(a), (Recs{1, 2, 4, 6, 7, 8, 9, 10}));
    EXPECT_EQ(a.queryRecCount(), 8u);
    a.setOrder(a.tagArea("NAME"));
    EXPECT_EQ(walkBackward(a), (Recs{8, 10, 1, 9, 6, 4, 7, 2}));
    a.setDeleted(false);
    EXPECT_EQ(a.queryRecCount(), 10u);
    a.go(5);
    a.recall();
    a.setDeleted(true);
    EXPECT_EQ(a.queryRecCount(), 9u);
    a.query("DELETED()");
    a.setDeleted(false);
    EXPECT_EQ(walkForward(a), (Recs{3}));
}

TEST_F(Navigation, EditsMoveRecordsInTheOrderAndSelection) {
    a.setOrder(a.tagArea("NAME"));
    a.query("CITY = \"Boston\"");
    a.go(2);  // ADAMS, first in the order
    a.putText("NAME", "Zeta");
    a.post();
    EXPECT_EQ(a.recNo(), 2u);
    a.skip(-1);
    EXPECT_EQ(a.recNo(), 8u);  // YOUNG now comes just before ZETA
    EXPECT_EQ(walkForward(a), (Recs{4, 6, 10, 8, 2}));
    a.go(6);
    a.putText("CITY", "Denver");  // leaves the selection
    a.post();
    EXPECT_EQ(a.queryRecCount(), 4u);
    EXPECT_EQ(walkForward(a), (Recs{4, 10, 8, 2}));
    a.append();
    a.putText("NAME", "Able");
    a.putText("CITY", "Boston");
    a.post();
    EXPECT_EQ(a.recNo(), 11u);
    EXPECT_EQ(walkForward(a), (Recs{11, 4, 10, 8, 2}));
}

TEST_F(Navigation, SeekFindsPrefixesOrTheNextKey) {
    a.setOrder(a.tagArea("NAME"));
    EXPECT_TRUE(a.seek("SMI"));
    EXPECT_EQ(a.recNo(), 3u);  // SMITH(3) before SMITH(5) before SMITHERS
    EXPECT_TRUE(a.found());
    EXPECT_TRUE(a.seek(""));
    EXPECT_EQ(a.recNo(), 2u);  // an empty key finds the first
    EXPECT_FALSE(a.seek("SMITHEREENS"));
    EXPECT_TRUE(a.eof());
    a.setSoftSeek(true);
    EXPECT_FALSE(a.seek("D"));
    EXPECT_EQ(a.recNo(), 9u);  // EVANS, the next greater key
    EXPECT_FALSE(a.seek("ZZZ"));
    EXPECT_TRUE(a.eof());  // soft seek past the last key still ends at the end of file
    a.setExact(true);
    EXPECT_FALSE(a.seek("SMI"));
    EXPECT_TRUE(a.seek("SMITH"));
    EXPECT_EQ(a.recNo(), 3u);
    EXPECT_TRUE(a.seek("SMITH               "));  // trailing blanks do not matter
    a.setExact(false);
    a.query("CITY = \"Boston\"");
    EXPECT_TRUE(a.seek("SMITH"));
    EXPECT_EQ(a.recNo(), 10u);  // the first visible match: SMITHERS
    a.setOrder(a.tagArea("AMOUNT"));
    EXPECT_TRUE(a.seekNumber(30));
    EXPECT_EQ(a.recNo(), 4u);
    EXPECT_TRUE(a.seek("50"));
    EXPECT_EQ(a.recNo(), 6u);
    a.setOrder(0);
    EXPECT_THROW(a.seek("X"), xb::Error);
}

TEST_F(Navigation, RowsFollowTheOrderAndSelection) {
    a.setOrder(a.tagArea("NAME"));
    a.query("CITY = \"Boston\"");
    EXPECT_EQ(a.selectionCount(), 5u);
    a.goPosition(3);
    EXPECT_EQ(a.recNo(), 10u);
    EXPECT_EQ(a.position(), 3u);
    a.goPosition(5);
    EXPECT_TRUE(a.eof());
    EXPECT_EQ(a.position(), 5u);
    a.go(4);
    a.putText("NAME", "Zed");
    a.post();
    EXPECT_EQ(a.position(), 4u);  // moved to the end
    a.setOrder(0);
    a.query("");
    EXPECT_EQ(a.selectionCount(), 10u);
    a.goPosition(6);
    EXPECT_EQ(a.recNo(), 7u);
}

TEST_F(Navigation, BadExpressionsAreErrorsThatLeaveTheSelectionAlone) {
    a.query("CITY = \"Boston\"");
    EXPECT_THROW(a.query("CITY = "), xb::Error);
    EXPECT_THROW(a.query("NOSUCH = 1"), xb::Error);
    EXPECT_THROW(a.query("CITY"), xb::Error);  // not logical
    EXPECT_EQ(a.dbFilter(), "CITY = \"Boston\"");
    EXPECT_EQ(a.queryRecCount(), 5u);
    EXPECT_THROW(a.indexTag("", {"BAD", "NAME +", "", false, false}), xb::Error);
    EXPECT_EQ(a.tagArea("BAD"), 0);
}

}  // namespace

namespace {

TEST_F(Navigation, FastReadingNeverShowsStaleRecords) {
    a.setFastRead(true);
    a.query("CITY = \"Boston\"");
    std::vector<std::string> names;
    for (a.first(); !a.eof(); a.skip()) {
        names.push_back(a.getText("NAME"));
        if (a.recNo() == 4) {
            a.go(6);  // a record already read ahead, changed behind the walk
            a.putText("NAME", "Changed");
            a.post();
            a.go(4);
        }
    }
    EXPECT_EQ(names, (std::vector<std::string>{"adams", "Baker", "Changed", "Young", "Smithers"}));
    a.setFastRead(false);
}

}  // namespace
