// Index orders of a work area: single-order files filled key by key, tags kept current,
// reopening, rebuilding and damaged production indexes.
#include <gtest/gtest.h>

#include "test_util.h"
#include "xbase/error.h"
#include "xbase/file.h"

using namespace xbtest;
using Recs = std::vector<uint32_t>;

namespace {

void fill(xb::WorkArea& a) {
    const char* names[] = {"Kent", "Lane", "Olsen", "White", "Luthor", "Kent", "Grant"};
    for (int i = 0; i < 7; ++i)
        addRow(a, names[i], i < 4 ? "Metropolis" : "Smallville");
}

TEST(WorkAreaIndex, KeyAddFillsAnEmptyIndexFileThatBecomesTheOrder) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    fill(a);
    int order =
        a.index(dir.file("_chk.idx"), {"", "upper(NAME)+upper(CITY)", "", false, false}, true);
    EXPECT_EQ(order, a.indexOrd());
    EXPECT_EQ(readBytes(dir.file("_chk.idx")).size(), 1536u);  // header and one empty leaf
    EXPECT_EQ(a.queryRecCount(), 0u);
    a.first();
    EXPECT_TRUE(a.eof());
    a.setOrder(0);
    for (uint32_t r : {6u, 2u, 4u}) {
        a.go(r);
        a.keyAdd(dir.file("_chk.idx"));
    }
    a.setOrder(order);
    EXPECT_EQ(walkForward(a), (Recs{6, 2, 4}));  // KENT, LANE, WHITE
    EXPECT_EQ(a.queryRecCount(), 3u);
    // A member that changes moves; a record that is not a member stays out.
    a.go(4);
    a.putText("NAME", "Able");
    a.post();
    a.setOrder(0);
    a.go(1);
    a.putText("NAME", "Aaron");
    a.post();
    a.setOrder(order);
    EXPECT_EQ(walkForward(a), (Recs{4, 6, 2}));
    EXPECT_EQ(a.checkIndexes(), "");
    a.closeIndexes();
    EXPECT_EQ(a.orderCount(), 0);
    EXPECT_EQ(a.indexOrd(), 0);
}

TEST(WorkAreaIndex, KeysAddedInOneGoMatchKeyByKeyAndLeaveTheRecord) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    fill(a);
    a.index(dir.file("_chk.idx"), {"", "upper(NAME)+upper(CITY)", "", false, false}, true);
    a.setOrder(0);
    a.go(3);
    a.keyAdd(dir.file("_chk.idx"), {6, 2, 4, 2});
    EXPECT_EQ(a.recNo(), 3u);
    a.setOrder(1);
    EXPECT_EQ(walkForward(a), (Recs{6, 2, 4}));  // one entry for a record named twice
    EXPECT_EQ(a.checkIndexes(), "");
    EXPECT_THROW(a.keyAdd(dir.file("_chk.idx"), {99}), xb::Error);
}

TEST(WorkAreaIndex, TagsSurviveReopeningInCreationOrder) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    {
        xb::WorkArea a;
        a.use(p);
        fill(a);
        a.indexTags({{"NAME", "UPPER(NAME)", "", false, false},
                     {"CITY", "UPPER(CITY+NAME)", "", false, false},
                     {"AMT", "AMOUNT", "", false, false},
                     {"DAY", "DTOS(DAY)", "", false, false}});
        EXPECT_EQ(a.indexOrd(), 4);
        a.indexTag("", {"DEL", "DELETED()", "", false, false});
        EXPECT_EQ(a.indexOrd(), 5);
    }
    EXPECT_EQ(readBytes(p)[28] & 1, 1);  // the table says it has a production index
    xb::WorkArea a;
    a.use(p);
    EXPECT_EQ(a.indexProblem(), "");
    ASSERT_EQ(a.orderCount(), 5);
    EXPECT_EQ(a.tagName(1), "NAME");
    EXPECT_EQ(a.tagName(5), "DEL");
    EXPECT_EQ(a.orderKey(2), "UPPER(CITY+NAME)");
    EXPECT_EQ(a.tagArea("city"), 2);
    EXPECT_EQ(a.tagArea("nosuch"), 0);
    EXPECT_EQ(a.indexOrd(), 0);  // a table opens in record order
    a.setOrder(2);
    EXPECT_EQ(walkForward(a), (Recs{1, 2, 3, 4, 7, 6, 5}));
    a.go(3);
    a.deleteRecord();
    EXPECT_EQ(a.checkIndexes(), "");
    a.setOrder(5);
    EXPECT_EQ(walkForward(a), (Recs{1, 2, 4, 5, 6, 7, 3}));  // F keys first, then T
}

TEST(WorkAreaIndex, MissingOrDamagedProductionIndexStillOpensTheTable) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    {
        xb::WorkArea a;
        a.use(p);
        fill(a);
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
    }
    auto cdx = readBytes(dir.file("T.CDX"));
    std::vector<uint8_t> garbage(cdx.size(), 0xEE);
    writeBytes(dir.file("T.CDX"), garbage);
    {
        xb::WorkArea a;
        a.use(p);
        EXPECT_NE(a.indexProblem(), "");
        EXPECT_EQ(a.orderCount(), 0);
        EXPECT_EQ(walkForward(a).size(), 7u);
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});  // replaces the damaged file
        EXPECT_EQ(a.orderCount(), 1);
        EXPECT_EQ(a.checkIndexes(), "");
    }
    xb::removeFile(dir.file("T.CDX"));
    xb::WorkArea a;
    a.use(p);
    EXPECT_NE(a.indexProblem(), "");
    EXPECT_EQ(a.orderCount(), 0);
}

TEST(WorkAreaIndex, ReindexReplacesEveryIndexFromTheRecords) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p);
    fill(a);
    a.indexTags(
        {{"NAME", "UPPER(NAME)", "", false, false}, {"CITY", "UPPER(CITY)", "", false, false}});
    a.index(dir.file("full.idx"), {"", "AMOUNT", "", false, false}, false);
    a.setOrder(1);
    a.reindex();
    EXPECT_EQ(a.indexOrd(), 1);
    EXPECT_EQ(a.orderCount(), 3);
    EXPECT_EQ(a.checkIndexes(), "");
    EXPECT_EQ(walkForward(a), (Recs{7, 1, 6, 2, 5, 3, 4}));
    EXPECT_FALSE(xb::fileExists(xb::tempSibling(dir.file("T.CDX"))));
}

TEST(WorkAreaIndex, InterruptedPostIsRepairedAtTheNextExclusiveOpen) {
    TempDir dir;
    std::string p = dir.file("T.DBF");
    createSmallTable(p);
    {
        xb::WorkArea a;
        a.use(p);
        fill(a);
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
    }
    // A record changed on the file behind the index's back, with the flag a post leaves set
    // until its keys are written.
    auto bytes = readBytes(p);
    int header = bytes[8] | (bytes[9] << 8);
    int reclen = bytes[10] | (bytes[11] << 8);
    std::string name = "Zod                 ";
    std::copy(name.begin(), name.end(), bytes.begin() + header + 1);
    bytes[14] = 1;
    writeBytes(p, bytes);
    {
        xb::WorkArea a;
        a.use(p, xb::UseMode::ReadOnly);
        EXPECT_NE(a.indexProblem(), "");  // cannot repair without writing
    }
    xb::WorkArea a;
    a.use(p);
    EXPECT_EQ(a.checkIndexes(), "");
    a.setOrder(1);
    a.last();
    EXPECT_EQ(a.recNo(), 1u);
    EXPECT_EQ(readBytes(p)[14], 0);
    (void)reclen;
}

}  // namespace

TEST(WorkAreaIndex, KeysStillInMemoryWhenKilledAreRebuiltAtTheNextOpen) {
    TempDir dir;
    const std::string p = dir.file("T.DBF");
    createSmallTable(p);
    xb::WorkArea a;
    a.use(p, xb::UseMode::Exclusive);
    a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
    for (int i = 0; i < 40; ++i)
        addRow(a, "Name " + std::to_string(i), "Here");
    a.go(3);
    a.deleteRecord();
    // What a kill at this moment would leave on the disk.
    for (const char* ext : {".DBF", ".CDX", ".FPT"})
        writeBytes(dir.file(std::string("K") + ext), readBytes(dir.file(std::string("T") + ext)));
    xb::WorkArea k;
    k.use(dir.file("K.DBF"), xb::UseMode::Exclusive);
    EXPECT_EQ(k.indexProblem(), "");
    ASSERT_EQ(k.orderCount(), 1);
    EXPECT_EQ(k.checkIndexes(), "");
    k.setOrder(1);
    EXPECT_TRUE(k.seek("NAME 39"));
    EXPECT_EQ(k.recNo(), 40u);
}
