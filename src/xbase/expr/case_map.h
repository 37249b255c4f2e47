// UPPER()/LOWER() byte mapping. Runs of plain ASCII take a word-at-a-time path when the code
// page maps ASCII the usual way; other bytes go through the page's table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace xb::expr {

struct CaseMap {
    const uint8_t* table = nullptr;
    uint8_t first = 'a', last = 'z';  // the ASCII letters that change
    bool asciiPlain = false;          // the table maps bytes below 0x80 as ASCII does
};

namespace detail {
// Flips bit 0x20 of every byte in [lo, hi] of eight bytes that are all below 0x80. Adding
// (0x80 - lo) sets a byte's top bit exactly when it is >= lo, without carrying into the next.
inline uint64_t flipRange(uint64_t x, uint8_t lo, uint8_t hi) {
    constexpr uint64_t ones = 0x0101010101010101ull;
    uint64_t ge = x + ones * uint64_t(0x80 - lo);
    uint64_t gt = x + ones * uint64_t(0x80 - hi - 1);
    uint64_t m = ge & ~gt & (ones * 0x80);
    return x ^ (m >> 2);
}
}  // namespace detail

// dst may equal src.
inline void mapBytes(const CaseMap& m, const char* src, char* dst, size_t n) {
    constexpr uint64_t kHigh = 0x8080808080808080ull;
    size_t i = 0;
    if (m.asciiPlain) {
        for (; i + 8 <= n; i += 8) {
            uint64_t x;
            std::memcpy(&x, src + i, 8);
            if (x & kHigh) {
                for (size_t k = i; k < i + 8; ++k)
                    dst[k] = char(m.table[uint8_t(src[k])]);
            } else {
                x = detail::flipRange(x, m.first, m.last);
                std::memcpy(dst + i, &x, 8);
            }
        }
        // The last partial word as an overlapping whole one: mapping ASCII twice changes
        // nothing, so bytes already mapped in place may be mapped again.
        if (i < n && n >= 8) {
            uint64_t x;
            std::memcpy(&x, src + n - 8, 8);
            if (!(x & kHigh)) {
                x = detail::flipRange(x, m.first, m.last);
                std::memcpy(dst + n - 8, &x, 8);
                return;
            }
        }
    }
    for (; i < n; ++i)
        dst[i] = char(m.table[uint8_t(src[i])]);
}

}  // namespace xb::expr
