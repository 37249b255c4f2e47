// The ten count lists of the presort.
#include "presort/zip_counts.h"

#include <algorithm>

#include "presort/zip_key.h"

namespace qb::presort {

bool ZipCounts::add(std::string_view key) {
    return add(key, 1);
}

bool ZipCounts::add(std::string_view key, uint32_t n) {
    if (!keyQualifies(key)) return false;
    auto& list = lists_[size_t(key[0] - '0')];
    auto it = list.find(std::string(key));
    if (it == list.end())
        list.emplace(std::string(key), n);
    else
        it->second += n;
    total_ += n;
    return true;
}

std::vector<TallyRecord> ZipCounts::sortedList(int digit) const {
    std::vector<TallyRecord> out;
    if (digit < 0 || digit > 9) return out;
    const auto& list = lists_[size_t(digit)];
    out.reserve(list.size());
    for (const auto& [key, tally] : list)
        out.push_back({key, tally});
    std::sort(out.begin(), out.end(),
              [](const TallyRecord& a, const TallyRecord& b) { return a.key < b.key; });
    return out;
}

}  // namespace qb::presort
