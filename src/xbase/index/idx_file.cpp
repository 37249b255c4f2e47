// The standalone compact index: one header at offset 0 and one tree, no directory.
#include "xbase/bytes.h"
#include "xbase/error.h"
#include "xbase/index/bulk.h"
#include "xbase/index/tag_header.h"
#include "xbase/index/tree.h"

namespace xb::index {

namespace {

constexpr uint32_t kFirstNode = 1024;

class IdxFileImpl final : public IdxFile {
  public:
    IdxFileImpl(std::unique_ptr<PageFile> pages, const IndexHeader& h, KeyKind kind)
        : pages_(std::move(pages)),
          tag_(std::make_unique<TreeTag>(*pages_, infoFor(h, "", 0), kind, h.root, "")) {}

    Tag& tag() override { return *tag_; }
    void flush() override { pages_->flush(); }
    void sync() override { pages_->sync(); }
    const std::string& path() const override { return pages_->path(); }

  private:
    std::unique_ptr<PageFile> pages_;
    std::unique_ptr<TreeTag> tag_;
};

// The older uncompressed layout: a 512-byte header with the key length at 12 and pages of
// whole keys. Recognised by a plausible header without the compact bit.
bool looksUncompressed(const uint8_t* h, uint64_t size) {
    uint32_t root = getLE32(h);
    int keyLength = getLE16(h + 12);
    return keyLength >= 1 && keyLength <= 100 && root % kPageSize == 0 && root >= kPageSize &&
           root + kPageSize <= size;
}

}  // namespace

std::unique_ptr<IdxFile> IdxFile::open(File file, KeyKind kind) {
    auto pages = std::make_unique<PageFile>(std::move(file));
    const std::string& path = pages->path();
    if (pages->end() < kPageSize)
        fail(ErrorCode::Corrupt, path + ": file is too short to be an index");
    uint8_t head[kHeaderSize] = {};
    pages->peek(0, head);
    if (!(head[14] & kCompact)) {
        if (looksUncompressed(head, pages->end()))
            fail(ErrorCode::Unsupported,
                 path + ": old index format that this program cannot read; rebuild the index");
        fail(ErrorCode::Corrupt, path + ": file is not an index");
    }
    if (head[14] & kCompound)
        fail(ErrorCode::Corrupt, path + ": file is a compound index, not a single-order index");
    if (pages->end() < uint64_t(kHeaderSize + kPageSize))
        fail(ErrorCode::Corrupt, path + ": file is too short to be a compact index");
    pages->peek(kPageSize, head + kPageSize);
    IndexHeader h = decodeHeader(head, path);
    if (!pages->holds(h.root)) fail(ErrorCode::Corrupt, path + ": root lies outside the file");
    return std::make_unique<IdxFileImpl>(std::move(pages), h, kind);
}

std::unique_ptr<IdxFile> IdxFile::create(File file, const TagParams& tagParams) {
    checkTagParams(tagParams, false);
    IndexHeader h = headerFor(tagParams, kCompact, kFirstNode);
    uint8_t bytes[kHeaderSize + kPageSize];
    encodeHeader(h, bytes);
    encodeLeaf(nullptr, nullptr, 0, tagParams.keyLength, fillByte(tagParams.kind),
               kAttrRoot | kAttrLeaf, kNoPage, kNoPage, bytes + kHeaderSize);
    file.truncate(0);
    file.writeAt(0, bytes, sizeof bytes);
    return std::make_unique<IdxFileImpl>(std::make_unique<PageFile>(std::move(file)), h,
                                         tagParams.kind);
}

std::unique_ptr<IdxFile> IdxFile::build(File file, const TagParams& tagParams,
                                        EntryStream& entries) {
    checkTagParams(tagParams, false);
    IndexHeader h = headerFor(tagParams, kCompact, 0);
    uint8_t head[kHeaderSize];
    encodeHeader(h, head);
    file.truncate(0);
    {
        ChunkWriter out(file, kFirstNode);
        h.root = buildTree(tagParams.keyLength, tagParams.kind, entries, out);
        out.flush();
    }
    encodeHeader(h, head);
    file.writeAt(0, head, sizeof head);
    return std::make_unique<IdxFileImpl>(std::make_unique<PageFile>(std::move(file)), h,
                                         tagParams.kind);
}

}  // namespace xb::index
