// How many records share each ZIP key: ten count lists, one per first digit, filled record
// by record and sorted by key before the presort stages take them apart.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qb::presort {

struct TallyRecord {
    std::string key;
    uint32_t tally = 0;

    bool operator==(const TallyRecord&) const = default;
};

class ZipCounts {
  public:
    // Counts one record under its key; a key that does not qualify is ignored and false is
    // returned.
    bool add(std::string_view key);
    // Adds n records under a key at once (for building counts directly).
    bool add(std::string_view key, uint32_t n);

    // The entries of the list for a first digit (0 to 9), ascending by key.
    std::vector<TallyRecord> sortedList(int digit) const;
    // The number of records counted in all lists.
    uint64_t total() const { return total_; }

  private:
    // Hashing while reading keeps a million-record count linear; the lists are put in key
    // order once, when the stages need them.
    std::array<std::unordered_map<std::string, uint32_t>, 10> lists_;
    uint64_t total_ = 0;
};

}  // namespace qb::presort
