// The presort run over contact tables: what it reads, what it writes, and cancelling.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "presort/bulk_mail_presort.h"
#include "presort/presort_file.h"
#include "presort_test_util.h"
#include "store/contact_schema.h"

using namespace presorttest;
using namespace qb::presort;
using Lines = std::vector<std::string>;

namespace {

class PresortRun : public ::testing::Test {
  protected:
    void open(const std::vector<Contact>& rows) {
        area.use(makeContactFile(dir, rows));
        area.query(qb::kDeletionExclusion);
    }
    QString psl() const { return presortFilePath(dir.path()); }

    QTemporaryDir dir;
    xb::WorkArea area;
    RecordingObserver observer;
};

TEST_F(PresortRun, WritesTheListWithCrLfLineEnds) {
    std::vector<Contact> rows;
    addCopies(rows, 9, "12346");
    addCopies(rows, 7, "12345");
    addCopies(rows, 3, "12345-6789");
    rows.push_back({"00001"});
    rows.push_back({"M5V 2T6"});
    rows.push_back({""});
    rows.push_back({"0000"});
    rows.push_back({"00002"});
    open(rows);

    BulkMailPresort presort(observer);
    ASSERT_TRUE(presort.run(area, dir.path()));
    EXPECT_EQ(readFileBytes(psl()),
              "** 5-digit 12345\r\n12345\r\n"
              "** ADC ALBANY NY 120\r\n12346\r\n"
              "** Unknown\r\n00001\r\n00002\r\n");
    EXPECT_EQ(presort.lines(), (Lines{"** 5-digit 12345", "12345", "** ADC ALBANY NY 120", "12346",
                                      "** Unknown", "00001", "00002"}));
    EXPECT_EQ(presort.recordsRead(), rows.size());
    EXPECT_EQ(readPresortFile(dir.path()), presort.lines());
}

TEST_F(PresortRun, CountsOnlyTheRecordsOfTheSelection) {
    std::vector<Contact> rows;
    addCopies(rows, 9, "12345");
    rows.push_back({"12345", "Gone", "Deleted"});  // soft-deleted: outside every selection
    addCopies(rows, 10, "98765");
    open(rows);
    struct Case {
        const char* filter;
        Lines expected;
    };
    const std::string live = qb::kDeletionExclusion;
    const Case cases[] = {
        {"", {"** 5-digit 12345", "12345", "** 5-digit 98765", "98765"}},
        {live.c_str(), {"** 5-digit 98765", "98765", "** ADC ALBANY NY 120", "12345"}},
        {"ZIP = \"123\"", {"** 5-digit 12345", "12345"}},  // soft-deleted too: not in the filter
        {"ZIP = \"5\"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        area.query(c.filter);
        BulkMailPresort presort(observer);
        ASSERT_TRUE(presort.run(area, dir.path()));
        EXPECT_EQ(readPresortFile(dir.path()), c.expected);
    }
}

TEST_F(PresortRun, CancelWritesNothingAndKeepsAnEarlierList) {
    std::vector<Contact> rows;
    addCopies(rows, 30, "12345");
    open(rows);
    const std::string earlier = "** 5-digit 55555\r\n55555\r\n";

    struct Case {
        const char* what;
        bool earlierFile;
        int cancelAfter;
    };
    for (const Case& c : {Case{"no earlier file", false, 5}, Case{"earlier file", true, 5},
                          Case{"cancelled at the last record", true, 30}}) {
        SCOPED_TRACE(c.what);
        QFile::remove(psl());
        if (c.earlierFile) writeFileBytes(psl(), earlier);
        RecordingObserver cancelling;
        cancelling.cancelAfterPolls = c.cancelAfter;
        BulkMailPresort presort(cancelling);
        EXPECT_FALSE(presort.run(area, dir.path()));
        EXPECT_EQ(presort.recordsRead(), uint64_t(c.cancelAfter));  // stopped at once
        EXPECT_TRUE(presort.lines().empty());
        if (c.earlierFile)
            EXPECT_EQ(readFileBytes(psl()), earlier);
        else
            EXPECT_FALSE(QFile::exists(psl()));
        EXPECT_EQ(QDir(dir.path()).entryList({"PRESORT*"}, QDir::Files).size(),
                  c.earlierFile ? 1 : 0)
            << "no temporary file is left behind";
    }
}

TEST_F(PresortRun, ReadsInRecordNumberOrderAndShowsEveryHundredthRecordNumber) {
    std::vector<Contact> rows;
    for (int i = 1; i <= 300; ++i) {
        // Names descending, so the name order walks the records backwards.
        char name[8];
        std::snprintf(name, sizeof name, "N%03d", 400 - i);
        rows.push_back({"12345", name, i == 200 ? "DELETED" : ""});
    }
    open(rows);
    area.setOrder(area.tagArea("LNAME"));

    BulkMailPresort presort(observer);
    ASSERT_TRUE(presort.run(area, dir.path()));
    // Record 200 is outside the selection, so the step from 199 lands on 201 and shows nothing.
    EXPECT_EQ(observer.texts,
              (std::vector<std::string>{"Reading database records...", "Reading record 100",
                                        "Reading record 300", "Sorting Zip Codes..."}));
    EXPECT_EQ(observer.pumps, 299);
    EXPECT_EQ(observer.polls, 299);
    EXPECT_EQ(area.indexOrd(), area.tagArea("LNAME")) << "the caller's order comes back";
    EXPECT_EQ(readPresortFile(dir.path()), (Lines{"** 5-digit 12345", "12345"}));
}

TEST_F(PresortRun, AnUnwritableFolderIsReportedWithTheFileName) {
    std::vector<Contact> rows;
    addCopies(rows, 3, "12345");
    open(rows);
    QString missing = dir.filePath("no-such-folder");
    BulkMailPresort presort(observer);
    try {
        presort.run(area, missing);
        FAIL() << "writing into a missing folder succeeded";
    } catch (const PresortFileError& e) {
        EXPECT_NE(std::string(e.what()).find("no-such-folder/PRESORT.PSL"), std::string::npos)
            << e.what();
    }
}

}  // namespace
