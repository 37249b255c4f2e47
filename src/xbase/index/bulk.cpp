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
    uint32_t recno;
    uint16_t dup;
    uint16_t trail;
};

// The last entry of every node of one level, in order (key, record number, child page), read
// back once from the start. Past a memory limit the records go to a nameless working file, so
// the leaf level of a very large tag does not have to be held.
class UpperList {
  public:
    UpperList(int K, const EntryStream& opts)
        : K_(K), rec_(size_t(K) + 8), meter_(opts.meter), folder_(opts.scratchFolder) {
        limit_ = std::max<size_t>(opts.upperMemory, size_t(4) << 10);
    }
    ~UpperList() {
        if (meter_) meter_->sub(held_);
    }
    UpperList(const UpperList&) = delete;
    UpperList& operator=(const UpperList&) = delete;

    size_t size() const { return count_; }

    void push(const uint8_t* key, uint32_t recno, uint32_t child) {
        if (mem_.size() + rec_ > limit_) spill();
        size_t at = mem_.size();
        grow(at + rec_);
        std::memcpy(mem_.data() + at, key, size_t(K_));
        putLE32(mem_.data() + at + size_t(K_), recno);
        putLE32(mem_.data() + at + size_t(K_) + 4, child);
        ++count_;
    }

    // The next record from the start; valid until the next call.
    const uint8_t* read() {
        if (readOff_ < spilled_) {
            if (bufPos_ == buf_.size()) {
                if (buf_.empty()) {
                    buf_.resize(std::min<uint64_t>(spilled_,
                                                   std::max(limit_ / 4 / rec_, size_t(1)) * rec_));
                    account(buf_.size());
                }
                size_t n = size_t(std::min<uint64_t>(buf_.size(), spilled_ - fileOff_));
                spill_.readExact(fileOff_, buf_.data(), n, "working data");
                fileOff_ += n;
                buf_.resize(n);
                bufPos_ = 0;
            }
            const uint8_t* r = buf_.data() + bufPos_;
            bufPos_ += rec_;
            readOff_ += rec_;
            return r;
        }
        const uint8_t* r = mem_.data() + memPos_;
        memPos_ += rec_;
        return r;
    }

    static uint32_t recnoOf(const uint8_t* r, int K) { return getLE32(r + K); }
    static uint32_t childOf(const uint8_t* r, int K) { return getLE32(r + K + 4); }

  private:
    void account(size_t bytes) {
        held_ += bytes;
        if (meter_) meter_->add(bytes);
    }

    void grow(size_t n) {
        if (n > mem_.capacity()) {
            size_t cap = std::min(std::max(n, mem_.capacity() * 2), limit_ + rec_);
            size_t before = mem_.capacity();
            mem_.reserve(cap);
            account(mem_.capacity() - before);
        }
        mem_.resize(n);
    }

    void spill() {
        if (!spill_.isOpen()) spill_ = File::scratch(folder_);
        spill_.writeAt(spilled_, mem_.data(), mem_.size());
        spilled_ += mem_.size();
        mem_.clear();
    }

    const int K_;
    const size_t rec_;
    MemoryMeter* meter_;
    std::string folder_;
    size_t limit_;
    size_t held_ = 0;
    size_t count_ = 0;
    std::vector<uint8_t> mem_;
    File spill_;
    uint64_t spilled_ = 0;
    // reading
    std::vector<uint8_t> buf_;
    size_t bufPos_ = 0;
    uint64_t fileOff_ = 0;
    uint64_t readOff_ = 0;
    size_t memPos_ = 0;
};

class Builder {
  public:
    Builder(int K, KeyKind kind, PageSink& sink, const EntryStream& opts)
        : K_(K),
          fill_(fillByte(kind)),
          sink_(sink),
          opts_(opts),
          B_(leafWidths(K, 0).B),
          level_(std::make_unique<UpperList>(K, opts)) {
        // A leaf holds at most this many entries (each takes at least one byte of entry
        // array); the keys waiting for the current leaf are kept here.
        pending_.reserve(kLeafSpace);
        growKeys(32);
    }
    ~Builder() {
        if (opts_.meter) opts_.meter->sub(keys_.size());
    }

    uint32_t run(EntryStream& stream) {
        SortedEntries e;
        size_t seen = 0;
        while (stream.next(e)) {
            for (size_t i = 0; i < e.count; ++i, ++seen)
                add(e.keys + i * size_t(K_), e.recnos[i], seen);
        }
        emitLeaf(true);
        while (level_->size() > 1)
            buildLevel();
        if (level_->size() == 0) return firstLeaf_;
        return UpperList::childOf(level_->read(), K_);
    }

  private:
    const uint8_t* pendingKey(size_t i) const { return keys_.data() + i * size_t(K_); }

    void growKeys(size_t entries) {
        const size_t before = keys_.size();
        keys_.resize(entries * size_t(K_));
        if (opts_.meter) opts_.meter->add(keys_.size() - before);
    }

    void add(const uint8_t* key, uint32_t rec, size_t seen) {
        const int trail = trailCount(key, K_, fill_);
        int prefix = 0;
        if (started_) {
            const uint8_t* prev = pendingKey(pending_.empty() ? 0 : pending_.size() - 1);
            prefix = commonPrefix(prev, key, K_);
            bool ascending = prefix < K_ ? key[prefix] > prev[prefix] : rec > prevRec_;
            if (!ascending)
                fail(ErrorCode::Argument,
                     "Index entries for a build are not in ascending order "
                     "(entry " +
                         std::to_string(seen) + ")");
        }
        started_ = true;
        int dup = pending_.empty() ? 0 : dupCount(prefix, K_, trail, prevTrail_);
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
        if ((pending_.size() + 1) * size_t(K_) > keys_.size()) growKeys(2 * (pending_.size() + 1));
        std::memcpy(keys_.data() + pending_.size() * size_t(K_), key, size_t(K_));
        pending_.push_back({rec, uint16_t(dup), uint16_t(trail)});
        stored_ += stored;
        maxRec_ = newMax;
        B_ = B;
        prevRec_ = rec;
        prevTrail_ = trail;
    }

    void emitLeaf(bool last) {
        const uint32_t off = sink_.nextOffset();
        uint8_t* page = sink_.nextPage();
        if (leaves_++ == 0) firstLeaf_ = off;
        const int n = int(pending_.size());
        const LeafWidths w = leafWidths(K_, maxRec_);
        uint16_t attr = kAttrLeaf | (last && level_->size() == 0 ? kAttrRoot : 0);
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
        for (size_t i = 0; i < pending_.size(); ++i) {
            const Pending& x = pending_[i];
            int stored = K_ - x.dup - x.trail;
            p -= stored;
            std::memcpy(page + p, pendingKey(i) + x.dup, size_t(stored));
            uint64_t v =
                (uint64_t(x.trail) << shiftTrail) | (uint64_t(x.dup) << shiftDup) | x.recno;
            putLEn(e, w.B, v);
            e += w.B;
        }
        putLE16(page + 12, uint16_t(p - kLeafHeaderSize - n * w.B));
        if (n > 0) {
            // The last key moves to the front of the buffer: the next entry compares with it.
            const size_t lastAt = size_t(n - 1) * size_t(K_);
            level_->push(keys_.data() + lastAt, pending_.back().recno, off);
            if (lastAt) std::memmove(keys_.data(), keys_.data() + lastAt, size_t(K_));
        }
        pending_.clear();
        stored_ = 0;
        maxRec_ = 0;
        B_ = leafWidths(K_, 0).B;
    }

    void buildLevel() {
        const size_t cap = size_t(interiorCapacity(K_));
        const size_t count = level_->size();
        const size_t nodes = (count + cap - 1) / cap;
        auto up = std::make_unique<UpperList>(K_, opts_);
        for (size_t j = 0; j < nodes; ++j) {
            const size_t from = j * cap, to = std::min(count, from + cap);
            const uint32_t off = sink_.nextOffset();
            uint8_t* page = sink_.nextPage();
            putNodeHeader(page, nodes == 1 ? kAttrRoot : 0, int(to - from),
                          j == 0 ? kNoPage : off - kPageSize,
                          j + 1 == nodes ? kNoPage : off + kPageSize);
            uint8_t* e = page + kInteriorHeaderSize;
            const uint8_t* r = nullptr;
            for (size_t i = from; i < to; ++i, e += K_ + 8) {
                r = level_->read();
                std::memcpy(e, r, size_t(K_));
                putBE32(e + K_, UpperList::recnoOf(r, K_));
                putBE32(e + K_ + 4, UpperList::childOf(r, K_));
            }
            up->push(r, UpperList::recnoOf(r, K_), off);
        }
        level_ = std::move(up);
    }

    const int K_;
    const uint8_t fill_;
    PageSink& sink_;
    const EntryStream& opts_;
    int B_;
    std::vector<Pending> pending_;
    std::vector<uint8_t> keys_;  // the pending entries' keys
    std::unique_ptr<UpperList> level_;
    bool started_ = false;
    uint32_t prevRec_ = 0;
    int prevTrail_ = 0;
    int stored_ = 0;
    uint32_t maxRec_ = 0;
    uint64_t leaves_ = 0;
    uint32_t firstLeaf_ = 0;
};

}  // namespace

uint32_t buildTree(int keyLength, KeyKind kind, EntryStream& entries, PageSink& sink) {
    if (keyLength < 1 || keyLength > kMaxKeyLength)
        fail(ErrorCode::Argument, "Key length " + std::to_string(keyLength) + " is outside 1..240");
    return Builder(keyLength, kind, sink, entries).run(entries);
}

uint32_t buildTree(int keyLength, KeyKind kind, const SortedEntries& entries, PageSink& sink) {
    if (entries.count > 0 && (!entries.keys || !entries.recnos))
        fail(ErrorCode::Argument, "Index entries for a build are missing");
    ArrayStream stream(entries);
    return buildTree(keyLength, kind, stream, sink);
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
