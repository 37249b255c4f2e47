// Damaged index files: every fault must surface as Error(Corrupt) naming the file and what is
// wrong, never as a crash, a hang or a wild allocation.
#include <gtest/gtest.h>

#include <random>

#include "index_test_util.h"
#include "xbase/bytes.h"
#include "xbase/error.h"

namespace xb::index {
namespace {

using namespace testing;

class IndexDamage : public ::testing::Test {
  protected:
    // A three-level single-order index of 3000 keys, K = 30.
    void SetUp() override {
        pairs_.clear();
        std::mt19937 rng(21);
        for (uint32_t r = 1; r <= 3000; ++r)
            pairs_.emplace_back(charKey(randomName(rng), 30), r);
        std::sort(pairs_.begin(), pairs_.end());
        FlatEntries flat = flatten(pairs_);
        IdxFile::build(createFile(path_), {"", "UPPER(LNAME)", "", 30}, flat.view());
        bytes_ = readAll(path_);
    }

    uint32_t root() const { return getLE32(bytes_.data()); }
    uint8_t* page(uint32_t off) { return bytes_.data() + off; }
    uint32_t firstChild(uint32_t off) { return getBE32(page(off) + 12 + 30 + 4); }
    uint32_t leftmostLeaf() {
        uint32_t off = root();
        while (!(getLE16(page(off)) & 2))
            off = firstChild(off);
        return off;
    }

    // Opens the damaged bytes and runs every reading operation; returns the first error.
    std::string exercise() {
        writeAll(path_, bytes_);
        try {
            auto idx = IdxFile::open(openFile(path_), KeyKind::Character);
            Tag& tag = idx->tag();
            auto c = tag.cursor();
            for (bool ok = c->first(); ok; ok = c->next()) {
            }
            for (bool ok = c->last(); ok; ok = c->prev()) {
            }
            c->seek(bytesOf(pairs_[1500].first), 30);
            tag.verify();
        } catch (const Error& e) {
            EXPECT_EQ(e.code(), ErrorCode::Corrupt) << e.what();
            EXPECT_EQ(std::string(e.what()).rfind(path_ + ": ", 0), 0u) << e.what();
            return e.what();
        }
        return "";
    }

    TempDir dir_;
    std::string path_ = dir_.file("d.idx");
    std::vector<Pair> pairs_;
    std::vector<uint8_t> bytes_;
};

TEST_F(IndexDamage, IntactFilePassesEverything) {
    EXPECT_EQ(exercise(), "");
}

TEST_F(IndexDamage, TruncatedFiles) {
    std::vector<uint8_t> whole = bytes_;
    for (size_t len : {size_t(0), size_t(10), size_t(700), size_t(1100), whole.size() / 2,
                       whole.size() - 512, whole.size() - 1}) {
        bytes_.assign(whole.begin(), whole.begin() + ptrdiff_t(len));
        EXPECT_NE(exercise(), "") << "length " << len;
    }
}

TEST_F(IndexDamage, ChildPointerOutsideTheFile) {
    putBE32(page(root()) + 12 + 30 + 4, 0x7FFFFE00);
    EXPECT_NE(exercise().find("outside the file"), std::string::npos);
    SetUp();
    putBE32(page(root()) + 12 + 30 + 4, 1000);  // inside, but not on a page boundary
    EXPECT_NE(exercise(), "");
    SetUp();
    putBE32(page(root()) + 12 + 30 + 4, 0);  // the header itself
    EXPECT_NE(exercise(), "");
}

TEST_F(IndexDamage, SiblingCyclesAndBrokenChainsEndInAnError) {
    uint32_t first = leftmostLeaf();
    uint32_t second = getLE32(page(first) + 8);
    putLE32(page(second) + 8, first);  // second -> first -> second -> ...
    EXPECT_NE(exercise().find("loops"), std::string::npos);
    SetUp();
    first = leftmostLeaf();
    putLE32(page(first) + 8, first);  // a leaf that is its own right sibling
    EXPECT_NE(exercise(), "");
    SetUp();
    putLE32(page(leftmostLeaf()) + 8, 0xFFFFFFFF);  // chain cut short: only verify notices
    EXPECT_NE(exercise().find("sibling"), std::string::npos);
    SetUp();
    putLE32(page(leftmostLeaf()) + 8, root());  // sibling is an interior node
    EXPECT_NE(exercise(), "");
}

TEST_F(IndexDamage, ChildLoopsAreCutOffByDepth) {
    // The root's first child pointing back at the root makes an endless descent.
    putBE32(page(root()) + 12 + 30 + 4, root());
    EXPECT_NE(exercise(), "");
}

TEST_F(IndexDamage, BadKeyLengthsAndCounts) {
    for (int K : {0, 241, 0xFFFF}) {
        SetUp();
        putLE16(bytes_.data() + 12, uint16_t(K));
        EXPECT_NE(exercise().find("key length"), std::string::npos) << K;
    }
    SetUp();
    putLE16(page(root()) + 2, 500);  // interior count beyond capacity
    EXPECT_NE(exercise(), "");
    SetUp();
    putLE16(page(leftmostLeaf()) + 2, 400);  // leaf count beyond its page
    EXPECT_NE(exercise(), "");
    SetUp();
    putLE16(page(leftmostLeaf()) + 12, 17);  // wrong free-space count: only verify notices
    EXPECT_NE(exercise().find("free-space"), std::string::npos);
    SetUp();
    std::swap(bytes_[leftmostLeaf() + 24], bytes_[leftmostLeaf() + 24 + 3]);  // reorder entries
    EXPECT_NE(exercise(), "");
}

TEST_F(IndexDamage, CompoundDirectoryPointingNowhere) {
    std::string cdxPath = dir_.file("d.cdx");
    {
        auto w = CdxWriter::create(createFile(cdxPath));
        FlatEntries flat = flatten(pairs_);
        w->addTag({"LNAME", "UPPER(LNAME)", "", 30}, flat.view());
        w->addTag({"OTHER", "X", "", 30}, flat.view());
        w->finish();
    }
    std::vector<uint8_t> good = readAll(cdxPath);
    auto expectCorrupt = [&](const std::vector<uint8_t>& b, const char* what) {
        writeAll(cdxPath, b);
        try {
            auto cdx = CdxFile::open(openFile(cdxPath), nullptr);
            for (int i = 0; i < cdx->tagCount(); ++i)
                cdx->tag(i).verify();
            ADD_FAILURE() << "accepted: " << what;
        } catch (const Error& e) {
            EXPECT_EQ(e.code(), ErrorCode::Corrupt) << what << ": " << e.what();
            EXPECT_NE(std::string(e.what()).find(cdxPath), std::string::npos) << e.what();
        }
    };
    // The directory leaf at 1024 holds two 3-byte entries: header offsets in the low 16 bits.
    ASSERT_EQ(good[1024 + 23], 3);
    std::vector<uint8_t> b = good;
    putLE16(b.data() + 1024 + 24, 0xFE00);  // a tag header beyond the end of the file
    expectCorrupt(b, "header offset past the end");
    b = good;
    putLE16(b.data() + 1024 + 24, 0x0201);  // not on a page boundary
    expectCorrupt(b, "unaligned header offset");
    b = good;
    putLE16(b.data() + 1024 + 24, getLE16(b.data() + 1024 + 27));  // two names, one header
    expectCorrupt(b, "shared header");
    b = good;
    putLE32(b.data(), 0x10000000);  // directory root outside
    expectCorrupt(b, "directory root");
    b = good;
    putLE16(b.data() + 1536 + 12, 0);  // first tag's key length
    expectCorrupt(b, "tag key length");
    b = good;
    putLE32(b.data() + 1536, 1536);  // first tag's root is its own header
    expectCorrupt(b, "tag root at header");
}

TEST_F(IndexDamage, RandomByteFlipsNeverCrash) {
    std::vector<uint8_t> whole = bytes_;
    std::mt19937 rng(77);
    for (int round = 0; round < 300; ++round) {
        bytes_ = whole;
        for (int i = 0; i < 4; ++i)
            bytes_[rng() % bytes_.size()] = uint8_t(rng());
        exercise();  // may or may not notice; it must not crash or hang
    }
}

}  // namespace
}  // namespace xb::index
