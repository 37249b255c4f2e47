// The maintenance run's pieces: the gauge fed by the engine's reports, packing the contact
// file with its index set aside, and rebuilding a program table that may be missing, in use
// or damaged.
#include <gtest/gtest.h>
#include <QFile>

#include "store/contact_rebuild.h"
#include "store/program_tables.h"
#include "store_test_util.h"
#include "xbase/file.h"

namespace qb {
namespace {

xb::Progress indexing(int tag, uint64_t done, uint64_t total = 1000, int tags = 21) {
    xb::Progress p;
    p.phase = xb::Progress::Phase::Index;
    p.tag = tag;
    p.tagCount = tags;
    p.done = done;
    p.total = total;
    return p;
}

TEST(ReindexGauge, PackingShowsTheStepAndIndexingSumsEachTagsSteps) {
    ReindexGauge g;
    g.setPacking(true);
    xb::Progress pack;
    pack.done = 250;
    pack.total = 1000;
    EXPECT_EQ(g.report(pack), 25);
    pack.done = 1000;
    EXPECT_EQ(g.report(pack), 100);
    pack.total = 0;  // an empty file is done at once
    EXPECT_EQ(g.report(pack), 100);

    g.setPacking(false);
    EXPECT_EQ(g.report(indexing(1, 0)), 0);
    EXPECT_EQ(g.report(indexing(1, 500)), 2);  // 50 of 2100
    EXPECT_EQ(g.report(indexing(1, 400)), 2);  // a step back counts for nothing
    EXPECT_EQ(g.report(indexing(1, 1000)), 5);
    // Every further tag starts its steps from nothing and adds its own hundred.
    for (int tag = 2; tag <= 21; ++tag)
        g.report(indexing(tag, 1000));
    EXPECT_EQ(g.report(indexing(21, 1000)), 100);
    g.reset();
    EXPECT_EQ(g.report(indexing(3, 210)), 1);
    // Fewer tags share the whole gauge between them.
    g.reset();
    EXPECT_EQ(g.report(indexing(1, 1000, 1000, 1)), 100);
}

class ProgramTableTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder = dir.path() + u'/';
        const std::string p = (folder + QStringLiteral("QBMSZCK.DBF")).toStdString();
        buildProgramTable(
            p, stateTable(),
            "NAME,STATE,LOW_ZIP,HIGH_ZIP\nOregon,OR,97000,97999\nIdaho,ID,83200,83899\n");
        xb::WorkArea a;
        a.use(p);
        a.go(1);
        a.deleteRecord();
        a.close();
    }
    const ProgramTableIndex& states() { return programTableIndexes()[3]; }

    QTemporaryDir dir;
    QString folder;
};

TEST_F(ProgramTableTest, RebuildingPacksAndGivesTheTableItsOneTag) {
    ASSERT_STREQ(states().fileName, "QBMSZCK.DBF");
    ASSERT_TRUE(QFile::remove(folder + QStringLiteral("QBMSZCK.CDX")));
    ASSERT_TRUE(RebuildProgramTable(folder, states()));
    xb::WorkArea a;
    a.use((folder + QStringLiteral("QBMSZCK.DBF")).toStdString(), xb::UseMode::ReadOnly);
    EXPECT_EQ(a.recCount(), 1u);
    ASSERT_EQ(a.orderCount(), 1);
    EXPECT_EQ(a.tagName(1), "STATE");
    EXPECT_EQ(a.orderKey(1), "UPPER(STATE)");
    EXPECT_EQ(a.checkIndexes(), "");
}

TEST_F(ProgramTableTest, AMissingABusyOrADamagedTableIsPassedOver) {
    EXPECT_FALSE(RebuildProgramTable(folder, programTableIndexes()[0]));  // no letters table
    {
        xb::WorkArea holder;
        holder.use((folder + QStringLiteral("QBMSZCK.DBF")).toStdString());
        EXPECT_FALSE(RebuildProgramTable(folder, states()));
    }
    QFile dbf(folder + QStringLiteral("QBMSZCK.DBF"));
    ASSERT_TRUE(dbf.open(QIODevice::ReadWrite));
    dbf.resize(20);
    dbf.close();
    EXPECT_FALSE(RebuildProgramTable(folder, states()));
}

TEST(PackContactFile, RemovesMarkedRecordsAndLeavesTheFileWithoutAnIndex) {
    QTemporaryDir dir;
    const QString file = dir.path() + QStringLiteral("/PK.DBF");
    test::Notices notices;
    Dataset table;
    ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
    table.close();
    test::addPeople(file.toStdString(), {{"Keep", "A"}, {"Drop", "B"}, {"Soft", "C", "DELETED"}});
    {
        xb::WorkArea a;
        a.use(file.toStdString());
        a.go(2);
        a.deleteRecord();
    }
    ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
    ASSERT_TRUE(table.setSelection(QString::fromLatin1(kDeletionExclusion)));
    std::vector<uint64_t> steps;
    EXPECT_EQ(PackContactFile(table, [&](const xb::Progress& p) { steps.push_back(p.done); }),
              QString());
    EXPECT_EQ(table.recCount(), 2u);
    EXPECT_EQ(table.area().orderCount(), 0);
    EXPECT_FALSE(xb::fileExists(xb::withExtension(file.toStdString(), ".CDX")));
    EXPECT_EQ(table.selectionRecordCount(), 1u);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.back(), 3u);
    EXPECT_TRUE(BuildContactIndexes(table, notices.sink()));
    EXPECT_EQ(table.area().orderCount(), 21);
    EXPECT_TRUE(notices.texts.isEmpty());
}

}  // namespace
}  // namespace qb
