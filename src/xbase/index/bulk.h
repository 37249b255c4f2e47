// Building a whole tree from sorted entries in one pass: leaves filled left to right, then
// each interior level from the last pair of every node below, written as consecutive pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "xbase/file.h"
#include "xbase/index/index.h"

namespace xb::index {

class PageFile;

// Consecutive pages at increasing offsets.
class PageSink {
  public:
    virtual ~PageSink() = default;
    // Offset the next page will have.
    virtual uint32_t nextOffset() const = 0;
    // A zeroed 512-byte buffer for the page at nextOffset(); valid until the next call.
    virtual uint8_t* nextPage() = 0;
};

// Writes the tree of entries (sorted by key, then record number, no pair twice) into sink
// and returns the root's offset. Throws Error(Argument) when the entries are out of order.
// The pages are the same however the entries are split into batches.
uint32_t buildTree(int keyLength, KeyKind kind, EntryStream& entries, PageSink& sink);
uint32_t buildTree(int keyLength, KeyKind kind, const SortedEntries& entries, PageSink& sink);

// Sequential writer of large chunks straight to a file; already written bytes can still be
// patched (a tag's header is only complete once its root is known).
class ChunkWriter final : public PageSink {
  public:
    ChunkWriter(File& file, uint64_t start, size_t chunkBytes = size_t(4) << 20);
    uint32_t nextOffset() const override;
    uint8_t* nextPage() override;
    // Reserves zeroed bytes (a multiple of 512) and returns their offset.
    uint32_t reserve(size_t bytes);
    void patch(uint64_t off, const uint8_t* data, size_t n);
    void flush();
    uint64_t position() const { return base_ + used_; }

  private:
    File& file_;
    uint64_t base_;  // file offset of buffer_[0]
    size_t used_ = 0;
    std::vector<uint8_t> buffer_;
};

// Appends pages at the end of a cached index file in large direct writes.
class AppendSink final : public PageSink {
  public:
    explicit AppendSink(PageFile& pages, size_t chunkBytes = size_t(1) << 20);
    uint32_t nextOffset() const override;
    uint8_t* nextPage() override;
    void flush();

  private:
    PageFile& pages_;
    size_t used_ = 0;
    std::vector<uint8_t> buffer_;
};

}  // namespace xb::index
