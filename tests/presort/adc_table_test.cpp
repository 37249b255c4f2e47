// The built-in ADC table and the extraction of left-over keys into center groups.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "presort/adc_table.h"

using namespace qb::presort;
using Lines = std::vector<std::string>;

namespace {

TEST(AdcTable, NinetySixRowsCoveringNineHundredThirtyPrefixesOnce) {
    auto table = adcTable();
    ASSERT_EQ(table.size(), 96u);
    std::set<std::string> seen;
    for (const auto& row : table) {
        std::istringstream in{std::string(row.prefixes)};
        for (std::string p; in >> p;)
            EXPECT_TRUE(seen.insert(p).second) << p << " stands in two rows";
    }
    EXPECT_EQ(seen.size(), 930u);
    for (const char* missing : {"000", "001", "002", "003", "099", "213", "269"})
        EXPECT_EQ(seen.count(missing), 0u) << missing;
}

TEST(AdcTable, RowsStandInTheirOrderWithTheirNamesAsPrinted) {
    // FNV-1a over every row as "name|prefixes\n", in order, computed once apart from this code
    // from the centers' list; any changed character or row order shows here.
    uint64_t hash = 0xcbf29ce484222325ull;
    for (const auto& row : adcTable()) {
        for (char c : std::string(row.name) + "|" + std::string(row.prefixes) + "\n") {
            hash ^= uint8_t(c);
            hash *= 0x100000001b3ull;
        }
    }
    EXPECT_EQ(hash, 0x0713967d6bc917deull);
    // The names with two blanks, spelled out for a readable failure.
    auto table = adcTable();
    EXPECT_EQ(table[25].name, "FARGO ND  580");
    EXPECT_EQ(table[36].name, "LAS VEGAS  NV 890");
    EXPECT_EQ(table[73].name, "SAN JUAN PR  006");
    EXPECT_EQ(table[92].name, "WHITE RIVER JCT VT 050");
    EXPECT_EQ(table[93].name, "WHITE RVR JCT VT 050");
}

TEST(AdcTable, KeysFindTheFirstRowWhoseTextHoldsTheirFirstThreeCharacters) {
    struct Case {
        const char* key;
        int row;  // from 1, 0 for none
    };
    // clang-format off
    const Case cases[] = {
        {"12001", 1}, {"12999", 1}, {"05401", 94}, {"05601", 93}, {"00601", 74}, {"99950", 75},
        {"19701", 96}, {"58001", 26}, {"86401", 37}, {"96101", 37},
        {"00001", 0}, {"00399", 0}, {"09912", 0}, {"21301", 0}, {"26999", 0}, {"1é", 0},
        {"12 34", 5},  // "12 " occurs in "212 214"
        {"9 9", 60},   // first held by "949 954" of row 60
        {"12", 1},     // a key shorter than three characters searches with what it has
    };
    // clang-format on
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        EXPECT_EQ(adcRowFor(c.key) + 1, c.row);
    }
}

struct ExtractCase {
    const char* what;
    Lines leftover;
    Lines expectOut;
    Lines expectLeft;
};

TEST(AdcTable, ExtractionGroupsByCenterInTableOrder) {
    const ExtractCase cases[] = {
        {"two prefixes of one center under one header",
         {"12001", "12901"},
         {"** ADC ALBANY NY 120", "12001", "12901"},
         {}},
        {"an unknown prefix stays behind",
         {"00001", "12001"},
         {"** ADC ALBANY NY 120", "12001"},
         {"00001"}},
        {"centers follow the table, not the keys",
         // 006 is San Juan (row 74), 210 Baltimore (row 5), 120 Albany (row 1).
         {"00601", "12001", "21001", "21002"},
         {"** ADC ALBANY NY 120", "12001", "** ADC BALTIMORE MD 210", "21001", "21002",
          "** ADC SAN JUAN PR  006", "00601"},
         {}},
        {"a blank inside the key matches across a separator",
         {"12 34", "21201"},
         {"** ADC BALTIMORE MD 210", "12 34", "21201"},
         {}},
        {"the two rows of one center write two headers",
         {"05001", "05601"},
         {"** ADC WHITE RIVER JCT VT 050", "05601", "** ADC WHITE RVR JCT VT 050", "05001"},
         {}},
        {"only unknown keys", {"00001", "21301", "26901"}, {}, {"00001", "21301", "26901"}},
        {"nothing left over", {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Lines leftover = c.leftover;
        Lines out = {"before"};
        extractAdc(leftover, out);
        Lines expected = {"before"};
        expected.insert(expected.end(), c.expectOut.begin(), c.expectOut.end());
        EXPECT_EQ(out, expected);
        EXPECT_EQ(leftover, c.expectLeft);
    }
}

}  // namespace
