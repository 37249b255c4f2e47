// Packing: marked records go, the rest are renumbered with their memos, every index is
// rebuilt, and the swap of old files for new ones survives an interruption.
#include <gtest/gtest.h>

#include "test_util.h"
#include "xbase/error.h"
#include "xbase/file.h"
#include "xbase/pack_journal.h"

using namespace xbtest;
using Recs = std::vector<uint32_t>;

namespace {

class Pack : public ::testing::Test {
  protected:
    void SetUp() override {
        path = dir.file("T.DBF");
        createSmallTable(path);
        a.use(path);
        for (int i = 1; i <= 12; ++i) {
            addRow(a, "name" + std::to_string(100 - i), i % 3 ? "Here" : "There", i);
            if (i % 2) {
                a.replace("NOTE", "memo of " + std::to_string(i));
                a.post();
            }
        }
        a.indexTags(
            {{"NAME", "UPPER(NAME)", "", false, false}, {"DEL", "DELETED()", "", false, false}});
        for (uint32_t r : {2u, 3u, 7u, 12u}) {
            a.go(r);
            a.deleteRecord();
        }
    }
    TempDir dir;
    std::string path;
    xb::WorkArea a;
};

TEST_F(Pack, RemovesMarkedRecordsAndRenumbersTheRest) {
    a.setOrder(1);
    a.pack();
    EXPECT_EQ(a.recCount(), 8u);
    a.setOrder(0);
    std::vector<std::string> amounts, memos;
    for (a.first(); !a.eof(); a.skip()) {
        EXPECT_FALSE(a.deleted());
        amounts.push_back(a.getText("AMOUNT"));
        memos.push_back(a.getMemo("NOTE"));
    }
    EXPECT_EQ(amounts, (std::vector<std::string>{"1.00", "4.00", "5.00", "6.00", "8.00", "9.00",
                                                 "10.00", "11.00"}));
    EXPECT_EQ(memos, (std::vector<std::string>{"memo of 1", "", "memo of 5", "", "", "memo of 9",
                                               "", "memo of 11"}));
    EXPECT_EQ(a.checkIndexes(), "");
    a.setOrder(1);
    EXPECT_EQ(walkForward(a), (Recs{8, 7, 6, 5, 4, 3, 2, 1}));  // names descend with the amount
    for (const char* leftover : {"T.~pk.DBF", "T.~pk.FPT", "T.~pk.CDX", "T.DBF.~pk"})
        EXPECT_FALSE(xb::fileExists(dir.file(leftover))) << leftover;
}

// A tag keyed on a memo is built from the new memo file, the others from the records as they
// are copied; either way the file is the one a rebuild of the packed table writes.
TEST_F(Pack, TagsOnMemosAndOnFieldsAreBothRebuilt) {
    for (bool onMemo : {false, true}) {
        if (onMemo) a.indexTag("", {"NOTE", "UPPER(LEFT(NOTE,12))", "", false, false});
        a.go(1);
        a.deleteRecord();
        a.pack();
        EXPECT_EQ(a.checkIndexes(), "");
        const std::vector<uint8_t> packed = readBytes(dir.file("T.CDX"));
        a.reindex();
        a.close();
        EXPECT_EQ(readBytes(dir.file("T.CDX")), packed) << onMemo;
        a.use(path);
    }
}

TEST_F(Pack, KeepsSelectionSettingsAndPartialIndexMembers) {
    a.index(dir.file("part.idx"), {"", "UPPER(NAME)", "", false, false}, true);
    a.setOrder(0);
    for (uint32_t r : {4u, 12u, 9u}) {  // 12 is marked: it goes with the pack
        a.go(r);
        a.keyAdd(dir.file("part.idx"));
    }
    a.query("CITY = \"Here\"");
    a.setDeleted(true);
    a.setOrder(3);
    a.pack();
    EXPECT_EQ(a.indexOrd(), 3);
    EXPECT_EQ(a.dbFilter(), "CITY = \"Here\"");
    EXPECT_TRUE(a.deletedHidden());
    // Old 9 is new 6 (NAME91), old 4 is new 2 (NAME96); 9 comes first by name.
    a.query("");
    EXPECT_EQ(walkForward(a), (Recs{6, 2}));
    EXPECT_EQ(a.checkIndexes(), "");
}

TEST_F(Pack, NeedsExclusiveUse) {
    a.close();
    xb::WorkArea shared;
    shared.use(path, xb::UseMode::Shared);
    EXPECT_THROW(shared.pack(), xb::Error);
    EXPECT_EQ(shared.recCount(), 12u);
}

TEST_F(Pack, JournalledSwapIsFinishedAtTheNextOpen) {
    // Pretend a pack wrote its new files and its journal, renamed the memo file and died.
    a.setOrder(0);
    a.close();
    {
        xb::WorkArea b;
        b.use(path);
        b.copyStructure(dir.file("T.~pk.DBF"));
        xb::WorkArea c;
        c.use(dir.file("T.~pk.DBF"));
        c.append();
        c.putText("NAME", "only survivor");
        c.replace("NOTE", "new memo");
        c.post();
    }
    xb::removeFile(dir.file("T.CDX"));
    std::string jnl = xb::packJournalPath(path);
    writeBytes(jnl, std::vector<uint8_t>{});
    {
        std::string text = "T.~pk.FPT\tT.FPT\nT.~pk.DBF\tT.DBF\nend\n";
        writeBytes(jnl, std::vector<uint8_t>(text.begin(), text.end()));
    }
    xb::replaceFile(dir.file("T.~pk.FPT"), dir.file("T.FPT"));  // the first swap happened
    xb::WorkArea b;
    b.use(path);
    EXPECT_EQ(b.recCount(), 1u);
    EXPECT_EQ(b.getText("NAME"), "only survivor");
    EXPECT_EQ(b.getMemo("NOTE"), "new memo");
    EXPECT_FALSE(xb::fileExists(jnl));
    EXPECT_FALSE(xb::fileExists(dir.file("T.~pk.DBF")));
}

TEST_F(Pack, UnfinishedNewFilesWithoutJournalAreDiscarded) {
    a.close();
    auto original = readBytes(path);
    writeBytes(dir.file("T.~pk.DBF"), std::vector<uint8_t>(100, 0x42));
    xb::WorkArea b;
    b.use(path);
    EXPECT_EQ(b.recCount(), 12u);
    EXPECT_FALSE(xb::fileExists(dir.file("T.~pk.DBF")));
}

}  // namespace
