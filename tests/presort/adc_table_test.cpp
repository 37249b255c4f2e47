// The built-in ADC table and the extraction of left-over keys into center groups.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "presort/adc_table.h"

using namespace qb::presort;
using Lines = std::vector<std::string>;

namespace {

std::vector<std::string> prefixesOf(std::string_view text) {
    std::vector<std::string> out;
    std::istringstream in{std::string(text)};
    for (std::string p; in >> p;)
        out.push_back(p);
    return out;
}

TEST(AdcTable, NinetySixRowsCoveringNineHundredThirtyPrefixesOnce) {
    auto table = adcTable();
    ASSERT_EQ(table.size(), 96u);
    std::set<std::string> seen;
    for (const auto& row : table) {
        SCOPED_TRACE(std::string(row.name));
        auto prefixes = prefixesOf(row.prefixes);
        ASSERT_FALSE(prefixes.empty());
        std::string rejoined;
        for (const auto& p : prefixes) {
            EXPECT_EQ(p.size(), 3u);
            EXPECT_EQ(p.find_first_not_of("0123456789"), std::string::npos);
            EXPECT_TRUE(seen.insert(p).second) << p << " stands in two rows";
            rejoined += (rejoined.empty() ? "" : " ") + p;
        }
        EXPECT_EQ(rejoined, row.prefixes) << "single blanks between prefixes, none at the ends";
    }
    EXPECT_EQ(seen.size(), 930u);
    for (const char* missing : {"000", "001", "002", "003", "099", "213", "269"})
        EXPECT_EQ(seen.count(missing), 0u) << missing;
}

TEST(AdcTable, RowsStandInTheirOrderWithTheirNamesAsPrinted) {
    struct RowCase {
        size_t number;  // from 1
        const char* name;
        const char* prefixes;
    };
    const RowCase rows[] = {
        {1, "ALBANY NY 120", "120 121 122 123 124 125 126 127 128 129"},
        {3, "AMF KENNEDY NY 00300", "090 091 092 093 094 095 096 097 098"},
        {5, "BALTIMORE MD 210", "210 211 212 214 215 216 217 218 219 254 267"},
        {10, "BURMINGHAM AL 350", "350 351 352 354 355 356 357 358 359 362"},
        {26, "FARGO ND  580", "565 567 580 581 582 583 584 585 586 587 588"},
        {28, "GRAND RAPIDS MI 493", "490 491 492 493 494 496 497 495"},
        {37, "LAS VEGAS  NV 890", "864 889 890 891 894 895 897 961"},
        {64, "PORTLAND ME 040", "040 041 042 043 044 045 046 049 047 048"},
        {74, "SAN JUAN PR  006", "006 007 008 009"},
        {85, "ST. LOUIS MO 630",
         "620 622 623 624 625 626 627 628 629 630 631 633 634 635 636 637 638 639"},
        {93, "WHITE RIVER JCT VT 050", "035 036 037 056 057 058 059"},
        {94, "WHITE RVR JCT VT 050", "054 050 053 051 052"},
        {96, "WILMINGTON DE 197", "197 198 199"},
    };
    auto table = adcTable();
    for (const auto& r : rows) {
        SCOPED_TRACE(r.number);
        EXPECT_EQ(table[r.number - 1].name, r.name);
        EXPECT_EQ(table[r.number - 1].prefixes, r.prefixes);
    }
}

TEST(AdcTable, KeysFindTheFirstRowWhoseTextHoldsTheirFirstThreeCharacters) {
    struct Case {
        const char* key;
        int row;  // from 1, 0 for none
    };
    const Case cases[] = {
        {"12001", 1},     {"12999", 1},  {"00001", 0},  {"00399", 0},  {"09912", 0},  {"21301", 0},
        {"26999", 0},     {"05401", 94}, {"05601", 93}, {"00601", 74}, {"99950", 75}, {"19701", 96},
        {"58001", 26},    {"86401", 37}, {"96101", 37}, {"12 34", 5},  // "12 " occurs in "212 214"
        {"9 9", 60},  // first held by "949 954" of row 60
        {"12", 1},    // a key shorter than three characters searches with what it has
        {"1\xC3\xA9", 0},
    };
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
