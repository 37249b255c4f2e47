// xbtool's strict command-line numbers and the count, seek and delete operations.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "compare_ops.h"
#include "numbers.h"
#include "xbase/date.h"
#include "xbase/error.h"
#include "xbase/test_util.h"

namespace qb::tools {
namespace {

TEST(CommandLineNumbers, OnlyAPlainDecimalInRangeIsAccepted) {
    EXPECT_EQ(parseCount("0", 0, 10), 0u);
    EXPECT_EQ(parseCount("50000000", 0, 50000000), 50000000u);
    EXPECT_EQ(parseCount("18446744073709551615", 0, UINT64_MAX), UINT64_MAX);
    for (const char* bad : {"", "-1", "+5", " 5", "5 ", "12abc", "1e3", "0x10", "1.0",
                            "18446744073709551616", "50000001", "٣"})
        EXPECT_FALSE(parseCount(bad, 0, 50000000)) << bad;
    EXPECT_FALSE(parseCount("2", 3, 9));
    try {
        requireCount("-1", "the record count", 0, 50);
        ADD_FAILURE() << "-1 was accepted";
    } catch (const BadArgument& e) {
        EXPECT_STREQ(e.what(), "the record count must be a whole number from 0 to 50, not \"-1\"");
    }
}

// The exit status of xbtool run with these arguments, its output discarded.
int xbtool(const std::string& args) {
    const int status =
        std::system((QB_BINARY_DIR "/tools/xbtool " + args + " >/dev/null 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(CommandLineNumbers, XbtoolRefusesNumbersWithTrailingTextOrExponents) {
    xbtest::TempDir dir;
    const std::string file = dir.file("C.DBF");
    ASSERT_EQ(xbtool("gen-contacts " + file + " 3"), 0);
    for (const char* count : {"12abc", "1e3", "-1", "\" 4\""})
        EXPECT_EQ(xbtool("add-contacts " + file + " " + count), 2) << count;
    EXPECT_EQ(xbtool("add-contacts " + file + " 2 --seed 1e3"), 2);
    xb::WorkArea a;
    a.use(file, xb::UseMode::ReadOnly);
    EXPECT_EQ(a.recCount(), 3u);  // nothing was appended
    a.close();
    EXPECT_EQ(xbtool("gen-contacts " + dir.file("D.DBF") + " 3 --seed 7x"), 2);
    EXPECT_FALSE(std::filesystem::exists(dir.file("D.DBF")));
}

class CompareOps : public ::testing::Test {
  protected:
    void SetUp() override {
        xbtest::createSmallTable(path);
        xb::WorkArea a;
        a.use(path);
        const struct {
            const char* name;
            double amount;
            const char* day;
        } rows[] = {{"Adams", 1, "20240105"},
                    {"Baker", 2, "20240212"},
                    {"Bakewell", 3, "20240105"},
                    {"Clark", 4, "20231231"},
                    {"Dunn", 5, "20240301"}};
        for (const auto& r : rows) {
            xbtest::addRow(a, r.name, "c", r.amount);
            a.putDate("DAY", xb::jdnFromDbf(r.day));
            a.post();
        }
        a.go(4);
        a.deleteRecord();  // Clark
        a.indexTag("", {"NAME", "UPPER(NAME)", "", false, false});
        a.indexTag("", {"AMOUNT", "AMOUNT", "", false, false});
        a.indexTag("", {"DAY", "DAY", "", false, false});
        a.close();
    }
    xbtest::TempDir dir;
    std::string path = dir.file("T.DBF");
};

TEST_F(CompareOps, CountLeavesOutMarkedRecords) {
    xb::WorkArea a;
    a.use(path, xb::UseMode::ReadOnly);
    EXPECT_EQ(countMatching(a, "AMOUNT >= 2"), 3u);
    EXPECT_EQ(countMatching(a, ".T."), 4u);
    EXPECT_THROW(countMatching(a, "AMOUNT +"), xb::Error);
}

TEST_F(CompareOps, SeekTalliesFoundKeysAndTheirRecordNumbersInEachKeyType) {
    xb::WorkArea a;
    a.use(path, xb::UseMode::ReadOnly);
    // A prefix finds its first match; marked records are found too.
    SeekTally t = seekKeys(a, "NAME", {"BAKER", "BAKEW", "CLARK", "ZED", "ADAMS"});
    EXPECT_EQ(t.keys, 5u);
    EXPECT_EQ(t.found, 4u);
    EXPECT_EQ(t.recnoSum, 2u + 3u + 4u + 1u);
    t = seekKeys(a, "AMOUNT", {"5", "2.5", "3"});
    EXPECT_EQ(t.found, 2u);
    EXPECT_EQ(t.recnoSum, 5u + 3u);
    t = seekKeys(a, "DAY", {"20240105", "20240106"});
    EXPECT_EQ(t.found, 1u);
    EXPECT_EQ(t.recnoSum, 1u);
    EXPECT_THROW(seekKeys(a, "AMOUNT", {"3x"}), xb::Error);
    EXPECT_THROW(seekKeys(a, "NOSUCH", {"A"}), xb::Error);
}

TEST_F(CompareOps, SeekReadsOneKeyALineWhateverTheLineEnds) {
    // Line ends of both kinds, an empty line (an empty key finds the first record) and no final
    // newline.
    const std::string keys = dir.file("KEYS.TXT");
    {
        std::ofstream f(keys, std::ios::binary);
        f << "BAKER\r\nZED\n\nCLARK";
    }
    std::ostringstream out;
    EXPECT_EQ(runSeek(path, "NAME", keys, out), 0);
    EXPECT_EQ(out.str().substr(0, out.str().find("\ntime: ")),
              "keys: 4\nfound: 3\nrecord number sum: 7");
}

TEST_F(CompareOps, DeleteMarksOnlyUnmarkedMatchesAndTheMarksAreOnDisk) {
    std::ostringstream out;
    EXPECT_EQ(runDelete(path, "AMOUNT >= 3", out), 0);
    EXPECT_EQ(out.str().substr(0, out.str().find('\n')), "marked: 2");  // Clark already was
    EXPECT_NE(out.str().find("\ntime: "), std::string::npos);
    xb::WorkArea a;
    a.use(path, xb::UseMode::ReadOnly);
    EXPECT_EQ(countMatching(a, ".T."), 2u);
    std::vector<bool> marks;
    a.setDeleted(false);
    a.query("");
    for (a.first(); !a.eof(); a.skip())
        marks.push_back(a.deleted());
    EXPECT_EQ(marks, (std::vector<bool>{false, false, true, true, true}));
}

}  // namespace
}  // namespace qb::tools
