// Sorting fixed-length index keys for bulk builds: a stable radix sort on 8-byte chunks, so
// equal keys keep record order without comparing record numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace xb {

// Sorts fixed-length keys, keeping its working memory from one call to the next so that a
// build sorting many runs does not fault in fresh pages for each.
class KeySorter {
  public:
    // keys holds n keys of K bytes each, key i belonging to the i-th collected record
    // (collected in ascending record order). Returns the indexes 0..n-1 in ascending (key
    // bytes, index) order, valid until the next call.
    const std::vector<uint32_t>& sort(const uint8_t* keys, size_t n, int K);
    // Bytes it holds for each key of the largest sort so far.
    static constexpr size_t kBytesPerKey = 36;

    struct Item {
        uint64_t chunk;
        uint32_t index;
    };

  private:
    std::vector<Item> items_, tmp_;
    std::vector<uint32_t> order_;
};

}  // namespace xb
