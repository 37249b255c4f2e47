// The engine's inner building blocks against simple models: the key sort and the selection
// bits that navigation steps through.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>

#include "xbase/key_sort.h"
#include "xbase/selection.h"

namespace {

TEST(KeySort, EqualsAStableSortOfTheKeys) {
    std::mt19937 rng(99);
    // One sorter for every case: what it keeps from a larger sort must not leak into the next.
    xb::KeySorter sorter;
    for (int K : {1, 7, 8, 9, 16, 30, 60, 61}) {
        for (size_t n : {size_t(0), size_t(3000), size_t(1), size_t(50)}) {
            std::vector<uint8_t> keys(n * size_t(K));
            // Few distinct bytes and long blank runs: many ties and shared prefixes.
            for (size_t i = 0; i < n; ++i)
                for (int b = 0; b < K; ++b)
                    keys[i * size_t(K) + size_t(b)] =
                        (b > K / 2 && rng() % 3) ? ' ' : uint8_t("AB \xFF"[rng() % 4]);
            std::vector<uint32_t> expected(n);
            std::iota(expected.begin(), expected.end(), 0);
            std::stable_sort(expected.begin(), expected.end(), [&](uint32_t x, uint32_t y) {
                return std::memcmp(&keys[x * size_t(K)], &keys[y * size_t(K)], size_t(K)) < 0;
            });
            EXPECT_EQ(sorter.sort(keys.data(), n, K), expected) << "K=" << K << " n=" << n;
        }
    }
}

TEST(SelectionBits, StepsAndCountsMatchAModel) {
    std::mt19937 rng(5);
    for (uint32_t n : {1u, 63u, 64u, 65u, 200u, 1000u}) {
        xb::Selection sel;
        sel.resetBits(n, true);
        std::vector<bool> match(n + 1), del(n + 1);
        for (uint32_t r = 1; r <= n; ++r) {
            match[r] = rng() % 3 != 0;
            del[r] = rng() % 5 == 0;
            sel.set(r, match[r], del[r]);
        }
        for (int round = 0; round < 3; ++round) {
            bool hide = round != 1;
            sel.setHideDeleted(hide);
            auto vis = [&](uint32_t r) { return match[r] && !(hide && del[r]); };
            uint32_t count = 0;
            for (uint32_t r = 1; r <= n; ++r)
                count += vis(r);
            ASSERT_EQ(sel.visibleCount(), count);
            for (uint32_t r = 0; r <= n + 1; ++r) {
                uint32_t next = 0, prev = 0;
                for (uint32_t x = r + 1; x <= n && !next; ++x)
                    if (vis(x)) next = x;
                for (uint32_t x = std::min(r, n + 1); x-- > 1 && !prev;)
                    if (vis(x)) prev = x;
                ASSERT_EQ(sel.nextVisible(r), next) << "n=" << n << " r=" << r;
                ASSERT_EQ(sel.prevVisible(r), prev) << "n=" << n << " r=" << r;
            }
            // Growing by one record at the end, as an append does.
            uint32_t r = n + 1;
            sel.set(r, true, false);
            EXPECT_EQ(sel.visibleCount(), count + 1);
            EXPECT_EQ(sel.nextVisible(n), r);
            match.push_back(true);
            del.push_back(false);
            ++n;
        }
    }
}

}  // namespace
