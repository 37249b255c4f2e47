// Index files as a whole: the empty single-order index, compound indexes written in one pass
// or grown tag by tag, directory growth, reopening, and formats that are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "index_test_util.h"
#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index/page_file.h"
#include "xbase/keys.h"

namespace xb::index {
namespace {

using namespace testing;

struct ContactTag {
    const char* name;
    const char* expr;
    int K;
    KeyKind kind;
};

const ContactTag kContactTags[] = {
    {"NAME", "UPPER(LNAME-FNAME)", 60, KeyKind::Character},
    {"LNAME", "UPPER(LNAME)+UPPER(FNAME)", 60, KeyKind::Character},
    {"FNAME", "UPPER(FNAME)", 30, KeyKind::Character},
    {"TITLE", "UPPER(TITLE)", 30, KeyKind::Character},
    {"ORG", "UPPER(ORG)", 30, KeyKind::Character},
    {"STREET", "UPPER(STREET)", 30, KeyKind::Character},
    {"CITY", "UPPER(CITY+STATE)", 50, KeyKind::Character},
    {"STATE", "UPPER(STATE)", 20, KeyKind::Character},
    {"ZIP", "UPPER(ZIP)", 10, KeyKind::Character},
    {"COUNTRY", "UPPER(COUNTRY)", 30, KeyKind::Character},
    {"PHONE", "UPPER(PHONE)", 30, KeyKind::Character},
    {"EMAIL", "UPPER(EMAIL)", 30, KeyKind::Character},
    {"FAX", "UPPER(FAX)", 30, KeyKind::Character},
    {"DATE", "DTOS(DATE)", 8, KeyKind::Character},
    {"NOTES", "UPPER(NOTES)", 30, KeyKind::Character},
    {"PREFIX", "UPPER(PREFIX)", 12, KeyKind::Character},
    {"MIDDLE", "UPPER(MIDDLE)", 1, KeyKind::Character},
    {"DELETED", "DELETED()", 1, KeyKind::Character},
    {"JUSTSEQNO", "SEQNO", 8, KeyKind::Binary},
    {"SEQNO", "STR(SEQNO,6,0)+STATE+ZIP", 36, KeyKind::Character},
    {"STATEZIP", "UPPER(STATE-ZIP)", 30, KeyKind::Character},
};

KeyKind kindByName(const TagInfo& info) {
    return info.name == "JUSTSEQNO" ? KeyKind::Binary : KeyKind::Character;
}

std::vector<Pair> tagEntries(const ContactTag& t, int records, std::mt19937& rng) {
    std::vector<Pair> pairs;
    for (int r = 1; r <= records; ++r) {
        std::string key;
        if (t.kind == KeyKind::Binary) {
            key.resize(8);
            encodeNumericKey(double(int(rng() % 100000) - 999),
                             reinterpret_cast<uint8_t*>(key.data()));
        } else if (t.K == 1) {
            key = std::string(1, "TF "[rng() % 3]);
        } else {
            key = charKey(randomName(rng), t.K);
        }
        pairs.emplace_back(key, uint32_t(r));
    }
    std::sort(pairs.begin(), pairs.end());
    return pairs;
}

// The page cache holds far fewer pages than the file: every read must give the latest bytes
// written to that page, through evictions, write-backs and appends, and flush must leave the
// same bytes on disk.
TEST(IndexFile, SmallPageCacheAlwaysReturnsTheLatestPage) {
    TempDir dir;
    const std::string path = dir.file("cache.bin");
    { createFile(path); }
    std::vector<std::vector<uint8_t>> model;
    std::mt19937 rng(3);
    auto pageOf = [&](uint32_t tag) {
        std::vector<uint8_t> p(512);
        for (size_t i = 0; i < p.size(); i += 4)
            putLE32(p.data() + i, tag * 2654435761u + uint32_t(i));
        return p;
    };
    {
        PageFile pages(openFile(path), 16 * 512);
        for (int step = 0; step < 6000; ++step) {
            const uint32_t pick = uint32_t(rng());
            if (model.size() < 40 || pick % 9 == 0) {
                model.push_back(pageOf(pick));
                ASSERT_EQ(pages.append(model.back().data()), (model.size() - 1) * 512);
            } else if (pick % 3 == 0) {
                const size_t at = rng() % model.size();
                model[at] = pageOf(pick);
                pages.write(uint32_t(at * 512), model[at].data());
            } else {
                const size_t at = rng() % model.size();
                ASSERT_EQ(std::memcmp(pages.read(uint32_t(at * 512)), model[at].data(), 512), 0)
                    << "page " << at << " at step " << step;
            }
        }
        pages.flush();
    }
    std::vector<uint8_t> disk = readAll(path);
    ASSERT_EQ(disk.size(), model.size() * 512);
    for (size_t i = 0; i < model.size(); ++i)
        ASSERT_EQ(std::memcmp(disk.data() + i * 512, model[i].data(), 512), 0) << "page " << i;
}

TEST(IndexFile, EmptyIdxIsOneHeaderAndOneEmptyRootLeaf) {
    TempDir dir;
    TagParams tagParams{"", "UPPER(LNAME)+UPPER(FNAME)", "", 60, KeyKind::Character, false, false};
    IdxFile::create(createFile(dir.file("e.idx")), tagParams);
    std::vector<uint8_t> b = readAll(dir.file("e.idx"));
    ASSERT_EQ(b.size(), 1536u);
    EXPECT_EQ(getLE32(b.data()), 1024u);    // root
    EXPECT_EQ(getLE32(b.data() + 4), 0u);   // free list
    EXPECT_EQ(getLE16(b.data() + 12), 60);  // K
    EXPECT_EQ(b[14], 0x20);
    EXPECT_EQ(b[15], 1);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(b.data() + 512)), tagParams.keyExpr);
    const uint8_t* leaf = b.data() + 1024;
    EXPECT_EQ(getLE16(leaf), 3);
    EXPECT_EQ(getLE16(leaf + 2), 0);
    EXPECT_EQ(getLE32(leaf + 4), 0xFFFFFFFFu);
    EXPECT_EQ(getLE32(leaf + 8), 0xFFFFFFFFu);
    EXPECT_EQ(getLE16(leaf + 12), 488);
    EXPECT_EQ(leaf[21], 6);  // dup bits for K = 60
    EXPECT_EQ(leaf[22], 6);
    EXPECT_EQ(leaf[19], 0x3F);

    auto idx = IdxFile::open(openFile(dir.file("e.idx")), KeyKind::Character);
    EXPECT_EQ(idx->tag().info().keyExpr, tagParams.keyExpr);
    EXPECT_EQ(idx->tag().info().keyLength, 60);
    EXPECT_EQ(idx->tag().verify(), 0u);
    EXPECT_FALSE(idx->tag().cursor()->first());
    EXPECT_FALSE(idx->tag().cursor()->last());
}

TEST(IndexFile, IdxKeepsOptionsAndEntriesAcrossReopen) {
    TempDir dir;
    TagParams tagParams{"", "ZIP", "STATE = 'NY'", 10, KeyKind::Character, true, true};
    std::mt19937 rng(3);
    std::vector<Pair> pairs;
    for (uint32_t r = 1; r <= 3000; ++r)
        pairs.emplace_back(charKey(std::to_string(rng() % 100000), 10), r);
    std::sort(pairs.begin(), pairs.end());
    FlatEntries flat = flatten(pairs);
    IdxFile::build(createFile(dir.file("z.idx")), tagParams, flat.view());
    auto idx = IdxFile::open(openFile(dir.file("z.idx")), KeyKind::Character);
    const TagInfo& info = idx->tag().info();
    EXPECT_EQ(info.options, kCompact | kUnique | kHasFor);
    EXPECT_TRUE(info.descending);
    EXPECT_EQ(info.forExpr, "STATE = 'NY'");
    EXPECT_EQ(info.name, "");
    EXPECT_EQ(walk(idx->tag()), pairs);
}

TEST(IndexFile, WrittenCompoundIndexReopensWithEveryTagIntact) {
    TempDir dir;
    std::mt19937 rng(5);
    const int records = 1500;
    std::vector<std::vector<Pair>> expected;
    {
        auto w = CdxWriter::create(createFile(dir.file("qb.cdx")));
        for (const ContactTag& t : kContactTags) {
            expected.push_back(tagEntries(t, records, rng));
            FlatEntries flat = flatten(expected.back());
            w->addTag({t.name, t.expr, "", t.K, t.kind, false, false}, flat.view());
        }
        w->finish();
        EXPECT_THROW(w->finish(), Error);
    }
    std::vector<uint8_t> b = readAll(dir.file("qb.cdx"));
    EXPECT_EQ(b.size() % 512, 0u);
    EXPECT_EQ(b[14], 0xE0);
    EXPECT_EQ(getLE32(b.data()), 1024u);  // 21 names fit the directory's one leaf
    EXPECT_EQ(getLE16(b.data() + 1024), 3);

    auto cdx = CdxFile::open(openFile(dir.file("qb.cdx")), kindByName);
    ASSERT_EQ(cdx->tagCount(), 21);
    for (int i = 0; i < 21; ++i) {
        const ContactTag& t = kContactTags[i];
        Tag& tag = cdx->tag(i);
        SCOPED_TRACE(t.name);
        EXPECT_EQ(tag.info().name, t.name);
        EXPECT_EQ(tag.info().keyExpr, t.expr);
        EXPECT_EQ(tag.info().keyLength, t.K);
        EXPECT_EQ(tag.info().options, 0x60);
        EXPECT_EQ(tag.keyKind(), t.kind);
        EXPECT_EQ(tag.verify(), uint64_t(records));
        EXPECT_EQ(walk(tag), expected[size_t(i)]);
        EXPECT_EQ(cdx->find(std::string(t.name)), i);
    }
    EXPECT_EQ(cdx->tag(0).info().headerOffset, 1536u);
    EXPECT_EQ(cdx->find("lname"), 1);
    EXPECT_EQ(cdx->find("NOSUCH"), -1);
    EXPECT_THROW(cdx->tag(21), Error);

    // The file takes ordinary maintenance after reopening, and keeps it.
    Tag& lname = cdx->tag(1);
    for (uint32_t r = records + 1; r <= records + 500; ++r)
        lname.insert(bytesOf(charKey(randomName(rng), 60)), r);
    cdx->flush();
    auto again = CdxFile::open(openFile(dir.file("qb.cdx")), kindByName);
    EXPECT_EQ(again->tag(1).verify(), uint64_t(records + 500));
    EXPECT_EQ(again->tag(0).verify(), uint64_t(records));
}

TEST(IndexFile, TagsAddedOneByOneKeepCreationOrderAndReplaceByName) {
    TempDir dir;
    std::mt19937 rng(9);
    {
        auto cdx = CdxFile::create(createFile(dir.file("a.cdx")));
        EXPECT_EQ(cdx->tagCount(), 0);
        for (const char* name : {"ZIP", "CITY", "ALPHA"}) {
            std::vector<Pair> pairs = tagEntries({name, "X", 10, KeyKind::Character}, 400, rng);
            FlatEntries flat = flatten(pairs);
            cdx->addTag({name, std::string("UPPER(") + name + ")", "", 10, KeyKind::Character,
                         false, std::string(name) == "CITY"},
                        flat.view());
        }
        EXPECT_THROW(cdx->addTag({"TOOLONGNAME", "X", "", 10}, {}), Error);
        EXPECT_THROW(cdx->addTag({"OK", "X", "", 300}, {}), Error);
    }
    std::vector<uint8_t> b = readAll(dir.file("a.cdx"));
    EXPECT_EQ(getLE16(b.data() + 1024), 3);
    {
        auto cdx = CdxFile::open(openFile(dir.file("a.cdx")), nullptr);
        ASSERT_EQ(cdx->tagCount(), 3);
        EXPECT_EQ(cdx->tag(0).info().name, "ZIP");
        EXPECT_EQ(cdx->tag(1).info().name, "CITY");
        EXPECT_TRUE(cdx->tag(1).info().descending);
        EXPECT_EQ(cdx->tag(2).info().name, "ALPHA");
        // Replacing CITY: the new tree goes at the end, so CITY moves to last place.
        std::vector<Pair> pairs = {{charKey("ONLY", 12), 7}};
        FlatEntries flat = flatten(pairs);
        Tag& city = cdx->addTag(
            {"city", "UPPER(CITY)+'X'", "", 12, KeyKind::Character, false, false}, flat.view());
        EXPECT_EQ(city.info().keyLength, 12);
        EXPECT_EQ(cdx->tagCount(), 3);
    }
    auto cdx = CdxFile::open(openFile(dir.file("a.cdx")), nullptr);
    ASSERT_EQ(cdx->tagCount(), 3);
    EXPECT_EQ(cdx->tag(2).info().name, "CITY");
    EXPECT_EQ(cdx->tag(2).info().keyExpr, "UPPER(CITY)+'X'");
    EXPECT_EQ(cdx->tag(2).verify(), 1u);
    EXPECT_EQ(cdx->tag(0).verify(), 400u);
}

TEST(IndexFile, DirectoryGrowsIntoATreeWhenNamesOutgrowOneLeaf) {
    TempDir dir;
    std::mt19937 rng(12);
    std::vector<std::string> names;
    for (int i = 0; i < 90; ++i) {
        std::string n;
        for (int j = 0; j < 10; ++j)
            n += char('A' + rng() % 26);
        names.push_back(n);
    }
    std::vector<Pair> pairs = {{charKey("K", 4), 1}, {charKey("L", 4), 2}};
    FlatEntries flat = flatten(pairs);
    {
        auto cdx = CdxFile::create(createFile(dir.file("g.cdx")));
        for (const std::string& n : names)
            cdx->addTag({n, "F" + n, "", 4}, flat.view());
        auto w = CdxWriter::create(createFile(dir.file("w.cdx")));
        for (const std::string& n : names)
            w->addTag({n, "F" + n, "", 4}, flat.view());
        w->finish();
    }
    for (const char* file : {"g.cdx", "w.cdx"}) {
        SCOPED_TRACE(file);
        std::vector<uint8_t> b = readAll(dir.file(file));
        uint32_t root = getLE32(b.data());
        EXPECT_EQ(getLE16(b.data() + root) & 2, 0);  // the directory's root is interior now
        auto cdx = CdxFile::open(openFile(dir.file(file)), nullptr);
        ASSERT_EQ(cdx->tagCount(), 90);
        for (int i = 0; i < 90; ++i) {
            EXPECT_EQ(cdx->tag(i).info().name, names[size_t(i)]);
            EXPECT_EQ(cdx->tag(i).info().keyExpr, "F" + names[size_t(i)]);
            EXPECT_EQ(walk(cdx->tag(i)), pairs);
        }
    }
}

TEST(IndexFile, ForeignLayoutsAreRefusedWithTheirReason) {
    TempDir dir;
    // An old uncompressed index: 512-byte header, K at 12, no compact bit, root at 512.
    std::vector<uint8_t> old(1024, 0);
    putLE32(old.data(), 512);
    putLE32(old.data() + 8, 1024);
    putLE16(old.data() + 12, 10);
    old[14] = 0x00;
    old[15] = 0x00;
    std::memcpy(old.data() + 16, "LNAME", 5);
    writeAll(dir.file("old.idx"), old);
    try {
        IdxFile::open(openFile(dir.file("old.idx")), KeyKind::Character);
        FAIL() << "accepted an uncompressed index";
    } catch (const Error& e) {
        EXPECT_EQ(e.code(), ErrorCode::Unsupported);
        EXPECT_NE(std::string(e.what()).find("old index format"), std::string::npos);
        EXPECT_NE(std::string(e.what()).find("rebuild"), std::string::npos);
    }
    // A compound index is not a single-order index, and the other way round.
    CdxFile::create(createFile(dir.file("c.cdx")));
    IdxFile::create(createFile(dir.file("i.idx")), {"", "X", "", 10});
    EXPECT_THROW(IdxFile::open(openFile(dir.file("c.cdx")), KeyKind::Character), Error);
    EXPECT_THROW(CdxFile::open(openFile(dir.file("i.idx")), nullptr), Error);
    writeAll(dir.file("tiny.cdx"), std::vector<uint8_t>(100, 0));
    EXPECT_THROW(CdxFile::open(openFile(dir.file("tiny.cdx")), nullptr), Error);
}

}  // namespace
}  // namespace xb::index
