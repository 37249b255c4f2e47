// Writing PRESORT.PSL and reading it back, including files this program did not write.
#include <gtest/gtest.h>

#include <QFile>
#include <random>

#include "presort/presort_file.h"
#include "presort_test_util.h"

using namespace presorttest;
using namespace qb::presort;
using Lines = std::vector<std::string>;

namespace {

TEST(PresortFile, LinesRoundTripWhateverTheyHold) {
    QTemporaryDir dir;
    const Lines lines = {"** 5-digit 12345",
                         "12345",
                         "12\t34",
                         "1\r2",
                         "12\r",
                         "1\xC3\xA9"
                         "23",
                         "** ADC FARGO ND  580",
                         "58001"};
    writePresortFile(dir.path(), lines);
    EXPECT_EQ(readPresortFile(dir.path()), lines);
    writePresortFile(dir.path(), {});
    EXPECT_EQ(readFileBytes(presortFilePath(dir.path())), "");
    EXPECT_TRUE(readPresortFile(dir.path()).empty());
}

TEST(PresortFile, ReadsLineEndsOfEitherKindAndSkipsEmptyLines) {
    struct Case {
        const char* what;
        std::string bytes;
        Lines expected;
    };
    const Case cases[] = {
        {"CR LF", "** Unknown\r\n00001\r\n", {"** Unknown", "00001"}},
        {"LF alone", "** Unknown\n00001\n", {"** Unknown", "00001"}},
        {"no end on the last line", "** Unknown\r\n00001", {"** Unknown", "00001"}},
        {"empty lines", "\r\n\r\n12345\r\n\n\r\n", {"12345"}},
        {"empty file", "", {}},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFileBytes(presortFilePath(dir.path()), c.bytes);
        EXPECT_EQ(readPresortFile(dir.path()), c.expected);
    }
}

TEST(PresortFile, RefusesWhatIsNotAListNamingFileAndFault) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* fault;
    };
    // clang-format off
    const Case cases[] = {
        {"NUL byte", std::string("12345\r\n123\0" "45\r\n", 14), "line 2 holds a NUL byte"},
        {"stray byte", "12345\r\n\xFF\r\n", "line 2 is not UTF-8"},
        {"overlong form", "\xC0\x80\r\n", "line 1 is not UTF-8"},
        {"cut sequence", "1\r\n2\n12\xE2\x82", "line 3 is not UTF-8"},
        {"surrogate", "\xED\xA0\x80", "line 1 is not UTF-8"},
    };
    // clang-format on
    QTemporaryDir dir;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        writeFileBytes(presortFilePath(dir.path()), c.bytes);
        try {
            readPresortFile(dir.path());
            ADD_FAILURE() << "accepted";
        } catch (const PresortFileError& e) {
            std::string message = e.what();
            EXPECT_NE(message.find("PRESORT.PSL: "), std::string::npos) << message;
            EXPECT_NE(message.find(c.fault), std::string::npos) << message;
        }
    }
}

TEST(PresortFile, MissingAndOversizedFilesAreRefused) {
    QTemporaryDir dir;
    EXPECT_THROW(readPresortFile(dir.path()), PresortFileError);
    QFile big(presortFilePath(dir.path()));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(kMaxPresortFileBytes + 1));  // sparse, so cheap on disk
    big.close();
    try {
        readPresortFile(dir.path());
        FAIL() << "accepted";
    } catch (const PresortFileError& e) {
        EXPECT_NE(std::string(e.what()).find("is larger than"), std::string::npos) << e.what();
    }
}

TEST(PresortFile, ArbitraryBytesGiveLinesOrAClearError) {
    QTemporaryDir dir;
    std::mt19937 rng(7);
    int accepted = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string bytes(rng() % 200, '\0');
        // Mostly text-like bytes, so both outcomes occur.
        for (char& b : bytes)
            b = char(rng() % 4 ? 0x20 + rng() % 0x60 : rng() % 256);
        writeFileBytes(presortFilePath(dir.path()), bytes);
        try {
            for (const auto& line : readPresortFile(dir.path())) {
                EXPECT_FALSE(line.empty());
                EXPECT_EQ(line.find('\n'), std::string::npos);
            }
            ++accepted;
        } catch (const PresortFileError&) {
            ++refused;
        }
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

}  // namespace
