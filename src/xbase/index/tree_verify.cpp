// The structural check of a tree: order, sibling chains, separators, free-space counts and
// masks, with every page visited at most once so that a damaged tree cannot loop.
#include <unordered_set>

#include "xbase/bytes.h"
#include "xbase/index/tree.h"

namespace xb::index {

namespace {

class Checker {
  public:
    explicit Checker(TreeTag& tag) : tag_(tag), K_(tag.keyLength()), prevKey_(size_t(K_)) {}

    uint64_t run() {
        uint8_t lastKey[kMaxKeyLength];
        uint32_t lastRec = 0;
        visit(tag_.root(), 0, true, lastKey, lastRec);
        for (size_t d = 0; d < levels_.size(); ++d)
            if (levels_[d].lastRight != kNoPage)
                fail("rightmost node at depth " + std::to_string(d) + " (offset " +
                     std::to_string(levels_[d].lastOff) + ") has a right sibling");
        return count_;
    }

  private:
    struct Level {
        bool any = false;
        uint32_t lastOff = kNoPage;
        uint32_t lastRight = kNoPage;
    };

    [[noreturn]] void fail(const std::string& what) { tag_.corrupt(what); }

    // Returns false for an empty tree; otherwise lastKey/lastRec receive the subtree's last pair.
    bool visit(uint32_t off, int depth, bool isRoot, uint8_t* lastKey, uint32_t& lastRec) {
        if (depth > kMaxDepth) fail("tree is deeper than " + std::to_string(kMaxDepth) + " levels");
        if (off < kHeaderSize || !tag_.pages().holds(off))
            fail("node pointer " + std::to_string(off) + " lies outside the file");
        if (!seen_.insert(off).second)
            fail("node at offset " + std::to_string(off) + " is reached twice");
        // Peeked, not cached: a whole-tree check would otherwise push out every upper level.
        uint8_t page[kPageSize];
        tag_.pages().peek(off, page);
        Node node;
        LeafLayout layout;
        bool leaf = getLE16(page) & kAttrLeaf;
        if (leaf)
            decodeLeaf(page, K_, tag_.fill(), node, tag_.where(), off, &layout);
        else
            decodeInterior(page, K_, node, tag_.where(), off);
        const std::string at = "node at offset " + std::to_string(off);
        if (node.isRoot() != isRoot)
            fail(at + (isRoot ? " is the root but not marked as one" : " is marked as a root"));
        if (levels_.size() <= size_t(depth)) levels_.resize(size_t(depth) + 1);
        Level& level = levels_[size_t(depth)];
        if (!level.any && node.left != kNoPage) fail(at + " is leftmost but has a left sibling");
        if (level.any && level.lastRight != off)
            fail(at + " is not the right sibling of offset " + std::to_string(level.lastOff));
        if (level.any && node.left != level.lastOff)
            fail(at + " does not point back to its left sibling");
        level.any = true;
        level.lastOff = off;
        level.lastRight = node.right;
        return leaf ? checkLeaf(node, layout, off, depth, isRoot, lastKey, lastRec)
                    : checkInterior(node, off, depth, lastKey, lastRec);
    }

    bool checkLeaf(const Node& node, const LeafLayout& l, uint32_t off, int depth, bool isRoot,
                   uint8_t* lastKey, uint32_t& lastRec) {
        const std::string at = "leaf at offset " + std::to_string(off);
        if (leafDepth_ < 0) leafDepth_ = depth;
        if (depth != leafDepth_) fail(at + " is not at the depth of the other leaves");
        const LeafWidths& w = l.widths;
        if (w.R + w.D + w.T != 8 * w.B) fail(at + " has entry widths that do not fill its entries");
        uint32_t recMask = w.R >= 32 ? 0xFFFFFFFFu : (1u << w.R) - 1;
        if (l.recMask != recMask || l.dupMask != (1u << w.D) - 1 || l.trailMask != (1u << w.T) - 1)
            fail(at + " has masks that disagree with its bit counts");
        if (l.freeSpace != kLeafSpace - node.n * w.B - l.storedBytes)
            fail(at + " has a wrong free-space count");
        if (node.n == 0) {
            if (!isRoot) fail(at + " is empty but not the root");
            return false;
        }
        for (int i = 0; i < node.n; ++i) {
            const uint8_t* k = node.key(i, K_);
            uint32_t r = node.recnos[size_t(i)];
            if (count_ > 0 && comparePair(prevKey_.data(), prevRec_, k, r, K_) >= 0)
                fail(at + " has key " + std::to_string(i) + " out of order");
            std::memcpy(prevKey_.data(), k, size_t(K_));
            prevRec_ = r;
            ++count_;
        }
        std::memcpy(lastKey, node.key(node.n - 1, K_), size_t(K_));
        lastRec = node.recnos[size_t(node.n - 1)];
        return true;
    }

    bool checkInterior(const Node& node, uint32_t off, int depth, uint8_t* lastKey,
                       uint32_t& lastRec) {
        for (int j = 0; j < node.n; ++j) {
            uint8_t childKey[kMaxKeyLength];
            uint32_t childRec = 0;
            if (!visit(node.children[size_t(j)], depth + 1, false, childKey, childRec))
                fail("interior node at offset " + std::to_string(off) + " has an empty child");
            if (comparePair(childKey, childRec, node.key(j, K_), node.recnos[size_t(j)], K_) != 0)
                fail("entry " + std::to_string(j) + " of interior node at offset " +
                     std::to_string(off) + " differs from the last key of its child");
        }
        std::memcpy(lastKey, node.key(node.n - 1, K_), size_t(K_));
        lastRec = node.recnos[size_t(node.n - 1)];
        return true;
    }

    TreeTag& tag_;
    const int K_;
    std::vector<Level> levels_;
    std::unordered_set<uint32_t> seen_;
    std::vector<uint8_t> prevKey_;
    uint32_t prevRec_ = 0;
    uint64_t count_ = 0;
    int leafDepth_ = -1;
};

}  // namespace

uint64_t TreeTag::verify() {
    const uint32_t h = info_.headerOffset;
    if (!pages_.holds(h)) corrupt("header lies outside the file");
    if (getLE32(pages_.read(h)) != root_) corrupt("header does not point at the root");
    return Checker(*this).run();
}

}  // namespace xb::index
