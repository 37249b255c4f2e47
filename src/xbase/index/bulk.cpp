// One-pass tree building and the sequential page writers it feeds.
#include "xbase/index/bulk.h"

#include <algorithm>
#include <cstring>

#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index/node.h"
#include "xbase/index/page_file.h"

namespace xb::index {

namespace {

struct Pending {
    const uint8_t* key;
    uint32_t recno;
    uint16_t dup;
    uint16_t trail;
};

struct Upper {
    const uint8_t* key;
    uint32_t recno;
    uint32_t child;
};

class Builder {
  public:
    Builder(int K, KeyKind kind, PageSink& sink)
        : K_(K), fill_(fillByte(kind)), sink_(sink), B_(leafWidths(K, 0).B) {
        pending_.reserve(kLeafSpace);
    }

    uint32_t run(const SortedEntries& e) {
        const uint8_t* prev = nullptr;
        uint32_t prevRec = 0;
        int prevTrail = 0;
        for (size_t i = 0; i < e.count; ++i) {
            const uint8_t* key = e.keys + i * size_t(K_);
            uint32_t rec = e.recnos[i];
            int trail = trailCount(key, K_, fill_);
            int prefix = 0;
            if (prev) {
                prefix = commonPrefix(prev, key, K_);
                bool ascending = prefix < K_ ? key[prefix] > prev[prefix] : rec > prevRec;
                if (!ascending)
                    fail(ErrorCode::Argument,
                         "Index entries for a build are not in ascending order "
                         "(entry " +
                             std::to_string(i) + ")");
            }
            int dup = pending_.empty() ? 0 : dupCount(prefix, K_, trail, prevTrail);
            int stored = K_ - dup - trail;
            uint32_t newMax = std::max(maxRec_, rec);
            int B = newMax == maxRec_ ? B_ : leafWidths(K_, newMax).B;
            if (!pending_.empty() && int(pending_.size() + 1) * B + stored_ + stored > kLeafSpace) {
                emitLeaf(false);
                dup = 0;
                stored = K_ - trail;
                newMax = rec;
                B = leafWidths(K_, newMax).B;
            }
            pending_.push_back({key, rec, uint16_t(dup), uint16_t(trail)});
            stored_ += stored;
            maxRec_ = newMax;
            B_ = B;
            prev = key;
            prevRec = rec;
            prevTrail = trail;
        }
        emitLeaf(true);
        while (level_.size() > 1)
            buildLevel();
        return level_.empty() ? firstLeaf_ : level_[0].child;
    }

  private:
    void emitLeaf(bool last) {
        const uint32_t off = sink_.nextOffset();
        uint8_t* page = sink_.nextPage();
        if (leaves_++ == 0) firstLeaf_ = off;
        const int n = int(pending_.size());
        const LeafWidths w = leafWidths(K_, maxRec_);
        uint16_t attr = kAttrLeaf | (last && level_.empty() ? kAttrRoot : 0);
        putNodeHeader(page, attr, n, leaves_ == 1 ? kNoPage : off - kPageSize,
                      last ? kNoPage : off + kPageSize);
        putLE32(page + 14, w.R >= 32 ? 0xFFFFFFFFu : (1u << w.R) - 1);
        page[18] = uint8_t((1u << w.D) - 1);
        page[19] = uint8_t((1u << w.T) - 1);
        page[20] = uint8_t(w.R);
        page[21] = uint8_t(w.D);
        page[22] = uint8_t(w.T);
        page[23] = uint8_t(w.B);
        uint8_t* e = page + kLeafHeaderSize;
        int p = kPageSize;
        const int shiftDup = w.R, shiftTrail = w.R + w.D;
        for (const Pending& x : pending_) {
            int stored = K_ - x.dup - x.trail;
            p -= stored;
            std::memcpy(page + p, x.key + x.dup, size_t(stored));
            uint64_t v =
                (uint64_t(x.trail) << shiftTrail) | (uint64_t(x.dup) << shiftDup) | x.recno;
            putLEn(e, w.B, v);
            e += w.B;
        }
        putLE16(page + 12, uint16_t(p - kLeafHeaderSize - n * w.B));
        if (n > 0) level_.push_back({pending_.back().key, pending_.back().recno, off});
        pending_.clear();
        stored_ = 0;
        maxRec_ = 0;
        B_ = leafWidths(K_, 0).B;
    }

    void buildLevel() {
        const size_t cap = size_t(interiorCapacity(K_));
        const size_t nodes = (level_.size() + cap - 1) / cap;
        std::vector<Upper> up;
        up.reserve(nodes);
        for (size_t j = 0; j < nodes; ++j) {
            const size_t from = j * cap, to = std::min(level_.size(), from + cap);
            const uint32_t off = sink_.nextOffset();
            uint8_t* page = sink_.nextPage();
            putNodeHeader(page, nodes == 1 ? kAttrRoot : 0, int(to - from),
                          j == 0 ? kNoPage : off - kPageSize,
                          j + 1 == nodes ? kNoPage : off + kPageSize);
            uint8_t* e = page + kInteriorHeaderSize;
            for (size_t i = from; i < to; ++i, e += K_ + 8) {
                std::memcpy(e, level_[i].key, size_t(K_));
                putBE32(e + K_, level_[i].recno);
                putBE32(e + K_ + 4, level_[i].child);
            }
            up.push_back({level_[to - 1].key, level_[to - 1].recno, off});
        }
        level_ = std::move(up);
    }

    const int K_;
    const uint8_t fill_;
    PageSink& sink_;
    int B_;
    std::vector<Pending> pending_;
    std::vector<Upper> level_;
    int stored_ = 0;
    uint32_t maxRec_ = 0;
    uint64_t leaves_ = 0;
    uint32_t firstLeaf_ = 0;
};

}  // namespace

uint32_t buildTree(int keyLength, KeyKind kind, const SortedEntries& entries, PageSink& sink) {
    if (keyLength < 1 || keyLength > kMaxKeyLength)
        fail(ErrorCode::Argument, "Key length " + std::to_string(keyLength) + " is outside 1..240");
    if (entries.count > 0 && (!entries.keys || !entries.recnos))
        fail(ErrorCode::Argument, "Index entries for a build are missing");
    return Builder(keyLength, kind, sink).run(entries);
}

ChunkWriter::ChunkWriter(File& file, uint64_t start, size_t chunkBytes)
    : file_(file), base_(start), buffer_(std::max<size_t>(chunkBytes / kPageSize, 1) * kPageSize) {}

uint32_t ChunkWriter::nextOffset() const {
    uint64_t off = base_ + used_;
    if (off > 0xFFFFFE00ULL)
        fail(ErrorCode::Io, file_.path() + ": the index would grow past 4 GiB");
    return uint32_t(off);
}

uint8_t* ChunkWriter::nextPage() {
    nextOffset();
    if (used_ + kPageSize > buffer_.size()) flush();
    uint8_t* p = buffer_.data() + used_;
    std::memset(p, 0, kPageSize);
    used_ += kPageSize;
    return p;
}

uint32_t ChunkWriter::reserve(size_t bytes) {
    uint32_t off = nextOffset();
    for (size_t done = 0; done < bytes; done += kPageSize)
        nextPage();
    return off;
}

void ChunkWriter::patch(uint64_t off, const uint8_t* data, size_t n) {
    if (off < base_) {
        size_t direct = size_t(std::min<uint64_t>(n, base_ - off));
        file_.writeAt(off, data, direct);
        off += direct;
        data += direct;
        n -= direct;
    }
    if (n > 0) std::memcpy(buffer_.data() + (off - base_), data, n);
}

void ChunkWriter::flush() {
    if (used_ == 0) return;
    file_.writeAt(base_, buffer_.data(), used_);
    base_ += used_;
    used_ = 0;
}

AppendSink::AppendSink(PageFile& pages, size_t chunkBytes)
    : pages_(pages), buffer_(std::max<size_t>(chunkBytes / kPageSize, 1) * kPageSize) {}

uint32_t AppendSink::nextOffset() const {
    uint64_t off = pages_.end() + used_;
    if (off > 0xFFFFFE00ULL)
        fail(ErrorCode::Io, pages_.path() + ": the index would grow past 4 GiB");
    return uint32_t(off);
}

uint8_t* AppendSink::nextPage() {
    nextOffset();
    if (used_ + kPageSize > buffer_.size()) flush();
    uint8_t* p = buffer_.data() + used_;
    std::memset(p, 0, kPageSize);
    used_ += kPageSize;
    return p;
}

void AppendSink::flush() {
    if (used_ == 0) return;
    pages_.appendDirect(buffer_.data(), used_);
    used_ = 0;
}

}  // namespace xb::index
