// Page codec: the bit-packed leaf, interior nodes, entry widths and the index header.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "index_test_util.h"
#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index/header.h"
#include "xbase/index/node.h"

namespace xb::index {
namespace {

using namespace testing;

// A directory root leaf as another program wrote it: two tag names, their header offsets.
std::vector<uint8_t> directoryLeafSample() {
    std::vector<uint8_t> page(512, 0);
    const uint8_t head[] = {0x03, 0x00, 0x02, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                            0xFF, 0xFF, 0xD1, 0x01, 0xFF, 0xFF, 0x00, 0x00, 0x0F, 0x0F,
                            0x10, 0x04, 0x04, 0x03, 0x00, 0x06, 0x00, 0x00, 0x12, 0x30};
    std::memcpy(page.data(), head, sizeof head);
    const char tail[] = "TYPE_IDCONTACT_ID";
    std::memcpy(page.data() + 512 - 17, tail, 17);
    return page;
}

TEST(IndexCodec, DecodesAndReproducesForeignDirectoryLeaf) {
    std::vector<uint8_t> page = directoryLeafSample();
    Node node;
    LeafLayout layout;
    decodeLeaf(page.data(), 10, ' ', node, "sample", 1024, &layout);
    ASSERT_EQ(node.n, 2);
    EXPECT_EQ(node.attr, 3);
    EXPECT_EQ(node.left, kNoPage);
    EXPECT_EQ(node.right, kNoPage);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(node.key(0, 10)), 10), "CONTACT_ID");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(node.key(1, 10)), 10), "TYPE_ID   ");
    EXPECT_EQ(node.recnos[0], 1536u);
    EXPECT_EQ(node.recnos[1], 4608u);
    EXPECT_EQ(layout.freeSpace, 465);
    EXPECT_EQ(layout.widths.B, 3);
    EXPECT_EQ(layout.widths.R, 16);

    // Our encoder, given the same entries, must write the very same bytes.
    std::vector<uint8_t> out(512);
    ASSERT_TRUE(encodeLeaf(node.keys.data(), node.recnos.data(), 2, 10, ' ', 3, kNoPage, kNoPage,
                           out.data()));
    EXPECT_EQ(out, page);
}

TEST(IndexCodec, EntryWidthsMatchObservedFiles) {
    struct Case {
        int K;
        uint32_t maxRecno;
        int B, R;
    } cases[] = {{4, 2, 1, 2},   {4, 5, 2, 10},   {4, 16, 2, 10},    {50, 3, 2, 4},
                 {20, 58, 2, 6}, {148, 58, 3, 8}, {10, 4608, 3, 16}, {10, 3956224, 4, 24}};
    for (const Case& c : cases) {
        LeafWidths w = leafWidths(c.K, c.maxRecno);
        EXPECT_EQ(w.B, c.B) << "K=" << c.K << " records=" << c.maxRecno;
        EXPECT_EQ(w.R, c.R) << "K=" << c.K << " records=" << c.maxRecno;
        EXPECT_EQ(w.R + w.D + w.T, 8 * w.B);
    }
    const int bits[][2] = {{1, 1},  {2, 2},  {3, 2},  {4, 3},  {7, 3},   {8, 4},   {15, 4}, {16, 5},
                           {31, 5}, {32, 6}, {60, 6}, {64, 7}, {127, 7}, {128, 8}, {240, 8}};
    for (auto [K, b] : bits)
        EXPECT_EQ(countBits(K), b) << "K=" << K;
    // Record numbers near the top of the range still fit, even with one-byte keys.
    LeafWidths wide = leafWidths(1, 0xFFFFFFFFu);
    EXPECT_GE(wide.R, 32);
}

TEST(IndexCodec, LeafRoundTripKeepsKeysAndCountsFreeSpaceExactly) {
    std::mt19937 rng(7);
    for (int K : {1, 3, 8, 30, 60, 240}) {
        for (KeyKind kind : {KeyKind::Character, KeyKind::Binary}) {
            uint8_t fill = fillByte(kind);
            std::vector<std::vector<uint8_t>> keys;
            for (int i = 0; i < 40; ++i) {
                std::vector<uint8_t> k(size_t(K), fill);
                int len = int(rng() % (K + 1));
                for (int j = 0; j < len; ++j)
                    k[size_t(j)] = uint8_t("AAB\x01\xFF"[rng() % 5]);
                keys.push_back(k);
            }
            std::sort(keys.begin(), keys.end());
            std::vector<uint8_t> flat;
            std::vector<uint32_t> recnos;
            int n = 0;
            for (auto& k : keys) {
                std::vector<uint8_t> trial = flat;
                trial.insert(trial.end(), k.begin(), k.end());
                recnos.push_back(uint32_t(rng() % 100000));
                if (leafBytes(trial.data(), recnos.data(), n + 1, K, fill) > kLeafSpace) {
                    recnos.pop_back();
                    break;
                }
                flat = trial;
                ++n;
            }
            ASSERT_GT(n, 0);
            uint8_t page[512];
            ASSERT_TRUE(encodeLeaf(flat.data(), recnos.data(), n, K, fill, 2, 1024, 2048, page));
            Node node;
            LeafLayout layout;
            decodeLeaf(page, K, fill, node, "t", 0, &layout);
            EXPECT_EQ(node.keys, flat) << "K=" << K;
            EXPECT_EQ(node.recnos, recnos);
            EXPECT_EQ(node.left, 1024u);
            EXPECT_EQ(node.right, 2048u);
            EXPECT_EQ(layout.freeSpace, kLeafSpace - n * layout.widths.B - layout.storedBytes);
            EXPECT_EQ(kLeafSpace - layout.freeSpace,
                      leafBytes(flat.data(), recnos.data(), n, K, fill));
        }
    }
}

TEST(IndexCodec, LeafDropsFillAndNeverCopiesIntoPreviousTail) {
    // "LEE" then "LEE51": the second key may share "LEE" but not the blanks dropped from the
    // first, so it stores "51" only after copying 3 bytes.
    std::string a = charKey("LEE", 8), b = charKey("LEE51", 8), c = charKey("LEE", 8);
    std::string flat = a + b;
    uint32_t rec[] = {1, 2};
    uint8_t page[512];
    ASSERT_TRUE(encodeLeaf(bytesOf(flat), rec, 2, 8, ' ', 3, kNoPage, kNoPage, page));
    LeafWidths w = leafWidths(8, 2);
    uint64_t e1 = getLEn(page + 24 + w.B, w.B);
    EXPECT_EQ((e1 >> w.R) & ((1u << w.D) - 1), 3u);          // dup
    EXPECT_EQ((e1 >> (w.R + w.D)) & ((1u << w.T) - 1), 3u);  // trail
    EXPECT_EQ(std::memcmp(page + 512 - 3 - 2, "51LEE", 5), 0);
    // Equal keys with trailing blanks: dup is capped at the previous key's stored bytes.
    flat = a + c;
    ASSERT_TRUE(encodeLeaf(bytesOf(flat), rec, 2, 8, ' ', 3, kNoPage, kNoPage, page));
    e1 = getLEn(page + 24 + w.B, w.B);
    EXPECT_EQ((e1 >> w.R) & ((1u << w.D) - 1), 3u);
    EXPECT_EQ(getLE16(page + 12), 488 - 2 * w.B - 3);

    // Binary keys drop zero bytes, not blanks.
    uint8_t num[8];
    encodeNumericKey(42, num);  // C0 45 00 ...
    ASSERT_TRUE(encodeLeaf(num, rec, 1, 8, 0x00, 3, kNoPage, kNoPage, page));
    EXPECT_EQ(getLE16(page + 12), 488 - leafWidths(8, 1).B - 2);
}

// Random sorted leaves with ties, empty keys and keys that differ only in their tails: a
// change made in place must give the very bytes a full re-encode gives, and may decline only
// when the entry widths change or the entries no longer fit.
TEST(IndexCodec, LeafChangedInPlaceMatchesFullEncode) {
    std::mt19937 rng(11);
    int patched = 0;
    for (int K : {1, 2, 8, 30, 100}) {
        for (uint8_t fill : {uint8_t(' '), uint8_t(0)}) {
            const uint8_t alphabet[] = {'A', 'B', fill, 0x01, 0xFF};
            auto randomKey = [&] {
                std::vector<uint8_t> k(size_t(K), fill);
                int len = rng() % 4 == 0 ? 0 : int(rng() % (K + 1));
                for (int j = 0; j < len; ++j)
                    k[size_t(j)] = alphabet[rng() % 5];
                return k;
            };
            for (int trial = 0; trial < 300; ++trial) {
                // Record numbers near a width boundary make some changes alter the widths.
                const uint32_t recLimit = trial % 3 == 0 ? 300 : 70000;
                std::vector<std::pair<std::vector<uint8_t>, uint32_t>> entries;
                const int want = 1 + int(rng() % 60);
                for (int i = 0; i < want; ++i)
                    entries.push_back(
                        {rng() % 3 == 0 && !entries.empty() ? entries.back().first : randomKey(),
                         1 + rng() % recLimit});
                std::sort(entries.begin(), entries.end());
                entries.erase(std::unique(entries.begin(), entries.end()), entries.end());
                auto flatten = [&](const auto& list, std::vector<uint8_t>& keys,
                                   std::vector<uint32_t>& recs) {
                    keys.clear();
                    recs.clear();
                    for (auto& [k, r] : list) {
                        keys.insert(keys.end(), k.begin(), k.end());
                        recs.push_back(r);
                    }
                };
                std::vector<uint8_t> keys;
                std::vector<uint32_t> recs;
                flatten(entries, keys, recs);
                while (leafBytes(keys.data(), recs.data(), int(recs.size()), K, fill) >
                       kLeafSpace) {
                    entries.pop_back();
                    flatten(entries, keys, recs);
                }
                uint8_t page[512];
                ASSERT_TRUE(encodeLeaf(keys.data(), recs.data(), int(recs.size()), K, fill, 2, 1024,
                                       kNoPage, page));
                auto after = entries;
                const bool erase = rng() % 2 == 0;
                int pos;
                if (erase) {
                    pos = int(rng() % entries.size());
                    after.erase(after.begin() + pos);
                } else {
                    std::pair<std::vector<uint8_t>, uint32_t> add{
                        rng() % 3 == 0 ? entries[rng() % entries.size()].first : randomKey(),
                        1 + rng() % (recLimit + recLimit / 4)};
                    auto at = std::lower_bound(after.begin(), after.end(), add);
                    if (at != after.end() && *at == add) continue;
                    pos = int(at - after.begin());
                    after.insert(at, add);
                }
                const int n = int(entries.size());
                const uint8_t* prev = pos > 0 ? entries[size_t(pos - 1)].first.data() : nullptr;
                const int nextAt = erase ? pos + 1 : pos;
                const uint8_t* next = nextAt < n ? entries[size_t(nextAt)].first.data() : nullptr;
                uint8_t changed[512];
                std::memcpy(changed, page, 512);
                const bool done =
                    erase ? eraseFromLeaf(changed, K, fill, pos, prev, next)
                          : insertIntoLeaf(changed, K, fill, pos, after[size_t(pos)].first.data(),
                                           after[size_t(pos)].second, prev, next);
                flatten(after, keys, recs);
                const int m = int(recs.size());
                uint8_t expected[512];
                const bool fits =
                    encodeLeaf(keys.data(), recs.data(), m, K, fill, 2, 1024, kNoPage, expected);
                uint32_t oldMax = 0, newMax = 0;
                for (auto& e : entries)
                    oldMax = std::max(oldMax, e.second);
                for (auto& e : after)
                    newMax = std::max(newMax, e.second);
                const bool sameWidths = leafWidths(K, oldMax).B == leafWidths(K, newMax).B &&
                                        leafWidths(K, oldMax).R == leafWidths(K, newMax).R;
                ASSERT_EQ(done, fits && sameWidths)
                    << "K=" << K << " trial " << trial << (erase ? " erase at " : " insert at ")
                    << pos;
                if (done) {
                    ++patched;
                    ASSERT_EQ(std::memcmp(changed, expected, 512), 0)
                        << "K=" << K << " trial " << trial << (erase ? " erase at " : " insert at ")
                        << pos;
                } else {
                    ASSERT_EQ(std::memcmp(changed, page, 512), 0) << "declined but changed";
                }
            }
        }
    }
    EXPECT_GT(patched, 2000);
}

TEST(IndexCodec, LeafRejectsEntriesThatDoNotFit) {
    std::vector<uint8_t> keys(240 * 3, 'X');
    for (int i = 0; i < 3; ++i)
        keys[size_t(i) * 240] = uint8_t('A' + i);
    uint32_t rec[] = {1, 2, 3};
    uint8_t page[512];
    std::memset(page, 0x55, sizeof page);
    // Two whole 240-byte keys fit (480 bytes and two entries), a third does not.
    EXPECT_FALSE(encodeLeaf(keys.data(), rec, 3, 240, ' ', 2, kNoPage, kNoPage, page));
    EXPECT_EQ(page[0], 0x55);  // untouched
    EXPECT_TRUE(encodeLeaf(keys.data(), rec, 2, 240, ' ', 2, kNoPage, kNoPage, page));
}

TEST(IndexCodec, InteriorRoundTripIsBigEndian) {
    std::string keys = charKey("ADAMS", 10) + charKey("ZED", 10);
    uint32_t recs[] = {23, 0x01020304};
    uint32_t kids[] = {5120, 0xA0B0C000};
    uint8_t page[512];
    encodeInterior(bytesOf(keys), recs, kids, 2, 10, kAttrRoot, kNoPage, kNoPage, page);
    EXPECT_EQ(getLE16(page), 1);
    EXPECT_EQ(getLE16(page + 2), 2);
    EXPECT_EQ(std::memcmp(page + 12, "ADAMS     ", 10), 0);
    const uint8_t recBE[] = {0, 0, 0, 23, 0, 0, 0x14, 0};
    EXPECT_EQ(std::memcmp(page + 22, recBE, 8), 0);
    Node node;
    decodeInterior(page, 10, node, "t", 0);
    EXPECT_EQ(std::string(node.keys.begin(), node.keys.end()), keys);
    EXPECT_EQ(node.recnos[1], 0x01020304u);
    EXPECT_EQ(node.children[1], 0xA0B0C000u);
    EXPECT_EQ(interiorCapacity(60), 7);
    EXPECT_EQ(interiorCapacity(30), 13);
    EXPECT_EQ(interiorCapacity(8), 31);
    EXPECT_EQ(interiorCapacity(1), 55);
}

TEST(IndexCodec, DamagedPagesAreReportedNotTrusted) {
    std::vector<uint8_t> page = directoryLeafSample();
    Node node;
    auto decode = [&](const std::vector<uint8_t>& p) {
        decodeLeaf(p.data(), 10, ' ', node, "F", 1024);
    };
    auto expectCorrupt = [&](std::vector<uint8_t> p, const char* what) {
        try {
            decode(p);
            ADD_FAILURE() << "accepted: " << what;
        } catch (const Error& e) {
            EXPECT_EQ(e.code(), ErrorCode::Corrupt) << what;
            EXPECT_NE(std::string(e.what()).find("F: node at offset 1024"), std::string::npos)
                << e.what();
        }
    };
    auto p = page;
    putLE16(p.data() + 2, 200);  // 200 entries of 3 bytes: more than a leaf holds
    expectCorrupt(p, "key count");
    p = page;
    p[23] = 0;  // zero bytes per entry
    expectCorrupt(p, "widths");
    p = page;
    p[20] = 30;  // R + D + T exceeds 8B
    expectCorrupt(p, "bit counts");
    p = page;
    p[24 + 2] = 0x3F;  // first entry: trail 3 and dup 15
    expectCorrupt(p, "first dup");
    p = page;
    p[24 + 5] = 0xF0;  // second entry: trail 15 > K
    expectCorrupt(p, "trail beyond key");
    p = page;
    putLE16(p.data() + 2, 160);  // 160 entries of full keys overlap the entry array
    p[23] = 3;
    expectCorrupt(p, "overlap");

    uint8_t interior[512] = {};
    putLE16(interior + 2, 8);  // K = 60 holds at most 7
    EXPECT_THROW(decodeInterior(interior, 60, node, "F", 0), Error);
    putLE16(interior + 2, 0);
    EXPECT_THROW(decodeInterior(interior, 60, node, "F", 0), Error);
}

TEST(IndexCodec, HeaderRoundTripAndChecks) {
    IndexHeader h;
    h.root = 4096;
    h.keyLength = 60;
    h.options = 0x68;
    h.descending = true;
    h.keyExpr = "UPPER(lname+fname)";
    h.forExpr = ".NOT.DELETED()";
    uint8_t b[1024];
    encodeHeader(h, b);
    EXPECT_EQ(getLE16(b + 504), h.keyExpr.size() + 1);
    EXPECT_EQ(getLE16(b + 506), h.forExpr.size() + 1);
    EXPECT_EQ(getLE16(b + 508), 0);
    EXPECT_EQ(getLE16(b + 510), h.keyExpr.size() + 1);
    EXPECT_EQ(getLE16(b + 502), 1);
    EXPECT_EQ(b[15], 1);
    IndexHeader back = decodeHeader(b, "F");
    EXPECT_EQ(back.root, 4096u);
    EXPECT_EQ(back.keyLength, 60);
    EXPECT_EQ(back.options, 0x68);
    EXPECT_TRUE(back.descending);
    EXPECT_EQ(back.keyExpr, h.keyExpr);
    EXPECT_EQ(back.forExpr, h.forExpr);

    // An empty pool, as the directory has it.
    IndexHeader d;
    d.root = 1024;
    d.keyLength = 10;
    d.options = 0xE0;
    encodeHeader(d, b);
    EXPECT_EQ(getLE16(b + 504), 1);
    EXPECT_EQ(getLE16(b + 506), 1);
    EXPECT_EQ(getLE16(b + 510), 1);

    for (int bad : {0, 241, 0xFFFF}) {
        putLE16(b + 12, uint16_t(bad));
        EXPECT_THROW(decodeHeader(b, "F"), Error) << bad;
    }
    putLE16(b + 12, 10);
    putLE32(b, 1000);  // not on a page boundary
    EXPECT_THROW(decodeHeader(b, "F"), Error);
    putLE32(b, 1024);
    putLE16(b + 510, 0xFFFF);  // length past the pool: clipped, not read beyond
    putLE16(b + 508, 0);
    EXPECT_NO_THROW(decodeHeader(b, "F"));
    h.keyExpr = std::string(400, 'X');
    h.forExpr = std::string(200, 'Y');
    EXPECT_THROW(encodeHeader(h, b), Error);
}

}  // namespace
}  // namespace xb::index
