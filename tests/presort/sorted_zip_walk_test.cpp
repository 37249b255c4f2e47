// Walking a contact table in presort order, as label printing does.
#include <gtest/gtest.h>

#include <algorithm>

#include "presort/bulk_mail_presort.h"
#include "presort/presort_file.h"
#include "presort/sorted_zip_walk.h"
#include "presort_test_util.h"
#include "xbase/error.h"

using namespace presorttest;
using namespace qb::presort;
using Labels = std::vector<std::string>;

namespace {

// What a presorted run prints: a separator per header, else the record's last name.
Labels walk(xb::WorkArea& area, std::vector<std::string> lines) {
    SortedZipWalk::prepare(area);
    SortedZipWalk w(area, std::move(lines));
    w.nextGroup();
    Labels printed;
    while (!w.finished()) {
        printed.push_back(w.atHeader() ? w.currentLine() : area.getText("LNAME"));
        w.moveOn();
        if (printed.size() > 1000) break;  // a walk that never ends fails instead of hanging
    }
    return printed;
}

class PresortWalk : public ::testing::Test {
  protected:
    void open(const std::vector<Contact>& rows) {
        area.use(makeContactFile(dir, rows));
        area.query(qb::kDeletionExclusion);
    }
    std::vector<std::string> presort() {
        RecordingObserver observer;
        BulkMailPresort run(observer);
        EXPECT_TRUE(run.run(area, dir.path()));
        return readPresortFile(dir.path());
    }

    QTemporaryDir dir;
    xb::WorkArea area;
};

TEST_F(PresortWalk, PrintsEachGroupBehindItsSeparatorAndLeavesOutWhatDidNotQualify) {
    open({
        {"21001", "balt1"},           {"12345-6789", "plus1"}, {"12345", "five1"},
        {"12399", "area1"},           {"M5V 2T6", "canada"},   {"12345", "five2"},
        {"12346", "area2"},           {"00001", "nowhere"},    {"12345", "five3"},
        {"12346", "area3"},           {"123", "short"},        {"12345", "five4"},
        {"12345", "gone", "DELETED"}, {"12346", "area4"},      {"", "blank"},
        {"12345", "five5"},           {"12399", "area5"},      {"12345-0001", "plus2"},
        {"12346", "area6"},           {"12345", "five6"},      {"21001", "balt2"},
        {"12345", "five7"},           {"12346", "area7"},      {"12345-6789", "plus3"},
        {"12346", "area8"},           {"12399", "area9"},
    });
    EXPECT_EQ(walk(area, presort()),
              (Labels{"** 5-digit 12345", "five1", "five2", "five3", "five4", "five5", "five6",
                      "five7", "plus2", "plus1", "plus3",
                      // "123" comes first: in the ZIP order blanks sort before digits
                      "** 3-digit 123", "short", "area2", "area3", "area4", "area6", "area7",
                      "area8", "area1", "area5", "area9", "** ADC BALTIMORE MD 210", "balt1",
                      "balt2", "** Unknown", "nowhere"}));
}

TEST_F(PresortWalk, PassesOverKeysWithoutRecordsInTheSelection) {
    open({{"12345", "a"}, {"12345", "b", "DELETED"}, {"55501", "c", "DELETED"}, {"12", "d"}});
    struct Case {
        const char* what;
        std::vector<std::string> lines;
        Labels printed;
    };
    const Case cases[] = {
        {"an empty list prints nothing", {}, {}},
        {"a key that names no record", {"99999", "12345"}, {"a"}},
        {"a key the table's code page cannot hold", {"1\xE4\xB8\xAD", "12345"}, {"a"}},
        {"a key only a soft-deleted record has prints only its separator",
         {"** Unknown", "55501"},
         {"** Unknown"}},
        {"a short key does not take the records of a longer one", {"123", "1234", "12"}, {"d"}},
        {"a separator as the last line still prints", {"12345", "** Unknown"}, {"a", "** Unknown"}},
        {"only keys, no separators", {"12", "12345"}, {"d", "a"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(walk(area, c.lines), c.printed);
        EXPECT_TRUE(area.eof());
    }
}

TEST_F(PresortWalk, EveryCountedRecordPrintsWhateverItsZipHolds) {
    // Keys that differ in letter case only, alternating in the ZIP order, and keys holding the
    // header mark: each is its own group, none is taken for a header.
    open({{"1234a", "low1"},
          {"1234A", "cap1"},
          {"1234a", "low2"},
          {"1234A", "cap2"},
          {"12**5", "stars"},
          {"1**", "short"}});
    const std::vector<std::string> list = presort();
    const Labels printed = walk(area, list);
    Labels records, separators;
    for (const std::string& l : printed)
        (l.starts_with("**") ? separators : records).push_back(l);
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records, (Labels{"cap1", "cap2", "low1", "low2", "short", "stars"}));
    EXPECT_EQ(separators.size(), size_t(std::count_if(list.begin(), list.end(), [](auto& l) {
                  return l.starts_with("** ");
              })));
}

TEST_F(PresortWalk, PreparationNeedsTheZipTagAndLeavesExactMatchingOff) {
    open({{"12345", "a"}});
    area.setExact(true);
    SortedZipWalk::prepare(area);
    EXPECT_FALSE(area.exact());
    EXPECT_EQ(area.indexOrd(), area.tagArea("ZIP"));

    std::string bare = dir.filePath("BARE.DBF").toStdString();
    qb::createContactTable(bare);
    xb::WorkArea noTags;
    noTags.use(bare);
    EXPECT_THROW(SortedZipWalk::prepare(noTags), xb::Error);
}

}  // namespace
