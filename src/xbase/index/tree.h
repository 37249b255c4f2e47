// One B-tree inside an index file: descent, insertion with splits, deletion that unlinks
// emptied nodes, and the structural check. Cursors live in cursor.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "xbase/index/index.h"
#include "xbase/index/node.h"
#include "xbase/index/page_file.h"

namespace xb::index {

// Deepest tree accepted: a 240-byte key still fans out two ways per level, so any real
// tree of 32-bit record numbers is far shallower. Deeper means a loop of child pointers.
constexpr int kMaxDepth = 40;

// What a descent looks for.
struct Probe {
    enum Mode { First, Last, Prefix, Pair } mode = First;
    const uint8_t* bytes = nullptr;
    int len = 0;
    uint32_t recno = 0;

    static Probe first() { return {First, nullptr, 0, 0}; }
    static Probe last() { return {Last, nullptr, 0, 0}; }
    static Probe prefix(const uint8_t* b, int n) { return {Prefix, b, n, 0}; }
    static Probe pair(const uint8_t* k, int K, uint32_t r) { return {Pair, k, K, r}; }
    // True when (key, recno) is at or after what the probe looks for.
    bool reachedBy(const uint8_t* key, uint32_t recno) const;
};

class TreeTag final : public Tag {
  public:
    // label names the tree in messages ("tag NAME", "tag directory"); empty for an IDX.
    TreeTag(PageFile& pages, TagInfo info, KeyKind kind, uint32_t root, std::string label);

    const TagInfo& info() const override { return info_; }
    KeyKind keyKind() const override { return kind_; }
    void insert(const uint8_t* key, uint32_t recno) override;
    bool erase(const uint8_t* key, uint32_t recno) override;
    uint64_t version() const override { return version_; }
    std::unique_ptr<TagCursor> cursor() override;
    uint64_t verify() override;

    int keyLength() const { return K_; }
    uint8_t fill() const { return fill_; }
    uint32_t root() const { return root_; }
    PageFile& pages() { return pages_; }
    const std::string& where() const { return where_; }
    [[noreturn]] void corrupt(const std::string& what) const;

    struct Step {
        uint32_t off;
        int idx;
    };
    // Walks from the root to the leaf that holds what the probe looks for; path receives the
    // interior nodes passed and the entry taken in each.
    uint32_t descend(const Probe& probe, std::vector<Step>* path);
    // Decodes the leaf at off; through the cache, or by peeking for sequential walks.
    void loadLeaf(uint32_t off, Node& out, bool cached);
    // The leaf's entries up to the first the probe reaches; false when some were left.
    bool loadLeafUntil(uint32_t off, Node& out, const Probe& probe);

  private:
    struct Separator {
        std::array<uint8_t, kMaxKeyLength> key;
        uint32_t recno;
        uint32_t off;
    };
    using Pieces = std::vector<Separator>;

    const uint8_t* nodePage(uint32_t off);
    const uint8_t* leafPage(uint32_t off);
    void loadInterior(uint32_t off, Node& out);
    void requireWritable() const;
    void setRoot(uint32_t off);
    void patchSibling(uint32_t off, bool leftField, uint32_t value);
    Separator lastOf(const Node& node, int from, int to, uint32_t off) const;

    // Writes node at off, splitting it over new pages when it does not fit; returns the last
    // pair of each resulting page, left to right.
    Pieces storeLeaf(uint32_t off, const Node& node, bool appendHint);
    Pieces storeInterior(uint32_t off, const Node& node, bool appendHint);
    Pieces writeSplit(uint32_t off, const Node& node, const std::vector<int>& cuts);
    std::vector<int> leafCuts(const Node& node, bool appendHint) const;
    // Carries changed separators (and splits) from level path.size() upwards.
    void propagate(const std::vector<Step>& path, size_t levels, Pieces pieces, bool lastChanged);
    void removeEmptyLeaf(const std::vector<Step>& path, const Node& leaf);
    void collapseRoot();

    PageFile& pages_;
    TagInfo info_;
    KeyKind kind_;
    int K_;
    uint8_t fill_;
    uint32_t root_;
    uint64_t version_ = 1;
    std::string where_;
    // Reused by every insert and erase, so that a run of them allocates nothing.
    std::vector<Step> path_;
    Node scratch_;
};

// Compares (a, ra) with (b, rb): key bytes as unsigned, then record number.
inline int comparePair(const uint8_t* a, uint32_t ra, const uint8_t* b, uint32_t rb, int K) {
    int c = compareBytes(a, b, K);
    if (c != 0) return c;
    return ra < rb ? -1 : (ra > rb ? 1 : 0);
}

}  // namespace xb::index
