// FPT and DBT memo files.
#include "xbase/memo_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "xbase/bytes.h"
#include "xbase/error.h"

namespace xb {

namespace {

constexpr uint32_t kFptHeader = 512;
constexpr uint32_t kMemoTypeText = 1;

class FptFile final : public MemoFile {
  public:
    explicit FptFile(File f) : file_(std::move(f)) {
        uint8_t h[8];
        file_.readExact(0, h, sizeof h, "the memo file header");
        // Bytes 0-3 hold the next free block; see endOfFile() for why it is not trusted.
        blockSize_ = getBE16(h + 6);
        if (blockSize_ == 0) blockSize_ = getBE32(h + 4);  // some writers store it in 4 bytes
        if (blockSize_ < 1 || blockSize_ > 65536 * 16)
            fail(ErrorCode::Corrupt, file_.path() + ": the memo block size " +
                                         std::to_string(blockSize_) + " is not valid");
        nextFree_ = endOfFile();
    }

    // Where new memos go: the end of the file as it stands on disk. The header's next-free
    // pointer is only a hint: one inside used blocks (a damaged file, or one another writer
    // has grown since) would make new memos overwrite other records' memos, and one past the
    // end would leave a hole.
    uint32_t endOfFile() const {
        uint64_t minFree = (kFptHeader + blockSize_ - 1) / blockSize_;
        uint64_t fileBlocks = (file_.size() + blockSize_ - 1) / blockSize_;
        uint64_t end = std::max(minFree, fileBlocks);
        if (end > 0xFFFFFFFFu) fail(ErrorCode::Io, file_.path() + ": the memo file is full");
        return uint32_t(end);
    }

    std::string read(uint32_t block, uint32_t* type) const override {
        if (type) *type = kMemoTypeText;
        if (block == 0) return {};
        uint64_t off = uint64_t(block) * blockSize_;
        uint64_t size = file_.size();
        if (off < kFptHeader || off + 8 > size)
            fail(ErrorCode::Corrupt, file_.path() + ": memo block " + std::to_string(block) +
                                         " lies past the end of the file");
        uint8_t h[8];
        file_.readExact(off, h, 8, "a memo block");
        uint32_t len = getBE32(h + 4);
        if (type) *type = getBE32(h);
        if (off + 8 + len > size)
            fail(ErrorCode::Corrupt, file_.path() + ": the memo at block " + std::to_string(block) +
                                         " claims " + std::to_string(len) +
                                         " bytes, more than the file holds");
        std::string out(len, '\0');
        file_.readExact(off + 8, out.data(), len, "a memo");
        return out;
    }

    uint32_t write(uint32_t oldBlock, std::string_view data) override {
        if (data.empty()) return 0;
        if (data.size() > 0x7FFFFFF0u) fail(ErrorCode::Argument, "A memo is too long");
        uint64_t need = (8 + data.size() + blockSize_ - 1) / blockSize_;
        uint32_t block = 0;
        if (oldBlock != 0) {
            uint64_t off = uint64_t(oldBlock) * blockSize_;
            uint8_t h[8];
            if (off >= kFptHeader && file_.readAt(off, h, 8) == 8) {
                uint64_t oldLen = getBE32(h + 4);
                uint64_t had = (8 + oldLen + blockSize_ - 1) / blockSize_;
                if (off + 8 + oldLen <= file_.size() && need <= had) block = oldBlock;
            }
        }
        bool append = block == 0;
        if (append) block = nextFree_ = endOfFile();
        std::vector<uint8_t> buf(size_t(need * blockSize_), 0);
        putBE32(buf.data(), kMemoTypeText);
        putBE32(buf.data() + 4, uint32_t(data.size()));
        std::memcpy(buf.data() + 8, data.data(), data.size());
        // Padding the last block keeps the file a whole number of blocks.
        file_.writeAt(uint64_t(block) * blockSize_, buf.data(),
                      append ? buf.size() : 8 + data.size());
        if (append) {
            if (uint64_t(nextFree_) + need > 0xFFFFFFFFu)
                fail(ErrorCode::Io, file_.path() + ": the memo file is full");
            nextFree_ = uint32_t(nextFree_ + need);
            uint8_t nf[4];
            putBE32(nf, nextFree_);
            file_.writeAt(0, nf, 4);
        }
        return block;
    }

    void sync() override { file_.sync(); }
    const std::string& path() const override { return file_.path(); }
    uint32_t blockSize() const override { return blockSize_; }

  private:
    File file_;
    uint32_t nextFree_ = 0;
    uint32_t blockSize_ = 64;
};

class DbtFile final : public MemoFile {
  public:
    DbtFile(File f, bool dbase4) : file_(std::move(f)), dbase4_(dbase4) {
        uint8_t h[24] = {};
        file_.readAt(0, h, sizeof h);
        if (dbase4_) {
            blockSize_ = getLE16(h + 20);
            if (blockSize_ == 0) blockSize_ = 512;
        }
    }

    std::string read(uint32_t block, uint32_t* type) const override {
        if (type) *type = kMemoTypeText;
        if (block == 0) return {};
        uint64_t off = uint64_t(block) * blockSize_;
        uint64_t size = file_.size();
        if (off >= size)
            fail(ErrorCode::Corrupt, file_.path() + ": memo block " + std::to_string(block) +
                                         " lies past the end of the file");
        if (dbase4_) {
            uint8_t h[8];
            file_.readExact(off, h, 8, "a memo block");
            if (h[0] == 0xFF && h[1] == 0xFF && h[2] == 0x08) {
                uint32_t len = getLE32(h + 4);
                if (len < 8 || off + len > size)
                    fail(ErrorCode::Corrupt, file_.path() + ": the memo at block " +
                                                 std::to_string(block) + " has a bad length");
                std::string out(len - 8, '\0');
                file_.readExact(off + 8, out.data(), out.size(), "a memo");
                return out;
            }
        }
        // dBase III memos (and unsigned dBase IV blocks) run to the first end-of-text byte.
        std::string out;
        char chunk[4096];
        while (off < size) {
            size_t n = file_.readAt(off, chunk, sizeof chunk);
            if (n == 0) break;
            auto* end = static_cast<char*>(std::memchr(chunk, 0x1A, n));
            if (end) {
                out.append(chunk, size_t(end - chunk));
                return out;
            }
            out.append(chunk, n);
            off += n;
        }
        return out;
    }

    uint32_t write(uint32_t, std::string_view) override {
        fail(ErrorCode::Unsupported, file_.path() + ": DBT memo files are read only");
    }
    void sync() override {}
    const std::string& path() const override { return file_.path(); }
    uint32_t blockSize() const override { return blockSize_; }

  private:
    File file_;
    bool dbase4_;
    uint32_t blockSize_ = 512;
};

}  // namespace

std::unique_ptr<MemoFile> MemoFile::open(MemoKind kind, const std::string& path, OpenMode mode,
                                         LockMode lock) {
    File f = File::open(path, kind == MemoKind::Fpt ? mode : OpenMode::ReadOnly, lock);
    switch (kind) {
        case MemoKind::Fpt:
            return std::make_unique<FptFile>(std::move(f));
        case MemoKind::Dbt3:
            return std::make_unique<DbtFile>(std::move(f), false);
        case MemoKind::Dbt4:
            return std::make_unique<DbtFile>(std::move(f), true);
        case MemoKind::None:
            break;
    }
    fail(ErrorCode::Argument, "No memo file kind for " + path);
}

std::unique_ptr<MemoFile> MemoFile::createFpt(const std::string& path, uint32_t blockSize) {
    File f = File::open(path, OpenMode::CreateNew, LockMode::None);
    std::vector<uint8_t> h(kFptHeader, 0);
    putBE32(h.data(), (kFptHeader + blockSize - 1) / blockSize);
    putBE16(h.data() + 6, uint16_t(blockSize));
    f.writeAt(0, h.data(), h.size());
    return std::make_unique<FptFile>(std::move(f));
}

FptAppender::FptAppender(const std::string& path, uint32_t blockSize)
    : file_(File::open(path, OpenMode::CreateNew, LockMode::None)),
      blockSize_(blockSize),
      next_((kFptHeader + blockSize - 1) / blockSize),
      bufStart_(uint64_t(next_) * blockSize) {
    std::vector<uint8_t> h(size_t(next_) * blockSize_, 0);
    putBE16(h.data() + 6, uint16_t(blockSize_));
    file_.writeAt(0, h.data(), h.size());
}

uint32_t FptAppender::append(std::string_view data, uint32_t type) {
    if (data.empty() && type == kMemoTypeText) return 0;
    uint64_t blocks = (8 + data.size() + blockSize_ - 1) / blockSize_;
    if (uint64_t(next_) + blocks > 0xFFFFFFFFu)
        fail(ErrorCode::Io, file_.path() + ": the memo file is full");
    uint32_t block = next_;
    size_t at = buf_.size();
    buf_.resize(at + size_t(blocks * blockSize_), 0);
    putBE32(buf_.data() + at, type);
    putBE32(buf_.data() + at + 4, uint32_t(data.size()));
    std::memcpy(buf_.data() + at + 8, data.data(), data.size());
    next_ = uint32_t(next_ + blocks);
    if (buf_.size() >= (1u << 20)) drain();
    return block;
}

void FptAppender::drain() {
    if (buf_.empty()) return;
    file_.writeAt(bufStart_, buf_.data(), buf_.size());
    bufStart_ += buf_.size();
    buf_.clear();
}

void FptAppender::finish() {
    drain();
    uint8_t nf[4];
    putBE32(nf, next_);
    file_.writeAt(0, nf, 4);
    file_.sync();
}

uint32_t memoBlockFromField(const uint8_t* p, int width) {
    if (width == 4) return getLE32(p);
    uint64_t v = 0;
    bool any = false;
    for (int i = 0; i < width; ++i) {
        if (p[i] == ' ' || p[i] == 0) {
            if (any) break;
            continue;
        }
        if (p[i] < '0' || p[i] > '9') return 0;
        v = v * 10 + uint64_t(p[i] - '0');
        if (v > 0xFFFFFFFFu) return 0;
        any = true;
    }
    return uint32_t(v);
}

void memoBlockToField(uint32_t block, uint8_t* p, int width) {
    if (width == 4) {
        putLE32(p, block);
        return;
    }
    std::memset(p, ' ', size_t(width));
    if (block == 0) return;
    for (int i = width - 1; i >= 0 && block > 0; --i) {
        p[i] = uint8_t('0' + block % 10);
        block /= 10;
    }
}

std::string memoPathFor(const std::string& tablePath, MemoKind kind) {
    return withExtension(tablePath, kind == MemoKind::Fpt ? ".FPT" : ".DBT");
}

}  // namespace xb
