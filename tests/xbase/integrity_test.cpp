// Integrity of a table's files against each other: an index that does not hold the table's
// records, a record count that hides records, a memo file whose free pointer lies, a pack
// interrupted or raced by another opener, links, rebuilds that cannot rebuild everything, and
// a disk that fills up in the middle of a post.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "test_util.h"
#include "xbase/dbf_table.h"
#include "xbase/error.h"
#include "xbase/file.h"
#include "xbase/pack_journal.h"

using namespace xbtest;

namespace {

// A small table of n rows named "row i", every third with a memo, and a tag on the name.
void makeTable(const std::string& path, int n, const std::string& prefix = "row ") {
    createSmallTable(path);
    xb::WorkArea a;
    a.use(path);
    for (int i = 1; i <= n; ++i) {
        addRow(a, prefix + std::to_string(i), "c", i);
        if (i % 3 == 0) {
            a.replace("NOTE", "memo " + std::to_string(i));
            a.post();
        }
    }
    a.indexTags({{"NAME", "UPPER(NAME)", "", false, false}, {"AMT", "AMOUNT", "", false, false}});
}

std::string openError(const std::string& path, xb::UseMode mode) {
    try {
        xb::WorkArea a;
        a.use(path, mode);
        return "";
    } catch (const xb::Error& e) {
        return e.what();
    }
}

void setCount(const std::string& path, uint32_t n) {
    auto b = readBytes(path);
    for (int i = 0; i < 4; ++i)
        b[size_t(4 + i)] = uint8_t(n >> (8 * i));
    writeBytes(path, b);
}

// Reopens a table made by makeTable and checks its first n rows, their memos and its
// indexes; returns its record count.
uint32_t expectRows(const std::string& path, uint32_t n) {
    xb::WorkArea a;
    a.use(path);
    EXPECT_EQ(a.indexProblem(), "");
    EXPECT_EQ(a.checkIndexes(), "");
    for (uint32_t r = 1; r <= n && r <= a.recCount(); ++r) {
        a.go(r);
        EXPECT_EQ(a.getText("NAME"), "row " + std::to_string(r));
        if (r % 3 == 0) {
            EXPECT_EQ(a.getMemo("NOTE"), "memo " + std::to_string(r));
        }
    }
    EXPECT_GE(a.recCount(), n);
    return a.recCount();
}

class Integrity : public ::testing::Test {
  protected:
    TempDir dir;
    std::string path = dir.file("T.DBF");
    std::string cdx = dir.file("T.CDX");
};

TEST_F(Integrity, AnIndexThatDoesNotHoldTheTableIsReported) {
    makeTable(path, 30);
    auto stale = readBytes(cdx);
    {
        xb::WorkArea a;
        a.use(path);
        EXPECT_EQ(a.indexProblem(), "");
        addRow(a, "row 31", "c");
    }
    // Records appended after the index was saved.
    writeBytes(cdx, stale);
    for (auto mode : {xb::UseMode::ReadOnly, xb::UseMode::Exclusive}) {
        xb::WorkArea a;
        a.use(path, mode);
        EXPECT_NE(a.indexProblem().find("record 31 is missing from tag NAME"), std::string::npos)
            << a.indexProblem();
    }
    // The index of another table, larger or empty, and this one's on those tables.
    for (int n : {300, 0}) {
        std::string other = dir.file("O" + std::to_string(n) + ".DBF");
        makeTable(other, n, "other ");
        writeBytes(cdx, readBytes(xb::withExtension(other, ".CDX")));
        xb::WorkArea a;
        a.use(path, xb::UseMode::ReadOnly);
        EXPECT_NE(a.indexProblem().find("does not match the table"), std::string::npos) << n;
        writeBytes(xb::withExtension(other, ".CDX"), stale);
        a.use(other, xb::UseMode::ReadOnly);
        EXPECT_NE(a.indexProblem().find("does not match the table"), std::string::npos) << n;
    }
    // Rebuilding makes it whole again.
    xb::WorkArea a;
    a.use(path);
    a.reindex();
    a.close();
    a.use(path, xb::UseMode::ReadOnly);
    EXPECT_EQ(a.indexProblem(), "");
    EXPECT_EQ(a.checkIndexes(), "");
}

TEST_F(Integrity, ACountThatHidesRecordsIsReadOnlyUntilRepaired) {
    makeTable(path, 8);
    const auto whole = readBytes(path);
    setCount(path, 7);  // one record past the count: an append that did not finish
    EXPECT_EQ(openError(path, xb::UseMode::Exclusive), "");
    writeBytes(path, whole);
    setCount(path, 5);
    std::string why = openError(path, xb::UseMode::Exclusive);
    EXPECT_NE(why.find("the header counts 5 records but the file holds 8"), std::string::npos);
    EXPECT_NE(why.find("xbtool repair"), std::string::npos);
    EXPECT_NE(openError(path, xb::UseMode::Shared), "");
    {
        xb::WorkArea a;
        a.use(path, xb::UseMode::ReadOnly);
        EXPECT_EQ(a.recCount(), 5u);
    }
    EXPECT_EQ(readBytes(path).size(), whole.size());  // the refused writers changed nothing

    // A torn last record is not a record: repair drops it and marks the end again.
    auto torn = readBytes(path);
    torn.pop_back();  // the end-of-file mark
    torn.resize(torn.size() + 10, 'x');
    writeBytes(path, torn);
    auto r = xb::DbfTable::repairRecordCount(path);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ(r.before, 5u);
    EXPECT_EQ(r.after, 8u);
    EXPECT_EQ(readBytes(path), whole);
    EXPECT_FALSE(xb::DbfTable::repairRecordCount(path).changed);
    // A count past the end of the file comes down to what is there.
    setCount(path, 20);
    EXPECT_NE(openError(path, xb::UseMode::ReadOnly).find("claims 20 records"), std::string::npos);
    EXPECT_EQ(xb::DbfTable::repairRecordCount(path).after, 8u);
    EXPECT_EQ(readBytes(path), whole);
    xb::WorkArea a;
    a.use(path);
    EXPECT_EQ(a.recCount(), 8u);
    a.go(8);
    EXPECT_EQ(a.getText("NAME"), "row 8");
}

TEST_F(Integrity, NewMemosNeverGoBelowTheEndOfTheMemoFile) {
    makeTable(path, 9);
    // A next-free pointer into the blocks of the first memos.
    auto fpt = readBytes(dir.file("T.FPT"));
    fpt[0] = fpt[1] = fpt[2] = 0;
    fpt[3] = 8;
    writeBytes(dir.file("T.FPT"), fpt);
    xb::WorkArea a;
    a.use(path);
    a.go(1);
    a.replace("NOTE", "a new memo for the first record");
    a.post();
    addRow(a, "row 10", "c");
    a.replace("NOTE", "and one for a new record");
    a.post();
    for (uint32_t r : {3u, 6u, 9u}) {
        a.go(r);
        EXPECT_EQ(a.getMemo("NOTE"), "memo " + std::to_string(r));
    }
    a.go(1);
    EXPECT_EQ(a.getMemo("NOTE"), "a new memo for the first record");
}

TEST_F(Integrity, AnInterruptedPackIsFinishedBeforeAnyoneReads) {
    makeTable(path, 9);
    const std::string fpt = dir.file("T.FPT");
    // The memo file was swapped in, the table not yet.
    writeBytes(dir.file("T.~pk.DBF"), readBytes(path));
    auto memos = readBytes(fpt);
    writeBytes(fpt, std::vector<uint8_t>(memos.begin(), memos.begin() + 512));
    {
        std::ofstream j(xb::packJournalPath(path));
        j << "T.~pk.FPT\tT.FPT\nT.~pk.DBF\tT.DBF\nend\n";
    }
    std::string why = openError(path, xb::UseMode::ReadOnly);
    EXPECT_NE(why.find("opening it for writing finishes the pack"), std::string::npos) << why;
    EXPECT_EQ(openError(path, xb::UseMode::Exclusive), "");
    xb::WorkArea a;
    a.use(path, xb::UseMode::ReadOnly);
    EXPECT_EQ(a.recCount(), 9u);
}

TEST_F(Integrity, ThePackKeepsTheTableLockedUntilItHasReopenedIt) {
    makeTable(path, 9);
    xb::WorkArea a;
    a.use(path);
    a.go(2);
    a.deleteRecord();
    std::string seen;
    xb::fault::Plan plan;
    plan.atSync(xb::baseNameOf(xb::packJournalPath(path)), 1,
                [&] { seen = openError(path, xb::UseMode::Shared); });
    {
        xb::fault::ScopedPlan scoped(plan);
        a.pack();
    }
    EXPECT_NE(seen.find("in use"), std::string::npos) << seen;
    EXPECT_EQ(a.recCount(), 8u);
    EXPECT_EQ(a.checkIndexes(), "");
}

TEST_F(Integrity, PackingThroughLinksPacksTheFilesTheyLeadTo) {
    std::string real = dir.file("real");
    std::filesystem::create_directory(real);
    makeTable(real + "/T.DBF", 6);
    std::string links = dir.file("links");
    std::filesystem::create_directory(links);
    for (const char* f : {"T.DBF", "T.FPT", "T.CDX"})
        std::filesystem::create_symlink(real + "/" + f, links + "/" + f);
    {
        xb::WorkArea a;
        a.use(links + "/T.DBF");
        a.go(1);
        a.deleteRecord();
        a.pack();
        EXPECT_EQ(a.recCount(), 5u);
    }
    for (const char* f : {"T.DBF", "T.FPT", "T.CDX"})
        EXPECT_TRUE(std::filesystem::is_symlink(links + "/" + f)) << f;
    xb::WorkArea a;
    a.use(real + "/T.DBF", xb::UseMode::ReadOnly);
    EXPECT_EQ(a.recCount(), 5u);
    EXPECT_EQ(a.indexProblem(), "");
    EXPECT_EQ(a.checkIndexes(), "");
    a.go(2);
    EXPECT_EQ(a.getMemo("NOTE"), "memo 3");
}

TEST_F(Integrity, ARebuildThatCannotRebuildEverythingFailsNamingWhat) {
    makeTable(path, 5);
    {
        xb::WorkArea a;
        a.use(path);
        a.indexTag("", {"CITY", "UPPER(CITY)", "", false, false});
    }
    // The same table without the CITY field: its tag's key no longer compiles.
    std::string other = dir.file("O.DBF");
    {
        xb::WorkArea a;
        a.createNew(other);
        a.createField("NAME", 'C', 20);
        a.createField("AMOUNT", 'N', 8, 2);
        a.createExec();
        a.use(other);
        for (int i = 1; i <= 5; ++i) {
            a.append();
            a.putText("NAME", "row " + std::to_string(i));
            a.post();
        }
    }
    writeBytes(dir.file("O.CDX"), readBytes(cdx));
    {
        xb::WorkArea a;
        a.use(other);
        try {
            a.reindex();
            ADD_FAILURE() << "a lost tag went unreported";
        } catch (const xb::Error& e) {
            EXPECT_NE(std::string(e.what()).find("tag CITY (UPPER(CITY))"), std::string::npos)
                << e.what();
        }
        EXPECT_NE(a.tagArea("NAME"), 0);
        EXPECT_EQ(a.checkIndexes(), "");
    }
    // An index file that cannot be read at all: nothing can be rebuilt from it.
    writeBytes(cdx, std::vector<uint8_t>(1024, 0x55));
    xb::WorkArea a;
    a.use(path);
    EXPECT_THROW(a.reindex(), xb::Error);
}

// Every write of an append with a memo fails in turn, whole or cut short, on each file: the
// post reports it, and the records posted before are whole afterwards.
TEST_F(Integrity, AFullDiskInTheMiddleOfAPostLosesNothingCommitted) {
    int faults = 0;
    for (const char* file : {"T.DBF", "T.FPT", "T.CDX"}) {
        for (long nth = 1; nth <= 6; ++nth) {
            for (size_t keep : {size_t(0), size_t(3)}) {
                SCOPED_TRACE(std::string(file) + " write " + std::to_string(nth) + " keeps " +
                             std::to_string(keep));
                TempDir d;
                std::string p = d.file("T.DBF");
                makeTable(p, 6);
                bool threw = false, triggered = false;
                {
                    xb::WorkArea a;
                    a.use(p);
                    a.append();
                    a.putText("NAME", "row 7");
                    a.replace("NOTE", std::string(300, 'n'));
                    xb::fault::Plan plan;
                    keep ? plan.shortWrite(file, nth, keep) : plan.failWrite(file, nth);
                    xb::fault::ScopedPlan scoped(plan);
                    try {
                        a.post();
                        a.close();
                    } catch (const xb::Error& e) {
                        threw = true;
                        EXPECT_EQ(e.code(), xb::ErrorCode::Io);
                        EXPECT_NE(std::string(e.what()).find("the disk is full"),
                                  std::string::npos);
                    }
                    triggered = xb::fault::ScopedPlan::triggered();
                    try {
                        a.close();
                    } catch (const xb::Error&) {
                    }
                }
                EXPECT_EQ(threw, triggered);
                faults += triggered;
                expectRows(p, 6);
            }
        }
    }
    EXPECT_GT(faults, 12);
}

TEST_F(Integrity, AFullDiskDuringAPackKeepsTheOldFiles) {
    for (const char* file : {"T.~pk.DBF", "T.~pk.FPT", "T.~pk.CDX", "T.DBF.~pk"}) {
        for (bool sync : {false, true}) {
            SCOPED_TRACE(std::string(file) + (sync ? " sync" : " write"));
            TempDir d;
            std::string p = d.file("T.DBF");
            makeTable(p, 9);
            {
                xb::WorkArea a;
                a.use(p);
                a.go(4);
                a.deleteRecord();
                xb::fault::Plan plan;
                sync ? plan.failSync(file, 1) : plan.failWrite(file, 1);
                xb::fault::ScopedPlan scoped(plan);
                EXPECT_THROW(a.pack(), xb::Error);
                EXPECT_TRUE(xb::fault::ScopedPlan::triggered());
            }
            EXPECT_EQ(expectRows(p, 9), 9u);
            EXPECT_FALSE(xb::fileExists(d.file("T.~pk.DBF")));
        }
    }
}

TEST_F(Integrity, TablesWhoseNamesDifferOnlyInCaseKeepTheirOwnFiles) {
    makeTable(dir.file("case.dbf"), 4, "lower ");
    makeTable(dir.file("CASE.DBF"), 6, "upper ");
    for (const char* name : {"case.dbf", "CASE.DBF"}) {
        xb::WorkArea a;
        a.use(dir.file(name), xb::UseMode::ReadOnly);
        EXPECT_EQ(a.indexProblem(), "") << name;
        EXPECT_EQ(a.tagArea("NAME"), 1) << name;
        a.go(3);
        EXPECT_EQ(a.getMemo("NOTE"), "memo 3") << name;
    }
    EXPECT_TRUE(xb::fileExists(dir.file("case.cdx")));
    // A table alone may find its files in another case (moved from a case-blind system).
    std::filesystem::rename(dir.file("CASE.DBF"), dir.file("Moved.DBF"));
    std::filesystem::rename(dir.file("CASE.CDX"), dir.file("MOVED.CDX"));
    std::filesystem::rename(dir.file("CASE.FPT"), dir.file("moved.fpt"));
    xb::WorkArea a;
    a.use(dir.file("Moved.DBF"), xb::UseMode::ReadOnly);
    EXPECT_EQ(a.indexProblem(), "");
    EXPECT_EQ(a.tagArea("NAME"), 1);
    a.go(6);
    EXPECT_EQ(a.getMemo("NOTE"), "memo 6");
}

}  // namespace
