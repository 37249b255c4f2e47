// Stable most-significant-chunk-first radix sort of fixed-length keys.
//
// Each pass orders a range by one 8-byte big-endian chunk of the key with a stable
// most-significant-byte-first radix sort; runs that tie on the chunk are then ordered by the
// next chunk. Stability at every level keeps ties in collection (= record) order. Runs whose chunk
// is the same everywhere (blank tails are common) are skipped without moving anything.
#include "xbase/key_sort.h"

#include <algorithm>
#include <cstring>

namespace xb {

namespace {

using Item = KeySorter::Item;

uint64_t loadChunk(const uint8_t* key, int K, int offset) {
    if (offset + 8 <= K) {
        uint64_t v;
        std::memcpy(&v, key + offset, 8);
        return __builtin_bswap64(v);  // big-endian, so integer order is byte order
    }
    uint8_t b[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    int n = K - offset;
    if (n > 8) n = 8;
    if (n > 0) std::memcpy(b, key + offset, size_t(n));
    uint64_t v = 0;
    for (int i = 0; i < 8; ++i)
        v = (v << 8) | b[i];
    return v;
}

// Orders items by chunk, most significant byte first: each byte distributes a range stably
// into its buckets, and only buckets of more than one item go on to the next byte. Keys part
// after a few bytes, so most of the eight bytes are never visited.
void radixByChunk(Item* a, Item* tmp, size_t n, int shift = 56) {
    size_t cnt[256];
    for (;;) {
        if (n < 64) {
            std::stable_sort(a, a + n,
                             [](const Item& x, const Item& y) { return x.chunk < y.chunk; });
            return;
        }
        std::fill(cnt, cnt + 256, size_t(0));
        for (size_t i = 0; i < n; ++i)
            cnt[(a[i].chunk >> shift) & 0xFF]++;
        bool oneBucket = false;
        for (int v = 0; v < 256 && !oneBucket; ++v)
            oneBucket = cnt[v] == n;
        if (!oneBucket) break;
        // The same byte everywhere orders nothing: the next one, without moving.
        if (shift == 0) return;
        shift -= 8;
    }
    size_t pos[256];
    size_t sum = 0;
    for (int v = 0; v < 256; ++v) {
        pos[v] = sum;
        sum += cnt[v];
    }
    for (size_t i = 0; i < n; ++i)
        tmp[pos[(a[i].chunk >> shift) & 0xFF]++] = a[i];
    std::memcpy(a, tmp, n * sizeof(Item));
    if (shift == 0) return;
    size_t start = 0;
    for (int v = 0; v < 256; ++v) {
        if (cnt[v] > 1) radixByChunk(a + start, tmp + start, cnt[v], shift - 8);
        start += cnt[v];
    }
}

// Below the first level the keys are visited in scattered order: asking for their memory a
// few items ahead hides most of the latency.
constexpr size_t kAhead = 16;

void loadChunks(const uint8_t* keys, int K, Item* a, size_t n, int offset) {
    for (size_t i = 0; i < n; ++i) {
        if (i + kAhead < n)
            __builtin_prefetch(keys + size_t(a[i + kAhead].index) * size_t(K) + offset);
        a[i].chunk = loadChunk(keys + size_t(a[i].index) * size_t(K), K, offset);
    }
}

// Orders a range whose items hold the chunk at offset.
void sortLoaded(const uint8_t* keys, int K, Item* a, Item* tmp, size_t n, int offset) {
    while (n > 1) {
        bool allEqual = true;
        for (size_t i = 1; i < n && allEqual; ++i)
            allEqual = a[i].chunk == a[0].chunk;
        if (allEqual) {
            offset += 8;  // nothing to order on this chunk: go straight to the next
            if (offset >= K) return;
            loadChunks(keys, K, a, n, offset);
            continue;
        }
        radixByChunk(a, tmp, n);
        if (offset + 8 >= K) return;
        // Each run of equal chunks is ordered by the next chunk as soon as the scan has
        // passed it; the keys are asked for a few items ahead of the scan, across runs.
        const int next = offset + 8;
        size_t start = 0;
        uint64_t cur = a[0].chunk;
        for (size_t i = 1; i <= n; ++i) {
            if (i + kAhead < n)
                __builtin_prefetch(keys + size_t(a[i + kAhead].index) * size_t(K) + next);
            if (i < n && a[i].chunk == cur) continue;
            if (i - start > 1) {
                for (size_t k = start; k < i; ++k)
                    a[k].chunk = loadChunk(keys + size_t(a[k].index) * size_t(K), K, next);
                sortLoaded(keys, K, a + start, tmp + start, i - start, next);
            }
            if (i < n) cur = a[i].chunk;
            start = i;
        }
        return;
    }
}

void sortRange(const uint8_t* keys, int K, Item* a, Item* tmp, size_t n, int offset) {
    if (n < 2 || offset >= K) return;
    loadChunks(keys, K, a, n, offset);
    sortLoaded(keys, K, a, tmp, n, offset);
}

}  // namespace

const std::vector<uint32_t>& KeySorter::sort(const uint8_t* keys, size_t n, int K) {
    if (items_.size() < n) {
        items_.resize(n);
        tmp_.resize(n);
    }
    for (size_t i = 0; i < n; ++i)
        items_[i].index = uint32_t(i);
    sortRange(keys, K, items_.data(), tmp_.data(), n, 0);
    order_.resize(n);
    for (size_t i = 0; i < n; ++i)
        order_[i] = items_[i].index;
    return order_;
}

}  // namespace xb
