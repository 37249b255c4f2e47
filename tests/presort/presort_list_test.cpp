// The presort stages from ZIP counts to the lines of the presort list.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>

#include "presort/presort_list.h"
#include "presort/zip_key.h"

using namespace qb::presort;
using Lines = std::vector<std::string>;

namespace {

struct Pieces {
    const char* zip;
    uint32_t records;
};

struct StageCase {
    const char* what;
    std::vector<Pieces> input;
    Lines expected;
};

Lines presort(const std::vector<Pieces>& input) {
    ZipCounts counts;
    for (const auto& p : input)
        counts.add(zipKey(p.zip), p.records);
    return buildPresortList(counts);
}

TEST(PresortStages, GroupsByFiveDigitsThenThreeDigitsThenCenterThenUnknown) {
    const StageCase cases[] = {
        {"ten pieces make a 5-digit group; nine fall through to the center",
         {{"12345", 10}, {"12346", 9}},
         {"** 5-digit 12345", "12345", "** ADC ALBANY NY 120", "12346"}},
        {"six and four pieces of one area make a 3-digit group",
         {{"12346", 6}, {"12399", 4}},
         {"** 3-digit 123", "12346", "12399"}},
        {"nine pieces alone make no 5-digit group",
         {{"12345", 9}},
         {"** ADC ALBANY NY 120", "12345"}},
        {"nine pieces of an area make no 3-digit group",
         {{"12346", 5}, {"12399", 4}},
         {"** ADC ALBANY NY 120", "12346", "12399"}},
        {"the 3-digit stage counts only what the 5-digit stage left",
         {{"12345", 10}, {"12346", 5}, {"12347", 4}},
         {"** 5-digit 12345", "12345", "** ADC ALBANY NY 120", "12346", "12347"}},
        {"what the 5-digit stage left can still make ten",
         {{"12345", 12}, {"12346", 5}, {"12347", 5}},
         {"** 5-digit 12345", "12345", "** 3-digit 123", "12346", "12347"}},
        {"ZIP+4 texts add to their five-digit key",
         {{"12345", 4}, {"12345-6789", 6}},
         {"** 5-digit 12345", "12345"}},
        {"a short key groups with the area it begins",
         {{"123", 5}, {"12345", 5}},
         {"** 3-digit 123", "123", "12345"}},
        {"a short key with ten pieces has a group of its own",
         {{"123", 10}},
         {"** 5-digit 123", "123"}},
        {"keys of different areas do not add up",
         {{"12399", 5}, {"12400", 5}},
         {"** ADC ALBANY NY 120", "12399", "12400"}},
        {"unknown prefixes go last, ascending",
         {{"26901", 1}, {"00001", 2}, {"21301", 1}, {"12001", 1}},
         {"** ADC ALBANY NY 120", "12001", "** Unknown", "00001", "21301", "26901"}},
        {"keys that do not qualify are left out",
         {{"", 20}, {"A1234", 20}, {"0000", 20}, {"12345", 1}},
         {"** ADC ALBANY NY 120", "12345"}},
        {"nothing counted, nothing written", {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(presort(c.input), c.expected);
    }
}

TEST(PresortStages, SectionsStandInOrderAcrossAllFirstDigits) {
    Lines lines = presort({
        {"98765", 10},  // 5-digit, first digit 9
        {"45601", 5},   // 3-digit 456, first digit 4
        {"45602", 5},
        {"01234", 11},  // 5-digit, first digit 0
        {"00001", 1},   // unknown
        {"21001", 1},   // Baltimore
        {"12001", 1},   // Albany
        {"00601", 3},   // San Juan
        {"01801", 2},   // Boston
        {"01802", 2},
        {"00002", 1},  // unknown
    });
    EXPECT_EQ(lines,
              (Lines{"** 5-digit 01234", "01234", "** 5-digit 98765", "98765", "** 3-digit 456",
                     "45601", "45602", "** ADC ALBANY NY 120", "12001", "** ADC BALTIMORE MD 210",
                     "21001", "** ADC BOSTON MA 021", "01801", "01802", "** ADC SAN JUAN PR  006",
                     "00601", "** Unknown", "00001", "00002"}));
}

TEST(PresortStages, EveryQualifyingKeyAppearsExactlyOnce) {
    // A spread of keys around every threshold: no key may be lost or doubled by the stages.
    ZipCounts counts;
    std::set<std::string> keys;
    uint32_t n = 0;
    for (int area = 0; area < 1000; area += 7) {
        for (int local = 0; local < 100; local += 13) {
            char key[6];
            std::snprintf(key, sizeof key, "%03d%02d", area, local);
            counts.add(key, 1 + (n++ * 7919u) % 13);
            keys.insert(key);
        }
    }
    std::multiset<std::string> listed;
    for (const auto& line : buildPresortList(counts))
        if (!isHeaderLine(line)) listed.insert(line);
    EXPECT_EQ(listed.size(), keys.size());
    EXPECT_EQ(std::set<std::string>(listed.begin(), listed.end()), keys);
}

}  // namespace
