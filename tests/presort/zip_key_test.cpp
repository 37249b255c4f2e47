// Which ZIP texts take part in the presort, and under which key.
#include <gtest/gtest.h>

#include "presort/zip_counts.h"
#include "presort/zip_key.h"

using namespace qb::presort;

namespace {

TEST(PresortKey, KeyIsTheFirstFiveCharactersAndOnlyQualifyingKeysCount) {
    struct Case {
        const char* zip;
        const char* key;  // nullptr: not counted
    };
    // clang-format off
    const Case cases[] = {
        {"12345", "12345"}, {"12345-6789", "12345"}, {"123456789", "12345"}, {"99999-9", "99999"},
        {"123", "123"}, {"1", "1"}, {"00000", "00000"}, {"12 34", "12 34"},
        {"1é2345", "1é234"},  // five characters, not five bytes
        {"", nullptr}, {"A1234", nullptr}, {"M5V 2T6", nullptr}, {" 1234", nullptr},
        {"0", nullptr}, {"00", nullptr}, {"000", nullptr}, {"0000", nullptr},  // below "00000"
        {"0-123", nullptr},  // '-' sorts below '0'
        {"9999A", nullptr},  // 'A' sorts above the '9' of "99999-999"
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zip);
        ZipCounts counts;
        EXPECT_EQ(counts.add(zipKey(c.zip)), c.key != nullptr);
        if (c.key) {
            EXPECT_EQ(zipKey(c.zip), c.key);
        }
        EXPECT_EQ(counts.total(), c.key ? 1u : 0u);
    }
}

}  // namespace
