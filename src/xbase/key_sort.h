// Sorting fixed-length index keys for bulk builds: a stable radix sort on 8-byte chunks, so
// equal keys keep record order without comparing record numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xb {

// keys holds n keys of K bytes each, key i belonging to the i-th collected record (collected
// in ascending record order). Returns the indexes 0..n-1 in ascending (key bytes, index) order.
std::vector<uint32_t> sortKeyIndexes(const uint8_t* keys, size_t n, int K);

// The same sort with its working memory kept from one call to the next, so a build sorting
// many runs does not fault in fresh pages for each.
class KeySorter {
  public:
    // The order, valid until the next call.
    const std::vector<uint32_t>& sort(const uint8_t* keys, size_t n, int K);
    // Bytes held per key sorted so far at most.
    static constexpr size_t kBytesPerKey = 36;
    size_t capacityKeys() const { return items_.size(); }

    struct Item {
        uint64_t chunk;
        uint32_t index;
    };

  private:
    std::vector<Item> items_, tmp_;
    std::vector<uint32_t> order_;
};

}  // namespace xb
