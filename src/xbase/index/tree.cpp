// B-tree maintenance: descent, insertion with page splits, deletion that unlinks emptied
// nodes, and keeping every separator equal to its child's last pair.
#include "xbase/index/tree.h"

#include <algorithm>
#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"

namespace xb::index {

bool Probe::reachedBy(const uint8_t* key, uint32_t r) const {
    switch (mode) {
        case First:
            return true;
        case Last:
            return false;
        case Prefix:
            return compareBytes(key, bytes, len) >= 0;
        case Pair:
            return comparePair(key, r, bytes, recno, len) >= 0;
    }
    return true;
}

TreeTag::TreeTag(PageFile& pages, TagInfo info, KeyKind kind, uint32_t root, std::string label)
    : pages_(pages),
      info_(std::move(info)),
      kind_(kind),
      K_(info_.keyLength),
      fill_(fillByte(kind)),
      root_(root),
      where_(label.empty() ? pages.path() : pages.path() + ": " + label) {}

void TreeTag::corrupt(const std::string& what) const {
    fail(ErrorCode::Corrupt, where_ + ": " + what);
}

void TreeTag::requireWritable() const {
    if (!pages_.writable()) fail(ErrorCode::State, pages_.path() + " is open read-only");
}

const uint8_t* TreeTag::nodePage(uint32_t off) {
    if (off < kHeaderSize || !pages_.holds(off))
        corrupt("node pointer " + std::to_string(off) + " lies outside the file");
    return pages_.read(off);
}

uint32_t TreeTag::descend(const Probe& probe, std::vector<Step>* path) {
    const int cap = interiorCapacity(K_);
    const int stride = K_ + 8;
    uint32_t off = root_;
    for (int depth = 0;; ++depth) {
        if (depth > kMaxDepth)
            corrupt("tree is deeper than " + std::to_string(kMaxDepth) + " levels");
        const uint8_t* p = nodePage(off);
        if (getLE16(p) & kAttrLeaf) return off;
        int n = getLE16(p + 2);
        if (n < 1 || n > cap)
            corruptPage(where_, off, "is an interior node with " + std::to_string(n) + " entries");
        const uint8_t* e = p + kInteriorHeaderSize;
        int idx;
        if (probe.mode == Probe::First) {
            idx = 0;
        } else if (probe.mode == Probe::Last) {
            idx = n - 1;
        } else {
            int lo = 0, hi = n;
            while (lo < hi) {
                int mid = (lo + hi) / 2;
                const uint8_t* k = e + mid * stride;
                if (probe.reachedBy(k, getBE32(k + K_)))
                    hi = mid;
                else
                    lo = mid + 1;
            }
            idx = lo < n ? lo : n - 1;
        }
        if (path) path->push_back({off, idx});
        off = getBE32(e + idx * stride + K_ + 4);
    }
}

void TreeTag::loadLeaf(uint32_t off, Node& out, bool cached) {
    if (cached) {
        const uint8_t* p = nodePage(off);
        if (!(getLE16(p) & kAttrLeaf)) corruptPage(where_, off, "is not a leaf");
        decodeLeaf(p, K_, fill_, out, where_, off);
        return;
    }
    if (off < kHeaderSize || !pages_.holds(off))
        corrupt("sibling pointer " + std::to_string(off) + " lies outside the file");
    uint8_t buf[kPageSize];
    pages_.peek(off, buf);
    if (!(getLE16(buf) & kAttrLeaf)) corruptPage(where_, off, "is not a leaf");
    decodeLeaf(buf, K_, fill_, out, where_, off);
}

const uint8_t* TreeTag::leafPage(uint32_t off) {
    const uint8_t* p = nodePage(off);
    if (!(getLE16(p) & kAttrLeaf)) corruptPage(where_, off, "is not a leaf");
    return p;
}

bool TreeTag::loadLeafUntil(uint32_t off, Node& out, const Probe& probe) {
    const uint8_t* p = leafPage(off);
    if (probe.mode == Probe::Prefix)
        return decodeLeafToPrefix(p, K_, fill_, out, where_, off, probe.bytes, probe.len);
    if (probe.mode == Probe::Pair)
        return decodeLeafToPair(p, K_, fill_, out, where_, off, probe.bytes, probe.recno, false);
    return decodeLeafUntil(
        p, K_, fill_, out, where_, off,
        [](const void* pr, const uint8_t* key, uint32_t recno) {
            return static_cast<const Probe*>(pr)->reachedBy(key, recno);
        },
        &probe);
}

void TreeTag::loadInterior(uint32_t off, Node& out) {
    const uint8_t* p = nodePage(off);
    if (getLE16(p) & kAttrLeaf)
        corruptPage(where_, off, "is a leaf where an interior node belongs");
    decodeInterior(p, K_, out, where_, off);
}

void TreeTag::setRoot(uint32_t off) {
    uint8_t buf[kPageSize];
    std::memcpy(buf, pages_.read(info_.headerOffset), kPageSize);
    putLE32(buf, off);
    pages_.write(info_.headerOffset, buf);
    root_ = off;
}

void TreeTag::patchSibling(uint32_t off, bool leftField, uint32_t value) {
    uint8_t buf[kPageSize];
    std::memcpy(buf, nodePage(off), kPageSize);
    putLE32(buf + (leftField ? 4 : 8), value);
    pages_.write(off, buf);
}

TreeTag::Separator TreeTag::lastOf(const Node& node, int from, int to, uint32_t off) const {
    (void)from;
    Separator s;
    std::memcpy(s.key.data(), node.key(to - 1, K_), size_t(K_));
    s.recno = node.recnos[size_t(to - 1)];
    s.off = off;
    return s;
}

std::vector<int> TreeTag::leafCuts(const Node& node, bool appendHint) const {
    const int n = node.n;
    if (leafBytes(node.keys.data(), node.recnos.data(), n, K_, fill_) <= kLeafSpace) return {};
    // Bytes each entry takes when it follows its neighbour, and when it opens a page.
    std::vector<int> stored(size_t(n), 0), opening(size_t(n), 0), sum(size_t(n) + 1, 0);
    std::vector<uint32_t> preMax(size_t(n) + 1, 0), sufMax(size_t(n) + 1, 0);
    int prevTrail = 0;
    for (int i = 0; i < n; ++i) {
        const uint8_t* k = node.key(i, K_);
        int trail = trailCount(k, K_, fill_);
        int dup = i == 0 ? 0 : dupCount(commonPrefix(k - K_, k, K_), K_, trail, prevTrail);
        opening[size_t(i)] = K_ - trail;
        stored[size_t(i)] = K_ - dup - trail;
        sum[size_t(i) + 1] = sum[size_t(i)] + stored[size_t(i)];
        preMax[size_t(i) + 1] = std::max(preMax[size_t(i)], node.recnos[size_t(i)]);
        prevTrail = trail;
    }
    for (int i = n - 1; i >= 0; --i)
        sufMax[size_t(i)] = std::max(sufMax[size_t(i) + 1], node.recnos[size_t(i)]);
    auto width = [&](uint32_t maxRec) { return leafWidths(K_, maxRec).B; };
    int best = -1, bestScore = 0;
    for (int s = 1; s < n; ++s) {
        int left = s * width(preMax[size_t(s)]) + sum[size_t(s)];
        int right = (n - s) * width(sufMax[size_t(s)]) + opening[size_t(s)] + sum[size_t(n)] -
                    sum[size_t(s) + 1];
        if (left > kLeafSpace || right > kLeafSpace) continue;
        // Appending at the far right keeps the left page full: ascending inserts then pack.
        int score = appendHint ? -s : std::abs(left - right);
        if (best < 0 || score < bestScore) {
            best = s;
            bestScore = score;
        }
    }
    if (best > 0) return {best};
    // Two pages are not enough (wide keys that lost their compression): fill greedily.
    std::vector<int> cuts;
    int start = 0, bytes = 0;
    uint32_t maxRec = 0;
    for (int i = 0; i < n; ++i) {
        uint32_t m = std::max(maxRec, node.recnos[size_t(i)]);
        int add = i == start ? opening[size_t(i)] : stored[size_t(i)];
        if (i > start && (i - start + 1) * width(m) + bytes + add > kLeafSpace) {
            cuts.push_back(i);
            start = i;
            m = node.recnos[size_t(i)];
            bytes = 0;
            add = opening[size_t(i)];
        }
        bytes += add;
        maxRec = m;
    }
    return cuts;
}

TreeTag::Pieces TreeTag::writeSplit(uint32_t off, const Node& node, const std::vector<int>& cuts) {
    std::vector<int> starts{0};
    starts.insert(starts.end(), cuts.begin(), cuts.end());
    starts.push_back(node.n);
    const size_t count = starts.size() - 1;
    std::vector<uint32_t> offs{off};
    for (size_t i = 1; i < count; ++i)
        offs.push_back(uint32_t(pages_.end() + (i - 1) * kPageSize));
    const uint16_t attr = uint16_t(node.attr & ~kAttrRoot);
    Pieces pieces;
    uint8_t page[kPageSize];
    for (size_t i = 0; i < count; ++i) {
        int from = starts[i], to = starts[i + 1];
        uint32_t left = i == 0 ? node.left : offs[i - 1];
        uint32_t right = i + 1 == count ? node.right : offs[i + 1];
        if (node.isLeaf()) {
            if (!encodeLeaf(node.key(from, K_), node.recnos.data() + from, to - from, K_, fill_,
                            attr, left, right, page))
                fail(ErrorCode::State, where_ + ": a split produced an overfull leaf");
        } else {
            encodeInterior(node.key(from, K_), node.recnos.data() + from,
                           node.children.data() + from, to - from, K_, attr, left, right, page);
        }
        if (i == 0)
            pages_.write(off, page);
        else if (pages_.append(page) != offs[i])
            fail(ErrorCode::State, where_ + ": page allocation went out of step");
        pieces.push_back(lastOf(node, from, to, offs[i]));
    }
    if (count > 1 && node.right != kNoPage) patchSibling(node.right, true, offs.back());
    return pieces;
}

TreeTag::Pieces TreeTag::storeLeaf(uint32_t off, const Node& node, bool appendHint) {
    std::vector<int> cuts = leafCuts(node, appendHint);
    if (cuts.empty()) {
        uint8_t page[kPageSize];
        encodeLeaf(node.keys.data(), node.recnos.data(), node.n, K_, fill_, node.attr, node.left,
                   node.right, page);
        pages_.write(off, page);
        if (node.n == 0) return {};
        return {lastOf(node, 0, node.n, off)};
    }
    return writeSplit(off, node, cuts);
}

TreeTag::Pieces TreeTag::storeInterior(uint32_t off, const Node& node, bool appendHint) {
    const int cap = interiorCapacity(K_);
    if (node.n <= cap) {
        uint8_t page[kPageSize];
        encodeInterior(node.keys.data(), node.recnos.data(), node.children.data(), node.n, K_,
                       node.attr, node.left, node.right, page);
        pages_.write(off, page);
        return {lastOf(node, 0, node.n, off)};
    }
    int parts = (node.n + cap - 1) / cap;
    std::vector<int> cuts;
    for (int i = 1; i < parts; ++i)
        cuts.push_back(appendHint ? i * cap : node.n * i / parts);
    return writeSplit(off, node, cuts);
}

void TreeTag::propagate(const std::vector<Step>& path, size_t levels, Pieces pieces,
                        bool lastChanged) {
    for (size_t l = levels; l-- > 0;) {
        if (pieces.size() == 1 && !lastChanged) return;
        Node parent;
        loadInterior(path[l].off, parent);
        int idx = path[l].idx;
        if (idx >= parent.n) corruptPage(where_, path[l].off, "changed under a descent");
        const Separator& first = pieces.front();
        if (pieces.size() == 1 && parent.children[size_t(idx)] == first.off &&
            parent.recnos[size_t(idx)] == first.recno &&
            std::memcmp(parent.key(idx, K_), first.key.data(), size_t(K_)) == 0)
            return;
        lastChanged = idx == parent.n - 1;
        std::memcpy(parent.keys.data() + size_t(idx) * size_t(K_), first.key.data(), size_t(K_));
        parent.recnos[size_t(idx)] = first.recno;
        parent.children[size_t(idx)] = first.off;
        for (size_t i = 1; i < pieces.size(); ++i)
            parent.insertEntry(idx + int(i), pieces[i].key.data(), pieces[i].recno, pieces[i].off,
                               K_);
        bool hint = lastChanged && parent.right == kNoPage;
        pieces = storeInterior(path[l].off, parent, hint);
        if (pieces.size() > 1) lastChanged = true;
    }
    // The root split: grow the tree by one level.
    const int cap = interiorCapacity(K_);
    while (pieces.size() > 1) {
        Node top;
        top.attr = 0;
        top.n = 0;
        for (const Separator& s : pieces)
            top.insertEntry(top.n, s.key.data(), s.recno, s.off, K_);
        uint8_t page[kPageSize] = {};
        uint32_t off = pages_.append(page);
        if (top.n <= cap) {
            top.attr = kAttrRoot;
            storeInterior(off, top, false);
            setRoot(off);
            return;
        }
        pieces = storeInterior(off, top, false);
    }
}

void TreeTag::insert(const uint8_t* key, uint32_t recno) {
    requireWritable();
    path_.clear();
    uint32_t leafOff = descend(Probe::pair(key, K_, recno), &path_);
    // A pair past the leaf's separator (its last pair) goes at the end, after that very key:
    // appends in key order need no decoding at all.
    uint8_t last[kMaxKeyLength];
    uint32_t lastRecno = 0;
    bool pastLast = false;
    if (!path_.empty()) {
        const uint8_t* sep =
            pages_.read(path_.back().off) + kInteriorHeaderSize + path_.back().idx * (K_ + 8);
        lastRecno = getBE32(sep + K_);
        if (comparePair(key, recno, sep, lastRecno, K_) > 0) {
            std::memcpy(last, sep, size_t(K_));
            pastLast = true;
        }
    }
    Node& leaf = scratch_;
    const uint8_t* page = leafPage(leafOff);
    const int n = getLE16(page + 2);
    int lo;
    const uint8_t* prev;
    const uint8_t* next;
    if (pastLast && leafEndsWith(page, K_, fill_, last, lastRecno)) {
        lo = n;
        prev = last;
        next = nullptr;
    } else {
        // Only the entries up to the insertion point are decoded: the new entry's neighbours
        // are all that an in-place change needs.
        decodeLeafToPair(page, K_, fill_, leaf, where_, leafOff, key, recno, false);
        lo = leaf.n;
        if (lo > 0 &&
            comparePair(leaf.key(lo - 1, K_), leaf.recnos[size_t(lo - 1)], key, recno, K_) >= 0) {
            --lo;
            if (comparePair(leaf.key(lo, K_), leaf.recnos[size_t(lo)], key, recno, K_) == 0) return;
        }
        prev = lo > 0 ? leaf.key(lo - 1, K_) : nullptr;
        next = lo < n ? leaf.key(lo, K_) : nullptr;
    }
    ++version_;
    const bool atEnd = lo == n;
    uint8_t changed[kPageSize];
    std::memcpy(changed, page, kPageSize);
    if (insertIntoLeaf(changed, K_, fill_, lo, key, recno, prev, next)) {
        pages_.write(leafOff, changed);
        if (atEnd && !path_.empty()) {
            Separator last;
            std::memcpy(last.key.data(), key, size_t(K_));
            last.recno = recno;
            last.off = leafOff;
            propagate(path_, path_.size(), {last}, true);
        }
        return;
    }
    // A split or new entry widths: the whole leaf is rebuilt.
    loadLeaf(leafOff, leaf, true);
    leaf.insertEntry(lo, key, recno, 0, K_);
    Pieces pieces = storeLeaf(leafOff, leaf, atEnd && leaf.right == kNoPage);
    propagate(path_, path_.size(), std::move(pieces), atEnd);
}

bool TreeTag::erase(const uint8_t* key, uint32_t recno) {
    requireWritable();
    path_.clear();
    uint32_t leafOff = descend(Probe::pair(key, K_, recno), &path_);
    Node& leaf = scratch_;
    const uint8_t* page = leafPage(leafOff);
    const int n = getLE16(page + 2);
    decodeLeafToPair(page, K_, fill_, leaf, where_, leafOff, key, recno, true);
    // The pair, when present, is the last decoded entry or the one before a greater one.
    int at = leaf.n - 1;
    if (at >= 0 && comparePair(leaf.key(at, K_), leaf.recnos[size_t(at)], key, recno, K_) > 0) --at;
    if (at < 0 || comparePair(leaf.key(at, K_), leaf.recnos[size_t(at)], key, recno, K_) != 0)
        return false;
    ++version_;
    const bool wasLast = at == n - 1;
    uint8_t changed[kPageSize];
    std::memcpy(changed, page, kPageSize);
    if ((n > 1 || path_.empty()) &&
        eraseFromLeaf(changed, K_, fill_, at, at > 0 ? leaf.key(at - 1, K_) : nullptr,
                      wasLast ? nullptr : leaf.key(at + 1, K_))) {
        pages_.write(leafOff, changed);
        if (wasLast && n > 1 && !path_.empty()) {
            Separator last;
            std::memcpy(last.key.data(), leaf.key(at - 1, K_), size_t(K_));
            last.recno = leaf.recnos[size_t(at - 1)];
            last.off = leafOff;
            propagate(path_, path_.size(), {last}, true);
        }
    } else {
        loadLeaf(leafOff, leaf, true);
        leaf.removeEntry(at, K_);
        if (leaf.n == 0 && !path_.empty()) {
            removeEmptyLeaf(path_, leaf);
        } else {
            Pieces pieces = storeLeaf(leafOff, leaf, false);
            propagate(path_, path_.size(), std::move(pieces), wasLast);
        }
    }
    collapseRoot();
    return true;
}

void TreeTag::removeEmptyLeaf(const std::vector<Step>& path, const Node& leaf) {
    if (leaf.left != kNoPage) patchSibling(leaf.left, false, leaf.right);
    if (leaf.right != kNoPage) patchSibling(leaf.right, true, leaf.left);
    for (size_t l = path.size(); l-- > 0;) {
        Node parent;
        loadInterior(path[l].off, parent);
        int idx = path[l].idx;
        if (idx >= parent.n) corruptPage(where_, path[l].off, "changed under a descent");
        bool wasLast = idx == parent.n - 1;
        parent.removeEntry(idx, K_);
        if (parent.n > 0) {
            Pieces pieces = storeInterior(path[l].off, parent, false);
            propagate(path, l, std::move(pieces), wasLast);
            return;
        }
        if (l == 0) {
            // The last key of the tree is gone: the root becomes an empty leaf again.
            uint8_t page[kPageSize];
            encodeLeaf(nullptr, nullptr, 0, K_, fill_, kAttrRoot | kAttrLeaf, kNoPage, kNoPage,
                       page);
            pages_.write(path[0].off, page);
            return;
        }
        if (parent.left != kNoPage) patchSibling(parent.left, false, parent.right);
        if (parent.right != kNoPage) patchSibling(parent.right, true, parent.left);
    }
}

void TreeTag::collapseRoot() {
    // A root with a single child only adds a level to every descent.
    for (int guard = 0; guard < kMaxDepth; ++guard) {
        const uint8_t* p = nodePage(root_);
        if ((getLE16(p) & kAttrLeaf) || getLE16(p + 2) != 1) return;
        uint8_t oldRoot[kPageSize];
        std::memcpy(oldRoot, p, kPageSize);
        uint32_t child = getBE32(oldRoot + kInteriorHeaderSize + K_ + 4);
        uint8_t buf[kPageSize];
        std::memcpy(buf, nodePage(child), kPageSize);
        putLE16(buf, uint16_t(getLE16(buf) | kAttrRoot));
        putLE32(buf + 4, kNoPage);
        putLE32(buf + 8, kNoPage);
        pages_.write(child, buf);
        putLE16(oldRoot, uint16_t(getLE16(oldRoot) & ~kAttrRoot));
        pages_.write(root_, oldRoot);
        setRoot(child);
    }
}

}  // namespace xb::index
