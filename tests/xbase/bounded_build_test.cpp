// Index builds under a memory budget: keys sorted in runs and merged must give the very same
// index files as a build that holds every key, and the build must count no more memory than
// the budget allows.
#include <gtest/gtest.h>

#include <random>

#include "test_util.h"
#include "xbase/error.h"
#include "xbase/file.h"
#include "xbase/index_builder.h"

using namespace xbtest;

namespace {

class BudgetScope {
  public:
    explicit BudgetScope(size_t bytes) : saved_(xb::indexBuildBudget()) {
        xb::setIndexBuildBudget(bytes);
    }
    ~BudgetScope() { xb::setIndexBuildBudget(saved_); }

  private:
    size_t saved_;
};

// Names from a few letters, so many tie; some blank, some marked deleted.
void fillRandom(const std::string& path, uint32_t rows, unsigned seed) {
    createSmallTable(path);
    xb::WorkArea a;
    a.use(path);
    std::mt19937 rng(seed);
    for (uint32_t i = 0; i < rows; ++i) {
        std::string name;
        for (unsigned k = rng() % 4; k > 0; --k)
            name += char('A' + rng() % 3);
        a.append();
        a.putText("NAME", name);
        a.putText("CITY", rng() % 5 == 0 ? "" : std::string(1, char('a' + rng() % 20)));
        if (rng() % 3) a.putNumber("AMOUNT", double(rng() % 50) / 4);
        if (rng() % 4)
            a.putText("DAY",
                      "2024" + std::to_string(10 + rng() % 3) + "1" + std::to_string(rng() % 10));
        a.putLogical("FLAG", rng() % 2);
        a.post();
        if (rng() % 7 == 0) a.deleteRecord();
    }
    a.indexTags({{"NAME", "UPPER(NAME)", "", false, false},
                 {"CITYNAME", "CITY+NAME", "", false, false},
                 {"AMOUNT", "AMOUNT", "", false, false},
                 {"DAY", "DTOS(DAY)", "", false, false},
                 {"RICH", "NAME", "AMOUNT > 5", false, false},
                 {"GONE", "DELETED()", "", false, false},
                 {"DOWN", "CITY", "", true, false}});
}

std::vector<uint8_t> reindexedCdx(const std::string& path) {
    xb::WorkArea a;
    a.use(path, xb::UseMode::Exclusive);
    a.reindex();
    a.close();
    return readBytes(path.substr(0, path.size() - 3) + "CDX");
}

}  // namespace

TEST(BoundedBuild, RunsAndMergesGiveTheSameFilesAsOneSortInMemory) {
    TempDir dir;
    const std::string path = dir.file("T.DBF");
    fillRandom(path, 20000, 3);
    std::vector<uint8_t> whole;
    {
        BudgetScope big(size_t(64) << 20);
        whole = reindexedCdx(path);
    }
    // Budgets from a few runs per tag down to so many that they are merged in two rounds.
    for (size_t budget : {size_t(1) << 20, size_t(200) << 10, size_t(96) << 10}) {
        BudgetScope small(budget);
        ASSERT_EQ(reindexedCdx(path), whole) << budget;
        EXPECT_LE(xb::lastIndexBuildPeak(), budget);
    }
    // A single-order index file over members only, and pack, take the same path.
    {
        BudgetScope small(size_t(96) << 10);
        xb::WorkArea a;
        a.use(path, xb::UseMode::Exclusive);
        a.index(dir.file("CITY.IDX"), {"", "CITY+STR(AMOUNT,8,2)", "", false, false}, false);
        a.pack();
        EXPECT_EQ(a.checkIndexes(), "");
        a.close();
        const std::vector<uint8_t> packedSmall = readBytes(dir.file("T.CDX"));
        BudgetScope big(size_t(64) << 20);
        EXPECT_EQ(reindexedCdx(path), packedSmall);
    }
}

TEST(BoundedBuild, EmptyTablesAndEmptyKeysBuildUnderATinyBudget) {
    TempDir dir;
    const std::string path = dir.file("E.DBF");
    fillRandom(path, 0, 1);
    BudgetScope tiny(size_t(64) << 10);
    xb::WorkArea a;
    a.use(path, xb::UseMode::Exclusive);
    a.reindex();
    EXPECT_EQ(a.checkIndexes(), "");
    for (int i = 0; i < 3000; ++i)
        addRow(a, "", "");
    a.reindex();
    EXPECT_EQ(a.checkIndexes(), "");
    EXPECT_LE(xb::lastIndexBuildPeak(), size_t(64) << 10);
    a.setOrder(a.tagArea("NAME"));
    EXPECT_EQ(walkForward(a).size(), 3000u);
}

// The disk filling up while pack copies records, with keys being built from them on two threads
// and runs already on disk: pack fails cleanly and the table keeps its records and indexes.
TEST(BoundedBuild, APackFailingInTheMiddleOfTheCopyKeepsTheOldFiles) {
    TempDir dir;
    const std::string path = dir.file("T.DBF");
    fillRandom(path, 20000, 5);
    const std::vector<uint8_t> cdxBefore = readBytes(dir.file("T.CDX"));
    BudgetScope small(size_t(96) << 10);
    {
        xb::WorkArea a;
        a.use(path, xb::UseMode::Exclusive);
        const uint32_t n = a.recCount();
        xb::fault::Plan plan;
        plan.failWrite("T.~pk.DBF", 2);  // the first full chunk of records after the header
        xb::fault::ScopedPlan scoped(plan);
        EXPECT_THROW(a.pack(), xb::Error);
        EXPECT_TRUE(xb::fault::ScopedPlan::triggered());
        a.close();
        a.use(path, xb::UseMode::Exclusive);
        EXPECT_EQ(a.recCount(), n);
        EXPECT_EQ(a.checkIndexes(), "");
    }
    EXPECT_EQ(readBytes(dir.file("T.CDX")), cdxBefore);
}
