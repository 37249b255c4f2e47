// Memo files beside a table: FPT (read and written), and the two DBT kinds (read only).
// Records hold a block number; the memo file holds the text at that block.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "xbase/dbf_header.h"
#include "xbase/file.h"

namespace xb {

class MemoFile {
  public:
    virtual ~MemoFile() = default;

    static std::unique_ptr<MemoFile> open(MemoKind kind, const std::string& path, OpenMode mode,
                                          LockMode lock);
    // A new, empty FPT with the given block size (bytes).
    static std::unique_ptr<MemoFile> createFpt(const std::string& path, uint32_t blockSize = 64);

    // The memo at block; block 0 means no memo. Throws Error(Corrupt) when the block or its
    // length lies outside the file.
    virtual std::string read(uint32_t block, uint32_t* type = nullptr) const = 0;
    // Stores data (a text memo) and returns its block: the old block when the data fits the
    // space the old memo held, else a new block at the end; 0 for empty data.
    virtual uint32_t write(uint32_t oldBlock, std::string_view data) = 0;
    virtual void sync() = 0;
    virtual const std::string& path() const = 0;
    virtual uint32_t blockSize() const = 0;
};

// Writes a new FPT front to back through a buffer (packing): far faster than one write a memo.
class FptAppender {
  public:
    FptAppender(const std::string& path, uint32_t blockSize);
    // Stores a memo of the given block type (1 text, 0 picture, 2 object); returns its block.
    uint32_t append(std::string_view data, uint32_t type);
    // Writes what is buffered and the header's next-free block, and flushes to the disk.
    void finish();

  private:
    void drain();
    File file_;
    uint32_t blockSize_;
    uint32_t next_;
    std::vector<uint8_t> buf_;
    uint64_t bufStart_;
};

// The block number held in a memo field's record bytes (10 ASCII digits, or 4 binary bytes
// in Visual FoxPro tables); 0 when blank or unreadable.
uint32_t memoBlockFromField(const uint8_t* bytes, int width);
void memoBlockToField(uint32_t block, uint8_t* bytes, int width);

// The memo file name for a table: .FPT or .DBT in the table's extension case.
std::string memoPathFor(const std::string& tablePath, MemoKind kind);

}  // namespace xb
