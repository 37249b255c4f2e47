// Writing many keys or records at once: an index file given many records' keys in one build,
// and a run of posts with the production index put aside and rebuilt at the end.
#include <gtest/gtest.h>

#include <filesystem>

#include "test_util.h"
#include "xbase/error.h"

using namespace xbtest;
using Recs = std::vector<uint32_t>;

namespace {

const char* const kNames[] = {"Kent", "Lane", "Olsen", "White", "Luthor", "Kent", "Grant"};

void fill(xb::WorkArea& a) {
    for (const char* n : kNames)
        addRow(a, n, "Metropolis");
}

size_t filesIn(const TempDir& dir) {
    size_t n = 0;
    for (const auto& e : std::filesystem::directory_iterator(dir.path()))
        n += e.is_regular_file() ? 1 : 0;
    return n;
}

uint8_t transactionByte(const std::string& table) {
    return readBytes(table).at(14);
}

TEST(WorkAreaBulk, AnIndexOfChosenRecordsHoldsThemAloneAndKeepsThemCurrent) {
    TempDir dir;
    const std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    fill(a);
    const std::string idx = dir.file("_chk.idx");
    const size_t before = filesIn(dir);
    EXPECT_THROW(a.indexRecords(idx, {"", "upper(NAME)", "", false, false}, {2, 99}), xb::Error);
    EXPECT_EQ(filesIn(dir), before + 1);  // the empty index file, nothing half written

    const int order = a.indexRecords(idx, {"", "upper(NAME)", "", false, false}, {6, 2, 4, 2});
    EXPECT_EQ(a.indexOrd(), order);
    EXPECT_EQ(walkForward(a), (Recs{6, 2, 4}));  // KENT, LANE, WHITE; record 2 once
    EXPECT_EQ(filesIn(dir), before + 1);
    a.setOrder(0);
    a.go(4);
    a.putText("NAME", "Able");
    a.post();
    a.go(1);
    a.putText("NAME", "Aaron");  // not a member: stays out
    a.post();
    a.setOrder(order);
    EXPECT_EQ(walkForward(a), (Recs{4, 6, 2}));
    EXPECT_EQ(a.checkIndexes(), "");
}

TEST(WorkAreaBulk, PostsWithoutIndexUpkeepEndInRebuiltTags) {
    TempDir dir;
    const std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    fill(a);
    a.indexTag("", {"CITY", "UPPER(CITY)", "", false, false});
    a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
    {
        xb::WorkArea shared;
        a.close();
        shared.use(p, xb::UseMode::Shared);
        EXPECT_FALSE(shared.beginBulkUpdate());  // others may be reading the keys
        EXPECT_EQ(shared.orderCount(), 2);
    }
    a.use(p);
    a.setOrder(a.tagArea("NAME"));
    ASSERT_TRUE(a.beginBulkUpdate());
    EXPECT_EQ(transactionByte(p), 1);
    EXPECT_EQ(a.orderCount(), 0);
    for (uint32_t r = 1; r <= 7; ++r) {
        a.go(r);
        a.putText("NAME", std::string(1, char('H' - r)) + kNames[r - 1]);  // G.., F.., .. A..
        a.post();
    }
    a.endBulkUpdate();
    EXPECT_FALSE(a.bulkUpdating());
    EXPECT_EQ(transactionByte(p), 0);
    EXPECT_EQ(a.indexOrd(), a.tagArea("NAME"));
    EXPECT_EQ(walkForward(a), (Recs{7, 6, 5, 4, 3, 2, 1}));
    EXPECT_EQ(a.checkIndexes(), "");
}

TEST(WorkAreaBulk, ARunThatNeverEndsLeavesTheNextExclusiveOpenToRebuild) {
    TempDir dir;
    const std::string p = dir.file("T.DBF");
    createSmallTable(p);
    {
        xb::WorkArea a;
        a.use(p);
        fill(a);
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
        ASSERT_TRUE(a.beginBulkUpdate());
        a.go(7);
        a.putText("NAME", "Aaron");
        a.post();
        a.close();  // as far as the files go, a process dying here
    }
    EXPECT_EQ(transactionByte(p), 1);
    xb::WorkArea reader;
    reader.use(p, xb::UseMode::ReadOnly);
    EXPECT_NE(reader.indexProblem(), "");
    reader.close();
    xb::WorkArea a;
    a.use(p);
    EXPECT_EQ(a.indexProblem(), "");
    EXPECT_EQ(transactionByte(p), 0);
    EXPECT_EQ(a.checkIndexes(), "");
    a.setOrder(a.tagArea("NAME"));
    a.first();
    EXPECT_EQ(a.recNo(), 7u);
}

}  // namespace
