// A bounded write-back cache of 512-byte pages over one index file. Interior pages are kept
// longer than leaves so that a large tree's upper levels stay in memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "xbase/file.h"

namespace xb::index {

class PageFile {
  public:
    static constexpr size_t kDefaultCacheBytes = size_t(8) << 20;

    explicit PageFile(File file, size_t cacheBytes = kDefaultCacheBytes);
    // Writes what is still dirty; errors are swallowed here, so owners flush explicitly.
    ~PageFile();
    PageFile(const PageFile&) = delete;
    PageFile& operator=(const PageFile&) = delete;

    const std::string& path() const { return file_.path(); }
    bool writable() const { return file_.writable(); }
    // Where the next appended page goes; every page below it exists (on disk or in memory).
    uint64_t end() const { return end_; }
    uint64_t pageCount() const { return end_ / kPage; }
    // True when off names a whole page below end().
    bool holds(uint64_t off) const { return off % kPage == 0 && off + kPage <= end_; }

    // The page at off, cached. The pointer stays valid until the next call on this object.
    const uint8_t* read(uint32_t off);
    // Copies the page at off into out without making room for it in the cache, for long
    // sequential walks that would otherwise push out the upper levels of every tree.
    void peek(uint32_t off, uint8_t* out);
    // Replaces the page at off (below end()); it is written out by flush().
    void write(uint32_t off, const uint8_t* page);
    // Adds a page at the end of the file and returns its offset.
    uint32_t append(const uint8_t* page);
    // Writes whole pages at the end of the file directly, bypassing the cache.
    uint32_t appendDirect(const uint8_t* data, size_t bytes);

    void flush();
    void sync();

  private:
    static constexpr size_t kPage = 512;
    struct Slot {
        uint32_t off = 0;
        uint8_t weight = 0;
        bool dirty = false;
        bool used = false;
    };

    // Page offset to slot: open addressing over the page number, looked up several times per
    // descent, where a node-based map's hashing and pointer chasing showed in every seek.
    class SlotMap {
      public:
        static constexpr uint32_t kNone = 0xFFFFFFFF;
        uint32_t find(uint32_t off) const;
        void put(uint32_t off, uint32_t slot);
        void erase(uint32_t off);

      private:
        struct Cell {
            uint32_t page = kNone;
            uint32_t slot = 0;
        };
        size_t home(uint32_t page) const {
            return size_t((page * 0x9E3779B1u) >> shift_) & (cells_.size() - 1);
        }
        void grow();
        std::vector<Cell> cells_;
        int shift_ = 0;
        size_t used_ = 0;
    };

    uint32_t slotFor(uint32_t off);  // evicts when full
    uint8_t* data(uint32_t slot) { return buffer_.get() + size_t(slot) * kPage; }
    void markDirty(uint32_t slot);
    void checkGrowth(uint64_t bytes) const;

    File file_;
    uint64_t end_ = 0;
    size_t capacity_ = 0;  // slots
    std::vector<Slot> slots_;
    // Room for every slot, left uninitialised: the system hands out memory as it is touched.
    std::unique_ptr<uint8_t[]> buffer_;
    SlotMap map_;
    std::vector<uint32_t> dirty_;
    size_t hand_ = 0;
};

}  // namespace xb::index
