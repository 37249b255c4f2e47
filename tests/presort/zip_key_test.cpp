// Which ZIP texts take part in the presort, and under which key.
#include <gtest/gtest.h>

#include "presort/zip_counts.h"
#include "presort/zip_key.h"

using namespace qb::presort;

namespace {

struct KeyCase {
    const char* zip;
    const char* key;  // nullptr: not counted
};

TEST(PresortKey, KeyIsTheFirstFiveCharactersAndOnlyQualifyingKeysCount) {
    const KeyCase cases[] = {
        {"12345", "12345"},
        {"12345-6789", "12345"},  // ZIP+4 counts under its five-digit key
        {"123456789", "12345"},
        {"123", "123"},  // short texts still count
        {"1", "1"},
        {"00000", "00000"},
        {"99999", "99999"},
        {"12 34", "12 34"},
        {"", nullptr},
        {"A1234", nullptr},
        {"M5V 2T6", nullptr},
        {" 1234", nullptr},  // a leading blank is not a digit
        {"0", nullptr},      // below "00000"
        {"00", nullptr},
        {"000", nullptr},
        {"0000", nullptr},
        {"0-123", nullptr},  // '-' sorts below '0'
        {"9999A", nullptr},  // 'A' sorts above the '9' of "99999-999"
        {"99999-9", "99999"},
        {"1\xC3\xA9"
         "2345",
         "1\xC3\xA9"
         "234"},  // five characters, not five bytes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zip);
        ZipCounts counts;
        bool counted = counts.add(zipKey(c.zip));
        EXPECT_EQ(counted, c.key != nullptr);
        if (c.key) {
            EXPECT_EQ(zipKey(c.zip), c.key);
            auto list = counts.sortedList(c.key[0] - '0');
            ASSERT_EQ(list.size(), 1u);
            EXPECT_EQ(list[0], (TallyRecord{c.key, 1}));
        }
        EXPECT_EQ(counts.total(), counted ? 1u : 0u);
    }
}

TEST(PresortKey, LeadingCharsNeverCutACharacter) {
    const std::string s =
        "\xC3\xA9\xE2\x82\xAC"
        "ab";  // é € a b
    EXPECT_EQ(leadingChars(s, 0), "");
    EXPECT_EQ(leadingChars(s, 1), "\xC3\xA9");
    EXPECT_EQ(leadingChars(s, 2), "\xC3\xA9\xE2\x82\xAC");
    EXPECT_EQ(leadingChars(s, 3),
              "\xC3\xA9\xE2\x82\xAC"
              "a");
    EXPECT_EQ(leadingChars(s, 10), s);
}

TEST(PresortKey, CountListsTallyPerKeyAndSortByKey) {
    ZipCounts counts;
    for (const char* z : {"12399", "12345", "12345-1", "19999", "12345", "02134", "123"})
        counts.add(zipKey(z));
    EXPECT_EQ(counts.sortedList(1),
              (std::vector<TallyRecord>{{"123", 1}, {"12345", 3}, {"12399", 1}, {"19999", 1}}));
    EXPECT_EQ(counts.sortedList(0), (std::vector<TallyRecord>{{"02134", 1}}));
    EXPECT_TRUE(counts.sortedList(5).empty());
    EXPECT_EQ(counts.total(), 7u);
}

}  // namespace
