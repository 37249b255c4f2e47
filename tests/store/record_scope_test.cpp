// The record scope of output runs: which records a run visits, where it starts, and that the
// contact table is put back as it was.
#include <gtest/gtest.h>

#include "store/contact_file.h"
#include "store/contact_schema.h"
#include "store/record_scope.h"
#include "store_test_util.h"

namespace qb {
namespace {

class RecordScopeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        file = dir.path() + QStringLiteral("/RS.DBF");
        ASSERT_TRUE(CreateContactFile(file, table, notices.sink()));
        table.close();
        // Records 1..6; record 4 is soft-deleted.
        test::addPeople(file.toStdString(), {{"Miller", "Ann"},
                                             {"Adams", "Bob"},
                                             {"Brown", "Cy"},
                                             {"Young", "Di", "DELETED"},
                                             {"Baker", "Ed"},
                                             {"Mason", "Flo"}});
        ASSERT_TRUE(OpenContactFile(file, table, notices.sink()));
        // The Filter page's filter in force: last names from M on.
        filtered =
            QStringLiteral("UPPER(LNAME)>=\"M\".and. ") + QString::fromLatin1(kDeletionExclusion);
        ASSERT_TRUE(table.setSelection(filtered));
    }
    // The records a run would visit from where the scope put the table.
    std::vector<uint32_t> run(const RecordScope& scope) {
        std::vector<uint32_t> out;
        for (; !table.eof(); table.next()) {
            out.push_back(table.recNo());
            if (scope.onlyCurrentRecord()) break;
        }
        return out;
    }

    QTemporaryDir dir;
    QString file, filtered;
    test::Notices notices;
    Dataset table;
};

TEST_F(RecordScopeTest, ChoicesSelectTheirRecordsAndEverythingIsPutBack) {
    table.go(6);  // MASON, current; order is last name
    const QString order = table.orderTag();
    struct Case {
        ScopeChoice choice;
        ScopeUser user;
        bool fromCurrent;
        std::vector<uint32_t> visits;
    };
    // Label and report runs choose their own order (here ZIP, all blank: record order);
    // letters walk in the table's last-name order.
    const std::vector<Case> cases = {
        {ScopeChoice::AllRecords, ScopeUser::LabelsOrReports, false, {1, 2, 3, 5, 6}},
        {ScopeChoice::MatchingFilter, ScopeUser::LabelsOrReports, false, {1, 6}},
        {ScopeChoice::MatchingFilter, ScopeUser::LabelsOrReports, true, {6}},
        {ScopeChoice::OnlyCurrent, ScopeUser::LabelsOrReports, false, {6}},
        {ScopeChoice::OnlyCurrent, ScopeUser::LabelsOrReports, true, {6}},
        {ScopeChoice::OnlyCurrent, ScopeUser::Letters, false, {6}},
        {ScopeChoice::AllRecords, ScopeUser::Letters, true, {6, 1}},
        {ScopeChoice::AllRecords, ScopeUser::Letters, false, {2, 5, 3, 6, 1}},
    };
    for (const auto& c : cases) {
        {
            RecordScope scope(table, c.user);
            if (c.user == ScopeUser::LabelsOrReports) table.setOrderTag(QStringLiteral("ZIP"));
            scope.apply(c.choice, c.fromCurrent, notices.sink());
            EXPECT_EQ(run(scope), c.visits) << int(c.choice) << " " << c.fromCurrent;
        }
        EXPECT_EQ(table.selection(), filtered);
        EXPECT_EQ(table.orderTag(), order);
        EXPECT_EQ(table.recNo(), 6u);
    }
    EXPECT_TRUE(notices.texts.isEmpty());
}

TEST_F(RecordScopeTest, ASecondRunOfTheSameDialogStartsFromTheFilterAgain) {
    table.go(6);
    RecordScope scope(table, ScopeUser::LabelsOrReports);
    table.setOrderTag(QStringLiteral("ZIP"));
    scope.apply(ScopeChoice::AllRecords, false, notices.sink());
    EXPECT_EQ(run(scope).size(), 5u);
    scope.apply(ScopeChoice::MatchingFilter, false, notices.sink());
    EXPECT_EQ(run(scope), (std::vector<uint32_t>{1, 6}));
    scope.apply(ScopeChoice::OnlyCurrent, true, notices.sink());
    EXPECT_EQ(run(scope), (std::vector<uint32_t>{6}));
}

TEST_F(RecordScopeTest, StartOutsideTheScopeIsReportedAndStartsAtTheFirstRecord) {
    table.go(6);  // MASON, then edited out of the filter while current
    ASSERT_TRUE(table.edit());
    table.setText(QStringLiteral("LNAME"), QStringLiteral("Aaron"));
    ASSERT_TRUE(table.post());
    ASSERT_EQ(table.recNo(), 6u);
    RecordScope scope(table, ScopeUser::LabelsOrReports);
    scope.apply(ScopeChoice::MatchingFilter, true, notices.sink());
    ASSERT_EQ(notices.texts, QStringList{QString::fromLatin1(kOutOfRangeMessage)});
    EXPECT_EQ(run(scope), (std::vector<uint32_t>{1}));
}

}  // namespace
}  // namespace qb
