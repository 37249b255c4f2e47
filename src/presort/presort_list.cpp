// The presort stages: 5-digit, 3-digit, center and unknown.
#include "presort/presort_list.h"

#include "presort/adc_table.h"
#include "presort/zip_key.h"

namespace qb::presort {

namespace {

// Takes the keys with enough pieces of their own out of the list.
void takeFiveDigitGroups(std::vector<TallyRecord>& list, std::vector<std::string>& out) {
    std::vector<TallyRecord> rest;
    for (auto& entry : list) {
        if (entry.tally > kGroupMinimumExclusive) {
            out.push_back(std::string(kFiveDigitHeader) + entry.key);
            out.push_back(std::move(entry.key));
        } else {
            rest.push_back(std::move(entry));
        }
    }
    list = std::move(rest);
}

// Takes runs of keys sharing their first three characters whose pieces add up to enough.
void takeThreeDigitGroups(std::vector<TallyRecord>& list, std::vector<std::string>& out) {
    std::vector<TallyRecord> rest;
    size_t begin = 0;
    while (begin < list.size()) {
        std::string_view prefix = leadingChars(list[begin].key, 3);
        size_t end = begin;
        uint64_t pieces = 0;
        while (end < list.size() && leadingChars(list[end].key, 3) == prefix)
            pieces += list[end++].tally;
        if (pieces > kGroupMinimumExclusive) {
            out.push_back(std::string(kThreeDigitHeader) + std::string(prefix));
            for (size_t i = begin; i < end; ++i)
                out.push_back(std::move(list[i].key));
        } else {
            for (size_t i = begin; i < end; ++i)
                rest.push_back(std::move(list[i]));
        }
        begin = end;
    }
    list = std::move(rest);
}

}  // namespace

std::vector<std::string> buildPresortList(const ZipCounts& counts) {
    std::vector<std::string> fiveDigit, threeDigit, leftover;
    for (int digit = 0; digit <= 9; ++digit) {
        std::vector<TallyRecord> list = counts.sortedList(digit);
        takeFiveDigitGroups(list, fiveDigit);
        takeThreeDigitGroups(list, threeDigit);
        for (auto& entry : list)
            leftover.push_back(std::move(entry.key));
    }
    std::vector<std::string> adc;
    extractAdc(leftover, adc);

    std::vector<std::string> lines = std::move(fiveDigit);
    lines.reserve(lines.size() + threeDigit.size() + adc.size() + leftover.size() + 1);
    for (auto& l : threeDigit)
        lines.push_back(std::move(l));
    for (auto& l : adc)
        lines.push_back(std::move(l));
    if (!leftover.empty()) {
        lines.push_back(std::string(kUnknownHeader));
        for (auto& l : leftover)
            lines.push_back(std::move(l));
    }
    return lines;
}

}  // namespace qb::presort
