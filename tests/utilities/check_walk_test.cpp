// The rules of the state and ZIP check and of the duplicate walk, on real contact files.
#include <gtest/gtest.h>

#include "utilities/check_walk.h"
#include "utilities_fixture.h"

using namespace qb;
using namespace qb::test;
using namespace qb::utilities;
using Recs = std::vector<uint32_t>;

namespace {

StateRanges someStates() {
    StateRanges s;
    s.add("NY", "10000", "14999");
    s.add("NC", "27000", "28999");
    s.add("NC", "00000", "99999");  // a second row of a state is never consulted
    return s;
}

TEST(StateZipRule, StatesMatchWholeAndZipsAreCutToTheBound) {
    const StateRanges s = someStates();
    EXPECT_FALSE(questionableStateZip("NY", "12345", s, false));
    EXPECT_TRUE(questionableStateZip("N", "27500", s, false));   // no prefix match
    EXPECT_TRUE(questionableStateZip("ny", "12345", s, false));  // not converted
    EXPECT_TRUE(questionableStateZip("NC", "29000", s, false));  // first row only
    EXPECT_TRUE(questionableStateZip("NY", "09999", s, false));
    EXPECT_TRUE(questionableStateZip("NY", "15000", s, false));
    EXPECT_FALSE(questionableStateZip("NY", "14999-1234", s, false));
    EXPECT_FALSE(questionableStateZip("NY", "10000", s, false));
    EXPECT_TRUE(questionableStateZip("NY", "1000", s, false));  // short of the low bound
    // Blanks: passed over unless asked for; then an empty state is not a state.
    EXPECT_FALSE(questionableStateZip("", "12345", s, false));
    EXPECT_FALSE(questionableStateZip("NY", "", s, false));
    EXPECT_TRUE(questionableStateZip("", "12345", s, true));
    EXPECT_TRUE(questionableStateZip("NY", "", s, true));
}

TEST(StateZipRule, TheShippedTableIsReadInTagOrder) {
    ProgramFolder folder;
    const StateRanges s = StateRanges::read(folder.file("QBMSZCK.DBF").toStdString());
    EXPECT_GT(s.size(), 50u);
    ASSERT_NE(s.find("NY"), nullptr);
    EXPECT_FALSE(questionableStateZip("NY", "10001", s, false));
}

TEST(StateZipWalk, ListsQuestionableRecordsButNeverDeletedOnes) {
    ProgramFolder folder;
    Values marked = person("Marked", "M", "XX", "1");
    marked["*MARK"] = "1";
    Values soft = person("Soft", "S", "XX", "1");
    soft["PREFIX"] = "deleted";
    const QString path = writeContacts(
        folder, {person("Ok", "A", "NY", "12000"), person("Zed", "B", "NY", "99999"), marked, soft,
                 person("Adams", "C", "ZZ", "12000"), person("Blank", "D", "NY", "")});
    xb::WorkArea area;
    area.use(path.toStdString());
    area.setDeleted(true);
    area.query(kDeletionExclusion);
    int steps = 0;
    const Recs found = findQuestionable(area, someStates(), false, [&](uint32_t, uint32_t, int) {
        ++steps;
        return true;
    });
    EXPECT_EQ(found, (Recs{2, 5}));
    EXPECT_EQ(steps, 4);
    EXPECT_EQ(findQuestionable(area, someStates(), true), (Recs{2, 5, 6}));
    // Stopping after the second record keeps what was found so far.
    EXPECT_EQ(findQuestionable(area, someStates(), false,
                               [](uint32_t done, uint32_t, int) { return done < 2; }),
              (Recs{2}));

    const std::string idx = folder.file(kStateZipIndex).toStdString();
    fillCheckIndex(area, idx, kStateZipIndexKey, {2, 5, 6});
    EXPECT_EQ(walk(area), (Recs{5, 6, 2}));  // Adams, Blank, Zed
    EXPECT_EQ(area.queryRecCount(), 3u);
    EXPECT_EQ(area.checkIndexes(), "");
}

std::vector<Values> dupFile() {
    Values empty = person("", "BrownJohn");  // sorts among the Browns, takes no part
    return {person("Brown", "John"), empty,
            person("BROWN", "JOHN"), person("Brown", "Jane"),
            person("Smith", "A"),    person("Smith", "a"),
            person("Smith", "A"),    person("", ""),
            person("", "")};
}

TEST(DupWalk, KindsRunsAndTheRecordKeptAsPrevious) {
    ProgramFolder folder;
    const QString path = writeContacts(folder, dupFile());
    xb::WorkArea area;
    area.use(path.toStdString());
    area.query(kDeletionExclusion);
    DupFindings byName = findDuplicates(area, DupKind::Name, 30);
    EXPECT_EQ(byName.pairs, 3);  // Brown John twice, and a run of three Smiths
    EXPECT_EQ(byName.records, (Recs{1, 3, 5, 6, 7}));
    DupFindings byInitial = findDuplicates(area, DupKind::Initial, 30);
    EXPECT_EQ(byInitial.pairs, 4);  // Jane joins John
    EXPECT_EQ(byInitial.records, (Recs{4, 1, 3, 5, 6, 7}));
}

TEST(DupWalk, StreetCharactersDecide) {
    ProgramFolder folder;
    const QString path = writeContacts(folder, {{{"STREET", "123 Main St"}},
                                                {{"STREET", "123 Maple Ave"}},
                                                {{"STREET", ""}},
                                                {{"STREET", ""}}});
    xb::WorkArea area;
    area.use(path.toStdString());
    EXPECT_EQ(findDuplicates(area, DupKind::Street, 5).records, (Recs{1, 2}));
    EXPECT_EQ(findDuplicates(area, DupKind::Street, 30).pairs, 0);
    const std::string idx = folder.file(kDupIndex).toStdString();
    fillCheckIndex(area, idx, dupIndexKey(DupKind::Street), {2, 1});
    EXPECT_EQ(walk(area), (Recs{1, 2}));
}

}  // namespace
