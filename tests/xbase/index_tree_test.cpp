// Tree behaviour against a sorted-set model: random scripts of inserts, erases, seeks and
// moves, bulk builds, and cursors that outlive modifications.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <random>
#include <set>

#include "index_test_util.h"
#include "xbase/error.h"
#include "xbase/keys.h"

namespace xb::index {
namespace {

using namespace testing;

struct Config {
    int K;
    KeyKind kind;
    int ops;
    uint32_t seed;
};

std::string makeKey(std::mt19937& rng, const Config& c) {
    if (c.kind == KeyKind::Binary) {
        std::string k(size_t(c.K), '\0');
        uint8_t num[8];
        encodeNumericKey(double(int(rng() % 2000) - 700), num);
        std::memcpy(k.data(), num, size_t(std::min(c.K, 8)));
        return k;
    }
    return charKey(randomName(rng), c.K);
}

// The cursor's expected position, kept as the pair it stands on.
class ModelCursor {
  public:
    explicit ModelCursor(const std::set<Pair>& s) : set_(s) {}
    bool valid = false;
    Pair at;

    void set(std::set<Pair>::const_iterator it) {
        valid = it != set_.end();
        if (valid) at = *it;
    }
    void next() {
        if (valid) set(set_.upper_bound(at));
    }
    void prev() {
        if (!valid) return;
        auto it = set_.lower_bound(at);
        if (it == set_.begin()) {
            valid = false;
            return;
        }
        set(std::prev(it));
    }

  private:
    const std::set<Pair>& set_;
};

void runScript(const Config& c) {
    TempDir dir;
    TagParams tagParams{"", "KEY", "", c.K, c.kind, false, false};
    auto idx = IdxFile::create(createFile(dir.file("t.idx")), tagParams);
    Tag& tag = idx->tag();
    std::set<Pair> model;
    ModelCursor expect(model);
    auto cur = tag.cursor();
    std::mt19937 rng(c.seed);
    std::vector<Pair> known;

    auto check = [&](bool ok, int step, const char* op) {
        ASSERT_EQ(ok, expect.valid) << op << " at step " << step;
        ASSERT_EQ(cur->valid(), expect.valid) << op << " at step " << step;
        if (expect.valid) {
            ASSERT_EQ(keyOf(*cur, c.K), expect.at.first) << op << " at step " << step;
            ASSERT_EQ(cur->recno(), expect.at.second) << op << " at step " << step;
        }
    };

    for (int step = 0; step < c.ops; ++step) {
        // Grow for the first 60%, then shrink, so splits, new roots and collapses all happen.
        bool growing = step < c.ops * 6 / 10;
        unsigned r = rng() % 100;
        if (r < (growing ? 45u : 15u)) {
            Pair p{makeKey(rng, c), uint32_t(rng() % 5000 + 1)};
            tag.insert(bytesOf(p.first), p.second);
            model.insert(p);
            known.push_back(p);
        } else if (r < 70) {
            Pair p = !known.empty() && rng() % 4
                         ? known[rng() % known.size()]
                         : Pair{makeKey(rng, c), uint32_t(rng() % 5000 + 1)};
            bool had = model.erase(p) > 0;
            ASSERT_EQ(tag.erase(bytesOf(p.first), p.second), had) << "erase at step " << step;
        } else if (r < 78) {
            bool ok = cur->next();
            expect.next();
            check(ok, step, "next");
        } else if (r < 85) {
            bool ok = cur->prev();
            expect.prev();
            check(ok, step, "prev");
        } else if (r < 90) {
            std::string k = makeKey(rng, c);
            int len = 1 + int(rng() % c.K);
            bool ok = cur->seek(bytesOf(k), len);
            std::string probe = k.substr(0, size_t(len)) + std::string(size_t(c.K - len), '\0');
            expect.set(model.lower_bound({probe, 0}));
            check(ok, step, "seek");
        } else if (r < 94) {
            Pair p{makeKey(rng, c), uint32_t(rng() % 5000)};
            bool ok = cur->seekPair(bytesOf(p.first), p.second);
            expect.set(model.lower_bound(p));
            check(ok, step, "seekPair");
        } else if (r < 97) {
            bool ok = cur->first();
            expect.set(model.begin());
            check(ok, step, "first");
        } else {
            bool ok = cur->last();
            expect.set(model.empty() ? model.end() : std::prev(model.end()));
            check(ok, step, "last");
        }
        if (step % 500 == 0) {
            ASSERT_EQ(tag.verify(), model.size()) << "at step " << step;
        }
    }
    ASSERT_EQ(tag.verify(), model.size());
    ASSERT_EQ(walk(tag), std::vector<Pair>(model.begin(), model.end()));
    // Backwards too.
    std::vector<Pair> back;
    for (bool ok = cur->last(); ok; ok = cur->prev())
        back.emplace_back(keyOf(*cur, c.K), cur->recno());
    ASSERT_EQ(back, std::vector<Pair>(model.rbegin(), model.rend()));
    // Empty the tree completely: it must fold back to a single empty root leaf.
    for (const Pair& p : std::vector<Pair>(model.begin(), model.end()))
        ASSERT_TRUE(tag.erase(bytesOf(p.first), p.second));
    ASSERT_EQ(tag.verify(), 0u);
    EXPECT_FALSE(cur->first());
    // And the reopened file holds what was flushed.
    tag.insert(bytesOf(makeKey(rng, c)), 9);
    idx->flush();
    auto again = IdxFile::open(openFile(dir.file("t.idx")), c.kind);
    EXPECT_EQ(again->tag().verify(), 1u);
}

TEST(IndexTree, RandomScriptsMatchSortedSetModel) {
    const Config configs[] = {
        {60, KeyKind::Character, 6000, 1},  {30, KeyKind::Character, 5000, 2},
        {8, KeyKind::Character, 5000, 3},   {1, KeyKind::Character, 3000, 4},
        {8, KeyKind::Binary, 5000, 5},      {12, KeyKind::Binary, 3000, 6},
        {240, KeyKind::Character, 2500, 7},
    };
    for (const Config& c : configs) {
        SCOPED_TRACE("K=" + std::to_string(c.K) +
                     (c.kind == KeyKind::Binary ? " binary" : " character"));
        runScript(c);
        if (::testing::Test::HasFatalFailure()) return;
    }
}

TEST(IndexTree, AscendingAndDescendingInsertsStayBalancedAndOrdered) {
    TempDir dir;
    TagParams tagParams{"", "SEQ", "", 8, KeyKind::Binary, false, false};
    auto up = IdxFile::create(createFile(dir.file("up.idx")), tagParams);
    auto down = IdxFile::create(createFile(dir.file("down.idx")), tagParams);
    uint8_t key[8];
    for (uint32_t i = 1; i <= 20000; ++i) {
        encodeNumericKey(double(i), key);
        up->tag().insert(key, i);
        encodeNumericKey(-double(i), key);
        down->tag().insert(key, i);
    }
    up->flush();
    down->flush();
    EXPECT_EQ(up->tag().verify(), 20000u);
    EXPECT_EQ(down->tag().verify(), 20000u);
    // Appends at the right edge leave full pages behind; other splits leave them half full.
    EXPECT_LT(std::filesystem::file_size(dir.file("up.idx")) * 3,
              std::filesystem::file_size(dir.file("down.idx")) * 2);
    auto c = down->tag().cursor();
    ASSERT_TRUE(c->first());
    EXPECT_EQ(decodeNumericKey(c->key()), -20000.0);
    ASSERT_TRUE(c->last());
    EXPECT_EQ(decodeNumericKey(c->key()), -1.0);
    // A duplicate pair is ignored; an equal key with another record is a second entry.
    encodeNumericKey(5, key);
    up->tag().insert(key, 5);
    up->tag().insert(key, 99999);
    EXPECT_EQ(up->tag().verify(), 20001u);
}

TEST(IndexTree, BulkBuildVerifiesAndWalksInOrder) {
    TempDir dir;
    std::mt19937 rng(11);
    for (int K : {1, 10, 60, 240}) {
        for (size_t n : {size_t(0), size_t(1), size_t(700), size_t(30000)}) {
            if (K == 240 && n > 700) continue;
            std::vector<Pair> pairs;
            for (size_t i = 0; i < n; ++i)
                pairs.emplace_back(charKey(randomName(rng), K), uint32_t(i + 1));
            std::sort(pairs.begin(), pairs.end());
            FlatEntries flat = flatten(pairs);
            TagParams tagParams{"", "UPPER(LNAME)", "", K, KeyKind::Character, false, false};
            std::string path = dir.file("b" + std::to_string(K) + "_" + std::to_string(n) + ".idx");
            auto idx = IdxFile::build(createFile(path), tagParams, flat.view());
            SCOPED_TRACE("K=" + std::to_string(K) + " n=" + std::to_string(n));
            EXPECT_EQ(idx->tag().verify(), n);
            EXPECT_EQ(walk(idx->tag()), pairs);
            EXPECT_EQ(std::filesystem::file_size(path) % 512, 0u);
            if (n == 0) {
                EXPECT_EQ(std::filesystem::file_size(path), 1536u);
            }
            // A bulk-built tree takes ordinary maintenance afterwards.
            for (int i = 0; i < 300 && !pairs.empty(); ++i) {
                const Pair& p = pairs[rng() % pairs.size()];
                idx->tag().erase(bytesOf(p.first), p.second);
                idx->tag().insert(bytesOf(charKey(randomName(rng), K)), uint32_t(n + 1 + i));
            }
            idx->tag().verify();
        }
    }
}

TEST(IndexTree, BulkBuildRejectsUnsortedEntries) {
    TempDir dir;
    std::vector<Pair> pairs = {{charKey("B", 4), 1}, {charKey("A", 4), 2}};
    FlatEntries flat = flatten(pairs);
    TagParams tagParams{"", "X", "", 4, KeyKind::Character, false, false};
    EXPECT_THROW(IdxFile::build(createFile(dir.file("u.idx")), tagParams, flat.view()), Error);
    pairs = {{charKey("A", 4), 2}, {charKey("A", 4), 2}};
    flat = flatten(pairs);
    EXPECT_THROW(IdxFile::build(createFile(dir.file("u.idx")), tagParams, flat.view()), Error);
}

TEST(IndexTree, CursorSurvivesModificationsAroundIt) {
    TempDir dir;
    TagParams tagParams{"", "NAME", "", 10, KeyKind::Character, false, false};
    auto idx = IdxFile::create(createFile(dir.file("c.idx")), tagParams);
    Tag& tag = idx->tag();
    for (uint32_t i = 0; i < 2000; ++i)
        tag.insert(bytesOf(charKey("K" + std::to_string(10000 + i * 2), 10)), i + 1);
    auto c = tag.cursor();
    std::string k1002 = charKey("K" + std::to_string(10000 + 1000 * 2), 10);
    ASSERT_TRUE(c->seek(bytesOf(k1002), 10));
    ASSERT_EQ(c->recno(), 1001u);
    // The current entry is erased: next() lands on its successor, prev() on its predecessor.
    tag.erase(bytesOf(k1002), 1001);
    EXPECT_EQ(keyOf(*c, 10), k1002);  // still reports where it stood
    ASSERT_TRUE(c->next());
    EXPECT_EQ(c->recno(), 1002u);
    tag.erase(bytesOf(keyOf(*c, 10)), 1002);
    ASSERT_TRUE(c->prev());
    EXPECT_EQ(c->recno(), 1000u);
    // An entry inserted just after the cursor is the next one visited, even across splits.
    for (uint32_t i = 0; i < 500; ++i)
        tag.insert(bytesOf(charKey("K" + std::to_string(11999) + "X", 10)), 5000 + i);
    ASSERT_TRUE(c->next());
    EXPECT_EQ(keyOf(*c, 10), charKey("K11999X", 10));
    EXPECT_EQ(c->recno(), 5000u);
    // Erasing everything after the cursor makes next() run off the end.
    auto all = walk(tag);
    for (const Pair& p : all)
        if (p.first > keyOf(*c, 10) || (p.first == keyOf(*c, 10) && p.second >= c->recno()))
            tag.erase(bytesOf(p.first), p.second);
    EXPECT_FALSE(c->next());
    EXPECT_TRUE(c->last());
    EXPECT_EQ(keyOf(*c, 10), charKey("K11998", 10));
    tag.verify();
}

TEST(IndexTree, ReadOnlyTreeRefusesChanges) {
    TempDir dir;
    TagParams tagParams{"", "NAME", "", 10, KeyKind::Character, false, false};
    IdxFile::create(createFile(dir.file("r.idx")), tagParams);
    auto idx = IdxFile::open(openFile(dir.file("r.idx"), false), KeyKind::Character);
    try {
        idx->tag().insert(bytesOf(charKey("A", 10)), 1);
        FAIL() << "insert into a read-only file";
    } catch (const Error& e) {
        EXPECT_EQ(e.code(), ErrorCode::State);
    }
}

}  // namespace
}  // namespace xb::index
