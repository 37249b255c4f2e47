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

}  // namespace xb
